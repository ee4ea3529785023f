// The title picture's drawing for each common scaling: the nearest one, and never a larger one
// at a tie.
#include <gtest/gtest.h>

#include "about/titlechoice.h"

namespace {

TEST(TitlePicturePercent, NearestDrawingWithTiesToTheSmaller) {
    const struct {
        int dpi, percent;
    } cases[] = {
        {0, 100},   {72, 100},  {96, 100},  {110, 100}, {120, 100}, {121, 150},
        {144, 150}, {168, 150}, {169, 200}, {192, 200}, {288, 200},
    };
    for (const auto& c : cases) EXPECT_EQ(c.percent, titlePicturePercent(c.dpi)) << c.dpi;
}

}  // namespace
