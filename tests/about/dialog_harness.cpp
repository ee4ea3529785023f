// Running the About dialog on the test's thread and driving it from a second one.
#include "about/dialog_harness.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "about/aboutdialog.h"
#include "resources/resource.h"
#include "support/lexoria_driver.h"

namespace about_test {

TownerWindow::TownerWindow(const RECT& bounds)
    : window(CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, bounds.left,
                             bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr)) {}

TownerWindow::~TownerWindow() {
    if (window) DestroyWindow(window);
}

namespace {

BOOL CALLBACK findDialog(HWND window, LPARAM param) {
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(param) = window;
    return FALSE;
}

HWND waitForDialog(DWORD thread, const std::atomic<bool>& returned) {
    HWND dialog = nullptr;
    lexoria_test::waitUntil([&] {
        EnumThreadWindows(thread, findDialog, reinterpret_cast<LPARAM>(&dialog));
        return dialog != nullptr || returned.load();
    });
    return dialog;
}

// Inspects and closes the dialog; cancels it when the inspection left it open, and as a last
// resort ends the test program rather than leave a box nobody closes.
void driveDialog(DWORD thread, const std::atomic<bool>& returned,
                 const std::function<void(HWND)>& drive, TdialogRun& run) {
    HWND dialog = waitForDialog(thread, returned);
    if (!dialog) return;
    run.appeared = true;
    drive(dialog);
    if (waitClosed(dialog)) return;
    run.leftOpen = true;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    if (waitClosed(dialog, 5000)) return;
    std::fprintf(stderr, "The About dialog would not close; ending the test program.\n");
    ExitProcess(3);
}

const DLGTEMPLATE* ownTemplate() {
    HMODULE self = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(IDD_ABOUT), RT_DIALOG);
    return found ? static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(self, found)))
                 : nullptr;
}

}  // namespace

TdialogRun runAboutDialog(HWND owner, const std::function<void(HWND)>& drive, HINSTANCE module) {
    TdialogRun run;
    std::atomic<bool> returned{false};
    std::thread driver(driveDialog, GetCurrentThreadId(), std::cref(returned), std::cref(drive),
                       std::ref(run));
    INT_PTR result;
    if (module) {
        result = DialogBoxIndirectParamA(module, ownTemplate(), owner, aboutDialogProc, 0);
    } else {
        result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), owner,
                                 aboutDialogProc, 0);
    }
    returned = true;
    driver.join();
    run.result = result;
    return run;
}

HWND focusOf(HWND dialog) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    return info.hwndFocus;
}

bool waitClosed(HWND dialog, DWORD timeoutMs) {
    return lexoria_test::waitUntil([&] { return !IsWindow(dialog); }, timeoutMs);
}

bool displayIsPaletteBased() {
    HDC screen = GetDC(nullptr);
    const bool paletteBased = (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0;
    ReleaseDC(nullptr, screen);
    return paletteBased;
}

bool paletteDisplayExpected() { return std::getenv("LEXORIA_EXPECT_PALETTE_DISPLAY") != nullptr; }

}  // namespace about_test
