// The Windows installer under Wine, as a user meets it: a silent install for the current user
// and one for everyone, the program started from its Start menu shortcut, an upgrade over a word
// list the user changed, and the uninstaller, silent and answering its question about the
// user's settings. Run as: dist_install_test <Windows path of Lexoria-x.y.z-setup.exe>.
#include <gtest/gtest.h>

#include <cstdio>

#include "dist/installer_driver.h"
#include "resources/resource.h"
#include "support/lexoria_driver.h"
#include "version.h"

using namespace distTest;
using namespace lexoriaTest;

namespace {

std::string setupPath;  // from the command line

const DWORD installTimeoutMs = 60000;

std::string inQuotes(const std::string& path) { return "\"" + path + "\""; }
std::string installedProgram(TinstallMode mode = forCurrentUser) {
    return installFolder(mode) + "\\Lexoria.exe";
}
std::string installedList() { return installFolder() + "\\lexoria.lst"; }
std::string userStartupShortcut() { return startupFolder() + "\\Lexoria.lnk"; }
bool sameText(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// Every test starts and ends with no installation and no settings in the test prefix.
struct TcleanSlate {
    TcleanSlate() { clean(); }
    ~TcleanSlate() { clean(); }
    static void clean() {
        removeInstallation();
        deleteProgramKey();
    }
};

long installSilently(const char* options = "") {
    return runAndWait(inQuotes(setupPath) + " /S" + options, installTimeoutMs);
}

std::string quietUninstallCommand(TinstallMode mode = forCurrentUser) {
    std::string command;
    readRegistryString(registryRoot(mode), uninstallKey, "QuietUninstallString", command);
    return command;
}

bool settingsPresent() {
    std::vector<unsigned char> bytes;
    return getProgramValue("State", bytes);
}

// Clicks the button once its page has enabled it (before, a click is lost), then waits for the
// condition. False on time-out.
template <typename Condition>
bool clickUntil(HWND dialog, int button, Condition condition, DWORD timeoutMs = 20000) {
    HWND control = GetDlgItem(dialog, button);
    if (!waitUntil([&] { return IsWindowEnabled(control) != 0; }, timeoutMs)) return false;
    clickButton(dialog, button);
    return waitUntil(condition, timeoutMs);
}

// Runs the uninstaller as Add/Remove Programs does, confirms, and answers the settings question
// with the button given. Returns the exit code of the copy that does the work, or -1 with the
// step that failed.
long uninstallAnswering(int answer, std::string& failedStep) {
    std::string uninstaller;
    TlexoriaProcess launcher, copy;
    failedStep = "starting the uninstaller";
    if (!readRegistryString(HKEY_CURRENT_USER, uninstallKey, "UninstallString", uninstaller) ||
        !launcher.startCommand(uninstaller) || launcher.waitForExit(installTimeoutMs) != 0 ||
        !launcher.adoptChild(copy))
        return -1;
    failedStep = "finding its window";
    HWND wizard = waitForDialogOf(
        copy.id(),
        [](HWND dialog) { return windowText(dialog).find("Uninstall") != std::string::npos; },
        20000);
    if (!wizard) return -1;
    failedStep = "confirming and getting the question";
    HWND question = nullptr;
    auto asked = [&] {
        question = waitForDialogOf(
            copy.id(),
            [](HWND dialog) {
                return messageBoxText(dialog).rfind("Also remove your Lexoria settings", 0) == 0;
            },
            0);
        return question != nullptr;
    };
    if (!clickUntil(wizard, IDOK, asked)) return -1;  // IDOK: "Uninstall"
    failedStep = "answering the question";
    if (!clickUntil(question, answer, [&] { return !IsWindow(question); })) return -1;
    failedStep = "closing the uninstaller";  // the same button reads "Close" once it is done
    clickUntil(wizard, IDOK, [&] { return copy.waitForExit(0) >= 0; });
    return copy.waitForExit(0);
}

// The product version of a program's version resource, as "a.b.c.d"; empty when it has none.
std::string productVersion(const std::string& path) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    std::vector<char> block(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (size == 0 || !GetFileVersionInfoA(path.c_str(), 0, size, block.data()) ||
        !VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length))
        return "";
    char version[64];
    std::snprintf(version, sizeof version, "%u.%u.%u.%u", HIWORD(fixed->dwProductVersionMS),
                  LOWORD(fixed->dwProductVersionMS), HIWORD(fixed->dwProductVersionLS),
                  LOWORD(fixed->dwProductVersionLS));
    return version;
}

// The release is made for the version of the build; the programs in it must say the same.
TEST(Setup, ReleaseProgramsCarryTheReleaseVersion) {
    const std::string programs[] = {setupPath, buildFolder() + "\\Lexoria.exe"};
    for (const std::string& program : programs)
        EXPECT_EQ(LEXORIA_VERSION_FULL, productVersion(program)) << program;
}

struct TmodeCase {
    const char* name;
    TinstallMode mode;
    const char* options;
    const char* folderEnd;  // how the installation folder's path ends
};

const TmodeCase modeCases[] = {
    {"for the current user, the default", forCurrentUser, "",
     "\\AppData\\Local\\Programs\\Lexoria"},
    {"for everyone", forEveryone, " /ALLUSERS", "\\Lexoria"},
};

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && sameText(text.substr(text.size() - end.size()), end);
}

// The files, the uninstall entry and the help folder under the mode's own root, and nothing
// under the other one.
void expectInstalled(const TmodeCase& test) {
    const std::string folder = installFolder(test.mode);
    EXPECT_TRUE(endsWith(folder, test.folderEnd)) << folder;
    const char* const installed[] = {"Lexoria.exe", "lexoria.lst", "lexoria.hlp",  "lexoria.chm",
                                     "README.txt",  "LICENSE.txt", "Uninstall.exe"};
    for (const char* name : installed) EXPECT_TRUE(fileExists(folder + "\\" + name)) << name;

    const std::string uninstaller = inQuotes(folder + "\\Uninstall.exe");
    // clang-format off
    const struct { const char* name; std::string value; } entry[] = {
        {"DisplayName", "Lexoria"}, {"DisplayVersion", LEXORIA_VERSION},
        {"Publisher", "The Lexoria developers"}, {"InstallLocation", folder},
        {"UninstallString", uninstaller}, {"QuietUninstallString", uninstaller + " /S"},
    };
    // clang-format on
    const HKEY root = registryRoot(test.mode);
    for (const auto& value : entry) {
        std::string stored = "(missing)";
        readRegistryString(root, uninstallKey, value.name, stored);
        EXPECT_TRUE(sameText(value.value, stored)) << value.name << ": " << stored;
    }
    const TinstallMode other = test.mode == forEveryone ? forCurrentUser : forEveryone;
    EXPECT_FALSE(registryKeyExists(registryRoot(other), uninstallKey));
    EXPECT_FALSE(folderExists(installFolder(other)));
    // Where the help viewer finds lexoria.hlp when the program starts in another folder.
    std::string helpFolder = "(missing)";
    readRegistryString(root, helpFilesKey, "lexoria.hlp", helpFolder);
    EXPECT_TRUE(sameText(folder, helpFolder)) << helpFolder;
}

void expectUninstalled(TinstallMode mode) {
    std::string helpFolder;
    EXPECT_FALSE(folderExists(installFolder(mode)));
    EXPECT_FALSE(fileExists(startMenuShortcut(mode)));
    EXPECT_FALSE(registryKeyExists(registryRoot(mode), uninstallKey));
    EXPECT_FALSE(readRegistryString(registryRoot(mode), helpFilesKey, "lexoria.hlp", helpFolder));
}

TEST(Setup, InstallsSilentlyEitherWayRunsFromTheStartMenuAndUninstallsSilently) {
    for (const TmodeCase& test : modeCases) {
        SCOPED_TRACE(test.name);
        TcleanSlate slate;
        ASSERT_EQ(0, installSilently(test.options));
        expectInstalled(test);

        // The shortcut is read as the shell would read it; its target is what the user starts.
        Tshortcut shortcut;
        ASSERT_TRUE(readShortcut(startMenuShortcut(test.mode), shortcut));
        EXPECT_TRUE(sameText(installedProgram(test.mode), shortcut.target)) << shortcut.target;
        EXPECT_TRUE(sameText(installFolder(test.mode), shortcut.workingFolder));
        size_t slash = shortcut.target.find_last_of('\\');
        ASSERT_NE(std::string::npos, slash);

        TlexoriaProcess program;
        ASSERT_TRUE(
            program.start(shortcut.target.substr(0, slash), shortcut.target.substr(slash + 1)));
        HWND window = program.waitForMainWindow();
        ASSERT_NE(nullptr, window);
        EXPECT_EQ(window, FindWindowA("Lexoria", "Lexoria"));

        // Files in use are not touched: both give up when nobody can close the program.
        EXPECT_EQ(2, installSilently(test.options));
        EXPECT_EQ(0, runUninstaller(quietUninstallCommand(test.mode), installTimeoutMs));
        EXPECT_TRUE(fileExists(installedProgram(test.mode)));
        EXPECT_TRUE(registryKeyExists(registryRoot(test.mode), uninstallKey));

        exitThroughButton(program, window);
        ASSERT_TRUE(settingsPresent());  // the program stored its place in the word list

        EXPECT_EQ(0, runUninstaller(quietUninstallCommand(test.mode), installTimeoutMs));
        expectUninstalled(test.mode);
        EXPECT_TRUE(settingsPresent());
    }
}

// The user's own list, as "lexoria-list import" would leave it in the installed folder.
const char ownList[] = "word=mine\r\ndef=a word of my own\r\n";

TEST(Setup, InstallingAgainKeepsTheUsersListUnlessAskedAndUninstallingLeavesIt) {
    TcleanSlate slate;
    ASSERT_EQ(0, installSilently());
    const std::string shipped = readBytes(installedList());
    ASSERT_NE(shipped, "<missing>");
    const unsigned char state[] = {1, 2, 3, 4};
    ASSERT_TRUE(setProgramValue("State", REG_BINARY, state, sizeof state));

    // clang-format off
    const struct { const char *name, *options; bool changeFirst; std::string expected; } steps[] = {
        {"unchanged list, installed again", "", false, shipped},
        {"changed list, installed again", "", true, ownList},
        {"changed list, /NEWLIST", " /NEWLIST", true, shipped},
    };
    // clang-format on
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        ASSERT_TRUE(!step.changeFirst || writeFile(installedList(), ownList));
        ASSERT_EQ(0, installSilently(step.options));
        EXPECT_EQ(step.expected, readBytes(installedList()));
        EXPECT_TRUE(settingsPresent());
    }

    ASSERT_TRUE(writeFile(installedList(), ownList));
    EXPECT_EQ(0, runUninstaller(quietUninstallCommand(), installTimeoutMs));
    EXPECT_EQ(ownList, readBytes(installedList())) << "the user's list stays";
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
        std::string target =
            test.linkToInstalledProgram ? installedProgram() : "C:\\Lexoria\\Lexoria.exe";
        ASSERT_TRUE(writeShortcut(userStartupShortcut(), target));

        std::string failedStep = "uninstalling silently";
        long code = test.answer ? uninstallAnswering(test.answer, failedStep)
                                : runUninstaller(quietUninstallCommand(), installTimeoutMs);
        EXPECT_EQ(0, code) << failedStep;
        expectUninstalled(forCurrentUser);
        EXPECT_EQ(test.settingsKept, settingsPresent());
        EXPECT_EQ(test.linkKept, fileExists(userStartupShortcut()));
    }
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: dist_install_test SETUP.EXE\n");
        return 2;
    }
    setupPath = argv[1];
    return RUN_ALL_TESTS();
}
