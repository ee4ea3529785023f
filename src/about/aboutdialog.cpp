// The About dialog: each message is routed to one short handler. The state lives at module level
// because at most one About dialog exists at a time.
#include "about/aboutdialog.h"

#include <new>

#include "about/titlebitmap.h"
#include "about/titlechoice.h"
#include "resources/resource.h"
#include "version.h"
#include "win32/dialogutil.h"

namespace {

TtitleBitmap titleBitmap;
HPALETTE titlePalette = nullptr;

void setControlText(HWND dialog, int id, const char* text) {
    HWND control = findChildControl(dialog, id);
    if (control == NO_CHILD_CONTROL) return;
    SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

// Runs in full at every opening: the resource is found again and the palette built anew.
INT_PTR onInitDialog(HWND dialog) {
    centerOverParent(dialog);
    // The module that supplied the template is the program's own.
    auto module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    // The drawing made for the place the dialog's scaling gives it, never stretched.
    RECT place = {};
    GetClientRect(GetDlgItem(dialog, IDC_TITLE_BITMAP), &place);
    titleBitmap = findTitleBitmap(module, titlePicturePercent(place.right, place.bottom));
    titlePalette = createScreenPalette(titleBitmap.header);
    setControlText(dialog, IDC_PRODUCT_NAME, "Lexoria");
    setControlText(dialog, IDC_VERSION, LEXORIA_VERSION);
    return TRUE;  // the platform gives the focus to OK
}

// The same picture whatever the button's state: no focus rectangle, no pressed look.
INT_PTR onDrawItem(const DRAWITEMSTRUCT* item) {
    if (item->CtlID != IDC_TITLE_BITMAP) return FALSE;
    drawTitleBitmap(item->hDC, titleBitmap, titlePalette, item->rcItem);
    return TRUE;
}

// Escape arrives as IDCANCEL and ends the dialog exactly as OK does.
INT_PTR onCommand(HWND dialog, int id) {
    if (id != IDOK && id != IDCANCEL) return FALSE;
    EndDialog(dialog, 1);
    return TRUE;
}

INT_PTR onDestroy() {
    if (titlePalette) {
        DeleteObject(titlePalette);
        titlePalette = nullptr;
    }
    return TRUE;
}

INT_PTR handleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return onInitDialog(dialog);
    case WM_DRAWITEM: return onDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_COMMAND: return onCommand(dialog, LOWORD(wParam));
    case WM_DESTROY: return onDestroy();
    default: return FALSE;
    }
}

}  // namespace

// Nothing may unwind into DialogBoxParam: a box that runs out of memory while it is set up
// closes as if dismissed, and any other message is simply dropped.
INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return handleMessage(dialog, message, wParam, lParam);
    } catch (const std::bad_alloc&) {
        if (message == WM_INITDIALOG) EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
}

HPALETTE aboutDialogPalette() { return titlePalette; }
