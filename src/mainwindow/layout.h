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
// A row of buttons may need more: captionRowWidth is the client width it needs (0 for none).
Tsize mainWindowSize(int titleTextWidth, int paneTextWidth, int dlgFrameX, int dlgFrameY,
                     int dpi = standardDpi, int captionRowWidth = 0);

// Outer top-left corner for the settings record on the work area (the monitor less its taskbars,
// in screen coordinates) that the window opens on. The arithmetic is done in 16 bits, as the
// record's fields are. A window larger than the work area keeps its top-left corner, and with it
// the caption and "E&xit", on the work area.
Tpoint mainWindowPosition(const TwindowSettings& settings, Trect workArea, Tsize window);

// The saved position kept on the work area of the monitor that holds the saved window, or lies
// nearest to it: the screens, their taskbars or their scaling may have changed since the position
// was saved. Lowered so the window ends at the work area's far edges, then raised to its top-left
// corner, in 16 bits.
Tpoint savedWindowPosition(const TwindowSettings& settings, Trect workArea, Tsize window);

// Whether a window whose caption bar lies at that rectangle can still be dragged: some of the
// caption lies on one of the work areas. A position where it cannot is not worth saving.
bool captionReachable(const Trect& caption, const Trect* workAreas, int workAreaCount);

// GetWindowPlacement gives the restored position in workspace coordinates, which begin at the
// corner of the primary monitor's work area; this is the same point on the screen.
Tpoint screenFromWorkspace(Tpoint corner, const Trect& primaryWorkArea);

// Child windows in client coordinates; titleHeight is the title font's measured height.
Trect definitionPaneRect(Tsize client, int titleHeight, int dpi = standardDpi);
// The button row holds five buttons, or six in practice, where "A&gain" comes right after the
// second. Either way they share the width equally, a gap apart, and "&Options" takes what the
// division leaves over.
enum TbuttonSlot { exitSlot, nextWordSlot, optionsSlot, helpSlot, aboutSlot, againSlot };
const int buttonCount = 5;  // without "A&gain"
Trect buttonRect(Tsize client, TbuttonSlot slot, int dpi = standardDpi, bool withAgain = false);
// The client width at which every button of the row holds a caption that wide, with room for
// the button's frame and a margin on either side (for a language whose captions are longer than
// English's: English's fit the width its alphabet gives).
int captionRowWidth(int widestCaption, bool withAgain, int dpi = standardDpi);

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
