// The colour-table arithmetic on the host, and the committed title bitmap file's exact form.
#include "about/dibcolours.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "about/title_form.h"

namespace {

TEST(DibColourCount, FollowsColoursUsedThenPixelSize) {
    struct Case {
        uint32_t coloursUsed;
        uint16_t bitsPerPixel;
        uint32_t expected;
    };
    const Case cases[] = {
        {36, 8, 36},   // the title bitmap: its own count
        {0, 8, 256},   // unset, 8 bits: all that 8 bits index
        {0, 24, 0},    // unset, true colour: no table
        {0, 1, 2},     {0, 4, 16}, {2, 1, 2},
        {0, 16, 0},    {0, 32, 0},
        {12, 24, 12},  // a true-colour bitmap may still carry a table
    };
    for (const Case& c : cases) {
        EXPECT_EQ(dibColourCount(c.coloursUsed, c.bitsPerPixel), c.expected)
            << c.coloursUsed << " used, " << c.bitsPerPixel << " bits";
    }
}

TEST(DibPixelOffset, SkipsHeaderAndFourBytesPerColour) {
    EXPECT_EQ(dibPixelOffset(40, 36), 184u);
    EXPECT_EQ(dibPixelOffset(40, 0), 40u);
    EXPECT_EQ(dibPixelOffset(124, 256), 1148u);  // a larger header moves the table
}

TEST(PaletteFromColourTable, TakesRedGreenBlueInThatOrderWithFlagsZero) {
    // Blue, green, red, reserved; the reserved bytes are sentinels that must not leak into flags.
    const uint8_t table[] = {0x10, 0x20, 0x30, 0xbd,  // blue, green, red, reserved
                             0xff, 0x00, 0x7f, 0xbd,  //
                             0x01, 0x02, 0x03, 0xbd};
    const std::vector<TpaletteColour> entries = paletteFromColourTable(table, 3);
    struct Expected {
        uint8_t red, green, blue;
    };
    const Expected expected[] = {{0x30, 0x20, 0x10}, {0x7f, 0x00, 0xff}, {0x03, 0x02, 0x01}};
    ASSERT_EQ(entries.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(entries[i].red, expected[i].red) << "entry " << i;
        EXPECT_EQ(entries[i].green, expected[i].green) << "entry " << i;
        EXPECT_EQ(entries[i].blue, expected[i].blue) << "entry " << i;
        EXPECT_EQ(entries[i].flags, 0) << "entry " << i;
    }
    EXPECT_TRUE(paletteFromColourTable(table, 0).empty());
}

TEST(TitleBitmapFile, HasTheFormTheDialogIsMadeFor) {
    std::ifstream file(LEXORIA_TITLE_BMP, std::ios::binary);
    ASSERT_TRUE(file) << LEXORIA_TITLE_BMP;
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                     std::istreambuf_iterator<char>()};
    constexpr size_t kFileHeader = 14;
    ASSERT_EQ(bytes.size(), kFileHeader + about_test::kPackedBytes);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    const about_test::TheaderField pixelStart{"offset of the pixel rows", 10, 4, 0};
    EXPECT_EQ(about_test::headerField(bytes.data(), pixelStart),
              static_cast<int64_t>(kFileHeader + 40 + about_test::kColourTableBytes));
    for (const about_test::TheaderField& field : about_test::kTitleHeader) {
        EXPECT_EQ(about_test::headerField(bytes.data() + kFileHeader, field), field.expected)
            << field.name;
    }
}

}  // namespace
