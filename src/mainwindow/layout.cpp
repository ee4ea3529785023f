// Main window geometry and placement; see layout.h.
#include "mainwindow/layout.h"

#include <algorithm>
#include <climits>
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

int titleBandBottom(int titleHeight, int dpi) {
    return scaledForDpi(edgeMargin, dpi) + titleHeight + 2 * scaledForDpi(bandTextInset, dpi);
}

int16_t cut16(int value) { return static_cast<int16_t>(value); }

// A saved coordinate raised to 0 and then lowered to the limit, in that order, so a window
// bigger than the screen ends at the (negative) limit.
int16_t clampSaved(int16_t saved, int16_t low, int16_t limit) {
    int16_t value = saved;
    if (value < low) value = low;
    if (value > limit) value = limit;
    return value;
}

}  // namespace

// Halves round away from zero, as MulDiv rounds them.
int scaledForDpi(int pixels, int dpi) {
    if (dpi <= 0) dpi = standardDpi;
    const long long product = static_cast<long long>(pixels) * dpi;
    const long long half = standardDpi / 2;
    const long long scaled = (product + (product < 0 ? -half : half)) / standardDpi;
    return static_cast<int>(std::clamp<long long>(scaled, INT_MIN, INT_MAX));
}

Tsize mainWindowSize(int titleTextWidth, int paneTextWidth, int dlgFrameX, int dlgFrameY, int dpi) {
    int widest = std::max({0, titleTextWidth, paneTextWidth});
    Tsize size;
    size.width =
        std::max(widest + scaledForDpi(textMargin, dpi), scaledForDpi(minimumInnerWidth, dpi)) +
        2 * dlgFrameX;
    size.height = scaledForDpi(innerHeight, dpi) + 2 * dlgFrameY;
    return size;
}

Tpoint mainWindowPosition(const TwindowSettings& settings, Tsize screen, Tsize window) {
    int16_t right = cut16(cut16(screen.width) - cut16(window.width));
    int16_t bottom = cut16(cut16(screen.height) - cut16(window.height));
    int16_t x = 0;
    int16_t y = 0;
    switch (settings.positionChoice) {
    case positionSaved:
        return savedWindowPosition(settings, Trect{0, 0, screen.width, screen.height}, window);
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

Tpoint savedWindowPosition(const TwindowSettings& settings, Trect monitor, Tsize window) {
    int16_t right = cut16(cut16(monitor.left + monitor.width) - cut16(window.width));
    int16_t bottom = cut16(cut16(monitor.top + monitor.height) - cut16(window.height));
    return Tpoint{clampSaved(settings.savedLeft, cut16(monitor.left), right),
                  clampSaved(settings.savedTop, cut16(monitor.top), bottom)};
}

Trect definitionPaneRect(Tsize client, int titleHeight, int dpi) {
    const int margin = scaledForDpi(edgeMargin, dpi);
    int top = titleBandBottom(titleHeight, dpi) + margin;
    int bottom = client.height - scaledForDpi(buttonRowOffset, dpi) - margin;
    return Trect{margin, top, client.width - 2 * margin, bottom - top};
}

Trect buttonRect(Tsize client, TbuttonSlot slot, int dpi) {
    const int gap = scaledForDpi(buttonGap, dpi);
    int available = client.width - (buttonCount + 1) * gap;
    int equal = available / buttonCount;
    // The remainder of the division goes to the middle button.
    int middle = available - (buttonCount - 1) * equal;
    int left = gap;
    for (int before = 0; before < slot; ++before)
        left += (before == optionsSlot ? middle : equal) + gap;
    int width = slot == optionsSlot ? middle : equal;
    return Trect{left, client.height - scaledForDpi(buttonRowOffset, dpi), width,
                 scaledForDpi(buttonHeight, dpi)};
}

TbandFrame titleBandFrame(Tsize client, int titleHeight, int dpi) {
    const int margin = scaledForDpi(edgeMargin, dpi);
    return TbandFrame{margin, margin, client.width - margin, titleBandBottom(titleHeight, dpi)};
}

Tpoint titleWordOrigin(const TbandFrame& frame, int dpi) {
    return Tpoint{(frame.left + frame.right) / 2, frame.top + scaledForDpi(bandTextInset, dpi)};
}
