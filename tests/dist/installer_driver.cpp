// Test support for the Windows installer: shell folders, shortcuts, the uninstall entry and the
// installer's processes, all through the wide calls.
#include "dist/installer_driver.h"

#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <tlhelp32.h>

#include "options/progmancommands.h"
#include "options/startupfolder.h"
#include "support/lexoria_driver.h"
#include "win32/comholders.h"

namespace distTest {
using lexoriaTest::TlexoriaProcess;

const wchar_t* const uninstallKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lexoria";
const wchar_t* const helpFilesKey = L"Software\\Microsoft\\Windows\\Help";

namespace {
std::wstring shellFolder(int csidl) {
    wchar_t path[MAX_PATH] = L"";
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return L"";
    return path;
}

// The program and its arguments of a command line that quotes the program.
bool splitCommand(const std::wstring& commandLine, std::wstring& folder, std::wstring& exe,
                  std::wstring& arguments) {
    const size_t close = commandLine.find(L'"', 1);
    if (commandLine.empty() || commandLine[0] != L'"' || close == std::wstring::npos) return false;
    const std::wstring program = commandLine.substr(1, close - 1);
    const size_t slash = program.find_last_of(L'\\');
    if (slash == std::wstring::npos) return false;
    folder = program.substr(0, slash);
    exe = program.substr(slash + 1);
    arguments = commandLine.substr(close + 1);
    return true;
}
}  // namespace

std::wstring installFolder(TinstallMode mode) {
    return mode == forEveryone ? shellFolder(CSIDL_PROGRAM_FILES) + L"\\Lexoria"
                               : shellFolder(CSIDL_LOCAL_APPDATA) + L"\\Programs\\Lexoria";
}
std::wstring startMenuShortcut(TinstallMode mode) {
    return shellFolder(mode == forEveryone ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS) +
           L"\\Lexoria.lnk";
}
HKEY registryRoot(TinstallMode mode) {
    return mode == forEveryone ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}
std::wstring startupFolder() { return shellFolder(CSIDL_STARTUP); }

bool fileExists(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool folderExists(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool sameText(const std::wstring& a, const std::wstring& b) {
    return lstrcmpiW(a.c_str(), b.c_str()) == 0;
}

bool readShortcut(const std::wstring& link, Tshortcut& shortcut) {
    TcomLibrary com;
    TcomInterface<IShellLinkW> shellLink;
    TcomInterface<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                shellLink.out())) ||
        FAILED(shellLink->QueryInterface(IID_IPersistFile, file.out())) ||
        FAILED(file->Load(link.c_str(), STGM_READ)))
        return false;
    // The target as the shell resolves it, from the item list: GetPath may give a copy in the
    // ANSI code page, with '?' for what that cannot spell.
    wchar_t target[MAX_PATH] = L"", folder[MAX_PATH] = L"", description[INFOTIPSIZE] = L"";
    PIDLIST_ABSOLUTE items = nullptr;
    const bool resolved =
        SUCCEEDED(shellLink->GetIDList(&items)) && items && SHGetPathFromIDListW(items, target);
    CoTaskMemFree(items);
    if (!resolved || FAILED(shellLink->GetWorkingDirectory(folder, MAX_PATH)) ||
        FAILED(shellLink->GetDescription(description, INFOTIPSIZE)))
        return false;
    shortcut.target = target;
    shortcut.workingFolder = folder;
    shortcut.description = description;
    return true;
}

// A Startup shortcut written as the program's options dialog writes its own.
bool writeShortcut(const std::wstring& link, const std::wstring& target) {
    return createLink(link.c_str(), target.c_str(), programItemName);
}

bool readRegistryString(HKEY root, const wchar_t* subkey, const wchar_t* name,
                        std::wstring& value) {
    HKEY key;
    if (RegOpenKeyExW(root, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    wchar_t buffer[1024] = L"";
    DWORD size = sizeof buffer - sizeof buffer[0], type = 0;
    LONG result =
        RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ) return false;
    size_t length = size / sizeof buffer[0];
    if (length > 0 && buffer[length - 1] == L'\0') --length;
    value.assign(buffer, length);
    return true;
}

bool registryKeyExists(HKEY root, const wchar_t* subkey) {
    HKEY key;
    const bool opened = RegOpenKeyExW(root, subkey, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (opened) RegCloseKey(key);
    return opened;
}

// Read and written raw: SHGetValue would expand a REG_EXPAND_SZ and report it as REG_SZ.
TuserRegistryValue::TuserRegistryValue(const wchar_t* key, const wchar_t* value,
                                       const std::wstring& text)
    : subkey(key), name(value) {
    HKEY handle;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                        &handle, nullptr) != ERROR_SUCCESS)
        return;
    DWORD size = 0;
    if (RegQueryValueExW(handle, value, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        previous.resize(size);
        hadValue = RegQueryValueExW(handle, value, nullptr, &type, previous.data(), &size) ==
                   ERROR_SUCCESS;
    }
    const DWORD newType = hadValue && type == REG_EXPAND_SZ ? REG_EXPAND_SZ : REG_SZ;
    RegSetValueExW(handle, value, 0, newType, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
}

TuserRegistryValue::~TuserRegistryValue() {
    HKEY handle;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_WRITE, &handle) != ERROR_SUCCESS)
        return;
    if (hadValue)
        RegSetValueExW(handle, name.c_str(), 0, type, previous.data(),
                       static_cast<DWORD>(previous.size()));
    else RegDeleteValueW(handle, name.c_str());
    RegCloseKey(handle);
}

long runAndWait(const std::wstring& program, const std::wstring& arguments, DWORD timeoutMs) {
    const size_t slash = program.find_last_of(L'\\');
    TlexoriaProcess process;
    return process.start(program.substr(0, slash), program.substr(slash + 1), arguments)
               ? process.waitForExit(timeoutMs)
               : -1;
}

namespace {
ULONGLONG creationTime(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}
}  // namespace

TuninstallerCopy::TuninstallerCopy(const TlexoriaProcess& launcher) {
    const ULONGLONG launched = creationTime(launcher.handle());
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (launched == 0 || snapshot == INVALID_HANDLE_VALUE) return;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !process;
         more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ParentProcessID != launcher.id() || entry.th32ProcessID == launcher.id())
            continue;
        HANDLE candidate = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE,
                                       FALSE, entry.th32ProcessID);
        if (candidate && creationTime(candidate) >= launched) {
            process = candidate;
            processId = entry.th32ProcessID;
        } else if (candidate) {
            CloseHandle(candidate);
        }
    }
    CloseHandle(snapshot);
}

TuninstallerCopy::~TuninstallerCopy() {
    if (!process) return;
    if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) TerminateProcess(process, 1);
    CloseHandle(process);
}

long TuninstallerCopy::waitForExit(DWORD timeoutMs) const {
    if (!process || WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return static_cast<long>(code);
}

long runUninstaller(const std::wstring& commandLine, DWORD timeoutMs) {
    std::wstring folder, exe, arguments;
    TlexoriaProcess launcher;
    if (!splitCommand(commandLine, folder, exe, arguments) ||
        !launcher.start(folder, exe, arguments) || launcher.waitForExit(timeoutMs) != 0)
        return -1;
    return TuninstallerCopy(launcher).waitForExit(timeoutMs);
}

void removeInstallation() {
    for (TinstallMode mode : {forCurrentUser, forEveryone}) {
        lexoriaTest::removeTree(installFolder(mode));
        DeleteFileW(startMenuShortcut(mode).c_str());
        RegDeleteKeyW(registryRoot(mode), uninstallKey);
        SHDeleteValueW(registryRoot(mode), helpFilesKey, L"lexoria.hlp");
    }
    DeleteFileW((startupFolder() + L"\\Lexoria.lnk").c_str());
}

}  // namespace distTest
