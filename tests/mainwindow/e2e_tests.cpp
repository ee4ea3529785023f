// Lexoria.exe from the outside: started from a scratch folder with its own word list, driven
// only through window messages, its exit code, windows and stored values checked afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <set>

#include "mainwindow/layout.h"
#include "mainwindow/messagecounter.h"
#include "mainwindow/windowprobe.h"
#include "resources/resource.h"
#include "support/lexoria_driver.h"
#include "win32/comholders.h"
#include "win32/displaydpi.h"
#include "win32/gdiholders.h"
#include "win32/handleholder.h"
#include "win32/systemlibrary.h"

using namespace lexoriaTest;
using namespace windowProbe;

namespace {

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

int firstVisibleLine(HWND window) {
    DWORD_PTR line = 0;
    SendMessageTimeoutA(GetDlgItem(window, IDC_DEFINITION), EM_GETFIRSTVISIBLELINE, 0, 0,
                        SMTO_ABORTIFHUNG, 2000, &line);
    return static_cast<int>(line);
}

RECT screenRectOf(HWND window) {
    RECT at = {};
    GetWindowRect(window, &at);
    return at;
}

struct TatScopeExit {
    std::function<void()> action;
    ~TatScopeExit() { action(); }
};

std::string rectText(const RECT& at) {
    return std::to_string(at.left) + "," + std::to_string(at.top) + "-" + std::to_string(at.right) +
           "," + std::to_string(at.bottom);
}

// The main window's measuring text in Times New Roman of the height and weight, measured here.
SIZE alphabetExtent(int height, int weight) {
    TgdiObject<HFONT> font(CreateFontA(height, 0, 0, 0, weight, 0, 0, 0, ANSI_CHARSET,
                                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                       DEFAULT_PITCH, "Times New Roman"));
    TwindowDC screen(nullptr);
    TselectedObject selected(screen.get(), font.get());
    SIZE size = {};
    GetTextExtentPoint32A(screen.get(), measuringText, measuringTextLength, &size);
    return size;
}

class TlexoriaRun : public TprogramRun<> {
protected:
    HWND start(TexitingRun& run) { return run.window = TprogramRun<>::start(run); }
    void useRecord(const std::vector<unsigned char>& bytes) {
        ASSERT_TRUE(setProgramValue("Startup", REG_BINARY, bytes.data(), DWORD(bytes.size())));
    }
};

// Under the unowned over-long-list warning "Next Word" is refused, and works again after it.
TEST_F(TlexoriaRun, NextWordDoesNothingWhileTheOverLongListWarningIsUp) {
    useList(wordList(4001));
    TexitingRun run;
    ASSERT_TRUE(run.start(folder.path()));
    HWND box = run.waitForDialog();
    ASSERT_NE(nullptr, box) << "the warning at start";
    pressOk(box);
    HWND window = run.window = run.waitForMainWindow();
    ASSERT_NE(nullptr, window);

    useList(wordList(4001, 5000));  // a new list: the next load builds the index and warns again
    clickButton(window, IDC_NEXT_WORD);
    box = run.waitForDialog();
    ASSERT_NE(nullptr, box) << "the warning at Next Word";
    const auto valuesUnderTheBox = programValues();
    const std::string textUnderTheBox = paneText(window);
    clickButton(window, IDC_NEXT_WORD);
    ASSERT_TRUE(drainPosted(window));
    EXPECT_EQ(1u, dialogsOf(run.id()).size()) << "a second build warned inside the first";
    EXPECT_EQ(valuesUnderTheBox, programValues());
    EXPECT_EQ(textUnderTheBox, paneText(window));

    pressOk(box);
    ASSERT_TRUE(waitUntil([&] { return dialogsOf(run.id()).empty(); }));
    ASSERT_TRUE(drainPosted(window));
    EXPECT_TRUE(dialogsOf(run.id()).empty());
    const int position = storedPosition();
    const std::string shown = paneText(window);
    EXPECT_NE(textUnderTheBox, shown) << "the first click's entry is shown";
    clickButton(window, IDC_NEXT_WORD);
    EXPECT_TRUE(waitUntil([&] {
        return storedPosition() != position && paneText(window) != shown;
    })) << "Next Word works again";
}

TEST_F(TlexoriaRun, SecondStartBringsTheFirstWindowForwardAndLeaves) {
    useList(wordList(3));
    useRecord(startupRecord(0, 0, 40, 30));
    struct Tcase {
        const char* name;
        bool maximize, minimize;
    } cases[] = {{"shown", false, false},
                 {"minimised", false, true},
                 {"minimised from maximised", true, true}};
    for (const Tcase& c : cases) {
        SCOPED_TRACE(c.name);
        TexitingRun first;
        HWND window = start(first);
        ASSERT_NE(nullptr, window);
        if (c.maximize) ShowWindow(window, SW_MAXIMIZE);
        if (c.minimize) ShowWindow(window, SW_MINIMIZE);
        ASSERT_EQ(c.minimize, IsIconic(window) != 0);
        // A window of the test's own takes the foreground, for the second copy to take back.
        HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 60, 40, nullptr,
                                     nullptr, nullptr, nullptr);
        TatScopeExit dropOther{[&] { DestroyWindow(other); }};
        SetForegroundWindow(other);
        ASSERT_TRUE(waitUntil([&] { return pumpMessages(), GetForegroundWindow() == other; }));
        auto valuesBefore = programValues();

        TlexoriaProcess second;
        ASSERT_TRUE(second.start(folder.path()));
        ASSERT_TRUE(waitUntil([&] { return pumpMessages(), !second.running(); }, 10000));
        EXPECT_EQ(0, second.waitForExit(0));
        EXPECT_TRUE(waitUntil([&] { return pumpMessages(), GetForegroundWindow() == window; }));
        EXPECT_FALSE(IsIconic(window));
        EXPECT_EQ(c.maximize, IsZoomed(window) != 0);
        EXPECT_EQ(valuesBefore, programValues()) << "the second copy stored nothing";
    }
}

// Any folder name or a 260-character path: the definition, or the list's failure in an owned box;
// Exit starts with the focus, so Escape and Enter end the program.
TEST_F(TlexoriaRun, StartsInAnyFolderOrSaysWhyNotAndEndsCleanly) {
    const std::wstring japanese = L"\\\u65e5\u672c";
    const std::string richText =
        "{\\rtf1\\ansi{\\fonttbl\\f0 Arial;}\\f0\\fs80 BIG {\\v hidden} after}";
    struct Tcase {
        const char* name;
        std::wstring subfolder;    // of the scratch folder, made for the case
        size_t programPathLength;  // with "\\Lexoria.exe"; 0: as the folder gives it
        bool listFile;
        std::string definition;  // empty: a list without entries, so the failure's box
        UINT endKey = 0;         // what ends a run that shows its window
    } cases[] = {
        {"missing list in a folder named in Japanese", japanese, 0, false, ""},
        {"list without entries in a folder named in Polish", L"\\\u0141\u00f3d\u017a", 0, true, ""},
        {"a folder named in Japanese, rich text not obeyed", japanese, 0, true, richText,
         VK_ESCAPE},
        {"a program path of 260 characters", L"", 260, true, "definition", VK_RETURN},
    };
    for (const Tcase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring where =
            c.programPathLength
                ? deepFolder(wideOf(folder.path()), c.programPathLength - wcslen(L"\\Lexoria.exe"))
                : wideOf(folder.path()) + c.subfolder;
        ASSERT_TRUE(copyBuilt(where, "Lexoria.exe", L"Lexoria.exe"));
        const std::wstring list = where + L"\\lexoria.lst";
        const std::string text =
            c.definition.empty() ? "def=orphan\r\n" : "word=w\r\ndef=" + c.definition;
        ASSERT_TRUE(!c.listFile || writeFile(list, text));
        // CreateProcess takes a path that long only as a relative one.
        wchar_t previousFolder[MAX_PATH] = L"";
        GetCurrentDirectoryW(MAX_PATH, previousFolder);
        TatScopeExit backHome{[&] { SetCurrentDirectoryW(previousFolder); }};
        ASSERT_TRUE(SetCurrentDirectoryW(where.c_str()));

        TlexoriaProcess run;
        ASSERT_TRUE(run.start(L"."));
        if (!c.definition.empty()) {
            HWND window = run.waitForMainWindow();
            ASSERT_NE(nullptr, window);
            EXPECT_EQ(c.definition, paneText(window));
            ASSERT_EQ(GetDlgItem(window, IDC_EXIT), focusOf(window));
            postKey(focusOf(window), c.endKey);
            EXPECT_EQ(0, run.waitForExit());
            continue;
        }
        HWND box = run.waitForDialog();
        ASSERT_NE(nullptr, box);
        const std::wstring why =
            c.listFile ? L"Unable to load word list (" : L"Word List File does not exist (";
        EXPECT_EQ(why + list + L").", messageBoxTextW(box));
        EXPECT_EQ("Lexoria", windowText(box));
        EXPECT_NE(nullptr, messageBoxIcon(box));  // another process's icon: only that it has one
        char owner[64] = "";
        GetClassNameA(GetWindow(box, GW_OWNER), owner, sizeof owner);
        EXPECT_EQ("Lexoria", std::string(owner));
        pressOk(box);
        EXPECT_EQ(0, run.waitForExit());
        EXPECT_EQ(nullptr, FindWindowA("Lexoria", "Lexoria"));
    }
}

// The record places the window; Exit saves the restored, reachable place for the saved choice.
TEST_F(TlexoriaRun, RecordPlacesTheWindowAndExitSavesItForTheSavedChoiceOnly) {
    useList(wordList(3));
    enum Tspot { centre, low, high, saved };  // low: 0; high: flush with the right or bottom edge
    struct Tcase {
        const char* name;
        std::vector<unsigned char> atStart;  // empty: none
        Tspot spot;                          // across and down
        bool savesPosition, topmost = false;
        std::vector<unsigned char> duringRun = {};  // empty: left as it was
        POINT movedTo = {211, 97};
        bool minimise = false;
    } cases[] = {
        {"no record", {}, centre, false},
        {"bottom right", startupRecord(5, 0, 5, 5), high, false},
        {"saved", startupRecord(0, 0, 123, 77), saved, true},
        {"choice 6", startupRecord(6, 0, 5, 5), centre, false},
        {"choice -1", startupRecord(-1, 0, 5, 5), centre, false},
        {"on top", startupRecord(0, 1, 0, 0), low, true, true},
        {"on top, high byte only", startupRecord(2, 0x100, 5, 5), low, false, true},
        {"changed to saved during the run", startupRecord(2, 0, 5, 5), low, true, false,
         startupRecord(0, 0, 5, 5)},
        {"changed away from saved", startupRecord(0, 0, 0, 0), low, false, false,
         startupRecord(3, 0, 5, 5)},
        {"off the left edge", startupRecord(0, 0, 40, 30), saved, true, false, {}, {-150, 100}},
        {"caption above top", startupRecord(0, 0, 40, 30), saved, false, false, {}, {100, -200}},
        {"minimised", startupRecord(0, 0, 40, 30), saved, true, false, {}, {211, 97}, true},
    };
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    for (const Tcase& c : cases) {
        SCOPED_TRACE(c.name);
        deleteProgramKey();
        if (!c.atStart.empty()) useRecord(c.atStart);
        TexitingRun run;
        HWND window = start(run);
        ASSERT_NE(nullptr, window);
        RECT outer = screenRectOf(window);
        auto expected = [&](Tspot spot, int room, int field) {
            if (spot == saved) return int(int16_t(c.atStart[field] | (c.atStart[field + 1] << 8)));
            return spot == centre ? room / 2 : spot == low ? 0 : room;
        };
        EXPECT_EQ(expected(c.spot, screenW - (outer.right - outer.left), 4), outer.left);
        EXPECT_EQ(expected(c.spot, screenH - (outer.bottom - outer.top), 6), outer.top);
        EXPECT_EQ(c.topmost, (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);

        if (!c.duringRun.empty()) useRecord(c.duringRun);
        std::vector<unsigned char> expectedRecord = programValues()["Startup"];
        if (c.savesPosition) {  // only the position fields change, to the outer corner
            std::vector<unsigned char> corner = startupRecord(0, 0, c.movedTo.x, c.movedTo.y);
            std::copy(corner.begin() + 4, corner.end(), expectedRecord.begin() + 4);
        }
        SetWindowPos(window, nullptr, c.movedTo.x, c.movedTo.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(waitUntil([&] {
            outer = screenRectOf(window);
            return outer.left == c.movedTo.x && outer.top == c.movedTo.y;
        }));
        if (c.minimise) ShowWindow(window, SW_MINIMIZE);
        ASSERT_EQ(c.minimise, IsIconic(window) != 0);
        run.exit();
        std::vector<unsigned char> record;
        DWORD type = REG_NONE;
        getProgramValue("Startup", record, &type);
        EXPECT_EQ(expectedRecord, record);
        EXPECT_EQ(expectedRecord.empty() ? REG_NONE : REG_BINARY, type);
    }
}

// The main window's paints and erases and the pane's stream-ins, counted by the hook DLL.
class TmessageCounter {
public:
    explicit TmessageCounter(HWND window)
        : mapping(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                     sizeof(TmessageCounts), messageCountsName)),
          counter(LoadLibraryA((buildFolder() + "\\" + messageCounterFile).c_str()), &FreeLibrary) {
        if (mapping.get())
            counts = static_cast<TmessageCounts*>(
                MapViewOfFile(mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(TmessageCounts)));
        if (!counts || !counter) return;
        *counts = TmessageCounts{window, GetDlgItem(window, IDC_DEFINITION), 0, 0, 0};
        const DWORD thread = GetWindowThreadProcessId(window, nullptr);
        hooks[0] = hook(WH_CALLWNDPROC, sentHookName, thread);
        hooks[1] = hook(WH_GETMESSAGE, retrievedHookName, thread);
    }
    ~TmessageCounter() {
        for (HHOOK set : hooks)
            if (set) UnhookWindowsHookEx(set);
        if (counts) UnmapViewOfFile(counts);
    }
    bool hooked() const { return hooks[0] && hooks[1]; }
    void reset() { counts->paints = counts->erases = counts->streamIns = 0; }
    LONG paints() const { return InterlockedCompareExchange(&counts->paints, 0, 0); }
    LONG erases() const { return InterlockedCompareExchange(&counts->erases, 0, 0); }
    LONG streamIns() const { return InterlockedCompareExchange(&counts->streamIns, 0, 0); }

private:
    HHOOK hook(int kind, const char* name, DWORD thread) {
        auto procedure = libraryEntry<HOOKPROC>(counter.get(), name);
        return procedure ? SetWindowsHookExA(kind, procedure, counter.get(), thread) : nullptr;
    }
    ThandleHolder mapping;
    TmoduleHolder counter;
    TmessageCounts* counts = nullptr;
    HHOOK hooks[2] = {};
};

// Keys on a button scroll the pane; a repaint scrolls it to its top without resending its text.
TEST_F(TlexoriaRun, KeysOnAButtonScrollThePaneAndARepaintScrollsItBackToItsTop) {
    std::string list = "word=lengthy\r\ndef=line 1\r\n";  // sixty lines, taller than the pane
    for (int k = 2; k <= 60; ++k) list += "line " + std::to_string(k) + "\r\n";
    useList(list);
    TexitingRun run;
    HWND window = start(run);
    ASSERT_NE(nullptr, window);
    HWND pane = GetDlgItem(window, IDC_DEFINITION);
    // Page Down's step depends on the pane's height and font, so it is measured first.
    postKey(GetDlgItem(window, IDC_EXIT), VK_NEXT);
    ASSERT_TRUE(drainPosted(window));
    const int page = firstVisibleLine(window);
    ASSERT_GT(page, 1);

    TmessageCounter counter(window);
    ASSERT_TRUE(counter.hooked());
    const RECT corner = {0, 0, 4, 4};
    struct Trepaint {
        const char* name;
        std::function<void()> repaint;
    } repaints[] = {
        // Wine redraws an uncovered window without a paint; Windows invalidates it, as this does.
        {"a 4x4 corner uncovered", [&] { InvalidateRect(window, &corner, TRUE); }},
        {"minimised and restored",
         [&] { ShowWindow(window, SW_MINIMIZE), ShowWindow(window, SW_RESTORE); }},
        {"the whole window invalidated", [&] { InvalidateRect(window, nullptr, TRUE); }},
    };
    for (const Trepaint& c : repaints) {
        SCOPED_TRACE(c.name);
        postKey(GetDlgItem(window, IDC_EXIT), VK_NEXT);
        ASSERT_TRUE(drainPosted(window));
        ASSERT_GT(firstVisibleLine(window), 0);
        counter.reset();
        c.repaint();
        ASSERT_TRUE(waitUntil([&] { return pumpMessages(), counter.paints() > 0; }))
            << "the window did not repaint";
        ASSERT_TRUE(drainPosted(window));
        EXPECT_EQ(0, counter.streamIns());
        EXPECT_EQ(0, firstVisibleLine(window));
    }

    const int nearEnd = -1;
    struct Tcase {
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
        {{VK_NEXT, VK_LEFT, VK_DOWN}, page + 1},
        {{VK_DOWN}, 0, true},  // in the pane Down moves the caret, which stays in view
    };
    for (const Tcase& c : cases) {  // the keys after the repaints, where focus is on Exit still
        SCOPED_TRACE(testing::PrintToString(c.keys) + (c.inPane ? " in the pane" : ""));
        // Next Word sets the pane's text again, back at its top, and keeps the focus.
        clickButton(window, IDC_NEXT_WORD);
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
}

// "Next Word" shows the stored position's entry, stores the next, and redraws only band and pane.
TEST_F(TlexoriaRun, NextWordShowsTheStoredPositionsEntryAndRedrawsOnlyThePane) {
    useList(wordList(5));
    TexitingRun run;
    HWND window = start(run);
    ASSERT_NE(nullptr, window);
    TmessageCounter counter(window);
    ASSERT_TRUE(counter.hooked());
    for (int press = 0; press < 6; ++press) {
        SCOPED_TRACE(press);
        const auto before = programValues()["State"];
        const std::string expected = definitionOf(storedPosition());
        counter.reset();
        clickButton(window, IDC_NEXT_WORD);
        ASSERT_TRUE(waitUntil(
            [&] { return programValues()["State"] != before && paneText(window) == expected; }));
        ASSERT_TRUE(drainPosted(window));
        EXPECT_EQ(1, counter.streamIns());
        EXPECT_EQ(0, counter.paints());
        EXPECT_EQ(0, counter.erases());
    }
}

// ---- Words in any script ----

const wchar_t* const titleFace = L"Times New Roman";
const uint32_t faceColour = 0xC0C0C0;

// What draw makes in memory, row by row as 0x00RRGGBB; empty when it cannot be made.
std::vector<uint32_t> drawnPixels(int width, int height, const std::function<void(HDC)>& draw) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    TwindowDC screen(nullptr);
    TgdiObject<HBITMAP> bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, 0, 0));
    if (!bits) return {};
    HDC dc = CreateCompatibleDC(screen.get());
    {
        TselectedObject selected(dc, bitmap.get());
        draw(dc);
        GdiFlush();
    }
    DeleteDC(dc);
    const uint32_t* first = static_cast<const uint32_t*>(bits);
    std::vector<uint32_t> pixels(first, first + width * height);
    for (uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
    return pixels;
}

bool isDark(uint32_t pixel) {
    return ((pixel & 0xFF) + ((pixel >> 8) & 0xFF) + ((pixel >> 16) & 0xFF)) < 3 * 96;
}

// A band row pixel's colour (client coordinates): the frame's grey top and left and white bottom
// and right lines, without end points, the face elsewhere; 0 inside the frame.
uint32_t frameColour(const TbandFrame& band, int x, int y) {
    const uint32_t grey = 0x808080, white = 0xFFFFFF;
    const bool across = x >= band.left && x < band.right, down = y >= band.top && y < band.bottom;
    if ((y == band.bottom && across) || (x == band.right && down)) return white;
    if ((y == band.top && across) || (x == band.left && down)) return grey;
    const bool inside = x > band.left && x < band.right && y > band.top && y < band.bottom;
    return inside ? 0 : faceColour;
}

// The band's rows across the client width as the screen shows them.
struct TbandRows {
    TbandFrame band;
    int width = 0;
    std::vector<uint32_t> pixels;
    uint32_t at(int x, int y) const { return pixels[(y - band.top) * width + x]; }  // client x, y
};

// The band's rows once painted (the frame's top row right, ink inside; Xvfb starts black) and
// unchanged for 100 ms; false on time-out.
bool settledBand(HWND window, TbandRows& rows) {
    RECT client = {};
    GetClientRect(window, &client);
    rows.band = titleBandFrame(Tsize{client.right, client.bottom}, alphabetExtent(26, FW_BOLD).cy);
    const TbandFrame& band = rows.band;
    RECT part = {0, band.top, client.right, band.bottom + 1};
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&part), 2);
    rows.width = part.right - part.left;
    const int height = part.bottom - part.top;
    auto painted = [&] {
        if (rows.at(0, band.top) != faceColour ||
            rows.at(band.left + 1, band.top) != frameColour(band, band.left + 1, band.top))
            return false;
        for (int y = band.top + 1; y < band.bottom; ++y)
            for (int x = band.left + 1; x < band.right; ++x)
                if (isDark(rows.at(x, y))) return true;
        return false;
    };
    DWORD changedAt = GetTickCount();
    return waitUntil([&] {
        std::vector<uint32_t> now = drawnPixels(rows.width, height, [&](HDC dc) {
            BitBlt(dc, 0, 0, rows.width, height, TwindowDC(nullptr).get(), part.left, part.top,
                   SRCCOPY);
        });
        if (now.empty()) return false;
        if (now != rows.pixels) changedAt = GetTickCount(), rows.pixels.swap(now);
        return GetTickCount() - changedAt >= 100 && painted();
    });
}

// Dark pixels from the word's centre line and their top row, and the rectangle holding them.
struct Tink {
    int left = 0, width = 0, height = 0;
    std::set<std::pair<int, int>> dark;
    size_t count() const { return dark.size(); }
};

// The ink within a rectangle of pixels laid out rows of the stride, the word centred on centreX.
Tink inkWithin(const std::vector<uint32_t>& pixels, int stride, const RECT& part, int centreX) {
    std::vector<POINT> dark;  // row by row, so the first is on the top row and the last the bottom
    for (int y = part.top; y < part.bottom; ++y)
        for (int x = part.left; x < part.right; ++x)
            if (isDark(pixels[y * stride + x])) dark.push_back({x - centreX, y});
    Tink ink;
    if (dark.empty()) return ink;
    auto byX = [](POINT a, POINT b) { return a.x < b.x; };
    ink.left = std::min_element(dark.begin(), dark.end(), byX)->x;
    ink.width = std::max_element(dark.begin(), dark.end(), byX)->x - ink.left + 1;
    ink.height = dark.back().y - dark.front().y + 1;
    for (POINT at : dark) ink.dark.insert({at.x, at.y - dark.front().y});
    return ink;
}

// The pixels dark in one ink and not in the other, laid over each other by centre line and top.
size_t inkDistance(const Tink& a, const Tink& b) {
    size_t common = 0;
    for (const auto& at : a.dark) common += b.dark.count(at);
    return a.count() + b.count() - 2 * common;
}

TgdiObject<HFONT> titleFontIn(const std::wstring& face) {
    return TgdiObject<HFONT>(CreateFontW(26, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET,
                                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                         DEFAULT_PITCH, face.c_str()));
}

// The word as plain bold text in the face at the title's height on the band's grey, in memory.
Tink inkInFace(const std::wstring& word, const std::wstring& face) {
    const int width = 600, height = 60, centreX = width / 2;
    TgdiObject<HFONT> font = titleFontIn(face);
    const std::vector<uint32_t> pixels = drawnPixels(width, height, [&](HDC dc) {
        TselectedObject selected(dc, font.get());
        const RECT all = {0, 0, width, height};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
        SetBkColor(dc, RGB(192, 192, 192));
        SetTextAlign(dc, TA_CENTER | TA_TOP);
        TextOutW(dc, centreX, 10, word.c_str(), static_cast<int>(word.size()));
    });
    if (pixels.empty()) return Tink{};
    return inkWithin(pixels, width, RECT{0, 0, width, height}, centreX);
}

// Whether the face has a glyph of its own for every character of the word.
bool hasGlyphs(const std::wstring& face, const std::wstring& word) {
    TgdiObject<HFONT> font = titleFontIn(face);
    TwindowDC screen(nullptr);
    TselectedObject selected(screen.get(), font.get());
    std::vector<WORD> glyphs(word.size());
    const int count = static_cast<int>(word.size());
    return GetGlyphIndicesW(screen.get(), word.c_str(), count, glyphs.data(),
                            GGI_MARK_NONEXISTING_GLYPHS) == DWORD(count) &&
           std::count(glyphs.begin(), glyphs.end(), 0xFFFF) == 0;
}

int CALLBACK addFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM faces) {
    if (font->lfFaceName[0] != L'@')
        reinterpret_cast<std::vector<std::wstring>*>(faces)->push_back(font->lfFaceName);
    return 1;
}

// An installed face that has the word's glyphs, found by asking each; empty when none has.
std::wstring faceWithGlyphsOf(const std::wstring& word) {
    std::vector<std::wstring> faces;
    LOGFONTW every = {};
    every.lfCharSet = DEFAULT_CHARSET;
    TwindowDC screen(nullptr);
    EnumFontFamiliesExW(screen.get(), &every, addFace, reinterpret_cast<LPARAM>(&faces), 0);
    for (const std::wstring& face : faces)
        if (hasGlyphs(face, word)) return face;
    return L"";
}

class TscriptRun : public TlexoriaRun {
protected:
    // The band's ink inside its frame for the list's first word, once the band is painted.
    Tink bandInkOf(const std::string& list) {
        useList(list);
        TexitingRun run;
        HWND window = start(run);
        TbandRows rows;
        EXPECT_TRUE(window && settledBand(window, rows)) << "the band was never painted";
        if (rows.pixels.empty()) return Tink{};
        const TbandFrame& band = rows.band;  // the rows start at the frame's top
        const RECT inside = {band.left + 1, 1, band.right, band.bottom - band.top};
        return inkWithin(rows.pixels, rows.width, inside, titleWordOrigin(band).x);
    }
    TcomLibrary com;
};

// The word's bytes in the list, and what the band and the pane must show for it.
struct TscriptEntry {
    std::string word, definition;  // UTF-8, or code page 1252 for the old entry
    std::wstring shownWord, shownDefinition;
};

const std::string longRun(2042, 'x');  // "def=" and these end a piece just after a lead byte
// Polish, Russian (rich-text-like), Greek, Japanese, Arabic, a character across a piece boundary.
const TscriptEntry scriptEntries[] = {
    {"\xC5\x81\xC3\xB3\x64\xC5\xBA", "miasto\nnad Odr\xC4\x85", L"\u0141\u00F3d\u017A",
     L"miasto\r\nnad Odr\u0105"},
    {"\xD1\x81\xD0\xBB\xD0\xBE\xD0\xB2\xD0\xBE", "{\\rtf1 \xD0\xB5}",
     L"\u0441\u043B\u043E\u0432\u043E", L"{\\rtf1 \u0435}"},
    {"\xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82", "\xCE\xBB", L"\u03BB\u03CC\u03B3\u03BF\u03C2",
     L"\u03BB"},
    {"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", "\xE6\x97\xA5", L"\u65E5\u672C\u8A9E", L"\u65E5"},
    {"\xD9\x83\xD9\x84\xD9\x85\xD8\xA9", "\xD9\x83", L"\u0643\u0644\u0645\u0629", L"\u0643"},
    {"piece", longRun + "\xE6\x97\xA5", L"piece",
     std::wstring(longRun.begin(), longRun.end()) + L"\u65E5\r\n"},
};

// Every entry of a pass shows exactly in pane and band, and each new word is announced by name.
TEST_F(TscriptRun, EveryEntryOfAPassShowsExactlyInPaneAndBand) {
    const std::string cafe = "caf\xE9", ete = "\xE9t\xE9";  // code page 1252
    for (bool marked : {false, true}) {
        SCOPED_TRACE(marked ? "with the mark" : "without the mark");
        std::vector<TscriptEntry> entries(std::begin(scriptEntries), std::end(scriptEntries));
        // A code-page entry: shown as ever without the mark, with U+FFFD per stray byte with it.
        entries.push_back(marked ? TscriptEntry{cafe, ete, L"caf\uFFFD", L"\uFFFDt\uFFFD"}
                                 : TscriptEntry{cafe, ete, wideOf(cafe), wideOf(ete)});
        std::string list = marked ? "\xEF\xBB\xBF" : "";
        std::map<std::wstring, std::wstring> expected, shown;
        for (const TscriptEntry& e : entries) {
            list += "word=" + e.word + "\ndef=" + e.definition + "\n";
            expected[e.shownWord] = e.shownDefinition;
        }
        deleteProgramKey();
        useList(list);

        TexitingRun run;
        HWND window = start(run);
        ASSERT_NE(nullptr, window);
        TnameChanges changes(run.id());
        ASSERT_TRUE(changes.hooked());
        for (size_t shownCount = 1;; ++shownCount) {
            const std::wstring word = accessibleName(GetDlgItem(window, IDC_TITLE_BAND));
            shown[word] = paneTextW(window);
            EXPECT_TRUE(shownCount == 1 || changes.heard(word))
                << testing::PrintToString(changes.names());
            if (shownCount == entries.size()) break;
            changes.clear();
            clickButton(window, IDC_NEXT_WORD);
            ASSERT_TRUE(drainPosted(window));
        }
        EXPECT_EQ(expected, shown);
    }
}

// A Latin word is drawn where and as plain text in the title face always drew it.
TEST_F(TscriptRun, ALatinWordSitsWherePlainTextAlwaysSat) {
    const Tink drawn = bandInkOf("word=abate\ndef=d\n");
    const Tink expected = inkInFace(L"abate", titleFace);
    ASSERT_GT(expected.count(), 20u);
    EXPECT_NEAR(expected.left, drawn.left, 1);
    EXPECT_EQ(expected.width, drawn.width);
    EXPECT_EQ(expected.height, drawn.height);
    EXPECT_LE(inkDistance(expected, drawn), expected.count() / 20) << "of " << expected.count();
}

// Characters the title face lacks are drawn from a face that has them, not as its boxes.
TEST_F(TscriptRun, CharactersTheTitleFaceLacksComeFromAFaceThatHasThem) {
    const std::wstring word = L"\u65E5\u672C\u8A9E";
    ASSERT_FALSE(hasGlyphs(titleFace, word));
    const std::wstring face = faceWithGlyphsOf(word);
    ASSERT_FALSE(face.empty()) << "no installed face has the word's glyphs";
    const Tink drawn = bandInkOf("word=\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\ndef=d\n");
    const Tink withGlyphs = inkInFace(word, face), titleOnly = inkInFace(word, titleFace);
    ASSERT_GT(withGlyphs.count(), 20u);
    ASSERT_GT(drawn.count(), 20u);
    EXPECT_LT(inkDistance(withGlyphs, drawn), inkDistance(titleOnly, drawn))
        << "drawn " << drawn.width << " wide, in " << testing::PrintToString(face) << " "
        << withGlyphs.width << ", in the title face " << titleOnly.width;
}

// A word far wider than the band, drawn either way, leaves the frame and margins untouched.
TEST_F(TscriptRun, AWordWiderThanTheBandStaysInsideTheFrame) {
    std::string japanese;
    for (int i = 0; i < 1600; ++i) japanese += "\xE6\x97\xA5";
    for (const std::string& word : {std::string(4800, 'W'), japanese}) {
        SCOPED_TRACE(word[0] == 'W' ? "4,800 Latin letters" : "1,600 Japanese characters");
        useList("\xEF\xBB\xBFword=" + word + "\ndef=d\n");
        TexitingRun run;
        HWND window = start(run);
        ASSERT_NE(nullptr, window);
        TbandRows rows;
        ASSERT_TRUE(settledBand(window, rows)) << "the band was never painted";
        const TbandFrame& band = rows.band;
        int wrong = 0;
        std::string first;
        for (int y = band.top; y <= band.bottom; ++y)
            for (int x = 0; x < rows.width; ++x) {
                const uint32_t expected = frameColour(band, x, y);
                if (expected == 0 || rows.at(x, y) == expected) continue;
                if (wrong++ == 0) first = std::to_string(x) + "," + std::to_string(y);
            }
        EXPECT_EQ(0, wrong) << "first at " << first;
    }
}

// ---- At 150% and 200% ----
// Wine gives the DPI set by TlogPixels to every process started after.

// What a run shows: the client size, each child in client coordinates, the pane's line height.
struct Tlayout {
    SIZE outer = {}, client = {};
    std::vector<RECT> children;
    int paneLineHeight = 0;
};

const int childIds[] = {IDC_DEFINITION, IDC_EXIT,        IDC_NEXT_WORD,
                        IDC_OPTIONS,    IDC_HELP_BUTTON, IDC_ABOUT};

Tlayout layoutOf(HWND window) {
    Tlayout layout;
    RECT client = {};
    GetClientRect(window, &client);
    const RECT outer = screenRectOf(window);
    layout.outer = SIZE{outer.right - outer.left, outer.bottom - outer.top};
    layout.client = SIZE{client.right, client.bottom};
    for (int id : childIds) layout.children.push_back(childRect(window, id));
    // From the first characters of the first two lines (EM_POSFROMCHAR's packed form).
    HWND pane = GetDlgItem(window, IDC_DEFINITION);
    const LRESULT second = SendMessageA(pane, EM_LINEINDEX, 1, 0);
    auto lineTop = [&](LRESULT at) {
        return short(HIWORD(SendMessageA(pane, EM_POSFROMCHAR, at, 0)));
    };
    layout.paneLineHeight = second > 0 ? lineTop(second) - lineTop(0) : -1;
    return layout;
}

bool closeTo(double expected, long actual) { return std::abs(expected - actual) <= 2.0; }

// The measuring text's width in the wider font at the DPI (glyphs do not scale exactly).
int alphabetWidth(int dpi) {
    return std::max(alphabetExtent(MulDiv(26, dpi, 96), FW_BOLD).cx,
                    alphabetExtent(MulDiv(20, dpi, 96), FW_NORMAL).cx);
}

class TscaledRun : public TlexoriaRun {
protected:
    void SetUp() override {  // a definition that wraps in the pane at every scaling
        TlexoriaRun::SetUp();
        std::string definition;
        for (int i = 0; i < 30; ++i) definition += "wrapping words ";
        useList("word=breadth\r\ndef=" + definition + "\r\n");
    }
    HWND start(TexitingRun& run, DWORD dpi) {
        TlogPixels pixels(dpi);
        return TlexoriaRun::start(run);
    }
    Tlayout layoutAt(DWORD dpi) {
        TexitingRun run;
        HWND window = start(run, dpi);
        EXPECT_NE(nullptr, window) << dpi;
        if (!window) return Tlayout{};
        Tlayout layout = layoutOf(window);
        return layout;
    }
};

// Sizes and places fixed at 96 DPI (width from the measured text) grow with the DPI.
TEST_F(TscaledRun, WindowChildrenAndFontsHaveTheirSizesAndGrowWithTheDpi) {
    const Tlayout at96 = layoutAt(96);
    const SIZE title = alphabetExtent(26, FW_BOLD), text = alphabetExtent(20, FW_NORMAL);
    EXPECT_EQ(std::max<LONG>(std::max(title.cx, text.cx) + 16, 307) +
                  2 * GetSystemMetrics(SM_CXDLGFRAME),
              at96.outer.cx);
    EXPECT_EQ(266 + 2 * GetSystemMetrics(SM_CYDLGFRAME), at96.outer.cy);
    const LONG right = at96.client.cx, bottom = at96.client.cy;
    const RECT pane = at96.children[0];  // then the buttons, left to right
    EXPECT_EQ((std::vector<LONG>{8, title.cy + 20, right - 8, bottom - 30}),
              (std::vector<LONG>{pane.left, pane.top, pane.right, pane.bottom}));
    LONG left = 1;
    for (size_t i = 1; i < at96.children.size(); ++i) {
        const RECT& button = at96.children[i];
        EXPECT_EQ((std::vector<LONG>{left, bottom - 22, bottom - 1}),
                  (std::vector<LONG>{button.left, button.top, button.bottom}))
            << childIds[i];
        left = button.right + 1;
    }
    EXPECT_EQ(right, left);
    for (int dpi : {144, 192}) {
        SCOPED_TRACE(dpi);
        const Tlayout scaled = layoutAt(dpi);
        const double factor = dpi / 96.0, across = double(scaled.client.cx) / at96.client.cx;
        EXPECT_TRUE(closeTo((at96.client.cx - alphabetWidth(96)) * factor,
                            scaled.client.cx - alphabetWidth(dpi)))
            << scaled.client.cx;
        EXPECT_TRUE(closeTo(at96.client.cy * factor, scaled.client.cy)) << scaled.client.cy;
        for (size_t i = 0; i < at96.children.size(); ++i) {
            const RECT &a = at96.children[i], &b = scaled.children[i];
            EXPECT_TRUE(closeTo(a.left * across, b.left) && closeTo(a.top * factor, b.top) &&
                        closeTo(a.right * across, b.right) && closeTo(a.bottom * factor, b.bottom))
                << "child " << childIds[i] << ": " << rectText(b) << " against " << rectText(a);
        }
        EXPECT_GT(at96.paneLineHeight, 0);
        EXPECT_TRUE(closeTo(at96.paneLineHeight * factor, scaled.paneLineHeight))
            << scaled.paneLineHeight << " against " << at96.paneLineHeight;
    }
}

// On a DPI change the window takes the given rectangle and lays out as if started at that DPI.
TEST_F(TscaledRun, DpiChangeLaysOutAgainInTheGivenRectangle) {
    const Tlayout at144 = layoutAt(144);
    TexitingRun run;
    HWND window = start(run, 96);
    ASSERT_NE(nullptr, window);
    const RECT outer = screenRectOf(window);
    const RECT given = {outer.left + 10, outer.top + 20,
                        outer.left + 10 + (outer.right - outer.left) * 3 / 2,
                        outer.top + 20 + (outer.bottom - outer.top) * 3 / 2};
    void* remote = VirtualAllocEx(run.handle(), nullptr, sizeof given, MEM_COMMIT, PAGE_READWRITE);
    ASSERT_NE(nullptr, remote);
    ASSERT_TRUE(WriteProcessMemory(run.handle(), remote, &given, sizeof given, nullptr));
    DWORD_PTR result = 1;
    ASSERT_TRUE(SendMessageTimeoutA(window, WM_DPICHANGED, MAKEWPARAM(144, 144),
                                    reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 5000,
                                    &result));
    EXPECT_EQ(0u, result);
    const RECT now = screenRectOf(window);
    EXPECT_TRUE(EqualRect(&given, &now)) << rectText(now);
    const Tlayout moved = layoutOf(window);
    const double across = double(moved.client.cx) / at144.client.cx;
    for (size_t i = 0; i < moved.children.size(); ++i) {
        const RECT &a = at144.children[i], &b = moved.children[i];
        // Wine keeps the first DPI's caption, so compare lefts, bottom gaps, tops or heights.
        const bool pane = childIds[i] == IDC_DEFINITION;
        EXPECT_TRUE(closeTo(a.left * across, b.left) &&
                    closeTo(at144.client.cy - a.bottom, moved.client.cy - b.bottom) &&
                    (pane ? closeTo(a.top, b.top) : closeTo(a.bottom - a.top, b.bottom - b.top)))
            << "child " << childIds[i] << ": " << rectText(b) << " against " << rectText(a);
    }
    EXPECT_TRUE(closeTo(at144.paneLineHeight, moved.paneLineHeight)) << moved.paneLineHeight;
}

// Wider than the work area (288 DPI): caption and Exit start on it; the saved choice saves that.
TEST_F(TscaledRun, AWindowLargerThanTheWorkAreaStartsWithItsCaptionAndExitOnIt) {
    struct Tcase {
        const char* name;
        std::vector<unsigned char> record;
        bool flushFar;  // with the far edges, else at the near ones
    } cases[] = {
        {"bottom right", startupRecord(5, 0, 0, 0), true},
        {"saved past the far edges", startupRecord(0, 0, 3000, 3000), true},
    };
    for (const Tcase& c : cases) {
        SCOPED_TRACE(c.name);
        deleteProgramKey();
        useRecord(c.record);
        TexitingRun run;
        HWND window = start(run, 288);
        ASSERT_NE(nullptr, window);
        MONITORINFO monitor = {sizeof monitor, {}, {}, 0};
        GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
        const RECT area = monitor.rcWork, outer = screenRectOf(window);
        const int width = outer.right - outer.left, height = outer.bottom - outer.top;
        ASSERT_GT(width, area.right - area.left) << "the window must be wider than the work area";
        auto expected = [&](int nearEdge, int farEdge, int size) {
            return nearEdge + (c.flushFar ? std::max(0, farEdge - nearEdge - size) : 0);
        };
        EXPECT_EQ(expected(area.left, area.right, width), outer.left);
        EXPECT_EQ(expected(area.top, area.bottom, height), outer.top);
        RECT exit = screenRectOf(GetDlgItem(window, IDC_EXIT)), common = {};
        EXPECT_TRUE(IntersectRect(&common, &exit, &area) && EqualRect(&common, &exit));
        run.exit();
        const bool saved = c.record[0] == 0;
        EXPECT_EQ(saved ? startupRecord(0, 0, outer.left, outer.top) : c.record,
                  programValues()["Startup"]);
    }
}

// Wine treats every program as DPI-aware, so only the manifest shows what Windows will read.
TEST(Manifest, DeclaresPerMonitorAwarenessWithASystemAwareFallback) {
    const auto program = programResources();
    ASSERT_NE(nullptr, program);
    HRSRC found = FindResourceA(program.get(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(nullptr, found);
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(program.get(), found)));
    ASSERT_NE(nullptr, bytes);
    const std::string manifest(bytes, SizeofResource(program.get(), found));
    const char* const entries[] = {
        "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm"
        "</dpiAware>",
        "<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
        "PerMonitorV2, PerMonitor</dpiAwareness>",
        "<requestedExecutionLevel level=\"asInvoker\"",
    };
    for (const char* entry : entries) EXPECT_NE(std::string::npos, manifest.find(entry)) << entry;
}

}  // namespace
