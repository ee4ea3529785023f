// Centring a dialog over its parent and finding a control among a dialog's children.
#include "win32/dialogutil.h"

namespace {
struct TcontrolSearch {
    int id;
    HWND found;
};

BOOL CALLBACK matchControlId(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<TcontrolSearch*>(param);
    if (GetWindowLongA(child, GWL_ID) != search->id) return TRUE;
    search->found = child;
    return FALSE;
}
}  // namespace

HWND findChildControl(HWND dialog, int id) {
    TcontrolSearch search{id, NO_CHILD_CONTROL};
    EnumChildWindows(dialog, matchControlId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void centerOverParent(HWND dialog) {
    RECT dialogRect, parentRect;
    if (!GetWindowRect(dialog, &dialogRect)) return;
    // A dialog without an owner is centred on the screen instead.
    HWND parent = GetParent(dialog);
    if (!parent || !GetWindowRect(parent, &parentRect))
        GetWindowRect(GetDesktopWindow(), &parentRect);
    const int width = dialogRect.right - dialogRect.left;
    const int height = dialogRect.bottom - dialogRect.top;
    int x = parentRect.left + (parentRect.right - parentRect.left - width) / 2;
    int y = parentRect.top + (parentRect.bottom - parentRect.top - height) / 2;
    if (x < 0) x = 0;
    if (y < 0) y = 0;
    // The far edges win over the near ones when the dialog is larger than the screen.
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (x + width > screenWidth) x = screenWidth - width;
    if (y + height > screenHeight) y = screenHeight - height;
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
