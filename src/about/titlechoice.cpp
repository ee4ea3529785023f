// The title picture's drawing for a DPI; see titlechoice.h.
#include "about/titlechoice.h"

int titlePicturePercent(int dpi) {
    // Halfway between the drawings: 120 DPI (125%) and 168 DPI (175%).
    if (dpi <= 120) return 100;
    if (dpi <= 168) return 150;
    return 200;
}
