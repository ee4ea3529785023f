// The options dialog through the real Lexoria.exe on a shell of major version 4 or later: opened
// from its "&Options" button and driven from this process with window messages. The main window
// must not move or change its z-order while the dialog stores choices meant for the next start.
#include <gtest/gtest.h>

#include "options/startupfolder.h"
#include "options_testing.h"
#include "resources/resource.h"

namespace {
using namespace lexoria_test;
using options_test::OptionsSession;
using Bytes = std::vector<unsigned char>;

Bytes record(int choice, int onTop, int left, int top) {
    auto lo = [](int v) { return static_cast<unsigned char>(v & 0xFF); };
    auto hi = [](int v) { return static_cast<unsigned char>((v >> 8) & 0xFF); };
    return {lo(choice), hi(choice), lo(onTop), hi(onTop), lo(left), hi(left), lo(top), hi(top)};
}

class OptionsThroughProgram : public ::testing::Test {
protected:
    void SetUp() override { deleteProgramKey(); }
    void TearDown() override { deleteProgramKey(); }
    ScratchFolder folder;
};

// The stored record as the dialog shows it (radio button checked and focused, check box), then
// what "OK" or "Cancel" leaves stored after a radio button is pressed (-1: all unchecked).
TEST_F(OptionsThroughProgram, ShowsAndStoresTheRecord) {
    const struct {
        const char* name;
        Bytes before;  // empty: nothing stored
        int shown;
        bool shownOnTop;
        int press;
        bool onTop;
        int close;
        Bytes after;  // empty: nothing stored
    } cases[] = {
        {"nothing stored, OK", {}, 2102, false, 2104, true, IDOK, record(3, 1, 0, 0)},
        {"nothing stored, Cancel", {}, 2102, false, 2105, true, IDCANCEL, {}},
        {"saved position kept", record(0, 1, -5, 300), 2101, true, 2106, false, IDOK, record(5, 0, -5, 300)},
        {"Cancel keeps the record", record(4, 0, 1, 2), 2105, false, 2103, true, IDCANCEL, record(4, 0, 1, 2)},
        {"out of range shown centred", record(9, 2, 7, 8), 2102, true, 0, true, IDOK, record(1, 1, 7, 8)},
        {"nothing checked stores 1", record(3, 0, 7, 8), 2104, false, -1, false, IDOK, record(1, 0, 7, 8)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        deleteProgramKey();
        if (!c.before.empty()) {
            ASSERT_TRUE(setProgramValue("Startup", REG_BINARY, c.before.data(), 8));
        }
        OptionsSession session(folder);
        HWND dialog = session.dialog();
        ASSERT_TRUE(dialog);
        RECT mainRect, dialogRect, mainAfter;
        GetWindowRect(session.main, &mainRect);
        GetWindowRect(dialog, &dialogRect);
        const LONG mainStyle = GetWindowLongA(session.main, GWL_EXSTYLE);
        EXPECT_LE(std::abs(dialogRect.left + dialogRect.right - mainRect.left - mainRect.right), 1);
        EXPECT_LE(std::abs(dialogRect.top + dialogRect.bottom - mainRect.top - mainRect.bottom), 1);
        auto checked = [&](int id) { return session.send(id, BM_GETCHECK) == BST_CHECKED; };
        for (int id = 2101; id <= 2106; ++id) EXPECT_EQ(id == c.shown, checked(id)) << id;
        EXPECT_EQ(c.shownOnTop, checked(IDC_ALWAYS_ON_TOP));
        EXPECT_EQ(c.shown, session.focusId());
        if (c.press > 0) session.send(c.press, BM_CLICK);
        for (int id = 2101; c.press < 0 && id <= 2106; ++id) session.send(id, BM_SETCHECK, BST_UNCHECKED);
        session.send(IDC_ALWAYS_ON_TOP, BM_SETCHECK, c.onTop ? BST_CHECKED : BST_UNCHECKED);
        ASSERT_TRUE(session.closeWith(c.close));
        EXPECT_TRUE(session.noBox());
        Bytes after;
        EXPECT_EQ(!c.after.empty(), getProgramValue("Startup", after));
        EXPECT_EQ(c.after, after);
        GetWindowRect(session.main, &mainAfter);
        EXPECT_TRUE(EqualRect(&mainRect, &mainAfter)) << "the running window does not move";
        EXPECT_EQ(mainStyle & WS_EX_TOPMOST, GetWindowLongA(session.main, GWL_EXSTYLE) & WS_EX_TOPMOST);
    }
}

TEST_F(OptionsThroughProgram, StartupButtonAddsThenRemovesTheShortcut) {
    std::string startupFolder;
    ASSERT_TRUE(getStartupFolder(startupFolder));
    const std::string shortcut = startupShortcutPath(startupFolder);
    DeleteFileA(shortcut.c_str());
    OptionsSession session(folder);
    ASSERT_TRUE(session.dialog());
    EXPECT_EQ("Add to &Startup Folder", session.startupCaption());
    session.post(IDC_STARTUP);
    EXPECT_EQ("Lexoria has been added to the Startup Folder. | Lexoria", session.takeBox());
    EXPECT_TRUE(session.noBox());
    EXPECT_EQ("Remove from &Startup Folder", session.startupCaption());
    EXPECT_TRUE(checkLink(shortcut.c_str(), wideOf(folder.file("Lexoria.exe")).c_str(), "Lexoria"));
    session.post(IDC_STARTUP);
    EXPECT_EQ("Lexoria has been removed from the Startup Folder. | Lexoria", session.takeBox());
    EXPECT_TRUE(session.noBox());
    EXPECT_EQ("Add to &Startup Folder", session.startupCaption());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(shortcut.c_str()));
}

// A stand-in help viewer in this process: the window the help call looks for, keeping what it
// is sent (size, command, data, reserved, offset of the file name, offset of the data, ...).
std::string helpSeen;

LRESULT CALLBACK helpViewerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COPYDATA) return DefWindowProcA(window, message, wParam, lParam);
    const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    helpSeen.assign(static_cast<const char*>(copy->lpData), copy->cbData);
    return TRUE;
}

TEST_F(OptionsThroughProgram, HelpAsksForTheOptionsTopic) {
    OptionsSession session(folder);
    ASSERT_TRUE(session.dialog());
    WNDCLASSA viewerClass = {};
    viewerClass.lpfnWndProc = helpViewerProc;
    viewerClass.lpszClassName = "MS_WINHELP";
    RegisterClassA(&viewerClass);
    HWND viewer = CreateWindowA("MS_WINHELP", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    session.post(IDC_OPTIONS_HELP);
    // The program sends to the viewer and waits for it, so this thread answers while it waits.
    waitUntil([] {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        return helpSeen.size() > 16;
    });
    DestroyWindow(viewer);
    UnregisterClassA("MS_WINHELP", nullptr);
    ASSERT_GT(helpSeen.size(), 16u);
    EXPECT_EQ(HELP_CONTEXT, *reinterpret_cast<const WORD*>(&helpSeen[2]));
    EXPECT_EQ(210, *reinterpret_cast<const LONG*>(&helpSeen[4]));
    const char* file = &helpSeen[*reinterpret_cast<const WORD*>(&helpSeen[12])];
    EXPECT_STREQ(folder.file("lexoria.hlp").c_str(), file) << "the help file in the program's folder";
    EXPECT_TRUE(session.dialog()) << "the dialog stays open";
}
}  // namespace
