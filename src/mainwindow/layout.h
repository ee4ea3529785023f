// The main window's geometry and the small decisions around it, kept free of platform headers so
// the host build can test them: the outer size from the measured fonts, where the settings
// record places the window, and where the pane, buttons and title band go.
#pragma once

#include "settings/windowsettings.h"

struct Tpoint {
    int x = 0;
    int y = 0;
};

struct Tsize {
    int width = 0;
    int height = 0;
};

struct Trect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Every fixed pixel number here is a length at 96 dots per inch; at another DPI each one is
// scaled on its own, rounded as the platform's MulDiv rounds, so a layout at 96 DPI is exactly
// the unscaled one.
const int standardDpi = 96;
int scaledForDpi(int pixels, int dpi);

// The text measured with the title and pane fonts to size the window (the alphabet), and its
// length in characters.
extern const char measuringText[];
extern const int measuringTextLength;

// Outer window size from the two measured alphabet widths and the dialog frame metrics.
Tsize mainWindowSize(int titleTextWidth, int paneTextWidth, int dlgFrameX, int dlgFrameY,
                     int dpi = standardDpi);

// Outer top-left corner for the settings record on a screen of the given size. The arithmetic
// is done in 16 bits, as the record's fields are; a saved position is kept on that screen.
Tpoint mainWindowPosition(const TwindowSettings& settings, Tsize screen, Tsize window);

// The saved position kept inside the monitor (its rectangle in screen coordinates) that holds
// the saved window, or lies nearest to it: the screens or their scaling may have changed since
// the position was saved. Raised to the monitor's top-left corner, then lowered so the window
// ends at its far edges, in 16 bits.
Tpoint savedWindowPosition(const TwindowSettings& settings, Trect monitor, Tsize window);

// Child windows in client coordinates; titleHeight is the title font's measured height.
enum TbuttonSlot { exitSlot, nextWordSlot, optionsSlot, helpSlot, aboutSlot, buttonCount };
Trect definitionPaneRect(Tsize client, int titleHeight, int dpi = standardDpi);
Trect buttonRect(Tsize client, TbuttonSlot slot, int dpi = standardDpi);

// The sunken frame of the title band (right and bottom are edges, not extents) and where the
// word's top centre goes inside it.
struct TbandFrame {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
TbandFrame titleBandFrame(Tsize client, int titleHeight, int dpi = standardDpi);
Tpoint titleWordOrigin(const TbandFrame& frame, int dpi = standardDpi);
