// Lexoria.exe from the outside: started from a scratch folder with its own word list, driven
// only through window messages, its exit code, windows and stored values checked afterwards.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

#include "mainwindow/layout.h"
#include "support/lexoria_driver.h"

using namespace lexoria_test;

namespace {

const int exitId = 1, nextWordId = 1004, helpId = 1002, paneId = 1010;
const char* const listName = "lexoria.lst";

std::string numberedList(int count) {  // entry k: "word k", "definition k"
    std::string list;
    for (int k = 0; k < count; ++k) {
        std::string n = std::to_string(k);
        list += "word=word " + n + "\r\ndef=definition " + n + "\r\nex=Example " + n + ".\r\n";
    }
    return list;
}

std::vector<unsigned char> startupRecord(int choice, int onTop, int left, int top) {
    std::vector<unsigned char> bytes;
    for (int field : {choice, onTop, left, top}) {
        bytes.push_back(static_cast<unsigned char>(field));
        bytes.push_back(static_cast<unsigned char>(field >> 8));
    }
    return bytes;
}

// The rotation's next position, the second 32-bit field of "State".
int storedPosition() {
    std::vector<unsigned char> state;
    if (!getProgramValue("State", state) || state.size() != 16) return -1;
    return state[4] | (state[5] << 8) | (state[6] << 16) | (state[7] << 24);
}

std::map<std::string, std::vector<unsigned char>> programValues() {
    std::map<std::string, std::vector<unsigned char>> values;
    for (const char* name : {"Offsets", "State", "Modification Time", "Startup"})
        getProgramValue(name, values[name]);
    return values;
}

HWND focusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

void postKey(HWND target, UINT key) {
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 1 | (3u << 30));
}

// Returns once the program has handled everything posted to it before: a marker posted behind
// (the Help button's pushed look, set and then cleared) must have come through.
bool drainPosted(HWND window) {
    HWND marker = GetDlgItem(window, helpId);
    auto pushed = [&] {
        DWORD_PTR state = 0;
        SendMessageTimeoutA(marker, BM_GETSTATE, 0, 0, SMTO_ABORTIFHUNG, 2000, &state);
        return (state & BST_PUSHED) != 0;
    };
    PostMessageA(marker, BM_SETSTATE, TRUE, 0);
    if (!waitUntil(pushed)) return false;
    PostMessageA(marker, BM_SETSTATE, FALSE, 0);
    return waitUntil([&] { return !pushed(); });
}

int firstVisibleLine(HWND window) {
    DWORD_PTR line = 0;
    SendMessageTimeoutA(GetDlgItem(window, paneId), EM_GETFIRSTVISIBLELINE, 0, 0,
                        SMTO_ABORTIFHUNG, 2000, &line);
    return static_cast<int>(line);
}

// Like waitUntil, but handles this thread's messages: needed while the test owns a window.
bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000) {
    for (DWORD start = GetTickCount(); !condition();) {
        if (GetTickCount() - start > timeoutMs) return false;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(10);
    }
    return true;
}

struct TatScopeExit {
    std::function<void()> action;
    ~TatScopeExit() { action(); }
};

class LexoriaRun : public ::testing::Test {
protected:
    void SetUp() override {
        deleteProgramKey();
        ASSERT_TRUE(copyProgram(folder));
    }
    void TearDown() override { deleteProgramKey(); }

    void useList(const std::string& bytes) { ASSERT_TRUE(writeFile(folder.file(listName), bytes)); }
    void useRecord(const std::vector<unsigned char>& bytes) {
        ASSERT_TRUE(setProgramValue("Startup", REG_BINARY, bytes.data(), DWORD(bytes.size())));
    }
    HWND start(LexoriaProcess& run) {
        EXPECT_TRUE(run.start(folder.path()));
        return run.waitForMainWindow();
    }
    static void exitThroughButton(LexoriaProcess& run, HWND window) {
        clickButton(window, exitId);
        EXPECT_EQ(0, run.waitForExit());
    }

    ScratchFolder folder;
};

TEST_F(LexoriaRun, NextWordShowsTheStoredPositionAndARestartGoesOn) {
    useList(numberedList(5));
    LexoriaProcess run;
    HWND window = start(run);
    ASSERT_NE(nullptr, window);
    // Entry k is at position k of the index, so the stored position names the next definition.
    std::set<std::string> pass{paneText(window)};
    for (int press = 0; press < 6; ++press) {
        std::map<std::string, std::vector<unsigned char>> before = programValues();
        std::string expected = "definition " + std::to_string(storedPosition());
        clickButton(window, nextWordId);
        ASSERT_TRUE(waitUntil([&] {
            return programValues()["State"] != before["State"] && paneText(window) == expected;
        })) << "press " << press << ": " << expected;
        if (press < 4) pass.insert(expected);
    }
    EXPECT_EQ(5u, pass.size()) << "a pass shows every entry once";

    int next = storedPosition();
    exitThroughButton(run, window);
    LexoriaProcess again;
    window = start(again);
    ASSERT_NE(nullptr, window);
    EXPECT_EQ("definition " + std::to_string(next), paneText(window));
    exitThroughButton(again, window);
}

TEST_F(LexoriaRun, SecondStartBringsTheFirstWindowForwardAndLeaves) {
    useList(numberedList(3));
    useRecord(startupRecord(0, 0, 40, 30));
    struct Case {
        const char* name;
        bool maximize, minimize;
    } cases[] = {{"shown", false, false}, {"minimised", false, true},
                 {"minimised from maximised", true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LexoriaProcess first;
        HWND window = start(first);
        ASSERT_NE(nullptr, window);
        if (c.maximize) ShowWindow(window, SW_MAXIMIZE);
        if (c.minimize) ShowWindow(window, SW_MINIMIZE);
        ASSERT_EQ(c.minimize, IsIconic(window) != 0);
        // A window of the test's own takes the foreground, for the second copy to take back.
        HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 60, 40,
                                     nullptr, nullptr, nullptr, nullptr);
        TatScopeExit dropOther{[&] { DestroyWindow(other); }};
        SetForegroundWindow(other);
        ASSERT_TRUE(pumpUntil([&] { return GetForegroundWindow() == other; }));
        auto valuesBefore = programValues();

        LexoriaProcess second;
        ASSERT_TRUE(second.start(folder.path()));
        ASSERT_TRUE(pumpUntil([&] { return !second.running(); }, 10000));
        EXPECT_EQ(0, second.waitForExit(0));
        EXPECT_TRUE(pumpUntil([&] { return GetForegroundWindow() == window; }));
        EXPECT_FALSE(IsIconic(window));
        EXPECT_EQ(c.maximize, IsZoomed(window) != 0);
        EXPECT_EQ(valuesBefore, programValues()) << "the second copy stored nothing";
        if (c.maximize) ShowWindow(window, SW_RESTORE);
        exitThroughButton(first, window);
    }
}

TEST_F(LexoriaRun, ExitEscapeAndEnterEndTheProgram) {
    useList(numberedList(3));
    for (UINT key : {0u, UINT(VK_ESCAPE), UINT(VK_RETURN)}) {  // 0: the Exit button
        SCOPED_TRACE(key);
        LexoriaProcess run;
        HWND window = start(run);
        ASSERT_NE(nullptr, window);
        ASSERT_EQ(GetDlgItem(window, exitId), focusOf(window));
        if (key) postKey(focusOf(window), key);
        else clickButton(window, exitId);
        EXPECT_EQ(0, run.waitForExit());
        EXPECT_EQ(nullptr, FindWindowA("Lexoria", "Lexoria"));
    }
}

// Nests folders under base until a program in the innermost one has a path of pathLength.
std::string folderForProgramPathOf(std::string folder, size_t pathLength) {
    const size_t exePart = std::string("\\Lexoria.exe").size();
    while (folder.size() + exePart < pathLength) {
        folder += "\\" + std::string(std::min<size_t>(100, pathLength - exePart - folder.size() - 1), 'd');
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    return folder;
}

TEST_F(LexoriaRun, FailuresAtCreationShowTheirBoxAndEndCleanly) {
    struct Case {
        const char* name;
        const char* list;          // null: no list file
        bool programPathFillsBuffer;
        const char* text;          // the list's path and ")." follow when the window owns the box
        bool ownedByWindow;
    } cases[] = {
        {"missing list", nullptr, false, "Word List File does not exist (", true},
        {"list without entries", "def=orphan\r\n", false, "Unable to load word list (", true},
        {"program path of 260 characters", "word=a\r\ndef=b\r\n", true,
         "Unable to GetModuleFileName", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        deleteProgramKey();
        // A saved position must survive a window that never got placed. (Wine sends no
        // WM_DESTROY when WM_CREATE fails, so only Windows gets as far as the save.)
        useRecord(startupRecord(0, 0, 100, 120));
        std::string where = folder.path();
        char previousFolder[MAX_PATH] = "";
        GetCurrentDirectoryA(MAX_PATH, previousFolder);
        TatScopeExit backHome{[&] { SetCurrentDirectoryA(previousFolder); }};
        if (c.programPathFillsBuffer) {
            where = folderForProgramPathOf(where, 260);
            ASSERT_TRUE(CopyFileA(folder.file("Lexoria.exe").c_str(),
                                  (where + "\\Lexoria.exe").c_str(), FALSE));
            // CreateProcess takes a path that long only as a relative one.
            ASSERT_TRUE(SetCurrentDirectoryA(where.c_str()));
        }
        std::string list = where + "\\" + listName;
        DeleteFileA(list.c_str());
        if (c.list) {
            ASSERT_TRUE(writeFile(list, c.list));
        }

        LexoriaProcess run;
        ASSERT_TRUE(run.start(c.programPathFillsBuffer ? "." : where));
        HWND box = run.waitForDialog();
        ASSERT_NE(nullptr, box);
        EXPECT_EQ(c.text + (c.ownedByWindow ? list + ")." : ""), messageBoxText(box));
        EXPECT_EQ("Lexoria", windowText(box));
        // Another process's icon cannot be compared here; that it has one is what is checked.
        EXPECT_NE(nullptr, (HICON)SendMessageA(GetDlgItem(box, 0x440), STM_GETICON, 0, 0));
        char owner[64] = "";
        GetClassNameA(GetWindow(box, GW_OWNER), owner, sizeof owner);
        EXPECT_EQ(c.ownedByWindow ? "Lexoria" : "", std::string(owner));
        pressOk(box);
        EXPECT_EQ(0, run.waitForExit());
        EXPECT_EQ(nullptr, FindWindowA("Lexoria", "Lexoria"));
        EXPECT_EQ(startupRecord(0, 0, 100, 120), programValues()["Startup"]);
    }
}

TEST_F(LexoriaRun, WithoutRichEditTheWindowComesUpWithoutItsPane) {
    useList(numberedList(3));
    // A copy under its own name, so Wine's per-program override reaches no other test.
    const std::string plain = "LexoriaPlain.exe";
    const std::string overrides = "Software\\Wine\\AppDefaults\\" + plain + "\\DllOverrides";
    ASSERT_TRUE(CopyFileA(folder.file("Lexoria.exe").c_str(), folder.file(plain).c_str(), FALSE));
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, overrides.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegSetValueExA(key, "riched32", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);  // disabled
    RegCloseKey(key);
    TatScopeExit dropOverride{[&] {
        RegDeleteKeyA(HKEY_CURRENT_USER, overrides.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, overrides.substr(0, overrides.rfind('\\')).c_str());
    }};

    LexoriaProcess run;
    ASSERT_TRUE(run.start(folder.path(), plain));
    HWND box = nullptr;
    for (const char* caption : {"WinMain", "createChildWindows"}) {
        box = run.waitForDialog(10000, box);
        ASSERT_NE(nullptr, box) << caption;
        EXPECT_EQ(caption, windowText(box));
        EXPECT_EQ(nullptr, GetWindow(box, GW_OWNER));
        EXPECT_EQ(nullptr, (HICON)SendMessageA(GetDlgItem(box, 0x440), STM_GETICON, 0, 0));
        std::string text = messageBoxText(box);
        if (caption[0] == 'W') EXPECT_EQ("Unable to load rich edit DLL.", text);
        else EXPECT_EQ(0u, text.find("Couldn't create definition window, Why? ")) << text;
        pressOk(box);
    }
    HWND window = nullptr;
    ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(window = FindWindowA("Lexoria", "Lexoria")); }));
    EXPECT_EQ(nullptr, GetDlgItem(window, paneId));
    int position = storedPosition();
    clickButton(window, nextWordId);
    EXPECT_TRUE(waitUntil([&] { return storedPosition() != position; }));
    exitThroughButton(run, window);
}

TEST_F(LexoriaRun, RecordPlacesTheWindowAndExitSavesItForTheSavedChoiceOnly) {
    useList(numberedList(3));
    enum Spot { centre, low, high, saved };  // low: 0; high: flush with the right or bottom edge
    struct Case {
        const char* name;
        std::vector<unsigned char> atStart;  // empty: none
        Spot x, y;
        bool topmost;
        std::vector<unsigned char> duringRun;  // empty: left as it was
        bool savesPosition;
    } cases[] = {
        {"no record", {}, centre, centre, false, {}, false},
        {"centred", startupRecord(1, 0, 5, 5), centre, centre, false, {}, false},
        {"top left", startupRecord(2, 0, 5, 5), low, low, false, {}, false},
        {"top right", startupRecord(3, 0, 5, 5), high, low, false, {}, false},
        {"bottom left", startupRecord(4, 0, 5, 5), low, high, false, {}, false},
        {"bottom right", startupRecord(5, 0, 5, 5), high, high, false, {}, false},
        {"saved", startupRecord(0, 0, 123, 77), saved, saved, false, {}, true},
        {"saved off the top left", startupRecord(0, 0, -40, -3), low, low, false, {}, true},
        {"saved off the bottom right", startupRecord(0, 0, 30000, 9000), high, high, false, {},
         true},
        {"choice 6", startupRecord(6, 0, 5, 5), centre, centre, false, {}, false},
        {"choice -1", startupRecord(-1, 0, 5, 5), centre, centre, false, {}, false},
        {"seven bytes", {0, 0, 1, 0, 5, 0, 5}, centre, centre, false, {}, false},
        {"nine bytes", {2, 0, 1, 0, 5, 0, 5, 0, 0}, centre, centre, false, {}, false},
        {"on top", startupRecord(0, 1, 0, 0), low, low, true, {}, true},
        {"on top, high byte only", startupRecord(2, 0x100, 5, 5), low, low, true, {}, false},
        {"changed to saved during the run", startupRecord(2, 0, 5, 5), low, low, false,
         startupRecord(0, 0, 5, 5), true},
        {"changed away from saved", startupRecord(0, 0, 0, 0), low, low, false,
         startupRecord(3, 0, 5, 5), false},
    };
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        deleteProgramKey();
        if (!c.atStart.empty()) useRecord(c.atStart);
        LexoriaProcess run;
        HWND window = start(run);
        ASSERT_NE(nullptr, window);
        RECT outer;
        GetWindowRect(window, &outer);
        auto expected = [&](Spot spot, int room, int field) {
            if (spot == saved) return int(int16_t(c.atStart[field] | (c.atStart[field + 1] << 8)));
            return spot == centre ? room / 2 : spot == low ? 0 : room;
        };
        EXPECT_EQ(expected(c.x, screenW - (outer.right - outer.left), 4), outer.left);
        EXPECT_EQ(expected(c.y, screenH - (outer.bottom - outer.top), 6), outer.top);
        EXPECT_EQ(c.topmost, (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);

        if (!c.duringRun.empty()) useRecord(c.duringRun);
        SetWindowPos(window, nullptr, 211, 97, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(waitUntil([&] {
            GetWindowRect(window, &outer);
            return outer.left == 211 && outer.top == 97;
        }));
        std::vector<unsigned char> expectedRecord = programValues()["Startup"];
        if (c.savesPosition) {  // only the position fields change, to the outer corner
            expectedRecord[4] = 211, expectedRecord[5] = 0, expectedRecord[6] = 97,
            expectedRecord[7] = 0;
        }
        exitThroughButton(run, window);
        EXPECT_EQ(expectedRecord, programValues()["Startup"]);
    }
}

TEST_F(LexoriaRun, NavigationKeysOnAButtonScrollThePaneButNotInsideIt) {
    std::string list = "word=lengthy\r\ndef=line 1\r\n";
    for (int k = 2; k <= 60; ++k) list += "line " + std::to_string(k) + "\r\n";
    useList(list);
    LexoriaProcess run;
    HWND window = start(run);
    ASSERT_NE(nullptr, window);
    HWND pane = GetDlgItem(window, paneId);
    // Page Down's step depends on the pane's height and font, so it is measured first.
    postKey(GetDlgItem(window, exitId), VK_NEXT);
    ASSERT_TRUE(drainPosted(window));
    const int page = firstVisibleLine(window);
    ASSERT_GT(page, 1);

    const int nearEnd = -1;
    struct Case {
        std::vector<UINT> keys;
        int line;             // first visible line afterwards; nearEnd: within a page of the end
        bool inPane = false;  // clicked into the pane first: the keys are the pane's own
    } cases[] = {
        {{VK_DOWN}, 1},
        {{VK_DOWN, VK_DOWN, VK_UP}, 1},
        {{VK_NEXT}, page},
        {{VK_NEXT, VK_PRIOR}, 0},
        {{VK_END}, nearEnd},
        {{VK_END, VK_HOME}, 0},
        {{VK_LEFT}, 0},
        {{VK_RIGHT}, 0},
        {{VK_NEXT, VK_LEFT, VK_RIGHT}, page},
        {{VK_NEXT, VK_LEFT, VK_DOWN}, page + 1},
        {{VK_DOWN}, 0, true},  // in the pane Down moves the caret, which stays in view
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.keys) + (c.inPane ? " in the pane" : ""));
        // Next Word sets the pane's text again, which brings it back to its top, and leaves
        // the focus on that button.
        clickButton(window, nextWordId);
        ASSERT_TRUE(drainPosted(window));
        ASSERT_EQ(0, firstVisibleLine(window));
        if (c.inPane) {
            PostMessageA(pane, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
            PostMessageA(pane, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
            ASSERT_TRUE(drainPosted(window));
        }
        ASSERT_EQ(c.inPane, focusOf(window) == pane);
        for (UINT key : c.keys) postKey(focusOf(window), key);
        ASSERT_TRUE(drainPosted(window));
        if (c.line == nearEnd) EXPECT_GT(firstVisibleLine(window), 60 - 2 * page);
        else EXPECT_EQ(c.line, firstVisibleLine(window));
    }
    exitThroughButton(run, window);
}

SIZE alphabetExtent(const char* face, int height, int weight) {
    SIZE size = {};
    HFONT font = CreateFontA(height, 0, 0, 0, weight, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
    HDC screen = GetWindowDC(nullptr);
    HGDIOBJ original = SelectObject(screen, font);
    GetTextExtentPoint32A(screen, measuringText, 26, &size);
    SelectObject(screen, original);
    ReleaseDC(nullptr, screen);
    DeleteObject(font);
    return size;
}

TEST_F(LexoriaRun, ChildrenAndTitleBandStandWhereTheLayoutPutsThem) {
    useList(numberedList(3));
    LexoriaProcess run;
    HWND window = start(run);
    ASSERT_NE(nullptr, window);
    // The program sizes itself from the alphabet in its title and pane fonts; so does the test.
    SIZE title = alphabetExtent("Times New Roman", 26, FW_BOLD);
    SIZE text = alphabetExtent("Times New Roman", 20, FW_NORMAL);
    Tsize outerSize = mainWindowSize(title.cx, text.cx, GetSystemMetrics(SM_CXDLGFRAME),
                                     GetSystemMetrics(SM_CYDLGFRAME));
    RECT outer, client;
    GetWindowRect(window, &outer);
    EXPECT_EQ(outerSize.width, outer.right - outer.left);
    EXPECT_EQ(outerSize.height, outer.bottom - outer.top);

    GetClientRect(window, &client);
    Tsize area{client.right, client.bottom};
    std::pair<int, Trect> children[] = {
        {paneId, definitionPaneRect(area, title.cy)}, {exitId, buttonRect(area, exitSlot)},
        {1004, buttonRect(area, nextWordSlot)},        {1001, buttonRect(area, optionsSlot)},
        {1002, buttonRect(area, helpSlot)},            {1003, buttonRect(area, aboutSlot)},
    };
    for (const auto& child : children) {
        RECT at;
        GetWindowRect(GetDlgItem(window, child.first), &at);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&at), 2);
        const Trect& want = child.second;
        EXPECT_EQ(want.left, at.left) << child.first;
        EXPECT_EQ(want.top, at.top) << child.first;
        EXPECT_EQ(want.left + want.width, at.right) << child.first;
        EXPECT_EQ(want.top + want.height, at.bottom) << child.first;
    }

    // The sunken frame: grey top and left edges, white bottom and right, on light grey.
    TbandFrame band = titleBandFrame(area, title.cy);
    int midY = (band.top + band.bottom) / 2;
    struct Pixel {
        int x, y;
        COLORREF colour;
    } pixels[] = {
        {band.left, midY, RGB(128, 128, 128)},        {band.left + 3, band.top, RGB(128, 128, 128)},
        {band.left + 3, band.bottom, RGB(255, 255, 255)}, {band.right, midY, RGB(255, 255, 255)},
        {band.left - 4, midY, RGB(192, 192, 192)},    {band.left + 3, midY, RGB(192, 192, 192)},
    };
    HDC screen = GetDC(nullptr);
    for (const Pixel& p : pixels) {
        POINT at{p.x, p.y};
        ClientToScreen(window, &at);
        EXPECT_EQ(p.colour, GetPixel(screen, at.x, at.y)) << p.x << "," << p.y;
    }
    ReleaseDC(nullptr, screen);
    exitThroughButton(run, window);
}

}  // namespace
