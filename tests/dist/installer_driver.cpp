// Test support for the Windows installer: shell folders, shortcuts, the uninstall entry and the
// installer's processes.
#include "dist/installer_driver.h"

#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "options/progmancommands.h"
#include "options/startupfolder.h"
#include "support/lexoria_driver.h"
#include "win32/comholders.h"

namespace distTest {
using lexoriaTest::TlexoriaProcess;
using lexoriaTest::wideOf;

const char* const uninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lexoria";
const char* const helpFilesKey = "Software\\Microsoft\\Windows\\Help";

namespace {
std::string shellFolder(int csidl) {
    char path[MAX_PATH] = "";
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return "";
    return path;
}

}  // namespace

std::string installFolder(TinstallMode mode) {
    return mode == forEveryone ? shellFolder(CSIDL_PROGRAM_FILES) + "\\Lexoria"
                               : shellFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Lexoria";
}
std::string startMenuShortcut(TinstallMode mode) {
    return shellFolder(mode == forEveryone ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS) +
           "\\Lexoria.lnk";
}
HKEY registryRoot(TinstallMode mode) {
    return mode == forEveryone ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}
std::string startupFolder() { return shellFolder(CSIDL_STARTUP); }

bool fileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool folderExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool readShortcut(const std::string& link, Tshortcut& shortcut) {
    TcomLibrary com;
    TcomInterface<IShellLinkA> shellLink;
    TcomInterface<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                shellLink.out())) ||
        FAILED(shellLink->QueryInterface(IID_IPersistFile, file.out())) ||
        FAILED(file->Load(wideOf(link).c_str(), STGM_READ)))
        return false;
    char target[MAX_PATH] = "", folder[MAX_PATH] = "";
    if (shellLink->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH) != S_OK ||
        FAILED(shellLink->GetWorkingDirectory(folder, MAX_PATH)))
        return false;
    shortcut.target = target;
    shortcut.workingFolder = folder;
    return true;
}

// A Startup shortcut written as the program's options dialog writes its own.
bool writeShortcut(const std::string& link, const std::string& target) {
    return createLink(wideOf(link).c_str(), wideOf(target).c_str(), programItemName);
}

bool readRegistryString(HKEY root, const char* subkey, const char* name, std::string& value) {
    HKEY key;
    if (RegOpenKeyExA(root, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    char buffer[1024] = "";
    DWORD size = sizeof buffer - 1, type = 0;
    LONG result =
        RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ) return false;
    value.assign(buffer, size > 0 && buffer[size - 1] == '\0' ? size - 1 : size);
    return true;
}

bool registryKeyExists(HKEY root, const char* subkey) {
    HKEY key;
    const bool opened = RegOpenKeyExA(root, subkey, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (opened) RegCloseKey(key);
    return opened;
}

long runAndWait(const std::string& commandLine, DWORD timeoutMs) {
    TlexoriaProcess process;
    return process.startCommand(commandLine) ? process.waitForExit(timeoutMs) : -1;
}

long runUninstaller(const std::string& commandLine, DWORD timeoutMs) {
    TlexoriaProcess launcher;
    if (!launcher.startCommand(commandLine)) return -1;
    long code = launcher.waitForExit(timeoutMs);
    TlexoriaProcess copy;
    if (code >= 0 && launcher.adoptChild(copy) && copy.waitForExit(timeoutMs) < 0) return -1;
    return code;
}

void removeInstallation() {
    for (TinstallMode mode : {forCurrentUser, forEveryone}) {
        lexoriaTest::removeTree(wideOf(installFolder(mode)));
        DeleteFileA(startMenuShortcut(mode).c_str());
        RegDeleteKeyA(registryRoot(mode), uninstallKey);
        SHDeleteValueA(registryRoot(mode), helpFilesKey, "lexoria.hlp");
    }
    DeleteFileA((startupFolder() + "\\Lexoria.lnk").c_str());
}

}  // namespace distTest
