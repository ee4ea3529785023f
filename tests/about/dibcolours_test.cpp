// The colour-table arithmetic of the title bitmap, on the host under the sanitizers.
#include "about/dibcolours.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(DibColourCount, FollowsColoursUsedThenPixelSize) {
    const struct {
        uint32_t coloursUsed;
        uint16_t bitsPerPixel;
        uint32_t expected;
    } cases[] = {
        {36, 8, 36},                // the title bitmap: its own count
        {0, 8, 256},                // unset, 8 bits: all that 8 bits index
        {0, 24, 0},                 // unset, true colour: no table
        {0, 4, 16},  {12, 24, 12},  // a true-colour bitmap may still carry a table
    };
    for (const auto& c : cases)
        EXPECT_EQ(dibColourCount(c.coloursUsed, c.bitsPerPixel), c.expected)
            << c.coloursUsed << " used, " << c.bitsPerPixel << " bits";
}

TEST(PaletteFromColourTable, TakesRedGreenBlueInThatOrderWithFlagsZero) {
    // Blue, green, red, reserved; the reserved bytes must not leak into the flags.
    const uint8_t table[] = {0x10, 0x20, 0x30, 0xbd, 0xff, 0x00, 0x7f, 0xbd};
    const std::vector<TpaletteColour> entries = paletteFromColourTable(table, 2);
    ASSERT_EQ(entries.size(), 2u);
    const TpaletteColour expected[] = {{0x30, 0x20, 0x10, 0}, {0x7f, 0x00, 0xff, 0}};
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(entries[i].red, expected[i].red) << i;
        EXPECT_EQ(entries[i].green, expected[i].green) << i;
        EXPECT_EQ(entries[i].blue, expected[i].blue) << i;
        EXPECT_EQ(entries[i].flags, 0) << i;
    }
}

}  // namespace
