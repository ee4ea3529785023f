// The Startup folder shortcut against Wine's real shell: the folder from the registry, the
// shortcut written by the shell link object, and which shortcuts count as the program's.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <cctype>

#include "options/startupfolder.h"
#include "options_testing.h"

namespace {
using namespace options_test;

std::string inCase(std::string text, int (*change)(int)) {
    std::transform(text.begin(), text.end(), text.begin(), [&](char c) { return static_cast<char>(change(c)); });
    return text;
}

bool fileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string windowsProgram(const char* name) {
    char folder[MAX_PATH];
    GetWindowsDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\" + name;
}

class StartupFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(getStartupFolder(folder));
        shortcut = startupShortcutPath(folder);
        DeleteFileA(shortcut.c_str());
    }
    void TearDown() override { DeleteFileA(shortcut.c_str()); }

    std::string folder, shortcut, program = thisProgram();
};

TEST_F(StartupFolder, IsTheShellsStartupFolder) {
    char shell[MAX_PATH] = "";
    ASSERT_EQ(S_OK, SHGetFolderPathA(nullptr, CSIDL_STARTUP, nullptr, 0, shell));
    EXPECT_EQ(inCase(shell, std::tolower), inCase(folder, std::tolower));
    EXPECT_EQ(folder + "\\Lexoria.lnk", shortcut);
}

TEST_F(StartupFolder, ComesOnlyFromAStringValue) {
    RegistryValueGuard value(shellFoldersKey, "Startup");
    const DWORD number = 5;
    const struct {
        const char* name;
        std::function<bool()> store;
        bool found;
    } cases[] = {
        {"string", [&] { return value.setString("C:\\Start Here\\"); }, true},
        {"number", [&] { return value.set(REG_DWORD, &number, sizeof number); }, false},
        {"bytes", [&] { return value.set(REG_BINARY, "C:\\", 4); }, false},
        {"missing", [&] { return value.remove(); }, false},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(c.store()) << c.name;
        std::string got = "untouched";
        EXPECT_EQ(c.found, getStartupFolder(got)) << c.name;
        EXPECT_EQ(c.found ? "C:\\Start Here\\" : "untouched", got) << c.name;
    }
}

// checkLink with the program's own arguments, over shortcuts made in other ways.
TEST_F(StartupFolder, RecognisesOnlyTheProgramsShortcut) {
    const struct {
        const char* name;
        std::string description, target;
        bool programs;
    } cases[] = {
        {"as the dialog makes it", "Lexoria", program, true},
        {"target in upper case", "Lexoria", inCase(program, std::toupper), true},
        {"target in lower case", "Lexoria", inCase(program, std::tolower), true},
        {"description in other case", "lexoria", program, false},
        {"description with a trailing blank", "Lexoria ", program, false},
        {"empty description", "", program, false},
        {"another target", "Lexoria", windowsProgram("notepad.exe"), false},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(createLink(shortcut.c_str(), c.target.c_str(), c.description.c_str())) << c.name;
        EXPECT_TRUE(fileExists(shortcut)) << c.name;
        EXPECT_EQ(c.programs, checkLink(shortcut.c_str(), program.c_str(), "Lexoria")) << c.name;
    }
}

TEST_F(StartupFolder, FileThatIsNoShortcutIsNotTheProgramsOne) {
    const char* const contents[] = {"", "not a shortcut", "L\0\0\0\x01\x14\x02\0\0\0\0\0\xC0"};
    for (const char* bytes : contents) {
        ASSERT_TRUE(lexoria_test::writeFile(shortcut, bytes));
        EXPECT_FALSE(checkLink(shortcut.c_str(), program.c_str(), "Lexoria")) << bytes;
    }
    DeleteFileA(shortcut.c_str());
    EXPECT_FALSE(checkLink(shortcut.c_str(), program.c_str(), "Lexoria"));
}

TEST_F(StartupFolder, ShortcutReplacesAnOlderOne) {
    ASSERT_TRUE(createLink(shortcut.c_str(), windowsProgram("notepad.exe").c_str(), "Lexoria"));
    ASSERT_TRUE(createLink(shortcut.c_str(), program.c_str(), "Lexoria"));
    EXPECT_TRUE(checkLink(shortcut.c_str(), program.c_str(), "Lexoria"));
}

TEST_F(StartupFolder, FolderEndingInABackslashStillWorks) {
    const std::string doubled = startupShortcutPath(folder + "\\");
    EXPECT_EQ(folder + "\\\\Lexoria.lnk", doubled);
    ASSERT_TRUE(createLink(doubled.c_str(), program.c_str(), "Lexoria"));
    EXPECT_TRUE(fileExists(shortcut));
    EXPECT_TRUE(checkLink(doubled.c_str(), program.c_str(), "Lexoria"));
    EXPECT_TRUE(checkLink(shortcut.c_str(), program.c_str(), "Lexoria"));
    EXPECT_TRUE(notifyShell((folder + "\\").c_str()));
}

// A path too long for the shell is refused, not cut short into another file's name.
TEST_F(StartupFolder, RefusesAPathLongerThanTheShellTakes) {
    const std::string longPath = folder + "\\" + std::string(MAX_PATH, 'x') + ".lnk";
    EXPECT_FALSE(createLink(longPath.c_str(), program.c_str(), "Lexoria"));
    EXPECT_FALSE(checkLink(longPath.c_str(), program.c_str(), "Lexoria"));
}

// Each operation initialises the component library for itself and undoes exactly that.
TEST_F(StartupFolder, LeavesTheComponentLibraryAsItFoundIt) {
    auto libraryReady = [] {
        IShellLinkA* link = nullptr;
        HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                          IID_IShellLinkA, reinterpret_cast<void**>(&link));
        if (link) link->Release();
        return result != CO_E_NOTINITIALIZED;
    };
    ASSERT_TRUE(createLink(shortcut.c_str(), program.c_str(), "Lexoria"));
    EXPECT_FALSE(libraryReady());
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    EXPECT_TRUE(checkLink(shortcut.c_str(), program.c_str(), "Lexoria"));
    EXPECT_TRUE(libraryReady());
    CoUninitialize();
}
}  // namespace
