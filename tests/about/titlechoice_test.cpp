// The title drawing for the About box's place: the largest that fits, else the plain one.
#include <gtest/gtest.h>

#include "about/titlechoice.h"

namespace {

TEST(TitlePicturePercent, LargestDrawingThatFitsItsPlace) {
    const struct {
        const char* name;
        int width, height, percent;
    } cases[] = {
        {"96 DPI, one pixel short", 200, 99, 100},
        {"a place too small for anything", 150, 60, 100},
        {"125%", 250, 124, 100},
        {"150%", 300, 150, 150},
        {"150% with a font that grew less", 300, 129, 100},
        {"wide enough for 200% but not tall", 400, 160, 150},
        {"200%", 400, 198, 200},
        {"larger than every drawing", 800, 400, 200},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.percent, titlePicturePercent(c.width, c.height)) << c.name;
}

}  // namespace
