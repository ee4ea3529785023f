// Opens the About dialog in this test program, as the main window does, while a second thread
// inspects and closes it. Every wait has a time-out and no run leaves the box open.
#pragma once

#include <windows.h>

#include <functional>

namespace about_test {

// A plain top-level window standing in for the main window, destroyed with the holder.
class TownerWindow {
public:
    explicit TownerWindow(const RECT& bounds);
    ~TownerWindow();
    TownerWindow(const TownerWindow&) = delete;
    TownerWindow& operator=(const TownerWindow&) = delete;
    HWND get() const { return window; }

private:
    HWND window;
};

struct TdialogRun {
    INT_PTR result = -1;    // what DialogBoxParam returned
    bool appeared = false;  // the driver found the dialog on screen
    bool leftOpen = false;  // the driver left it open and the harness had to cancel it
};

// Runs template 2000 with aboutDialogProc over `owner` on this thread; `drive` gets
// the dialog on a second thread and is expected to close it. With a `module` given, the template
// still comes from this program but the dialog belongs to `module`, whose resources it searches.
TdialogRun runAboutDialog(HWND owner, const std::function<void(HWND dialog)>& drive,
                          HINSTANCE module = nullptr);

// The control that has the keyboard focus in the dialog's thread.
HWND focusOf(HWND dialog);
// Whether the screen's colours go through a palette (RC_PALETTE), as on a 256-colour display.
bool displayIsPaletteBased();
// The 256-colour run sets LEXORIA_EXPECT_PALETTE_DISPLAY, so that a display that silently is not
// palette-based fails the run instead of leaving the palette path untested.
bool paletteDisplayExpected();
// True once the dialog is gone, false on time-out.
bool waitClosed(HWND dialog, DWORD timeoutMs = 3000);

}  // namespace about_test
