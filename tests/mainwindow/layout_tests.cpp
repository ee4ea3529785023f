// The main window's arithmetic that can go wrong without showing on one screen: the minimum
// width, placement in 16 bits with clamping, and the button row's share of odd widths.
#include <gtest/gtest.h>

#include <utility>

#include "mainwindow/layout.h"

namespace {

TEST(MainWindowSize, WidestAlphabetButNeverUnderTheMinimum) {
    EXPECT_EQ(307, mainWindowSize(200, 250, 0, 0).width);
    EXPECT_EQ(307, mainWindowSize(-50, -10, 0, 0).width) << "nonsense measurements";
    EXPECT_EQ(313, mainWindowSize(291, 100, 3, 0).width);
    EXPECT_EQ(308, mainWindowSize(100, 292, 0, 0).width);
}

TEST(MainWindowPosition, SixteenBitArithmeticAndClamping) {
    const Tsize window{441, 277}, large{1280, 1024}, small{400, 200};
    struct Tcase {
        const char* name;
        Tsize screen;
        TwindowSettings settings;  // choice, on top, left, top
        int x, y;
    } cases[] = {
        {"saved left of and above the screen", large, {0, 0, -30, -1}, 0, 0},
        {"saved past the right and bottom edges", large, {0, 0, 2000, 900}, 839, 747},
        {"centred: odd leftovers truncate", large, {1, 0, 0, 0}, 419, 373},
        // Smaller than the window: raised to 0, then lowered to the negative limit.
        {"saved, small screen", small, {0, 0, 10, 10}, -41, -77},
        {"centred, small screen: truncates toward zero", small, {1, 0, 0, 0}, -20, -38},
        {"top right, width past 32767 wraps", {70000, 1024}, {3, 0, 0, 0}, 70000 - 441 - 65536, 0},
    };
    for (const Tcase& c : cases) {
        Tpoint at = mainWindowPosition(c.settings, c.screen, window);
        EXPECT_EQ(std::make_pair(c.x, c.y), std::make_pair(at.x, at.y)) << c.name;
    }
}

TEST(ButtonRow, EqualButtonsWithOneBitGapsAndTheRemainderToOptions) {
    for (int clientWidth : {301, 305, 306, 307, 433}) {
        const Tsize client{clientWidth, 247};
        const int equal = buttonRect(client, exitSlot).width;
        int nextLeft = 1;
        for (int slot = exitSlot; slot < buttonCount; ++slot) {
            SCOPED_TRACE(testing::Message() << clientWidth << " slot " << slot);
            Trect button = buttonRect(client, static_cast<TbuttonSlot>(slot));
            EXPECT_EQ(nextLeft, button.left);
            if (slot == optionsSlot) EXPECT_LT(unsigned(button.width - equal), 5u) << "remainder";
            else EXPECT_EQ(equal, button.width);
            nextLeft = button.left + button.width + 1;
        }
        EXPECT_EQ(clientWidth, nextLeft) << "the last button ends one pixel from the edge";
    }
}

}  // namespace
