// The options dialog on a shell of major version below 4, where "&Startup" works through
// Program Manager's DDE service: against the stand-in service, whose answers each case
// prepares, and once against Wine's own. These tests need the platform to report version 3, which
// Wine decides per program name when the process starts, so Version3Shell runs them in a copy of
// this program whose name carries the version override.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <memory>

#include "options_testing.h"
#include "resources/resource.h"

namespace {
using namespace options_test;
using Box = MessageBoxSeen;
using Log = std::vector<std::string>;

const char* const addGroup = "Add to &Startup Group";
const char* const removeGroup = "Remove from &Startup Group";
const char* const errorCaption = "Lexoria Options Dialog";

TEST(Version3Shell, RunsTheProgramManagerTests) {
    if (shellMajorVersion() < 4) GTEST_SKIP() << "this is the copy running under version 3";
    lexoria_test::ScratchFolder folder;
    const std::string copy = folder.file("lexoria_v3.exe");
    ASSERT_TRUE(CopyFileA(thisProgram().c_str(), copy.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((lexoria_test::buildFolder() + "\\progman_standin.exe").c_str(),
                          folder.file("progman_standin.exe").c_str(), FALSE));
    RegistryValueGuard version("Software\\Wine\\AppDefaults\\lexoria_v3.exe", "Version");
    ASSERT_TRUE(version.setString("win31"));
    std::string commandLine = "\"" + copy + "\" --gtest_filter=GroupDialog.*:WineProgramManager.*";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child = {};
    ASSERT_TRUE(CreateProcessA(copy.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                               folder.path().c_str(), &startup, &child));
    if (WaitForSingleObject(child.hProcess, 150000) != WAIT_OBJECT_0) {
        TerminateProcess(child.hProcess, 99);
        WaitForSingleObject(child.hProcess, 5000);
    }
    DWORD code = 99;
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    EXPECT_EQ(0u, code) << "the tests under version 3 failed (their output is above)";
}

std::string groupLine(const char* group) { return std::string("\"") + group + "\",\"C:\\WINDOWS\\STARTUP.GRP\",7,0,0,0\r\n"; }
std::string itemLine(const std::string& name, const std::string& command) {
    return "\"" + name + "\",\"" + command + "\",\"\",0,0,0,0\r\n";
}
std::string groupInfoMessage(unsigned needed) {
    return "Not enough memory to get Group Info for \"StartUp\".\nOnly had 4096 bytes.\nNeeded " +
           std::to_string(needed) + " bytes.";
}

void expectBox(const Box& seen, const std::string& text, const char* caption, Box::Icon icon) {
    EXPECT_EQ(text, seen.text);
    EXPECT_EQ(caption, seen.caption) << text;
    EXPECT_EQ(icon, seen.icon) << text;
}

class GroupDialog : public ::testing::Test {
protected:
    void SetUp() override {
        if (shellMajorVersion() >= 4) GTEST_SKIP() << "runs under version 3 (Version3Shell)";
        lexoria_test::deleteProgramKey();
        ASSERT_TRUE(group.setString("StartUp"));
        standIn.reset(new ProgmanStandIn);
        ASSERT_TRUE(standIn->running());
    }
    void TearDown() override { lexoria_test::deleteProgramKey(); }

    // The stand-in's log from the first command on, once the conversation has closed.
    Log commandsAfter(size_t start) {
        Log log;
        lexoria_test::waitUntil([&] {
            log = standIn->log();
            return log.size() > start && log.back() == "DISCONNECT";
        });
        return Log(log.begin() + static_cast<std::ptrdiff_t>(std::min(start, log.size())), log.end());
    }
    std::string answer(const std::string& item) { return groupLine("StartUp") + itemLine("Clock", "CLOCK.EXE") + item; }

    RegistryValueGuard group{programManagerKey, "Startup"};
    std::unique_ptr<ProgmanStandIn> standIn;
    std::string program = thisProgram();
};

// What Program Manager says about the group when the dialog opens decides the caption; each
// opening asks once and closes its conversation.
TEST_F(GroupDialog, SettlesTheCaptionFromTheGroupInformation) {
    std::string upper = program;
    for (char& c : upper) c = static_cast<char>(toupper(c));
    std::string full = answer(itemLine("Lexoria", program));
    full += "\"Pad\",\"" + std::string(4096 - full.size() - 10, 'x') + "\"\r\n";
    const struct {
        const char* name;
        std::string reply;  // empty: no answer
        const char* caption;
        std::string box;
    } cases[] = {
        {"item present", answer(itemLine("Lexoria", program)) + std::string(1, '\0'), removeGroup, ""},
        {"command line in other case", answer(itemLine("Lexoria", upper)), removeGroup, ""},
        {"exactly a full buffer", full, removeGroup, ""},
        {"no item", answer(""), addGroup, ""},
        {"item name in other case", answer(itemLine("LEXORIA", program)), addGroup, ""},
        {"item runs another program", answer(itemLine("Lexoria", "C:\\OTHER.EXE")), addGroup, ""},
        {"group name in other case", groupLine("Startup") + itemLine("Lexoria", program), "&Startup", ""},
        {"another group", groupLine("Games") + itemLine("Lexoria", program), "&Startup", ""},
        {"item without a command line", groupLine("StartUp") + "\"Lexoria\"\r\n", "&Startup", ""},
        {"no answer", "", "&Startup", groupInfoMessage(4096)},
        {"answer too large", answer(std::string(5000, 'x')), "&Startup", groupInfoMessage(5000 + static_cast<unsigned>(answer("").size()))},
    };
    ASSERT_EQ(4096u, full.size());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        standIn->clearLog();
        if (c.reply.empty()) standIn->noReply();
        else standIn->reply(c.reply);
        runOptionsDialog([&](OptionsDialogDriver& d) {
            if (!c.box.empty()) expectBox(d.takeBox(), c.box, errorCaption, Box::error);
            ASSERT_TRUE(d.dialog());
            EXPECT_FALSE(d.boxShown());
            EXPECT_EQ(c.caption, d.text(IDC_STARTUP));
            EXPECT_EQ(IDC_POSITION_CENTERED, d.focusId());
        });
        EXPECT_EQ((Log{"CONNECT", "REQUEST StartUp", "DISCONNECT"}), commandsAfter(0));
    }
}

TEST_F(GroupDialog, StartupButtonAddsThenRemovesTheItem) {
    standIn->reply(answer(""));
    runOptionsDialog([&](OptionsDialogDriver& d) {
        ASSERT_TRUE(d.dialog());
        ASSERT_EQ(addGroup, d.text(IDC_STARTUP));
        const size_t start = commandsAfter(0).size();
        d.click(IDC_STARTUP);
        expectBox(d.takeBox(), "Lexoria has been added to the Startup Group.", "Lexoria", Box::information);
        EXPECT_EQ(removeGroup, d.text(IDC_STARTUP));
        EXPECT_EQ((Log{"CONNECT", "EXECUTE [ShowGroup(StartUp,2)]", "EXECUTE [ReplaceItem(Lexoria)]",
                       "EXECUTE [AddItem(" + program + ",Lexoria)]", "DISCONNECT"}),
                  commandsAfter(start));
        d.click(IDC_STARTUP);
        expectBox(d.takeBox(), "Lexoria has been removed from the Startup Group.", "Lexoria", Box::information);
        EXPECT_EQ(addGroup, d.text(IDC_STARTUP));
        EXPECT_EQ((Log{"CONNECT", "EXECUTE [ShowGroup(StartUp,2)]", "EXECUTE [DeleteItem(Lexoria)]", "DISCONNECT"}),
                  commandsAfter(start + 5));
    });
}

// Each refusal ends the press with the conversation closed, so the next press works.
TEST_F(GroupDialog, RefusedCommandsEndThePressAndCloseTheConversation) {
    const struct {
        const char* refused;
        bool present;
        std::string box;
        Box::Icon icon;
    } cases[] = {
        {"[ShowGroup", false, "Unable to DdeClientTransaction (ShowGroup)", Box::error},
        {"[ShowGroup", true, "Unable to DdeClientTransaction (ShowGroup)", Box::error},
        {"[AddItem", false, "Unable to ddeExecuteString (AddItem)", Box::error},
        {"[ReplaceItem", false, "Lexoria has been added to the Startup Group.", Box::information},
        {"[DeleteItem", true, "Lexoria has been removed from the Startup Group.", Box::information},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.refused);
        standIn->reply(answer(c.present ? itemLine("Lexoria", program) : ""));
        standIn->refuse(c.refused);
        runOptionsDialog([&](OptionsDialogDriver& d) {
            ASSERT_TRUE(d.dialog());
            const char* before = c.present ? removeGroup : addGroup;
            const char* flipped = c.present ? addGroup : removeGroup;
            const bool fails = c.icon == Box::error;
            ASSERT_EQ(before, d.text(IDC_STARTUP));
            const size_t start = commandsAfter(0).size();
            d.click(IDC_STARTUP);
            expectBox(d.takeBox(), c.box, fails ? errorCaption : "Lexoria", c.icon);
            EXPECT_EQ(fails ? before : flipped, d.text(IDC_STARTUP));
            EXPECT_EQ("DISCONNECT", commandsAfter(start).back());
            standIn->refuse("");
            d.click(IDC_STARTUP);
            EXPECT_EQ(Box::information, d.takeBox().icon);
            EXPECT_EQ(fails ? flipped : before, d.text(IDC_STARTUP));
        });
    }
}

TEST_F(GroupDialog, UnreadableInformationLeavesTheButtonToAdd) {
    standIn->reply(groupLine("Accessories"));
    runOptionsDialog([&](OptionsDialogDriver& d) {
        ASSERT_TRUE(d.dialog());
        ASSERT_EQ("&Startup", d.text(IDC_STARTUP));
        d.click(IDC_STARTUP);
        expectBox(d.takeBox(), "Lexoria has been added to the Startup Group.", "Lexoria", Box::information);
        EXPECT_EQ(removeGroup, d.text(IDC_STARTUP));
    });
}

TEST_F(GroupDialog, ReportsAMissingGroupName) {
    group.remove();
    runOptionsDialog([&](OptionsDialogDriver& d) {
        expectBox(d.takeBox(), "Unable to determine name of startup group.", errorCaption, Box::error);
        ASSERT_TRUE(d.dialog());
        EXPECT_EQ("&Startup", d.text(IDC_STARTUP));
        d.click(IDC_STARTUP);
        expectBox(d.takeBox(), "Unable to determine name of startup group.", errorCaption, Box::error);
    });
    EXPECT_TRUE(standIn->log().empty());
}

BOOL CALLBACK collectFolderWindow(HWND window, LPARAM param) {
    char name[32] = "";
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "ExplorerWClass") == 0) reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

std::vector<HWND> folderWindows() {
    std::vector<HWND> found;
    EnumWindows(collectFolderWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Wine's own Program Manager service (in its explorer) makes and deletes a shortcut in the
// group's folder. It answers no request for a group's information, and its show-group command
// opens a folder window, which the test closes again.
TEST(WineProgramManager, AddsAndRemovesTheItem) {
    if (shellMajorVersion() >= 4) GTEST_SKIP() << "runs under version 3 (Version3Shell)";
    RegistryValueGuard group(programManagerKey, "Startup");
    ASSERT_TRUE(group.setString("StartUp"));
    char programs[MAX_PATH] = "";
    ASSERT_EQ(S_OK, SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, 0, programs));
    const std::string shortcut = std::string(programs) + "\\StartUp\\Lexoria.lnk";
    DeleteFileA(shortcut.c_str());
    auto there = [&] { return GetFileAttributesA(shortcut.c_str()) != INVALID_FILE_ATTRIBUTES; };
    const std::vector<HWND> before = folderWindows();
    runOptionsDialog([&](OptionsDialogDriver& d) {
        expectBox(d.takeBox(), groupInfoMessage(4096), errorCaption, Box::error);
        ASSERT_TRUE(d.dialog());
        EXPECT_EQ("&Startup", d.text(IDC_STARTUP));
        d.click(IDC_STARTUP);
        expectBox(d.takeBox(), "Lexoria has been added to the Startup Group.", "Lexoria", Box::information);
        EXPECT_TRUE(there()) << shortcut;
        d.click(IDC_STARTUP);
        expectBox(d.takeBox(), "Lexoria has been removed from the Startup Group.", "Lexoria", Box::information);
        EXPECT_FALSE(there()) << shortcut;
    });
    DeleteFileA(shortcut.c_str());
    // Each show-group command has explorer start a folder window in a process of its own, in its
    // own time, and one for a folder already shown may just bring that up: close whatever comes
    // until nothing new has come for three seconds.
    auto newFolderWindows = [&] {
        std::vector<HWND> fresh;
        for (HWND window : folderWindows())
            if (std::find(before.begin(), before.end(), window) == before.end()) fresh.push_back(window);
        return fresh;
    };
    lexoria_test::waitUntil([&] { return !newFolderWindows().empty(); }, 20000);
    DWORD quietSince = GetTickCount();
    while (GetTickCount() - quietSince < 3000) {
        for (HWND window : newFolderWindows()) {
            PostMessageA(window, WM_CLOSE, 0, 0);
            quietSince = GetTickCount();
        }
        Sleep(50);
    }
    EXPECT_TRUE(newFolderWindows().empty());
}
}  // namespace
