// The Startup folder shortcut, made and read with the shell link object (IShellLinkA) and its
// file persistence interface (IPersistFile).
#include "options/startupfolder.h"

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstring>

#include "base/textcompare.h"
#include "options/progmancommands.h"
#include "settings/registry.h"
#include "win32/comholders.h"

namespace {
const char* const shellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const int linkTextSize = 4096;

// The shortcut path as the persistence interface wants it. A path that does not fit is refused
// rather than cut short, so no other file is ever written or read.
bool toWidePath(const char* path, WCHAR (&wide)[MAX_PATH]) {
    return MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH) != 0;
}

bool createShellLink(ComInterface<IShellLinkA>& link) {
    return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellLinkA, link.out()));
}

bool loadShellLink(ComInterface<IShellLinkA>& link, const char* shortcutPath) {
    ComInterface<IPersistFile> file;
    WCHAR wide[MAX_PATH];
    return SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.out())) &&
           toWidePath(shortcutPath, wide) && SUCCEEDED(file->Load(wide, 0));
}

// Only the plain success code counts: other success codes mean the text is not really there.
bool descriptionMatches(ComInterface<IShellLinkA>& link, const char* description) {
    char text[linkTextSize] = "";
    if (link->GetDescription(text, linkTextSize) != S_OK) return false;
    text[linkTextSize - 1] = '\0';
    return std::strcmp(text, description) == 0;
}

// A shortcut without a file path reports something other than S_OK and is not the program's.
bool targetMatches(ComInterface<IShellLinkA>& link, const char* targetPath) {
    char path[linkTextSize] = "";
    WIN32_FIND_DATAA found;
    if (link->GetPath(path, linkTextSize, &found, SLGP_UNCPRIORITY) != S_OK) return false;
    path[linkTextSize - 1] = '\0';
    return sameIgnoringAsciiCase(path, targetPath);
}
}  // namespace

bool getStartupFolder(std::string& folder) {
    Tregistry key(HKEY_CURRENT_USER, shellFoldersKey, 1);
    const char* text = key.getString("Startup");
    if (!text) return false;
    folder = text;
    return true;
}

std::string startupShortcutPath(const std::string& folder) {
    return folder + "\\" + programItemName + ".lnk";
}

bool createLink(const char* shortcutPath, const char* targetPath, const char* description) {
    ComLibrary library;
    ComInterface<IShellLinkA> link;
    if (!createShellLink(link)) return false;
    // A missing target gives S_FALSE here, which is fine: the shortcut is written all the same.
    link->SetPath(targetPath);
    link->SetDescription(description);
    ComInterface<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.out()))) return false;
    WCHAR wide[MAX_PATH];
    return toWidePath(shortcutPath, wide) && SUCCEEDED(file->Save(wide, TRUE));
}

bool checkLink(const char* shortcutPath, const char* targetPath, const char* description) {
    ComLibrary library;
    ComInterface<IShellLinkA> link;
    return createShellLink(link) && loadShellLink(link, shortcutPath) &&
           descriptionMatches(link, description) && targetMatches(link, targetPath);
}

bool notifyShell(const char* folder) {
    SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHA | SHCNF_FLUSH, folder, nullptr);
    return true;
}
