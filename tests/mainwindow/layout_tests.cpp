// The main window's arithmetic: outer size, placement from the settings record (16-bit, with
// clamping), the child window rows, the title band, the scroll keys and the word list path.
#include <gtest/gtest.h>

#include "mainwindow/layout.h"

namespace {

TwindowSettings record(int16_t choice, int16_t left = 0, int16_t top = 0) {
    TwindowSettings settings;
    settings.positionChoice = choice;
    settings.savedLeft = left;
    settings.savedTop = top;
    return settings;
}

TEST(MainWindowSize, WidestAlphabetOrTheMinimumPlusFrames) {
    struct Case {
        int titleWidth, paneWidth, frameX, frameY;
        int width, height;
    } cases[] = {
        {200, 250, 3, 3, 313, 272},   // both under 291: the minimum
        {291, 100, 3, 3, 313, 272},   // exactly at the minimum
        {292, 100, 3, 3, 314, 272},
        {100, 400, 4, 2, 424, 270},   // the pane font is wider
        {500, 400, 0, 0, 516, 266},
        {-50, -10, 3, 3, 313, 272},   // nonsense measurements still give a usable window
    };
    for (const Case& c : cases) {
        Tsize size = mainWindowSize(c.titleWidth, c.paneWidth, c.frameX, c.frameY);
        EXPECT_EQ(c.width, size.width) << c.titleWidth << "/" << c.paneWidth;
        EXPECT_EQ(c.height, size.height) << c.titleWidth << "/" << c.paneWidth;
    }
}

TEST(MainWindowPosition, EveryChoiceWithClampingAndSixteenBitArithmetic) {
    const Tsize window{441, 277};  // odd leftovers on the large screen: the centre truncates
    const Tsize large{1280, 1024}, small{400, 200}, wide{70000, 1024};
    struct Case {
        const char* name;
        Tsize screen;
        TwindowSettings settings;
        int x, y;
    } cases[] = {
        {"saved", large, record(0, 100, 50), 100, 50},
        {"saved left of and above the screen", large, record(0, -30, -1), 0, 0},
        {"saved past the right and bottom edges", large, record(0, 2000, 900), 839, 747},
        {"saved exactly at the limits", large, record(0, 839, 747), 839, 747},
        {"centred", large, record(1), 419, 373},
        {"top left", large, record(2, 500, 500), 0, 0},
        {"top right", large, record(3), 839, 0},
        {"bottom left", large, record(4), 0, 747},
        {"bottom right", large, record(5), 839, 747},
        {"unknown choice 6", large, record(6, 10, 10), 419, 373},
        {"negative choice", large, record(-1, 10, 10), 419, 373},
        {"largest choice", large, record(32767), 419, 373},
        // A screen smaller than the window: raised to 0, then lowered to the negative limit;
        // the centre truncates toward zero.
        {"saved, small screen", small, record(0, 10, 10), -41, -77},
        {"centred, small screen", small, record(1), -20, -38},
        {"bottom right, small screen", small, record(5), -41, -77},
        // A width past 32767 wraps as the record's 16-bit fields would.
        {"top right, very wide screen", wide, record(3), int16_t(70000 - 441), 0},
    };
    for (const Case& c : cases) {
        Tpoint at = mainWindowPosition(c.settings, c.screen, window);
        EXPECT_EQ(c.x, at.x) << c.name;
        EXPECT_EQ(c.y, at.y) << c.name;
    }
}

TEST(ChildLayout, ButtonRowSharesTheWidthWithOneBitGaps) {
    const int titleHeight = 26;
    for (int clientWidth : {301, 305, 306, 307, 433, 600}) {
        const Tsize client{clientWidth, 247};
        int nextLeft = 1;
        int widths[buttonCount];
        for (int slot = exitSlot; slot < buttonCount; ++slot) {
            Trect button = buttonRect(client, static_cast<TbuttonSlot>(slot));
            EXPECT_EQ(nextLeft, button.left) << clientWidth << " slot " << slot;
            EXPECT_EQ(client.height - 22, button.top);
            EXPECT_EQ(21, button.height);
            widths[slot] = button.width;
            nextLeft = button.left + button.width + 1;
        }
        EXPECT_EQ(clientWidth, nextLeft) << "the last button ends one pixel from the edge";
        // Every button but Options is the same width; Options takes the leftover pixels.
        int w = widths[exitSlot];
        for (int slot : {nextWordSlot, helpSlot, aboutSlot}) EXPECT_EQ(w, widths[slot]);
        EXPECT_GE(widths[optionsSlot], w);
        EXPECT_LT(widths[optionsSlot], w + 5);

        Trect pane = definitionPaneRect(client, titleHeight);
        EXPECT_EQ(8, pane.left);
        EXPECT_EQ(clientWidth - 16, pane.width);
        EXPECT_EQ(client.height - 30, pane.top + pane.height);
        EXPECT_EQ(buttonRect(client, exitSlot).top - 8, pane.top + pane.height);
    }
}

TEST(ChildLayout, TitleBandSitsAboveThePane) {
    // With a title 26 pixels high the frame runs from 8 to 38 and the pane begins at 46.
    const Tsize client{433, 247};
    TbandFrame band = titleBandFrame(client, 26);
    EXPECT_EQ(8, band.left);
    EXPECT_EQ(8, band.top);
    EXPECT_EQ(425, band.right);
    EXPECT_EQ(38, band.bottom);
    EXPECT_EQ(46, definitionPaneRect(client, 26).top);
    Tpoint word = titleWordOrigin(band);
    EXPECT_EQ(216, word.x);  // (8 + 425) / 2, truncated
    EXPECT_EQ(10, word.y);
}

TEST(PaneKeys, SixNavigationKeysEachAskForTheirScroll) {
    struct Case {
        unsigned key;
        bool scrolls;
        uint32_t request;
    } cases[] = {
        {38, true, 0},             // Up: line up
        {40, true, 1},             // Down: line down
        {33, true, 2},             // Page Up
        {34, true, 3},             // Page Down
        {36, true, 4},             // Home: thumb to 0
        {35, true, 0xFFFF0004u},   // End: thumb to 65535
        {37, false, 0},            // Left
        {39, false, 0},            // Right
        {9, false, 0},             // Tab
        {13, false, 0},            // Enter
        {27, false, 0},            // Escape
        {0x122, false, 0},         // Down's code with a high bit set is another key
    };
    for (const Case& c : cases) {
        uint32_t request = 0xDEADBEEF;
        EXPECT_EQ(c.scrolls, paneScrollRequest(c.key, request)) << c.key;
        EXPECT_EQ(c.scrolls, isPaneNavigationKey(c.key)) << c.key;
        EXPECT_EQ(c.scrolls ? c.request : 0xDEADBEEF, request) << c.key;
    }
}

TEST(WordListPath, BesideTheProgram) {
    struct Case {
        const char* modulePath;
        const char* listPath;
    } cases[] = {
        {"C:\\Program Files\\Lexoria\\Lexoria.exe", "C:\\Program Files\\Lexoria\\lexoria.lst"},
        {"C:\\Lexoria.exe", "C:\\lexoria.lst"},
        {"\\\\server\\share\\a.b\\Lexoria.exe", "\\\\server\\share\\a.b\\lexoria.lst"},
        {"Lexoria.exe", "lexoria.lst"},
        {"C:/forward/slashes/Lexoria.exe", "lexoria.lst"},  // only a backslash separates
        {"", "lexoria.lst"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.listPath, wordListPathFor(c.modulePath)) << c.modulePath;
}

TEST(WordListPath, ModulePathThatFillsTheBufferIsUnusable) {
    struct Case {
        unsigned long length;
        bool usable;
    } cases[] = {{0, false}, {1, true}, {259, true}, {260, false}, {261, false}};
    for (const Case& c : cases) EXPECT_EQ(c.usable, isModulePathUsable(c.length, 260)) << c.length;
}

}  // namespace
