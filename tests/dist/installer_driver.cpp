// Test support for the Windows installer: shell folders, shortcuts, the uninstall entry and the
// installer's processes.
#include "dist/installer_driver.h"

#include <objbase.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <vector>

#include "options/progmancommands.h"
#include "options/startupfolder.h"
#include "win32/comholders.h"

namespace distTest {

const char* const uninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lexoria";
const char* const helpFilesKey = "Software\\Microsoft\\Windows\\Help";

namespace {
std::string shellFolder(int csidl) {
    char path[MAX_PATH] = "";
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return "";
    return path;
}

std::wstring wide(const std::string& text) {
    std::vector<wchar_t> buffer(text.size() + 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, buffer.data(),
                        static_cast<int>(buffer.size()));
    return buffer.data();
}

void closeHandle(HANDLE& handle) {
    if (handle) CloseHandle(handle);
    handle = nullptr;
}
}  // namespace

std::string installFolder() { return shellFolder(CSIDL_PROGRAM_FILES) + "\\Lexoria"; }
std::string startMenuShortcut() { return shellFolder(CSIDL_COMMON_PROGRAMS) + "\\Lexoria.lnk"; }
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
        FAILED(file->Load(wide(link).c_str(), STGM_READ)))
        return false;
    char target[MAX_PATH] = "";
    char folder[MAX_PATH] = "";
    if (shellLink->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH) != S_OK ||
        FAILED(shellLink->GetWorkingDirectory(folder, MAX_PATH)))
        return false;
    shortcut.target = target;
    shortcut.workingFolder = folder;
    return true;
}

// A Startup shortcut written as the program's options dialog writes its own.
bool writeShortcut(const std::string& link, const std::string& target) {
    return createLink(wide(link).c_str(), wide(target).c_str(), programItemName);
}

bool readMachineString(const char* subkey, const char* name, std::string& value) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    char buffer[1024] = "";
    DWORD size = sizeof buffer - 1, type = 0;
    LONG result =
        RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ) return false;
    value.assign(buffer, size > 0 && buffer[size - 1] == '\0' ? size - 1 : size);
    return true;
}

bool machineKeyExists(const char* subkey) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

Tprocess::~Tprocess() {
    if (!handle) return;
    if (WaitForSingleObject(handle, 0) == WAIT_TIMEOUT) {
        TerminateProcess(handle, 99);
        WaitForSingleObject(handle, 5000);
    }
    closeHandle(handle);
}

bool Tprocess::start(const std::string& commandLine) {
    std::string line = commandLine;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return false;
    CloseHandle(info.hThread);
    handle = info.hProcess;
    return true;
}

long Tprocess::wait(DWORD timeoutMs) {
    if (!handle || WaitForSingleObject(handle, timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(handle, &code);
    return static_cast<long>(code);
}

bool Tprocess::adoptChild(Tprocess& child) const {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    DWORD parent = id();
    for (BOOL more = Process32First(snapshot, &entry); more && !child.handle;
         more = Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID == parent && entry.th32ProcessID != parent)
            child.handle = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE,
                                       FALSE, entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    return child.handle != nullptr;
}

long runAndWait(const std::string& commandLine, DWORD timeoutMs) {
    Tprocess process;
    return process.start(commandLine) ? process.wait(timeoutMs) : -1;
}

long runUninstaller(const std::string& commandLine, DWORD timeoutMs) {
    Tprocess launcher;
    if (!launcher.start(commandLine)) return -1;
    long code = launcher.wait(timeoutMs);
    Tprocess copy;
    if (code >= 0 && launcher.adoptChild(copy) && copy.wait(timeoutMs) < 0) return -1;
    return code;
}

void removeInstallation() {
    std::string folder = installFolder();
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((folder + "\\" + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
    DeleteFileA(startMenuShortcut().c_str());
    DeleteFileA((startupFolder() + "\\Lexoria.lnk").c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, uninstallKey);
}

}  // namespace distTest
