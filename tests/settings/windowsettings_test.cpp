// The "Startup" record's bytes: four little-endian 16-bit fields, and the defaults that stand in
// for a stored value of the wrong size.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "settings/windowsettings.h"

namespace {

std::array<int, 4> fields(const TwindowSettings& s) {
    return {s.positionChoice, s.alwaysOnTop, s.savedLeft, s.savedTop};
}

TEST(WindowSettings, EightBytesAreFourLittleEndianFieldsAndOtherSizesGiveTheDefaults) {
    // The choice and the position are signed, "always on top" is not.
    const unsigned char bytes[9] = {0xFF, 0xFF, 0x02, 0x80, 0x9C, 0xFF, 0x34, 0x12, 0x09};
    TwindowSettings settings;
    ASSERT_TRUE(settings.fromBytes(bytes, 8));
    EXPECT_EQ((std::array<int, 4>{-1, 0x8002, -100, 0x1234}), fields(settings));
    // Exactly sized, so a write past the record shows under the sanitizer.
    unsigned char out[TwindowSettings::recordSize];
    settings.toBytes(out);
    EXPECT_TRUE(std::equal(std::begin(out), std::end(out), bytes));
    for (unsigned long size : {7ul, 9ul}) {
        EXPECT_FALSE(settings.fromBytes(bytes, size));
        EXPECT_EQ((std::array<int, 4>{1, 0, 0, 0}), fields(settings));
    }
}

}  // namespace
