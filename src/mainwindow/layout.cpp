// Main window geometry and placement; see layout.h.
#include "mainwindow/layout.h"

#include <algorithm>
#include <cstdint>

const char measuringText[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
const int measuringTextLength = sizeof measuringText - 1;

namespace {

// The client area is laid out for a window at least this wide (outer width less the frames),
// and this tall (outer height less the frames; the caption comes out of it).
const int minimumInnerWidth = 307;
const int innerHeight = 266;
// Margin between the measured text and the window's sides.
const int textMargin = 16;

// The pane and the title band keep 8 pixels from the window's edges and from each other, and
// the pane as much from the button row.
const int edgeMargin = 8;
// Inside the title band, the word keeps 2 pixels from the top edge and from the bottom one.
const int bandTextInset = 2;
// The button row: top 22 pixels above the client bottom, 21 pixels high, with a one-pixel
// margin at each side and a one-pixel gap between buttons.
const int buttonRowOffset = 22;
const int buttonHeight = 21;
const int buttonGap = 1;

int titleBandBottom(int titleHeight) { return edgeMargin + titleHeight + 2 * bandTextInset; }

int16_t cut16(int value) { return static_cast<int16_t>(value); }

// A saved coordinate raised to 0 and then lowered to the limit, in that order, so a window
// bigger than the screen ends at the (negative) limit.
int16_t clampSaved(int16_t saved, int16_t limit) {
    int16_t value = saved;
    if (value < 0) value = 0;
    if (value > limit) value = limit;
    return value;
}

}  // namespace

Tsize mainWindowSize(int titleTextWidth, int paneTextWidth, int dlgFrameX, int dlgFrameY) {
    int widest = std::max({0, titleTextWidth, paneTextWidth});
    Tsize size;
    size.width = std::max(widest + textMargin, minimumInnerWidth) + 2 * dlgFrameX;
    size.height = innerHeight + 2 * dlgFrameY;
    return size;
}

Tpoint mainWindowPosition(const TwindowSettings& settings, Tsize screen, Tsize window) {
    int16_t right = cut16(cut16(screen.width) - cut16(window.width));
    int16_t bottom = cut16(cut16(screen.height) - cut16(window.height));
    int16_t x = 0;
    int16_t y = 0;
    switch (settings.positionChoice) {
    case positionSaved:
        x = clampSaved(settings.savedLeft, right);
        y = clampSaved(settings.savedTop, bottom);
        break;
    case positionTopLeft: break;
    case positionTopRight: x = right; break;
    case positionBottomLeft: y = bottom; break;
    case positionBottomRight:
        x = right;
        y = bottom;
        break;
    default:  // centred, and any choice the program does not know
        x = cut16(right / 2);
        y = cut16(bottom / 2);
        break;
    }
    return Tpoint{x, y};
}

Trect definitionPaneRect(Tsize client, int titleHeight) {
    int top = titleBandBottom(titleHeight) + edgeMargin;
    int bottom = client.height - buttonRowOffset - edgeMargin;
    return Trect{edgeMargin, top, client.width - 2 * edgeMargin, bottom - top};
}

Trect buttonRect(Tsize client, TbuttonSlot slot) {
    int available = client.width - (buttonCount + 1) * buttonGap;
    int equal = available / buttonCount;
    // The remainder of the division goes to the middle button.
    int middle = available - (buttonCount - 1) * equal;
    int left = buttonGap;
    for (int before = 0; before < slot; ++before)
        left += (before == optionsSlot ? middle : equal) + buttonGap;
    int width = slot == optionsSlot ? middle : equal;
    return Trect{left, client.height - buttonRowOffset, width, buttonHeight};
}

TbandFrame titleBandFrame(Tsize client, int titleHeight) {
    return TbandFrame{edgeMargin, edgeMargin, client.width - edgeMargin,
                      titleBandBottom(titleHeight)};
}

Tpoint titleWordOrigin(const TbandFrame& frame) {
    return Tpoint{(frame.left + frame.right) / 2, frame.top + bandTextInset};
}
