// The Startup folder shortcut, made and read with the shell link object (IShellLinkW, so the
// target keeps every character of its path) and its file persistence interface (IPersistFile).
#include "options/startupfolder.h"

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <memory>
#include <string>

#include "base/textcompare.h"
#include "options/progmancommands.h"
#include "settings/registry.h"
#include "win32/comholders.h"
#include "win32/widetext.h"

namespace {
const char* const shellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const int linkTextSize = 4096;

// The persistence interface takes paths of up to MAX_PATH characters. A longer one is refused
// here rather than left to be cut short, so no other file is ever written or read.
bool fitsPersistence(const wchar_t* path) { return wcslen(path) < MAX_PATH; }

// The description is ANSI text of the program's own; the wide interface takes it converted.
std::wstring wideText(const char* text) { return wideFrom(text, CP_ACP); }

bool createShellLink(TcomInterface<IShellLinkW>& link) {
    return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellLinkW, link.out()));
}

bool loadShellLink(TcomInterface<IShellLinkW>& link, const wchar_t* shortcutPath) {
    TcomInterface<IPersistFile> file;
    return SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.out())) &&
           fitsPersistence(shortcutPath) && SUCCEEDED(file->Load(shortcutPath, 0));
}

// Only the plain success code counts: other success codes mean the text is not really there.
bool descriptionMatches(TcomInterface<IShellLinkW>& link, const char* description) {
    WCHAR text[linkTextSize] = L"";
    if (link->GetDescription(text, linkTextSize) != S_OK) return false;
    text[linkTextSize - 1] = L'\0';
    return wideText(description) == text;
}

bool fitsCodePage(const wchar_t* text) {
    std::string bytes;
    return exactBytesFrom(text, CP_ACP, bytes);
}

struct TtaskMemory {
    void operator()(ITEMIDLIST* items) const { CoTaskMemFree(items); }
};

// The target as the link's item list names it, with the file system's own names.
bool itemListMatches(TcomInterface<IShellLinkW>& link, const wchar_t* targetPath) {
    ITEMIDLIST* list = nullptr;
    const HRESULT result = link->GetIDList(&list);
    std::unique_ptr<ITEMIDLIST, TtaskMemory> items(list);
    WCHAR path[MAX_PATH] = L"";
    return result == S_OK && items && SHGetPathFromIDListW(items.get(), path) &&
           sameIgnoringAsciiCase(path, targetPath);
}

// A shortcut without a file path reports something other than S_OK and is not the program's.
// Some shells keep the reported path only as the code page spells it; for a target that the
// code page cannot spell, the link's item list decides instead.
bool targetMatches(TcomInterface<IShellLinkW>& link, const wchar_t* targetPath) {
    WCHAR path[linkTextSize] = L"";
    WIN32_FIND_DATAW found;
    if (link->GetPath(path, linkTextSize, &found, SLGP_UNCPRIORITY) != S_OK) return false;
    path[linkTextSize - 1] = L'\0';
    if (sameIgnoringAsciiCase(path, targetPath)) return true;
    return !fitsCodePage(targetPath) && itemListMatches(link, targetPath);
}
}  // namespace

bool getStartupFolder(std::wstring& folder) {
    Tregistry key(HKEY_CURRENT_USER, shellFoldersKey, 1);
    const wchar_t* text = key.getWideString("Startup");
    if (!text) return false;
    folder = text;
    return true;
}

std::wstring startupShortcutPath(const std::wstring& folder) {
    return folder + L"\\" + wideText(programItemName) + L".lnk";
}

bool createLink(const wchar_t* shortcutPath, const wchar_t* targetPath, const char* description) {
    TcomLibrary library;
    TcomInterface<IShellLinkW> link;
    if (!createShellLink(link)) return false;
    // A missing target gives S_FALSE here, which is fine: the shortcut is written all the same.
    link->SetPath(targetPath);
    link->SetDescription(wideText(description).c_str());
    TcomInterface<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.out()))) return false;
    return fitsPersistence(shortcutPath) && SUCCEEDED(file->Save(shortcutPath, TRUE));
}

bool checkLink(const wchar_t* shortcutPath, const wchar_t* targetPath, const char* description) {
    TcomLibrary library;
    TcomInterface<IShellLinkW> link;
    return createShellLink(link) && loadShellLink(link, shortcutPath) &&
           descriptionMatches(link, description) && targetMatches(link, targetPath);
}

bool notifyShell(const wchar_t* folder) {
    SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHW | SHCNF_FLUSH, folder, nullptr);
    return true;
}
