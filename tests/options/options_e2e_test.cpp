// The options dialog through the real Lexoria.exe: opened from its "&Options" button and driven
// from this process with window messages. The main window must not move or change its z-order
// while the dialog stores choices meant for the next start.
#include <gtest/gtest.h>

#include "options/startupfolder.h"
#include "options_testing.h"
#include "resources/resource.h"

namespace {
using namespace lexoria_test;
using Bytes = std::vector<unsigned char>;

Bytes record(int choice, int onTop, int left, int top) {
    return {static_cast<unsigned char>(choice), 0, static_cast<unsigned char>(onTop), 0,
            static_cast<unsigned char>(left), 0, static_cast<unsigned char>(top), 0};
}

bool checked(HWND dialog, int id) {
    DWORD_PTR state = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &state);
    return state == BST_CHECKED;
}

int focusId(HWND dialog) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    return info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0;
}

// Where the main window stands and whether it is topmost: what the dialog must leave alone.
struct Placement {
    RECT rect;
    bool topmost;
    bool operator==(const Placement& o) const { return EqualRect(&rect, &o.rect) && topmost == o.topmost; }
};
Placement placementOf(HWND window) {
    Placement p = {};
    GetWindowRect(window, &p.rect);
    p.topmost = (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    return p;
}

class OptionsThroughProgram : public ::testing::Test {
protected:
    void SetUp() override {
        deleteProgramKey();
        ASSERT_TRUE(copyProgram(folder));
        ASSERT_TRUE(CopyFileA((buildFolder() + "\\lexoria.lst").c_str(), folder.file("lexoria.lst").c_str(), FALSE));
        ASSERT_TRUE(getStartupFolder(startupFolder));
        shortcut = startupShortcutPath(startupFolder);
        DeleteFileA(shortcut.c_str());
    }
    void TearDown() override {
        deleteProgramKey();
        DeleteFileA(shortcut.c_str());
    }
    // Starts the program and opens the options dialog from its button.
    bool open(LexoriaProcess& process) {
        run = &process;
        if (!run->start(folder.path()) || !(main = run->waitForMainWindow())) return false;
        before = placementOf(main);
        clickButton(main, IDC_OPTIONS);
        dialog = run->waitForDialog(5000);
        return dialog && GetDlgItem(dialog, IDC_STARTUP);
    }
    bool closedWith(int id) {
        clickButton(dialog, id);
        return waitUntil([&] { return !IsWindow(dialog); });
    }
    // The one box the last press shows, closed with OK; empty when none comes.
    std::string takeBox() {
        HWND box = run->waitForDialog(5000, dialog);
        if (!box) return std::string();
        const std::string text = messageBoxText(box) + " | " + windowText(box);
        pressOk(box);
        waitUntil([&] { return !IsWindow(box); });
        return text;
    }
    bool noBox() { return !run->waitForDialog(300, dialog); }

    ScratchFolder folder;
    LexoriaProcess* run = nullptr;
    HWND main = nullptr, dialog = nullptr;
    Placement before = {};
    std::string startupFolder, shortcut;
};

TEST_F(OptionsThroughProgram, OpensCentredOverTheMainWindowShowingTheRecord) {
    const struct {
        Bytes stored;  // empty: nothing stored
        int radio;
        bool onTop;
    } cases[] = {{{}, 2102, false}, {record(1, 1, 0, 0), 2102, true}, {record(0, 0, 300, 200), 2101, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.radio);
        deleteProgramKey();
        if (!c.stored.empty()) {
            ASSERT_TRUE(setProgramValue("Startup", REG_BINARY, c.stored.data(), 8));
        }
        LexoriaProcess process;
        ASSERT_TRUE(open(process));
        RECT mainRect, dialogRect;
        GetWindowRect(main, &mainRect);
        GetWindowRect(dialog, &dialogRect);
        EXPECT_LE(std::abs(dialogRect.left + dialogRect.right - mainRect.left - mainRect.right), 1);
        EXPECT_LE(std::abs(dialogRect.top + dialogRect.bottom - mainRect.top - mainRect.bottom), 1);
        for (int id = 2101; id <= 2106; ++id) EXPECT_EQ(id == c.radio, checked(dialog, id)) << id;
        EXPECT_EQ(c.onTop, checked(dialog, IDC_ALWAYS_ON_TOP));
        EXPECT_EQ(c.radio, focusId(dialog));
        EXPECT_EQ("Add to &Startup Folder", windowText(GetDlgItem(dialog, IDC_STARTUP)));
        clickButton(dialog, 2104);
        clickButton(dialog, IDC_ALWAYS_ON_TOP);
        ASSERT_TRUE(closedWith(IDCANCEL));
        Bytes after;
        EXPECT_EQ(!c.stored.empty(), getProgramValue("Startup", after));
        EXPECT_EQ(c.stored, after) << "Cancel stores nothing";
        EXPECT_TRUE(before == placementOf(main));
        clickButton(main, IDC_EXIT);
        EXPECT_EQ(0, process.waitForExit());
    }
}

TEST_F(OptionsThroughProgram, OkStoresTheChoiceForTheNextStartOnly) {
    const Bytes stored = record(0, 0, 120, 90);
    ASSERT_TRUE(setProgramValue("Startup", REG_BINARY, stored.data(), 8));
    LexoriaProcess process;
    ASSERT_TRUE(open(process));
    clickButton(dialog, 2106);
    clickButton(dialog, IDC_ALWAYS_ON_TOP);
    ASSERT_TRUE(waitUntil([&] { return checked(dialog, 2106) && checked(dialog, IDC_ALWAYS_ON_TOP); }));
    ASSERT_TRUE(closedWith(IDOK));
    Bytes after;
    ASSERT_TRUE(getProgramValue("Startup", after));
    EXPECT_EQ(record(5, 1, 120, 90), after);
    EXPECT_TRUE(before == placementOf(main)) << "the running window neither moves nor goes on top";
    EXPECT_TRUE(noBox());
}

TEST_F(OptionsThroughProgram, StartupButtonAddsThenRemovesTheShortcut) {
    LexoriaProcess process;
    ASSERT_TRUE(open(process));
    HWND button = GetDlgItem(dialog, IDC_STARTUP);
    EXPECT_EQ("Add to &Startup Folder", windowText(button));
    clickButton(dialog, IDC_STARTUP);
    EXPECT_EQ("Lexoria has been added to the Startup Folder. | Lexoria", takeBox());
    EXPECT_TRUE(noBox());
    EXPECT_TRUE(waitUntil([&] { return windowText(button) == "Remove from &Startup Folder"; }));
    EXPECT_TRUE(checkLink(shortcut.c_str(), folder.file("Lexoria.exe").c_str(), "Lexoria"));
    clickButton(dialog, IDC_STARTUP);
    EXPECT_EQ("Lexoria has been removed from the Startup Folder. | Lexoria", takeBox());
    EXPECT_TRUE(noBox());
    EXPECT_TRUE(waitUntil([&] { return windowText(button) == "Add to &Startup Folder"; }));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(shortcut.c_str()));
    clickButton(dialog, IDC_STARTUP);
    EXPECT_EQ("Lexoria has been added to the Startup Folder. | Lexoria", takeBox());
    ASSERT_TRUE(closedWith(IDCANCEL));
    EXPECT_TRUE(checkLink(shortcut.c_str(), folder.file("Lexoria.exe").c_str(), "Lexoria")) << "Cancel undoes nothing";
    EXPECT_TRUE(before == placementOf(main));
}
}  // namespace
