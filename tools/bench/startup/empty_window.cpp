// The floors for the start-up benchmark: a Win32 program that registers a class, opens one empty
// window and runs a message loop, nothing more. With the argument "libraries" it first loads the
// libraries Lexoria's design loads as it starts (the common controls, initialised, the rich edit
// control, Uniscribe, and the ones Lexoria.exe imports beyond this program's own), so that what is
// left between the two is Lexoria's own work. WM_CLOSE ends it.
#include <windows.h>

#include <cstring>
#include <initializer_list>

namespace {
LRESULT CALLBACK emptyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
void loadDesignLibraries() {
    for (const char* library :
         {"advapi32.dll", "ole32.dll", "shell32.dll", "msftedit.dll", "usp10.dll"})
        LoadLibraryA(library);
    using TinitCommonControls = void(WINAPI*)();
    if (HMODULE commonControls = LoadLibraryA("comctl32.dll")) {
        auto init = reinterpret_cast<TinitCommonControls>(
            reinterpret_cast<void*>(GetProcAddress(commonControls, "InitCommonControls")));
        if (init) init();
    }
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    if (std::strcmp(commandLine, "libraries") == 0) loadDesignLibraries();
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = emptyWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    windowClass.lpszClassName = "LexoriaBenchEmpty";
    if (!RegisterClassA(&windowClass)) return 1;
    HWND window =
        CreateWindowExA(0, windowClass.lpszClassName, "Empty", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 400, 300, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, showCommand);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
