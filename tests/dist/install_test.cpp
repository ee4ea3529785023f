// The Windows installer under Wine, as a user meets it: a silent install for the current user
// and one for everyone, into folders and profiles in any script, the program started from its
// Start menu shortcut, an upgrade over a word list the user changed, the elevated copy that an
// install for everyone starts, and the uninstaller, silent and answering its question about the
// user's settings; and, run once per display language, the installer's own pages and messages
// in that language.
// Run as: dist_install_test SETUP.EXE STANDARD_USER_SETUP.EXE LANGUAGE_FOLDER [--language=NAME]
// where STANDARD_USER_SETUP.EXE is the same installer built to play a standard user, and
// LANGUAGE_FOLDER holds the installer's texts (dist/lang). --language names the file of the texts
// the installer must show under the locale the test runs in; without it the language test skips.
#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "options/progmancommands.h"
#include "options/startupfolder.h"
#include "resources/resource.h"
#include "support/lexoria_driver.h"
#include "version.h"
#include "win32/comholders.h"

using namespace lexoriaTest;

namespace {

std::wstring setupPath, standardUserSetupPath, languageFolder, expectedLanguage;  // command line

const DWORD installTimeoutMs = 60000;
const wchar_t* const uninstallKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lexoria";
const wchar_t* const helpFilesKey = L"Software\\Microsoft\\Windows\\Help";  // where help files lie

// For the current user (the default: local application data, HKEY_CURRENT_USER) or for everyone
// (/ALLUSERS: Program Files, every user's Start menu, HKEY_LOCAL_MACHINE).
enum TinstallMode { forCurrentUser, forEveryone };

std::wstring shellFolder(int csidl) {
    wchar_t path[MAX_PATH] = L"";
    return SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) ? path
                                                                                          : L"";
}
std::wstring installFolder(TinstallMode mode = forCurrentUser) {
    return mode == forEveryone ? shellFolder(CSIDL_PROGRAM_FILES) + L"\\Lexoria"
                               : shellFolder(CSIDL_LOCAL_APPDATA) + L"\\Programs\\Lexoria";
}
std::wstring startMenuShortcut(TinstallMode mode = forCurrentUser) {
    return shellFolder(mode == forEveryone ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS) +
           L"\\Lexoria.lnk";
}
HKEY registryRoot(TinstallMode mode) {
    return mode == forEveryone ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}
std::wstring installedProgram(TinstallMode mode = forCurrentUser) {
    return installFolder(mode) + L"\\Lexoria.exe";
}
std::wstring installedList() { return installFolder() + L"\\lexoria.lst"; }
std::wstring userStartupShortcut() { return shellFolder(CSIDL_STARTUP) + L"\\Lexoria.lnk"; }
std::wstring wide(const std::string& utf8) { return wideOf(utf8, CP_UTF8); }
std::string utf8(const std::wstring& text) { return bytesFrom(text, CP_UTF8); }
// A file's bytes, or "<missing>", wherever it lies.
std::string bytesOf(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "<missing>";
}
bool fileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
bool folderExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
bool sameText(const std::wstring& a, const std::wstring& b) {  // ignoring case, as paths are
    return lstrcmpiW(a.c_str(), b.c_str()) == 0;
}
bool startsWith(const std::wstring& text, const std::wstring& start) {
    return text.rfind(start, 0) == 0;
}
std::wstring inQuotes(const std::wstring& path) { return L"\"" + path + L"\""; }
bool endsWith(const std::wstring& text, const std::wstring& end) {
    return text.size() >= end.size() && sameText(text.substr(text.size() - end.size()), end);
}

// A shell link's target (as the shell resolves it from the item list: GetPath may give a copy in
// the ANSI code page), working folder and description.
struct Tshortcut {
    std::wstring target, workingFolder, description;
};
bool readShortcut(const std::wstring& link, Tshortcut& shortcut) {
    TcomLibrary com;
    TcomInterface<IShellLinkW> shellLink;
    TcomInterface<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                shellLink.out())) ||
        FAILED(shellLink->QueryInterface(IID_IPersistFile, file.out())) ||
        FAILED(file->Load(link.c_str(), STGM_READ)))
        return false;
    wchar_t target[MAX_PATH] = L"", folder[MAX_PATH] = L"", description[INFOTIPSIZE] = L"";
    PIDLIST_ABSOLUTE items = nullptr;
    const bool resolved =
        SUCCEEDED(shellLink->GetIDList(&items)) && items && SHGetPathFromIDListW(items, target);
    CoTaskMemFree(items);
    if (!resolved || FAILED(shellLink->GetWorkingDirectory(folder, MAX_PATH)) ||
        FAILED(shellLink->GetDescription(description, INFOTIPSIZE)))
        return false;
    shortcut = {target, folder, description};
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
    const LONG result =
        RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    value = buffer;
    return result == ERROR_SUCCESS && type == REG_SZ;
}
bool registryKeyExists(HKEY root, const wchar_t* subkey) {
    HKEY key;
    const bool opened = RegOpenKeyExW(root, subkey, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (opened) RegCloseKey(key);
    return opened;
}

// A string value under HKEY_CURRENT_USER set for the holder's lifetime, as REG_EXPAND_SZ where the
// value it replaces was one (the shell folders are); the old type and bytes, or the absence, come
// back afterwards. Read and written raw: SHGetValue would expand a REG_EXPAND_SZ.
class TuserRegistryValue {
public:
    TuserRegistryValue(const wchar_t* key, const wchar_t* value, const std::wstring& text)
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
        RegSetValueExW(handle, value, 0, hadValue && type == REG_EXPAND_SZ ? REG_EXPAND_SZ : REG_SZ,
                       reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(handle);
    }
    ~TuserRegistryValue() {
        HKEY handle;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_WRITE, &handle) != 0) return;
        if (hadValue)
            RegSetValueExW(handle, name.c_str(), 0, type, previous.data(),
                           static_cast<DWORD>(previous.size()));
        else RegDeleteValueW(handle, name.c_str());
        RegCloseKey(handle);
    }
    TuserRegistryValue(const TuserRegistryValue&) = delete;
    TuserRegistryValue& operator=(const TuserRegistryValue&) = delete;

private:
    std::wstring subkey, name;
    std::vector<BYTE> previous;
    DWORD type = REG_NONE;
    bool hadValue = false;
};

ULONGLONG creationTime(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// The uninstaller's copy of itself, found once the uninstaller (the launcher) has ended: the
// process whose parent is the launcher and that began after it (Wine reuses the ids of ended
// processes, so a long-running process may name a parent whose id the launcher now has). A copy
// still running when the holder goes is ended.
class TuninstallerCopy {
public:
    explicit TuninstallerCopy(const TlexoriaProcess& launcher) {
        const ULONGLONG launched = creationTime(launcher.handle());
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (launched == 0 || snapshot == INVALID_HANDLE_VALUE) return;
        PROCESSENTRY32W entry = {};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32FirstW(snapshot, &entry); more && !process;
             more = Process32NextW(snapshot, &entry)) {
            if (entry.th32ParentProcessID != launcher.id() || entry.th32ProcessID == launcher.id())
                continue;
            HANDLE candidate =
                OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE,
                            entry.th32ProcessID);
            if (candidate && creationTime(candidate) >= launched) {
                process = candidate;
                processId = entry.th32ProcessID;
            } else if (candidate) {
                CloseHandle(candidate);
            }
        }
        CloseHandle(snapshot);
    }
    ~TuninstallerCopy() {
        if (!process) return;
        if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) TerminateProcess(process, 1);
        CloseHandle(process);
    }
    TuninstallerCopy(const TuninstallerCopy&) = delete;
    TuninstallerCopy& operator=(const TuninstallerCopy&) = delete;
    bool found() const { return process != nullptr; }
    DWORD id() const { return processId; }
    long waitForExit(DWORD timeoutMs) const {  // the exit code, or -1 on time-out
        DWORD code = 0;
        if (!process || WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) return -1;
        GetExitCodeProcess(process, &code);
        return static_cast<long>(code);
    }

private:
    HANDLE process = nullptr;
    DWORD processId = 0;
};

// Every test starts and ends with no installation of either mode and no settings.
struct TcleanSlate {
    TcleanSlate() { clean(); }
    ~TcleanSlate() { clean(); }
    static void clean() {
        for (TinstallMode mode : {forCurrentUser, forEveryone}) {
            removeTree(installFolder(mode));
            DeleteFileW(startMenuShortcut(mode).c_str());
            RegDeleteKeyW(registryRoot(mode), uninstallKey);
            SHDeleteValueW(registryRoot(mode), helpFilesKey, L"lexoria.hlp");
        }
        DeleteFileW(userStartupShortcut().c_str());
        deleteProgramKey();
    }
};

// The installer run with /S and the options (each after a space); its exit code, -1 on time-out.
long installSilently(const std::wstring& options = L"", const std::wstring& setup = setupPath) {
    const size_t slash = setup.find_last_of(L'\\');
    TlexoriaProcess process;
    return process.start(setup.substr(0, slash), setup.substr(slash + 1), L" /S" + options)
               ? process.waitForExit(installTimeoutMs)
               : -1;
}

// Runs the mode's QuietUninstallString ("C:\...\Uninstall.exe" /S) as Add/Remove Programs does
// and waits for the copy it hands over to: that copy's exit code (the launcher's is always 0), or
// -1 on time-out.
long uninstallQuietly(TinstallMode mode = forCurrentUser) {
    std::wstring command;
    readRegistryString(registryRoot(mode), uninstallKey, L"QuietUninstallString", command);
    const size_t close = command.find(L'"', 1), slash = command.rfind(L'\\', close);
    TlexoriaProcess launcher;
    if (command.empty() || command[0] != L'"' || close == std::wstring::npos ||
        slash == std::wstring::npos ||
        !launcher.start(command.substr(1, slash - 1), command.substr(slash + 1, close - slash - 1),
                        command.substr(close + 1)) ||
        launcher.waitForExit(installTimeoutMs) != 0)
        return -1;
    return TuninstallerCopy(launcher).waitForExit(installTimeoutMs);
}

bool settingsPresent() {
    std::vector<unsigned char> bytes;
    return getProgramValue("State", bytes);
}

std::wstring textOf(HWND window) {
    wchar_t text[4096] = L"";
    SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        2000, nullptr);
    return text;
}

// The visible control of the window, at any depth, whose text is the one given; null when none is.
struct TcontrolSearch {
    const std::wstring* text;
    HWND found;
};
BOOL CALLBACK matchControl(HWND child, LPARAM data) {
    auto* search = reinterpret_cast<TcontrolSearch*>(data);
    if (textOf(child) == *search->text && IsWindowVisible(child)) search->found = child;
    return search->found == nullptr;
}
HWND controlWithText(HWND window, const std::wstring& text) {
    TcontrolSearch search = {&text, nullptr};
    EnumChildWindows(window, matchControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Clicks the button once its page has enabled it (before, a click is lost), then waits for the
// condition; false on time-out. The click is the button's notification to its dialog: a posted
// BM_CLICK is a press and release, which a change of the active window between the two can swallow.
template <typename Condition>
bool clickUntil(HWND dialog, int button, Condition condition, DWORD timeoutMs = 20000) {
    HWND control = GetDlgItem(dialog, button);
    if (!waitUntil([&] { return IsWindowEnabled(control) != 0; }, timeoutMs)) return false;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
    return waitUntil(condition, timeoutMs);
}

// The installer's own texts in one language, by name, as the installer shows them.
using Ttexts = std::map<std::string, std::wstring>;

// The texts of a language file under dist/lang: its `LangString name 0 "text"` lines.
Ttexts textsOfLanguageFile(const std::wstring& language) {
    Ttexts texts;
    std::istringstream lines(bytesOf(languageFolder + L"\\" + language + L".nsh"));
    const std::string marker = " 0 \"";
    for (std::string line; std::getline(lines, line);) {
        const size_t at = line.find(marker), end = line.rfind('"');
        if (line.rfind("LangString ", 0) != 0 || at == std::string::npos || end <= at) continue;
        std::string text = line.substr(at + marker.size(), end - at - marker.size());
        // clang-format off
        const struct { const char *from, *to; } escapes[] = {
            {"$\\r", "\r"}, {"$\\n", "\n"}, {"$\\\"", "\""}, {"${VERSION}", LEXORIA_VERSION}};
        // clang-format on
        for (const auto& escape : escapes)
            for (size_t found; (found = text.find(escape.from)) != std::string::npos;)
                text.replace(found, std::strlen(escape.from), escape.to);
        texts[line.substr(11, line.find(' ', 11) - 11)] = wide(text);
    }
    return texts;
}

// Runs the uninstaller as Add/Remove Programs does and confirms. When a running Lexoria is
// given, it expects the "Lexoria is running" box, closes the program and retries. Then it
// answers the settings question with the button given. Returns the exit code of the copy that
// does the work, or -1 with the step that failed.
long uninstallAnswering(int answer, std::string& failedStep, const Ttexts& texts,
                        TlexoriaProcess* running = nullptr) {
    std::wstring uninstaller;
    TlexoriaProcess launcher;
    failedStep = "starting the uninstaller";
    if (!readRegistryString(HKEY_CURRENT_USER, uninstallKey, L"UninstallString", uninstaller) ||
        !launcher.start(installFolder(), L"Uninstall.exe") ||
        launcher.waitForExit(installTimeoutMs) != 0)
        return -1;
    TuninstallerCopy copy(launcher);
    if (!copy.found()) return -1;
    failedStep = "finding its window, titled " + utf8(texts.at("uninstallCaption"));
    HWND wizard = waitForDialogOf(
        copy.id(),
        [&](HWND dialog) { return startsWith(textOf(dialog), texts.at("uninstallCaption")); },
        20000);
    if (!wizard) return -1;
    HWND box = nullptr;
    auto boxSaying = [&](const std::wstring& text) {
        return [&box, &copy, text] {
            box = waitForDialogOf(
                copy.id(), [&](HWND dialog) { return messageBoxTextW(dialog) == text; }, 0);
            return box != nullptr;
        };
    };
    if (running) {
        failedStep = "confirming and being told that Lexoria is running";
        if (!clickUntil(wizard, IDOK, boxSaying(texts.at("running")))) return -1;
        exitThroughButton(*running, FindWindowA("Lexoria", "Lexoria"));
        failedStep = "retrying and getting the question";
        if (!clickUntil(box, IDRETRY, boxSaying(texts.at("settingsQuestion")))) return -1;
    } else {
        failedStep = "confirming and getting the question";  // IDOK: "Uninstall"
        if (!clickUntil(wizard, IDOK, boxSaying(texts.at("settingsQuestion")))) return -1;
    }
    failedStep = "answering the question";
    HWND question = box;
    if (!clickUntil(question, answer, [&] { return !IsWindow(question); })) return -1;
    failedStep = "closing the uninstaller";  // the same button reads "Close" once it is done
    clickUntil(wizard, IDOK, [&] { return copy.waitForExit(0) >= 0; });
    return copy.waitForExit(0);
}

struct TmodeCase {
    const char* name;
    TinstallMode mode;
    const wchar_t* options;
    const wchar_t* folderEnd;  // how the installation folder's path ends
};

const TmodeCase modeCases[] = {
    {"for the current user, the default", forCurrentUser, L"",
     L"\\AppData\\Local\\Programs\\Lexoria"},
    {"for everyone", forEveryone, L" /ALLUSERS", L"\\Lexoria"},
};

// The files, the uninstall entry and the help folder under the mode's own root in the folder.
void expectInstalledIn(const std::wstring& folder, TinstallMode mode) {
    const wchar_t* const installed[] = {L"Lexoria.exe",  L"lexoria.lst", L"lexoria.hlp",
                                        L"lexoria.chm",  L"README.txt",  L"LICENSE.txt",
                                        L"Uninstall.exe"};
    for (const wchar_t* name : installed)
        EXPECT_TRUE(fileExists(folder + L"\\" + name)) << utf8(folder + L"\\" + name);

    const std::wstring uninstaller = inQuotes(folder + L"\\Uninstall.exe");
    // clang-format off
    const struct { const wchar_t* name; std::wstring value; } entry[] = {
        {L"DisplayName", L"Lexoria"}, {L"DisplayVersion", wide(LEXORIA_VERSION)},
        {L"Publisher", L"The Lexoria developers"}, {L"InstallLocation", folder},
        {L"UninstallString", uninstaller}, {L"QuietUninstallString", uninstaller + L" /S"},
    };
    // clang-format on
    const HKEY root = registryRoot(mode);
    for (const auto& value : entry) {
        std::wstring stored = L"(missing)";
        readRegistryString(root, uninstallKey, value.name, stored);
        EXPECT_TRUE(sameText(value.value, stored)) << utf8(value.name) << ": " << utf8(stored);
    }
    // Where the help viewer finds lexoria.hlp when the program starts in another folder.
    std::wstring helpFolder = L"(missing)";
    readRegistryString(root, helpFilesKey, L"lexoria.hlp", helpFolder);
    EXPECT_TRUE(sameText(folder, helpFolder)) << utf8(helpFolder);
    // The Start menu shortcut, read as the shell would read it, starts this program.
    Tshortcut shortcut;
    ASSERT_TRUE(readShortcut(startMenuShortcut(mode), shortcut));
    EXPECT_TRUE(sameText(folder + L"\\Lexoria.exe", shortcut.target)) << utf8(shortcut.target);
    EXPECT_TRUE(sameText(folder, shortcut.workingFolder)) << utf8(shortcut.workingFolder);
}

// ...and nothing under the other mode's root.
void expectInstalled(const TmodeCase& test) {
    const std::wstring folder = installFolder(test.mode);
    EXPECT_TRUE(endsWith(folder, test.folderEnd)) << utf8(folder);
    expectInstalledIn(folder, test.mode);
    const TinstallMode other = test.mode == forEveryone ? forCurrentUser : forEveryone;
    EXPECT_FALSE(registryKeyExists(registryRoot(other), uninstallKey));
    EXPECT_FALSE(folderExists(installFolder(other)));
}

void expectUninstalledFrom(const std::wstring& folder, TinstallMode mode) {
    std::wstring helpFolder;
    EXPECT_FALSE(folderExists(folder)) << utf8(folder);
    EXPECT_FALSE(fileExists(startMenuShortcut(mode)));
    EXPECT_FALSE(registryKeyExists(registryRoot(mode), uninstallKey));
    EXPECT_FALSE(readRegistryString(registryRoot(mode), helpFilesKey, L"lexoria.hlp", helpFolder));
}
void expectUninstalled(TinstallMode mode) { expectUninstalledFrom(installFolder(mode), mode); }

TEST(Setup, InstallsSilentlyEitherWayRunsFromTheStartMenuAndUninstallsSilently) {
    for (const TmodeCase& test : modeCases) {
        SCOPED_TRACE(test.name);
        TcleanSlate slate;
        ASSERT_EQ(0, installSilently(test.options));
        expectInstalled(test);

        TlexoriaProcess program;
        ASSERT_TRUE(program.start(installFolder(test.mode)));
        HWND window = program.waitForMainWindow();
        ASSERT_NE(nullptr, window);
        EXPECT_EQ(window, FindWindowA("Lexoria", "Lexoria"));

        // Files in use are not touched: both give up when nobody can close the program.
        EXPECT_EQ(2, installSilently(test.options));
        EXPECT_EQ(2, uninstallQuietly(test.mode));
        EXPECT_TRUE(fileExists(installedProgram(test.mode)));
        EXPECT_TRUE(registryKeyExists(registryRoot(test.mode), uninstallKey));

        exitThroughButton(program, window);
        ASSERT_TRUE(settingsPresent());  // the program stored its place in the word list

        EXPECT_EQ(0, uninstallQuietly(test.mode));
        expectUninstalled(test.mode);
        EXPECT_TRUE(settingsPresent());
    }
}

// /D= installs into exactly that folder, whatever its script, or fails with exit code 2 and
// leaves nothing behind: never an installation somewhere else reported as success.
// clang-format off
struct TfolderCase { const char* name; const wchar_t* folder; long exitCode; };
const TfolderCase folderCases[] = {
    {"Cyrillic", L"C:\\Тест\\Лексория", 0},
    {"Japanese", L"C:\\テスト\\レクソリア", 0},
    {"a file in the way", L"C:\\lexoria-blocker\\Lexoria", 2},
    {"a drive that does not exist", L"Q:\\Lexoria", 2},
};
// clang-format on

TEST(Setup, InstallsExactlyIntoTheFolderAskedForOrFails) {
    const std::wstring blocker = L"C:\\lexoria-blocker";
    ASSERT_TRUE(writeFile(blocker, "a file, not a folder"));
    for (const TfolderCase& test : folderCases) {
        SCOPED_TRACE(test.name);
        TcleanSlate slate;
        const std::wstring folder = test.folder;
        EXPECT_EQ(test.exitCode, installSilently(L" /D=" + folder));
        if (test.exitCode == 0) {
            expectInstalledIn(folder, forCurrentUser);
            EXPECT_EQ(0, uninstallQuietly());
            expectUninstalledFrom(folder, forCurrentUser);
        } else {
            EXPECT_FALSE(registryKeyExists(HKEY_CURRENT_USER, uninstallKey));
            EXPECT_FALSE(folderExists(installFolder()));
        }
        removeTree(folder.substr(0, folder.find(L'\\', 3)));
    }
    DeleteFileW(blocker.c_str());
}

// A user whose profile folder is named in Cyrillic: the per-user copy goes into that profile,
// the Start menu and Startup shortcuts are found there, and the uninstaller removes them.
TEST(Setup, InstallsIntoAndUninstallsFromAProfileNamedInCyrillic) {
    TcleanSlate slate;
    const std::wstring profile = L"C:\\users\\Тестовый пользователь";
    const wchar_t* const shellFolders =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    const std::wstring menu = profile + L"\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu";
    TuserRegistryValue localAppData(shellFolders, L"Local AppData", profile + L"\\AppData\\Local");
    TuserRegistryValue programs(shellFolders, L"Programs", menu + L"\\Programs");
    TuserRegistryValue startup(shellFolders, L"Startup", menu + L"\\Programs\\Startup");
    for (const std::wstring& made : {profile + L"\\AppData\\Local", menu + L"\\Programs\\Startup"})
        SHCreateDirectoryExW(nullptr, made.c_str(), nullptr);
    ASSERT_EQ(profile + L"\\AppData\\Local\\Programs\\Lexoria", installFolder());

    ASSERT_EQ(0, installSilently());
    expectInstalled(modeCases[0]);
    ASSERT_TRUE(writeShortcut(userStartupShortcut(), installedProgram()));
    EXPECT_EQ(0, uninstallQuietly());
    expectUninstalled(forCurrentUser);
    EXPECT_FALSE(fileExists(userStartupShortcut()));
    removeTree(profile);
}

// Lexoria runs on Windows XP SP3 and later; on anything older the installer says so and ends
// with exit code 2 before it installs anything.
TEST(Setup, RefusesWindowsOlderThanXpSp3) {
    const std::wstring setupName = setupPath.substr(setupPath.find_last_of(L'\\') + 1);
    const std::wstring appDefaults = L"Software\\Wine\\AppDefaults\\" + setupName;
    // clang-format off
    const struct { const wchar_t* version; long exitCode; } cases[] = {
        {L"win2k", 2}, {L"winxp", 0}, {L"win10", 0}};
    // clang-format on
    for (const auto& test : cases) {
        SCOPED_TRACE(utf8(test.version));
        TcleanSlate slate;
        TuserRegistryValue version(appDefaults.c_str(), L"Version", test.version);
        EXPECT_EQ(test.exitCode, installSilently());
        EXPECT_EQ(test.exitCode == 0, fileExists(installedProgram()));
        EXPECT_EQ(test.exitCode == 0, registryKeyExists(HKEY_CURRENT_USER, uninstallKey));
    }
}

// An install for everyone by a standard user starts the installer again elevated: that copy
// installs into the folder /D= asked for, and its exit code is the installer's. The uninstaller
// of such an installation, started by a standard user, hands over to an elevated copy that
// removes that installation and no other, and reports its exit code too. Wine always reports an
// administrator, so this runs the installer built to play a standard user.
TEST(Setup, ElevatedCopyInstallsIntoTheFolderAskedForAndReportsItsExitCode) {
    TcleanSlate slate;
    const std::wstring folder = L"C:\\Für alle\\Lexoria";
    ASSERT_EQ(0, installSilently(L" /ALLUSERS /D=" + folder, standardUserSetupPath));
    expectInstalledIn(folder, forEveryone);
    EXPECT_FALSE(folderExists(installFolder(forEveryone)));
    EXPECT_FALSE(registryKeyExists(HKEY_CURRENT_USER, uninstallKey));

    TlexoriaProcess program;
    ASSERT_TRUE(program.start(folder));
    HWND window = program.waitForMainWindow();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(2, installSilently(L" /ALLUSERS", standardUserSetupPath));
    EXPECT_EQ(2, uninstallQuietly(forEveryone));
    EXPECT_TRUE(fileExists(folder + L"\\Lexoria.exe"));
    exitThroughButton(program, window);

    // A per-user installation beside it must survive the uninstaller of the one for everyone.
    ASSERT_EQ(0, installSilently(L"", standardUserSetupPath));
    EXPECT_EQ(0, uninstallQuietly(forEveryone));
    expectUninstalledFrom(folder, forEveryone);
    expectInstalledIn(installFolder(), forCurrentUser);
    removeTree(L"C:\\Für alle");
}

// The user's own list, as "lexoria-list import" would leave it in the installed folder.
const char ownList[] = "word=mine\r\ndef=a word of my own\r\n";

TEST(Setup, InstallingAgainKeepsTheUsersListUnlessAskedAndUninstallingLeavesIt) {
    TcleanSlate slate;
    ASSERT_EQ(0, installSilently());
    const std::string shipped = bytesOf(installedList());
    ASSERT_NE(shipped, "<missing>");
    const unsigned char state[] = {1, 2, 3, 4};
    ASSERT_TRUE(setProgramValue("State", REG_BINARY, state, sizeof state));

    // clang-format off
    const struct { const char* name; const wchar_t* options; bool changeFirst;
                   std::string expected; } steps[] = {
        {"unchanged list, installed again", L"", false, shipped},
        {"changed list, installed again", L"", true, ownList},
        {"changed list, /NEWLIST", L" /NEWLIST", true, shipped},
    };
    // clang-format on
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        ASSERT_TRUE(!step.changeFirst || writeFile(installedList(), ownList));
        ASSERT_EQ(0, installSilently(step.options));
        EXPECT_EQ(step.expected, bytesOf(installedList()));
        EXPECT_TRUE(settingsPresent());
    }

    ASSERT_TRUE(writeFile(installedList(), ownList));
    EXPECT_EQ(0, uninstallQuietly());
    EXPECT_EQ(ownList, bytesOf(installedList())) << "the user's list stays";
    EXPECT_FALSE(fileExists(installedProgram()));
    EXPECT_FALSE(registryKeyExists(HKEY_CURRENT_USER, uninstallKey));
}

// Each case leaves a Startup shortcut as the program's options would: to the installed program,
// or to another copy of it (one unpacked from the zip archive, say).
// clang-format off
struct TuninstallCase { const char* name; int answer; bool linkToInstalledProgram, settingsKept,
                        linkKept; };
const TuninstallCase uninstallCases[] = {  // answer 0: silent
    {"silent", 0, true, true, false},
    {"user says no", IDNO, false, true, true},
    {"user says yes", IDYES, true, false, false},
};
// clang-format on

TEST(Setup, UninstallKeepsSettingsUnlessAskedAndDropsItsOwnStartupShortcut) {
    for (const TuninstallCase& test : uninstallCases) {
        SCOPED_TRACE(test.name);
        TcleanSlate slate;
        ASSERT_EQ(0, installSilently());
        const unsigned char state[] = {1, 2, 3, 4};
        ASSERT_TRUE(setProgramValue("State", REG_BINARY, state, sizeof state));
        std::wstring target =
            test.linkToInstalledProgram ? installedProgram() : L"C:\\Lexoria\\Lexoria.exe";
        ASSERT_TRUE(writeShortcut(userStartupShortcut(), target));

        std::string failedStep = "uninstalling silently";
        long code = test.answer ? uninstallAnswering(test.answer, failedStep,
                                                     textsOfLanguageFile(L"English"))
                                : uninstallQuietly();
        EXPECT_EQ(0, code) << failedStep;
        expectUninstalled(forCurrentUser);
        EXPECT_EQ(test.settingsKept, settingsPresent());
        EXPECT_EQ(test.linkKept, fileExists(userStartupShortcut()));
    }
}

// Run once per locale by run-dist-test.sh: the installer and uninstaller speak the display
// language, chosen by Windows' language with no question asked, in every page and message of
// their own.
TEST(SetupLanguage, PagesMessagesAndShortcutSpeakTheDisplayLanguage) {
    if (expectedLanguage.empty()) {
        GTEST_SKIP() << "run by run-dist-test.sh with --language";
    }
    const Ttexts texts = textsOfLanguageFile(expectedLanguage);
    ASSERT_EQ(expectedLanguage == L"English",
              textsOfLanguageFile(L"English").at("setupCaption") == texts.at("setupCaption"));
    // Right to left for Arabic: Lexoria's own page reads from the right, as NSIS's pages do.
    const bool rightToLeft = expectedLanguage == L"Arabic";
    TcleanSlate slate;
    {
        TlexoriaProcess setup;
        ASSERT_TRUE(setup.start(setupPath.substr(0, setupPath.find_last_of(L'\\')),
                                setupPath.substr(setupPath.find_last_of(L'\\') + 1)));
        HWND wizard = waitForDialogOf(
            setup.id(),
            [&](HWND dialog) { return startsWith(textOf(dialog), texts.at("setupCaption")); },
            20000);
        ASSERT_NE(nullptr, wizard) << "no window titled " << utf8(texts.at("setupCaption"));
        ASSERT_TRUE(waitUntil([&] { return controlWithText(wizard, texts.at("licenceBottom")); }));
        ASSERT_TRUE(clickUntil(wizard, IDOK, [&] {
            return controlWithText(wizard, texts.at("everyone")) != nullptr;
        }));
        for (const char* name : {"modeTitle", "modeSubtitle", "modeText", "justMe", "everyone"}) {
            HWND control = controlWithText(wizard, texts.at(name));
            EXPECT_NE(nullptr, control) << name << ": " << utf8(texts.at(name));
            if (control && std::string(name).rfind("mode", 0) != 0) {
                const LONG style = GetWindowLongW(control, GWL_EXSTYLE);
                EXPECT_EQ(rightToLeft, (style & WS_EX_RTLREADING) != 0) << name;
            }
        }
    }  // the wizard ends with its process

    ASSERT_EQ(0, installSilently());
    Tshortcut shortcut;
    ASSERT_TRUE(readShortcut(startMenuShortcut(), shortcut));
    EXPECT_EQ(texts.at("shortcutComment"), shortcut.description);

    TlexoriaProcess program;
    ASSERT_TRUE(program.start(installFolder()));
    ASSERT_NE(nullptr, program.waitForMainWindow());
    std::string failedStep;
    EXPECT_EQ(0, uninstallAnswering(IDYES, failedStep, texts, &program)) << failedStep;
    expectUninstalled(forCurrentUser);
    EXPECT_FALSE(settingsPresent());
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    std::vector<std::wstring> arguments;
    for (int i = 1; i < argc; ++i) {
        const std::wstring argument = wideOf(argv[i]);
        if (argument.rfind(L"--language=", 0) == 0) {
            expectedLanguage = argument.substr(11);
        } else {
            arguments.push_back(argument);
        }
    }
    if (arguments.size() != 3) {
        std::fprintf(stderr,
                     "usage: dist_install_test SETUP.EXE STANDARD_USER_SETUP.EXE "
                     "LANGUAGE_FOLDER [--language=NAME]\n");
        return 2;
    }
    setupPath = arguments[0];
    standardUserSetupPath = arguments[1];
    languageFolder = arguments[2];
    return RUN_ALL_TESTS();
}
