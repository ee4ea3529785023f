// The Windows installer and uninstaller under Wine, as a user meets them, and (once per display
// language, --language naming the texts expected) their pages and messages in that language.
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
#include "win32/handleholder.h"

using namespace lexoriaTest;

namespace {

std::wstring setupPath, standardUserSetupPath, languageFolder, expectedLanguage;  // command line

const DWORD installTimeoutMs = 60000;
const wchar_t* const uninstallKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lexoria";
const wchar_t* const helpFilesKey = L"Software\\Microsoft\\Windows\\Help";  // where help files lie

// For the current user (the default) or, with /ALLUSERS, for everyone.
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
std::wstring installedProgram() { return installFolder() + L"\\Lexoria.exe"; }
std::wstring installedList() { return installFolder() + L"\\lexoria.lst"; }
std::wstring userStartupShortcut() { return shellFolder(CSIDL_STARTUP) + L"\\Lexoria.lnk"; }
std::string utf8(const std::wstring& text) { return bytesFrom(text, CP_UTF8); }
// A file's bytes, or "<missing>", wherever it lies.
std::string bytesOf(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "<missing>";
}
bool exists(const std::wstring& path, bool folder = false) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           folder == ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
}
bool sameText(const std::wstring& a, const std::wstring& b) {  // ignoring case, as paths are
    return lstrcmpiW(a.c_str(), b.c_str()) == 0;
}
// The program at the path started in its own folder.
bool startAt(TlexoriaProcess& process, const std::wstring& path, const std::wstring& arguments) {
    const size_t slash = path.find_last_of(L'\\');
    return slash != std::wstring::npos &&
           process.start(path.substr(0, slash), path.substr(slash + 1), arguments);
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
bool writeStartupShortcut(const std::wstring& target) {
    return createLink(userStartupShortcut().c_str(), target.c_str(), programItemName);
}

// A REG_SZ value, or "(missing)".
std::wstring registryString(HKEY root, const wchar_t* subkey, const wchar_t* name) {
    wchar_t buffer[1024] = L"";
    DWORD size = sizeof buffer;
    return RegGetValueW(root, subkey, name, RRF_RT_REG_SZ | RRF_NOEXPAND, nullptr, buffer, &size) ==
                   ERROR_SUCCESS
               ? buffer
               : L"(missing)";
}
bool registryKeyExists(HKEY root, const wchar_t* subkey) {
    HKEY key;
    const bool opened = RegOpenKeyExW(root, subkey, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (opened) RegCloseKey(key);
    return opened;
}

// A string value under HKEY_CURRENT_USER for the holder's lifetime, of the type of the one it
// replaces (read raw: the shell folders are REG_EXPAND_SZ), which comes back afterwards.
class TuserRegistryValue {
public:
    TuserRegistryValue(const wchar_t* key, const wchar_t* value, const std::wstring& text)
        : subkey(key), name(value) {
        hadValue = RegGetValueW(HKEY_CURRENT_USER, key, value, RRF_RT_ANY | RRF_NOEXPAND, &type,
                                previous, &size) == ERROR_SUCCESS;
        SHSetValueW(HKEY_CURRENT_USER, key, value,
                    hadValue && type == REG_EXPAND_SZ ? REG_EXPAND_SZ : REG_SZ, text.c_str(),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    ~TuserRegistryValue() {
        if (hadValue) SHSetValueW(HKEY_CURRENT_USER, subkey, name, type, previous, size);
        else SHDeleteValueW(HKEY_CURRENT_USER, subkey, name);
    }
    TuserRegistryValue(const TuserRegistryValue&) = delete;
    TuserRegistryValue& operator=(const TuserRegistryValue&) = delete;

private:
    const wchar_t *subkey, *name;
    BYTE previous[2048];
    DWORD type = REG_NONE, size = sizeof previous;
    bool hadValue = false;
};

ULONGLONG creationTime(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// The uninstaller's copy of itself: the ended launcher's child that began after it (Wine reuses
// the ids of ended processes); ended if still running when the holder goes.
class TuninstallerCopy {
public:
    explicit TuninstallerCopy(const TlexoriaProcess& launcher) {
        const ULONGLONG launched = creationTime(launcher.handle());
        ThandleHolder snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        PROCESSENTRY32W entry = {};
        entry.dwSize = sizeof entry;
        for (BOOL more = launched && Process32FirstW(snapshot.get(), &entry); more && !found();
             more = Process32NextW(snapshot.get(), &entry)) {
            if (entry.th32ParentProcessID != launcher.id() || entry.th32ProcessID == launcher.id())
                continue;
            processId = entry.th32ProcessID;
            process.reset(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE,
                                      FALSE, processId));
            if (found() && creationTime(process.get()) < launched) process.reset();
        }
    }
    ~TuninstallerCopy() {
        if (found() && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT)
            TerminateProcess(process.get(), 1);
    }
    bool found() const { return process.get() != nullptr; }
    DWORD id() const { return processId; }
    long waitForExit(DWORD timeoutMs) const {  // the exit code, or -1 on time-out
        DWORD code = 0;
        return found() && WaitForSingleObject(process.get(), timeoutMs) == WAIT_OBJECT_0 &&
                       GetExitCodeProcess(process.get(), &code)
                   ? static_cast<long>(code)
                   : -1;
    }

private:
    ThandleHolder process;
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
    TlexoriaProcess process;
    return startAt(process, setup, L" /S" + options) ? process.waitForExit(installTimeoutMs) : -1;
}

// The mode's uninstall command ("C:\...\Uninstall.exe" and its options) run as Add/Remove
// Programs does; true once this launcher has handed over to its copy and ended with 0.
bool launchUninstaller(TlexoriaProcess& launcher, TinstallMode mode, const wchar_t* command) {
    const std::wstring line = registryString(registryRoot(mode), uninstallKey, command);
    const size_t close = line.find(L'"', 1);
    return line[0] == L'"' && close != std::wstring::npos &&
           startAt(launcher, line.substr(1, close - 1), line.substr(close + 1)) &&
           launcher.waitForExit(installTimeoutMs) == 0;
}
// The QuietUninstallString (with /S): the copy's exit code, or -1 on time-out.
long uninstallQuietly(TinstallMode mode = forCurrentUser) {
    TlexoriaProcess launcher;
    return launchUninstaller(launcher, mode, L"QuietUninstallString")
               ? TuninstallerCopy(launcher).waitForExit(installTimeoutMs)
               : -1;
}

bool settingsPresent() {
    std::vector<unsigned char> bytes;
    return getProgramValue("State", bytes);
}
bool storeSettings() {
    const unsigned char state[] = {1, 2, 3, 4};
    return setProgramValue("State", REG_BINARY, state, sizeof state);
}

// The visible control of the window, at any depth, whose text is the one given; null when none is.
HWND controlWithText(HWND window, const std::wstring& text) {
    for (HWND child = FindWindowExW(window, nullptr, nullptr, nullptr); child;
         child = FindWindowExW(window, child, nullptr, nullptr)) {
        if (IsWindowVisible(child) && windowTextW(child) == text) return child;
        if (HWND inner = controlWithText(child, text)) return inner;
    }
    return nullptr;
}

// Clicks the button once its page has enabled it, then waits for the condition; false on time-out.
// A notification, as a posted BM_CLICK can be swallowed by a change of the active window.
template <typename Condition>
bool clickUntil(HWND dialog, int button, Condition condition, DWORD timeoutMs = 20000) {
    HWND control = GetDlgItem(dialog, button);
    if (!waitUntil([&] { return IsWindowEnabled(control) != 0; }, timeoutMs)) return false;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
    return waitUntil(condition, timeoutMs);
}
// A visible dialog of the process whose caption begins with the text; null on time-out.
HWND waitForWizard(DWORD processId, const std::wstring& caption) {
    return waitForDialogOf(
        processId, [&](HWND dialog) { return windowTextW(dialog).rfind(caption, 0) == 0; }, 20000);
}

// The installer's texts in one language, by name, from the `LangString name 0 "text"` lines.
using Ttexts = std::map<std::string, std::wstring>;
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
        texts[line.substr(11, line.find(' ', 11) - 11)] = wideOf(text, CP_UTF8);
    }
    return texts;
}

// Runs the uninstaller and confirms (with a running Lexoria given, expects the "Lexoria is running"
// box, closes the program and retries), then answers the settings question with the button given.
// The exit code of the copy that does the work, or -1 with the step that failed.
long uninstallAnswering(int answer, std::string& failedStep, const Ttexts& texts,
                        TlexoriaProcess* running = nullptr) {
    TlexoriaProcess launcher;
    failedStep = "starting the uninstaller";
    if (!launchUninstaller(launcher, forCurrentUser, L"UninstallString")) return -1;
    TuninstallerCopy copy(launcher);
    if (!copy.found()) return -1;
    failedStep = "finding its window, titled " + utf8(texts.at("uninstallCaption"));
    HWND wizard = waitForWizard(copy.id(), texts.at("uninstallCaption"));
    if (!wizard) return -1;
    HWND box = nullptr;
    auto boxSaying = [&](const char* name) {
        return [&box, &copy, text = texts.at(name)] {
            box = waitForDialogOf(
                copy.id(), [&](HWND dialog) { return messageBoxTextW(dialog) == text; }, 0);
            return box != nullptr;
        };
    };
    failedStep = running ? "confirming and being told that Lexoria is running"
                         : "confirming and getting the question";  // IDOK: "Uninstall"
    if (!clickUntil(wizard, IDOK, boxSaying(running ? "running" : "settingsQuestion"))) return -1;
    if (running) {
        exitThroughButton(*running, FindWindowA("Lexoria", "Lexoria"));
        failedStep = "retrying and getting the question";
        if (!clickUntil(box, IDRETRY, boxSaying("settingsQuestion"))) return -1;
    }
    failedStep = "answering the question";
    HWND question = box;
    if (!clickUntil(question, answer, [&] { return !IsWindow(question); })) return -1;
    failedStep = "closing the uninstaller";  // the same button reads "Close" once it is done
    clickUntil(wizard, IDOK, [&] { return copy.waitForExit(0) >= 0; });
    return copy.waitForExit(0);
}

// The files, the uninstall entry, the help folder and the Start menu shortcut (read as the shell
// reads it) under the mode's own root, for the folder; no uninstall entry under the other's.
void expectInstalledIn(const std::wstring& folder, TinstallMode mode) {
    const TinstallMode other = mode == forEveryone ? forCurrentUser : forEveryone;
    EXPECT_FALSE(registryKeyExists(registryRoot(other), uninstallKey));
    for (const wchar_t* name : {L"Lexoria.exe", L"lexoria.lst", L"lexoria.hlp", L"lexoria.chm",
                                L"README.txt", L"LICENSE.txt", L"Uninstall.exe"})
        EXPECT_TRUE(exists(folder + L"\\" + name)) << utf8(folder + L"\\" + name);
    const std::wstring uninstaller = L"\"" + folder + L"\\Uninstall.exe\"";
    // clang-format off
    const struct { const wchar_t *key, *name; std::wstring value; } entry[] = {
        {uninstallKey, L"DisplayName", L"Lexoria"},
        {uninstallKey, L"DisplayVersion", wideOf(LEXORIA_VERSION)},
        {uninstallKey, L"Publisher", L"The Lexoria developers"},
        {uninstallKey, L"InstallLocation", folder},
        {uninstallKey, L"UninstallString", uninstaller},
        {uninstallKey, L"QuietUninstallString", uninstaller + L" /S"},
        // where the help viewer finds lexoria.hlp when the program starts in another folder
        {helpFilesKey, L"lexoria.hlp", folder},
    };
    // clang-format on
    for (const auto& value : entry) {
        const std::wstring stored = registryString(registryRoot(mode), value.key, value.name);
        EXPECT_TRUE(sameText(value.value, stored)) << utf8(value.name) << ": " << utf8(stored);
    }
    Tshortcut shortcut;
    ASSERT_TRUE(readShortcut(startMenuShortcut(mode), shortcut));
    EXPECT_TRUE(sameText(folder + L"\\Lexoria.exe", shortcut.target)) << utf8(shortcut.target);
    EXPECT_TRUE(sameText(folder, shortcut.workingFolder)) << utf8(shortcut.workingFolder);
}
void expectInstalled(TinstallMode mode) {
    expectInstalledIn(installFolder(mode), mode);
    EXPECT_FALSE(exists(installFolder(mode == forEveryone ? forCurrentUser : forEveryone), true));
}

void expectUninstalled(TinstallMode mode, std::wstring folder = L"") {
    if (folder.empty()) folder = installFolder(mode);
    EXPECT_FALSE(exists(folder, true)) << utf8(folder);
    EXPECT_FALSE(exists(startMenuShortcut(mode)));
    EXPECT_FALSE(registryKeyExists(registryRoot(mode), uninstallKey));
    EXPECT_EQ(L"(missing)", registryString(registryRoot(mode), helpFilesKey, L"lexoria.hlp"));
}

// With the program running from the folder, installing again and uninstalling both give up with
// exit code 2 (files in use, and nobody can close the program) and leave the installation be.
void expectRunningProgramKept(const std::wstring& folder, TinstallMode mode,
                              const std::wstring& options, const std::wstring& setup) {
    TlexoriaProcess program;
    ASSERT_TRUE(program.start(folder));
    HWND window = program.waitForMainWindow();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(2, installSilently(options, setup));
    EXPECT_EQ(2, uninstallQuietly(mode));
    EXPECT_TRUE(exists(folder + L"\\Lexoria.exe"));
    EXPECT_TRUE(registryKeyExists(registryRoot(mode), uninstallKey));
    exitThroughButton(program, window);
}

TEST(Setup, InstallsSilentlyEitherWayRunsFromTheStartMenuAndUninstallsSilently) {
    for (TinstallMode mode : {forCurrentUser, forEveryone}) {
        SCOPED_TRACE(mode == forEveryone ? "for everyone" : "for the current user, the default");
        const wchar_t* const options = mode == forEveryone ? L" /ALLUSERS" : L"";
        TcleanSlate slate;
        ASSERT_EQ(0, installSilently(options));
        expectInstalled(mode);
        expectRunningProgramKept(installFolder(mode), mode, options, setupPath);
        ASSERT_TRUE(settingsPresent());  // the program stored its place in the word list
        EXPECT_EQ(0, uninstallQuietly(mode));
        expectUninstalled(mode);
        EXPECT_TRUE(settingsPresent());
    }
}

// /D= installs into exactly that folder, whatever its script, or fails with exit code 2 and
// leaves nothing behind: never an installation somewhere else reported as success.
TEST(Setup, InstallsExactlyIntoTheFolderAskedForOrFails) {
    // clang-format off
    const struct { const char* name; std::wstring folder; long exitCode; } cases[] = {
        {"Cyrillic", L"C:\\Тест\\Лексория", 0},
        {"Japanese", L"C:\\テスト\\レクソリア", 0},
        {"a file in the way", L"C:\\lexoria-blocker\\Lexoria", 2},
        {"a drive that does not exist", L"Q:\\Lexoria", 2},
    };
    // clang-format on
    const std::wstring blocker = L"C:\\lexoria-blocker";
    ASSERT_TRUE(writeFile(blocker, "a file, not a folder"));
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        TcleanSlate slate;
        EXPECT_EQ(test.exitCode, installSilently(L" /D=" + test.folder));
        if (test.exitCode == 0) {
            expectInstalledIn(test.folder, forCurrentUser);
            EXPECT_EQ(0, uninstallQuietly());
            expectUninstalled(forCurrentUser, test.folder);
        } else {
            EXPECT_FALSE(registryKeyExists(HKEY_CURRENT_USER, uninstallKey));
            EXPECT_FALSE(exists(installFolder(), true));
        }
        removeTree(test.folder.substr(0, test.folder.find(L'\\', 3)));
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
    expectInstalled(forCurrentUser);
    ASSERT_TRUE(writeStartupShortcut(installedProgram()));
    EXPECT_EQ(0, uninstallQuietly());
    expectUninstalled(forCurrentUser);
    EXPECT_FALSE(exists(userStartupShortcut()));
    removeTree(profile);
}

// On anything older than Windows XP SP3 the installer ends with exit code 2, installing nothing.
TEST(Setup, RefusesWindowsOlderThanXpSp3) {
    const std::wstring appDefaults =
        L"Software\\Wine\\AppDefaults\\" + setupPath.substr(setupPath.find_last_of(L'\\') + 1);
    for (const wchar_t* version : {L"win2k", L"winxp", L"win10"}) {
        SCOPED_TRACE(utf8(version));
        TcleanSlate slate;
        TuserRegistryValue windowsVersion(appDefaults.c_str(), L"Version", version);
        const bool supported = version != std::wstring(L"win2k");
        EXPECT_EQ(supported ? 0 : 2, installSilently());
        EXPECT_EQ(supported, exists(installedProgram()));
        EXPECT_EQ(supported, registryKeyExists(HKEY_CURRENT_USER, uninstallKey));
    }
}

// For everyone by a standard user (a build that plays one: Wine is always an administrator), the
// elevated copies install into /D='s folder, remove it and no other, and report their exit codes.
TEST(Setup, ElevatedCopyInstallsIntoTheFolderAskedForAndReportsItsExitCode) {
    TcleanSlate slate;
    const std::wstring folder = L"C:\\Für alle\\Lexoria";
    ASSERT_EQ(0, installSilently(L" /ALLUSERS /D=" + folder, standardUserSetupPath));
    expectInstalledIn(folder, forEveryone);
    EXPECT_FALSE(exists(installFolder(forEveryone), true));
    expectRunningProgramKept(folder, forEveryone, L" /ALLUSERS", standardUserSetupPath);

    // A per-user installation beside it must survive the uninstaller of the one for everyone.
    ASSERT_EQ(0, installSilently(L"", standardUserSetupPath));
    EXPECT_EQ(0, uninstallQuietly(forEveryone));
    expectUninstalled(forEveryone, folder);
    expectInstalledIn(installFolder(), forCurrentUser);
    removeTree(L"C:\\Für alle");
}

TEST(Setup, InstallingAgainKeepsTheUsersListUnlessAskedAndUninstallingLeavesIt) {
    const char ownList[] = "word=mine\r\ndef=a word of my own\r\n";  // as an import leaves it
    TcleanSlate slate;
    ASSERT_EQ(0, installSilently());
    const std::string shipped = bytesOf(installedList());
    ASSERT_NE(shipped, "<missing>");
    ASSERT_TRUE(storeSettings());
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
    EXPECT_FALSE(exists(installedProgram()));
    EXPECT_FALSE(registryKeyExists(HKEY_CURRENT_USER, uninstallKey));
}

// The Startup shortcut leads to the installed program, or to another copy (unpacked from the zip).
TEST(Setup, UninstallKeepsSettingsUnlessAskedAndDropsItsOwnStartupShortcut) {
    // clang-format off
    const struct { const char* name; int answer; bool linkToInstalledProgram, settingsKept,
                   linkKept; } cases[] = {  // answer 0: silent
        {"silent", 0, true, true, false},
        {"user says no", IDNO, false, true, true},
    };
    // clang-format on
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        TcleanSlate slate;
        ASSERT_EQ(0, installSilently());
        ASSERT_TRUE(storeSettings());
        ASSERT_TRUE(writeStartupShortcut(
            test.linkToInstalledProgram ? installedProgram() : L"C:\\Lexoria\\Lexoria.exe"));
        std::string failedStep = "uninstalling silently";
        EXPECT_EQ(0, test.answer ? uninstallAnswering(test.answer, failedStep,
                                                      textsOfLanguageFile(L"English"))
                                 : uninstallQuietly())
            << failedStep;
        expectUninstalled(forCurrentUser);
        EXPECT_EQ(test.settingsKept, settingsPresent());
        EXPECT_EQ(test.linkKept, exists(userStartupShortcut()));
    }
}

// Run once per locale by run-dist-test.sh: the display language, no question asked, everywhere.
TEST(SetupLanguage, PagesMessagesAndShortcutSpeakTheDisplayLanguage) {
    if (expectedLanguage.empty()) GTEST_SKIP() << "run by run-dist-test.sh with --language";
    const Ttexts texts = textsOfLanguageFile(expectedLanguage);
    ASSERT_EQ(expectedLanguage == L"English",
              textsOfLanguageFile(L"English").at("setupCaption") == texts.at("setupCaption"));
    // Right to left for Arabic: Lexoria's own page reads from the right, as NSIS's pages do.
    const bool rightToLeft = expectedLanguage == L"Arabic";
    TcleanSlate slate;
    {
        TlexoriaProcess setup;
        ASSERT_TRUE(startAt(setup, setupPath, L"")) << "error " << GetLastError();
        HWND wizard = waitForWizard(setup.id(), texts.at("setupCaption"));
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
        if (argument.rfind(L"--language=", 0) == 0) expectedLanguage = argument.substr(11);
        else arguments.push_back(argument);
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
