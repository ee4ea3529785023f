// The window's DPI and DPI-aware metrics, resolved from user32 at run time; see displaydpi.h.
#include "win32/displaydpi.h"

#include "win32/gdiholders.h"
#include "win32/systemlibrary.h"

namespace {

// What the system assumes when it cannot say.
const int defaultDpi = 96;

using TgetDpiForWindow = UINT(WINAPI*)(HWND);
using TgetSystemMetricsForDpi = int(WINAPI*)(int, UINT);
using TenableNonClientDpiScaling = BOOL(WINAPI*)(HWND);

// user32 is always loaded: the program imports it.
template <typename Function>
Function userEntry(const char* name) {
    return libraryEntry<Function>(GetModuleHandleW(L"user32.dll"), name);
}

}  // namespace

int windowDpi(HWND window) {
    static const auto getDpiForWindow = userEntry<TgetDpiForWindow>("GetDpiForWindow");
    if (getDpiForWindow && window) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi) return static_cast<int>(dpi);
    }
    TwindowDC screen(nullptr);
    const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : defaultDpi;
}

int systemMetricForDpi(int index, int dpi) {
    static const auto getMetricForDpi =
        userEntry<TgetSystemMetricsForDpi>("GetSystemMetricsForDpi");
    if (getMetricForDpi && dpi > 0) return getMetricForDpi(index, static_cast<UINT>(dpi));
    return GetSystemMetrics(index);
}

void enableNonClientScaling(HWND window) {
    static const auto enable = userEntry<TenableNonClientDpiScaling>("EnableNonClientDpiScaling");
    if (enable) enable(window);
}
