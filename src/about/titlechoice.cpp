// The title picture's drawing for a place; see titlechoice.h.
#include "about/titlechoice.h"

#include <initializer_list>

namespace {

const int plainWidth = 200;
const int plainHeight = 100;
// A drawing may overhang its place by this much: at 96 DPI the place is 200 x 99.
const int overhang = 2;

}  // namespace

int titlePicturePercent(int placeWidth, int placeHeight) {
    for (int percent : {200, 150}) {
        if (plainWidth * percent / 100 <= placeWidth + overhang &&
            plainHeight * percent / 100 <= placeHeight + overhang)
            return percent;
    }
    return 100;
}
