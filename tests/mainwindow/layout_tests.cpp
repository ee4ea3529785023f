// The main window's arithmetic one screen does not show: minimum width, placement in 16 bits,
// reachable captions, the button row's odd widths, MulDiv rounding, the band at other scalings.
#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "mainwindow/layout.h"

namespace {

TEST(MainWindowSize, WidestAlphabetButNeverUnderTheMinimum) {
    EXPECT_EQ(307, mainWindowSize(200, 250, 0, 0).width);
    EXPECT_EQ(307, mainWindowSize(-50, -10, 0, 0).width) << "nonsense measurements";
    EXPECT_EQ(313, mainWindowSize(291, 100, 3, 0).width);
    EXPECT_EQ(308, mainWindowSize(100, 292, 0, 0).width);
}

// Work areas of a 1280x1024 screen without a taskbar, and with one at the bottom, left or top.
const Trect wholeScreen{0, 0, 1280, 1024}, bottomBar{0, 0, 1280, 984}, leftBar{60, 0, 1220, 1024},
    topBar{0, 30, 1280, 994};

TEST(MainWindowPosition, OnTheWorkAreaInSixteenBitsAndNeverStartingOffIt) {
    const Tsize window{441, 277};
    const Trect small{0, 0, 400, 200}, smallBesideLeftBar{60, 0, 400, 200};
    struct Tcase {
        const char* name;
        Trect workArea;
        TwindowSettings settings;  // choice, on top, left, top
        int x, y;
    } cases[] = {
        {"saved left of and above the screen", wholeScreen, {0, 0, -30, -1}, 0, 0},
        {"saved past the right and bottom edges", wholeScreen, {0, 0, 2000, 900}, 839, 747},
        {"centred: odd leftovers truncate", wholeScreen, {1, 0, 0, 0}, 419, 373},
        {"bottom right, above a bottom taskbar", bottomBar, {5, 0, 0, 0}, 839, 707},
        {"bottom left, beside a left taskbar", leftBar, {4, 0, 0, 0}, 60, 747},
        {"top right, below a top taskbar", topBar, {3, 0, 0, 0}, 839, 30},
        {"centred beside a left taskbar", leftBar, {1, 0, 0, 0}, 449, 373},
        {"saved on a bottom taskbar", bottomBar, {0, 0, 100, 900}, 100, 707},
        // Larger than the work area: the top-left corner, with the caption, stays on it.
        {"saved, small work area", small, {0, 0, 10, 10}, 0, 0},
        {"bottom right, small work area", small, {5, 0, 0, 0}, 0, 0},
        {"centred, small work area", small, {1, 0, 0, 0}, 0, 0},
        {"bottom right, small work area beside a left taskbar",
         smallBesideLeftBar,
         {5, 0, 0, 0},
         60,
         0},
        {"top right, width past 32767 wraps",
         {0, 0, 70000, 1024},
         {3, 0, 0, 0},
         70000 - 441 - 65536,
         0},
    };
    for (const Tcase& c : cases) {
        Tpoint at = mainWindowPosition(c.settings, c.workArea, window);
        EXPECT_EQ(std::make_pair(c.x, c.y), std::make_pair(at.x, at.y)) << c.name;
    }
}

// A second monitor of 1024x768 right of a primary with a bottom taskbar, and captions 441 wide
// and 25 high at their top-left corners.
TEST(CaptionReachable, SomeOfTheCaptionLiesOnAWorkArea) {
    const Trect areas[] = {bottomBar, {1280, 0, 1024, 768}};
    struct Tcase {
        const char* name;
        int x, y;
        bool reachable;
    } cases[] = {
        {"partly off the left edge", -300, 100, true},  {"partly above the top", 100, -10, true},
        {"just above the top", 100, -25, false},        {"on the taskbar", 100, 990, false},
        {"left of every monitor", -441, 100, false},    {"on the second monitor", 1500, 100, true},
        {"below the second monitor", 1500, 768, false}, {"across both monitors", 1000, 500, true},
    };
    for (const Tcase& c : cases)
        EXPECT_EQ(c.reachable, captionReachable(Trect{c.x, c.y, 441, 25}, areas, 2)) << c.name;
}

TEST(ScreenFromWorkspace, RestoredCornersMoveByThePrimaryWorkAreasCorner) {
    struct Tcase {
        Trect primaryWorkArea;
        int x, y;
    } cases[] = {{wholeScreen, 100, 50}, {topBar, 100, 80}, {leftBar, 160, 50}};
    for (const Tcase& c : cases) {
        const Tpoint at = screenFromWorkspace(Tpoint{100, 50}, c.primaryWorkArea);
        EXPECT_EQ(std::make_pair(c.x, c.y), std::make_pair(at.x, at.y)) << c.primaryWorkArea.left;
    }
}

// Five or six buttons: one row, equal widths a scaled pixel apart, the remainder to "&Options".
TEST(ButtonRow, EqualButtonsAScaledPixelApartWithTheRemainderToOptions) {
    const TbuttonSlot six[] = {exitSlot, nextWordSlot, againSlot, optionsSlot, helpSlot, aboutSlot};
    const TbuttonSlot five[] = {exitSlot, nextWordSlot, optionsSlot, helpSlot, aboutSlot};
    for (int dpi : {96, 144})
        for (bool withAgain : {false, true})
            for (int clientWidth : {301, 305, 306, 307, 312, 433, 650}) {
                SCOPED_TRACE(testing::Message()
                             << clientWidth << " at " << dpi << (withAgain ? " six" : " five"));
                const Tsize client{clientWidth, 371};
                const int count = withAgain ? 6 : 5, gap = scaledForDpi(1, dpi);
                const int equal = (clientWidth - (count + 1) * gap) / count;
                const std::vector<int> row = {client.height - scaledForDpi(22, dpi),
                                              scaledForDpi(21, dpi)};
                int nextLeft = gap;
                for (int i = 0; i < count; ++i) {
                    const TbuttonSlot slot = withAgain ? six[i] : five[i];
                    const Trect button = buttonRect(client, slot, dpi, withAgain);
                    EXPECT_EQ(nextLeft, button.left) << slot;
                    EXPECT_EQ(row, (std::vector<int>{button.top, button.height})) << slot;
                    if (slot == optionsSlot)
                        EXPECT_LT(unsigned(button.width - equal), unsigned(count));
                    else EXPECT_EQ(equal, button.width) << slot;
                    nextLeft = button.left + button.width + gap;
                }
                EXPECT_EQ(clientWidth, nextLeft) << "the last button ends a gap from the edge";
            }
}

// The narrowest row whose every button holds the caption and its margins; the window is that wide.
TEST(ButtonRow, CaptionWidthGivesTheNarrowestRowThatHoldsEveryCaption) {
    const struct {
        int caption, dpi;
        bool withAgain;
    } cases[] = {{57, 96, false},  {79, 96, false}, {79, 96, true},
                 {120, 144, true}, {1, 144, false}, {0, 96, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.caption << " at " << c.dpi << (c.withAgain ? " six" : ""));
        const int width = captionRowWidth(c.caption, c.withAgain, c.dpi);
        const int padding = 2 * scaledForDpi(4, c.dpi);
        int narrowest = width;
        for (int slot = exitSlot; slot <= (c.withAgain ? againSlot : aboutSlot); ++slot)
            narrowest =
                std::min(narrowest,
                         buttonRect(Tsize{width, 300}, TbuttonSlot(slot), c.dpi, c.withAgain).width);
        EXPECT_EQ(c.caption + padding, narrowest);
        EXPECT_LT(buttonRect(Tsize{width - 1, 300}, exitSlot, c.dpi, c.withAgain).width,
                  c.caption + padding);
        const Tsize outer = mainWindowSize(100, 100, 3, 3, c.dpi, width);
        EXPECT_EQ(std::max(width, scaledForDpi(307, c.dpi)) + 6, outer.width);
    }
}

TEST(ScaledForDpi, RoundsHalvesAwayFromZeroLikeMulDiv) {
    // clang-format off
    struct Tcase { int pixels, dpi, expected; } cases[] = {
        {13, 96, 13}, {13, 144, 20}, {13, 120, 16}, {1, 144, 2}, {1, 120, 1}, {-3, 144, -5},
        {-1, 144, -2}, {307, 144, 461}, {266, 192, 532}, {22, 168, 39}, {0, 192, 0},
        {26, 0, 26}, {26, -96, 26}, {2000000000, 192, 2147483647},
    };
    // clang-format on
    for (const Tcase& c : cases)
        EXPECT_EQ(c.expected, scaledForDpi(c.pixels, c.dpi)) << c.pixels << " at " << c.dpi;
}

bool near(int expected, int actual) { return std::abs(expected - actual) <= 2; }

// The title band and word origin grow with the DPI (pane and buttons: mainwindow_e2e_tests).
void expectScaledLayout(int dpi) {
    const double factor = dpi / 96.0;
    const Tsize client{433, 247};
    const int title = 30;
    const Tsize big{int(client.width * factor), int(client.height * factor)};
    const int bigTitle = int(title * factor);
    auto check = [&](const char* what, Trect at96, Trect scaled) {
        EXPECT_TRUE(near(int(at96.left * factor), scaled.left) &&
                    near(int(at96.top * factor), scaled.top) &&
                    near(int(at96.width * factor), scaled.width) &&
                    near(int(at96.height * factor), scaled.height))
            << what << " at " << dpi << ": " << scaled.left << "," << scaled.top << " "
            << scaled.width << "x" << scaled.height;
    };
    TbandFrame band = titleBandFrame(client, title), bigBand = titleBandFrame(big, bigTitle, dpi);
    check("band", {band.left, band.top, band.right, band.bottom},
          {bigBand.left, bigBand.top, bigBand.right, bigBand.bottom});
    Tpoint word = titleWordOrigin(band), bigWord = titleWordOrigin(bigBand, dpi);
    check("word", {word.x, word.y, 0, 0}, {bigWord.x, bigWord.y, 0, 0});
}

TEST(ScaledLayout, EveryRectangleGrowsWithTheDpi) {
    for (int dpi : {120, 144, 192}) expectScaledLayout(dpi);
}

TEST(SavedWindowPosition, StaysOnTheMonitorItWasSavedOn) {
    const Tsize window{441, 277};
    struct Tcase {
        const char* name;
        Trect monitor;
        int left, top;
        int x, y;
    } cases[] = {
        {"inside a monitor left of the primary", {-1920, 0, 1920, 1080}, -1500, 100, -1500, 100},
        {"past the left monitor's left edge", {-1920, 0, 1920, 1080}, -2500, 100, -1920, 100},
        {"past the far edges of a monitor above", {0, -900, 1600, 900}, 1500, -100, 1159, -277},
        {"on a monitor smaller than the window", {2000, 0, 400, 200}, 2100, 50, 2000, 0},
        {"on a taskbar left of the primary", {-1920, 0, 1920, 1040}, -500, 1000, -500, 763},
    };
    for (const Tcase& c : cases) {
        TwindowSettings saved{positionSaved, 0, int16_t(c.left), int16_t(c.top)};
        Tpoint at = savedWindowPosition(saved, c.monitor, window);
        EXPECT_EQ(std::make_pair(c.x, c.y), std::make_pair(at.x, at.y)) << c.name;
    }
}

}  // namespace
