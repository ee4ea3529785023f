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
// Between a caption and its button's sides: the frame, the focus rectangle and a pixel of air.
const int captionPadding = 4;

int titleBandBottom(int titleHeight, int dpi) {
    return scaledForDpi(edgeMargin, dpi) + titleHeight + 2 * scaledForDpi(bandTextInset, dpi);
}

int16_t cut16(int value) { return static_cast<int16_t>(value); }

// A saved coordinate lowered to the limit and then raised to the work area's near edge, in that
// order, so a window bigger than the work area starts at its near edge.
int16_t clampSaved(int16_t saved, int16_t low, int16_t limit) {
    int16_t value = saved;
    if (value > limit) value = limit;
    if (value < low) value = low;
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

Tsize mainWindowSize(int titleTextWidth, int paneTextWidth, int dlgFrameX, int dlgFrameY, int dpi,
                     int captionRowWidth) {
    int widest = std::max({0, titleTextWidth, paneTextWidth});
    Tsize size;
    size.width = std::max({widest + scaledForDpi(textMargin, dpi),
                           scaledForDpi(minimumInnerWidth, dpi), captionRowWidth}) +
                 2 * dlgFrameX;
    size.height = scaledForDpi(innerHeight, dpi) + 2 * dlgFrameY;
    return size;
}

Tpoint mainWindowPosition(const TwindowSettings& settings, Trect workArea, Tsize window) {
    if (settings.positionChoice == positionSaved)
        return savedWindowPosition(settings, workArea, window);
    const int16_t left = cut16(workArea.left), top = cut16(workArea.top);
    const int16_t roomX = cut16(cut16(workArea.width) - cut16(window.width));
    const int16_t roomY = cut16(cut16(workArea.height) - cut16(window.height));
    int16_t x = 0;
    int16_t y = 0;
    switch (settings.positionChoice) {
    case positionTopLeft: break;
    case positionTopRight: x = roomX; break;
    case positionBottomLeft: y = roomY; break;
    case positionBottomRight:
        x = roomX;
        y = roomY;
        break;
    default:  // centred, and any choice the program does not know
        x = cut16(roomX / 2);
        y = cut16(roomY / 2);
        break;
    }
    // No room on an axis: the window starts at the work area's near edge.
    return Tpoint{cut16(left + std::max<int16_t>(x, 0)), cut16(top + std::max<int16_t>(y, 0))};
}

Tpoint savedWindowPosition(const TwindowSettings& settings, Trect workArea, Tsize window) {
    int16_t right = cut16(cut16(workArea.left + workArea.width) - cut16(window.width));
    int16_t bottom = cut16(cut16(workArea.top + workArea.height) - cut16(window.height));
    return Tpoint{clampSaved(settings.savedLeft, cut16(workArea.left), right),
                  clampSaved(settings.savedTop, cut16(workArea.top), bottom)};
}

bool captionReachable(const Trect& caption, const Trect* workAreas, int workAreaCount) {
    for (int i = 0; i < workAreaCount; ++i) {
        const Trect& area = workAreas[i];
        const long long left = std::max<long long>(caption.left, area.left);
        const long long top = std::max<long long>(caption.top, area.top);
        const long long right =
            std::min<long long>(0LL + caption.left + caption.width, 0LL + area.left + area.width);
        const long long bottom =
            std::min<long long>(0LL + caption.top + caption.height, 0LL + area.top + area.height);
        if (left < right && top < bottom) return true;
    }
    return false;
}

Tpoint screenFromWorkspace(Tpoint corner, const Trect& primaryWorkArea) {
    return Tpoint{corner.x + primaryWorkArea.left, corner.y + primaryWorkArea.top};
}

Trect definitionPaneRect(Tsize client, int titleHeight, int dpi) {
    const int margin = scaledForDpi(edgeMargin, dpi);
    int top = titleBandBottom(titleHeight, dpi) + margin;
    int bottom = client.height - scaledForDpi(buttonRowOffset, dpi) - margin;
    return Trect{margin, top, client.width - 2 * margin, bottom - top};
}

Trect buttonRect(Tsize client, TbuttonSlot slot, int dpi, bool withAgain) {
    const TbuttonSlot fiveInRow[] = {exitSlot, nextWordSlot, optionsSlot, helpSlot, aboutSlot};
    const TbuttonSlot sixInRow[] = {exitSlot,    nextWordSlot, againSlot,
                                    optionsSlot, helpSlot,     aboutSlot};
    const TbuttonSlot* row = withAgain ? sixInRow : fiveInRow;
    const int count = withAgain ? buttonCount + 1 : buttonCount;
    const int gap = scaledForDpi(buttonGap, dpi);
    int available = client.width - (count + 1) * gap;
    int equal = available / count;
    // The remainder of the division goes to "&Options".
    int wider = available - (count - 1) * equal;
    int left = gap;
    for (int at = 0; at < count && row[at] != slot; ++at)
        left += (row[at] == optionsSlot ? wider : equal) + gap;
    int width = slot == optionsSlot ? wider : equal;
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

int captionRowWidth(int widestCaption, bool withAgain, int dpi) {
    const int count = withAgain ? buttonCount + 1 : buttonCount;
    const int button = std::max(0, widestCaption) + 2 * scaledForDpi(captionPadding, dpi);
    return count * button + (count + 1) * scaledForDpi(buttonGap, dpi);
}
