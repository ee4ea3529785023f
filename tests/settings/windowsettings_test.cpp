// The "Startup" record's bytes: four little-endian 16-bit fields, and the defaults that stand in
// for a stored value of the wrong size.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "settings/windowsettings.h"

namespace {

void expectFields(int choice, unsigned onTop, int left, int top, const TwindowSettings& s) {
    EXPECT_EQ(choice, s.positionChoice);
    EXPECT_EQ(onTop, s.alwaysOnTop);
    EXPECT_EQ(left, s.savedLeft);
    EXPECT_EQ(top, s.savedTop);
}

TEST(WindowSettings, EightBytesReadAndWriteAsFourLittleEndianFields) {
    const struct {
        std::vector<unsigned char> bytes;
        int choice;
        unsigned onTop;
        int left, top;
    } cases[] = {
        {{1, 0, 0, 0, 0, 0, 0, 0}, 1, 0, 0, 0},
        {{0, 0, 2, 0, 0x9C, 0xFF, 0x38, 0xFF}, 0, 2, -100, -200},
        {{5, 0, 1, 0, 0x34, 0x12, 0xFF, 0x7F}, 5, 1, 0x1234, 32767},
        {{0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x80, 0x01, 0x00}, -1, 0xFFFF, -32768, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.choice << " " << c.left << " " << c.top);
        TwindowSettings settings;
        settings.positionChoice = 3;
        settings.savedLeft = 77;
        ASSERT_TRUE(settings.fromBytes(c.bytes.data(), 8));
        expectFields(c.choice, c.onTop, c.left, c.top, settings);
        unsigned char out[TwindowSettings::recordSize + 1];
        std::fill(std::begin(out), std::end(out), 0xBD);
        settings.toBytes(out);
        EXPECT_TRUE(std::equal(c.bytes.begin(), c.bytes.end(), out));
        EXPECT_EQ(0xBD, out[TwindowSettings::recordSize]);
    }
}

TEST(WindowSettings, AnyOtherSizeGivesTheDefaultsCentredAndNotOnTop) {
    const unsigned char bytes[9] = {0, 0, 1, 0, 5, 0, 6, 0, 9};
    for (unsigned long size : {0ul, 7ul, 9ul}) {
        SCOPED_TRACE(size);
        TwindowSettings settings;
        settings.positionChoice = 0;
        settings.alwaysOnTop = 1;
        EXPECT_FALSE(settings.fromBytes(bytes, size));
        expectFields(1, 0, 0, 0, settings);
    }
    TwindowSettings settings;
    settings.alwaysOnTop = 1;
    EXPECT_FALSE(settings.fromBytes(nullptr, 8));
    expectFields(1, 0, 0, 0, settings);
}

}  // namespace
