// Main window geometry, placement and key mapping; see layout.h.
#include "mainwindow/layout.h"

#include <algorithm>

const char* const measuringText = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";

namespace {

// The client area is laid out for a window at least this wide (outer width less the frames),
// and this tall (outer height less the frames; the caption comes out of it).
const int minimumInnerWidth = 307;
const int innerHeight = 266;
// Margin between the measured text and the window's sides.
const int textMargin = 16;

// The pane and the title band keep 8 pixels from the window's edges.
const int edgeMargin = 8;
// The button row: top 22 pixels above the client bottom, 21 pixels high, with a one-pixel
// margin at each side and a one-pixel gap between buttons.
const int buttonRowOffset = 22;
const int buttonHeight = 21;

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
    case positionTopLeft:
        break;
    case positionTopRight:
        x = right;
        break;
    case positionBottomLeft:
        y = bottom;
        break;
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
    return Trect{edgeMargin, titleHeight + 20, client.width - 2 * edgeMargin,
                 client.height - titleHeight - 50};
}

Trect buttonRect(Tsize client, TbuttonSlot slot) {
    int available = client.width - 6;
    int w = available / 5;
    // The remainder of the division goes to the middle button.
    int o = available - 4 * w;
    const int lefts[buttonCount] = {1, w + 2, 2 * w + 3, 2 * w + o + 4, 3 * w + o + 5};
    int width = slot == optionsSlot ? o : w;
    return Trect{lefts[slot], client.height - buttonRowOffset, width, buttonHeight};
}

TbandFrame titleBandFrame(Tsize client, int titleHeight) {
    return TbandFrame{edgeMargin, edgeMargin, client.width - edgeMargin, titleHeight + 12};
}

Tpoint titleWordOrigin(const TbandFrame& frame) {
    return Tpoint{(frame.left + frame.right) / 2, frame.top + 2};
}

namespace {

struct TscrollKey {
    unsigned virtualKey;
    uint32_t scrollWParam;
};

// Virtual-key codes and WM_VSCROLL requests by number: Home and End ask for a thumb position,
// 0 or 65535, in the high word.
const uint32_t thumbPosition = 4;
const TscrollKey scrollKeys[] = {
    {38, 0},                              // Up: one line up
    {40, 1},                              // Down: one line down
    {33, 2},                              // Page Up
    {34, 3},                              // Page Down
    {36, thumbPosition},                  // Home: to the top
    {35, thumbPosition | (65535u << 16)}, // End: past the end
};

}  // namespace

bool isPaneNavigationKey(unsigned virtualKey) {
    uint32_t unused = 0;
    return paneScrollRequest(virtualKey, unused);
}

bool paneScrollRequest(unsigned virtualKey, uint32_t& scrollWParam) {
    for (const TscrollKey& key : scrollKeys) {
        if (key.virtualKey == virtualKey) {
            scrollWParam = key.scrollWParam;
            return true;
        }
    }
    return false;
}
