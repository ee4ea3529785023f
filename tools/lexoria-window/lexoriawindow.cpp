// lexoria-window: finds Lexoria's main window by its window class, for scripts that drive the
// program from outside under Wine (the picture that make run takes). It never goes by the title,
// which the program's message boxes carry too.
//   lexoria-window wait SECONDS [DESKTOP]   waits until the window is on screen with everything
//                                           painted, then prints the X window that shows it (0
//                                           when there is none)
//   lexoria-window close SECONDS [DESKTOP]  asks exactly that window to close, as its close box
//                                           would, waits until it has gone, and ends its process
//                                           only if it stays
// DESKTOP names the desktop the program runs on (explorer /desktop=NAME): its windows can only be
// found from there. Exit status: 0 done, 1 the time ran out, 2 a wrong command line.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "win32/handleholder.h"

namespace {

const char* const mainWindowClass = "Lexoria";
// Wine's X11 driver keeps the X window of each top-level window in this property.
const char* const xWindowProperty = "__wine_x11_whole_window";
const DWORD pollMs = 20;

template <class Tcondition>
bool waitFor(DWORD timeoutMs, Tcondition condition) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(pollMs);
    }
    return true;
}

// The desktop this thread works on, held open until the holder goes.
class TdesktopHandle {
public:
    TdesktopHandle() = default;
    ~TdesktopHandle() { close(); }
    TdesktopHandle(const TdesktopHandle&) = delete;
    TdesktopHandle& operator=(const TdesktopHandle&) = delete;

    // False while the desktop does not exist yet: the program's start may still be making it.
    // The thread must have no windows yet, which holds here.
    bool join(const char* name) {
        close();
        handle = OpenDesktopA(name, 0, FALSE, GENERIC_ALL);
        return handle && SetThreadDesktop(handle);
    }

private:
    void close() {
        if (handle) CloseDesktop(handle);
        handle = nullptr;
    }
    HDESK handle = nullptr;
};

BOOL CALLBACK noteUnpainted(HWND child, LPARAM unpainted) {
    if (GetUpdateRect(child, nullptr, FALSE)) *reinterpret_cast<bool*>(unpainted) = true;
    return TRUE;
}

// BeginPaint empties the update region before it draws, so once the regions are empty the
// program still has to answer one message to show that every paint has run to its end.
bool isPainted(HWND window) {
    if (!IsWindowVisible(window)) return false;
    bool unpainted = GetUpdateRect(window, nullptr, FALSE) != FALSE;
    EnumChildWindows(window, noteUnpainted, reinterpret_cast<LPARAM>(&unpainted));
    DWORD_PTR ignored = 0;
    return !unpainted &&
           SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored);
}

int waitPainted(DWORD timeoutMs) {
    HWND window = nullptr;
    if (!waitFor(timeoutMs, [&] {
            window = FindWindowA(mainWindowClass, nullptr);
            return window && isPainted(window);
        }))
        return 1;
    const auto xWindow = reinterpret_cast<ULONG_PTR>(GetPropA(window, xWindowProperty));
    std::printf("0x%lx\n", static_cast<unsigned long>(xWindow));
    return 0;
}

int closeWindow(DWORD timeoutMs) {
    HWND window = FindWindowA(mainWindowClass, nullptr);
    if (!window) return 0;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (waitFor(timeoutMs, [&] { return !IsWindow(window); })) return 0;
    // Only the process that owns this window, never others of the same name.
    ThandleHolder process(OpenProcess(PROCESS_TERMINATE, FALSE, processId));
    if (process.get()) TerminateProcess(process.get(), 1);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc == 3 || argc == 4 ? std::atoi(argv[2]) : 0;
    if (seconds <= 0) {
        std::fprintf(stderr, "usage: lexoria-window wait|close SECONDS [DESKTOP]\n");
        return 2;
    }
    const DWORD timeoutMs = static_cast<DWORD>(seconds) * 1000;
    TdesktopHandle desktop;
    if (argc == 4 && !waitFor(timeoutMs, [&] { return desktop.join(argv[3]); })) return 1;
    if (std::strcmp(argv[1], "wait") == 0) return waitPainted(timeoutMs);
    if (std::strcmp(argv[1], "close") == 0) return closeWindow(timeoutMs);
    std::fprintf(stderr, "lexoria-window: unknown command %s\n", argv[1]);
    return 2;
}
