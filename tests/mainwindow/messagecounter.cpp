// A hook DLL that a test loads into Lexoria's thread to count what a paint or a "Next Word" does
// there: paints and erases of the main window, and text streamed into the pane.
#include "messagecounter.h"

#include <richedit.h>

namespace {

TmessageCounts* sharedCounts() {
    static TmessageCounts* counts = [] {
        HANDLE mapping = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, messageCountsName);
        if (!mapping) return static_cast<TmessageCounts*>(nullptr);
        void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(TmessageCounts));
        CloseHandle(mapping);  // the view keeps it
        return static_cast<TmessageCounts*>(view);
    }();
    return counts;
}

void count(HWND target, UINT message) {
    TmessageCounts* counts = sharedCounts();
    if (!counts) return;
    if (target == counts->window && message == WM_PAINT) InterlockedIncrement(&counts->paints);
    if (target == counts->window && message == WM_ERASEBKGND) InterlockedIncrement(&counts->erases);
    if (target == counts->pane && message == EM_STREAMIN) InterlockedIncrement(&counts->streamIns);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    countSent(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const CWPSTRUCT& sent = *reinterpret_cast<const CWPSTRUCT*>(lParam);
        count(sent.hwnd, sent.message);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK
    countRetrieved(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        const MSG& taken = *reinterpret_cast<const MSG*>(lParam);
        count(taken.hwnd, taken.message);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
