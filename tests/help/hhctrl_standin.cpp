// A stand-in hhctrl.ocx for the help test, preferred to Wine's own through WINEDLLOVERRIDES when
// it lies beside the program. Each HtmlHelpW call is logged to hhctrl.log beside it (command,
// then file and topic) and handed on to the system's hhctrl.ocx, which stays loaded.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {
HMODULE self = nullptr;
using ThtmlHelp = HWND(WINAPI*)(HWND, const wchar_t*, UINT, DWORD_PTR);

ThtmlHelp systemHtmlHelp() {
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    HMODULE viewer = LoadLibraryA((std::string(folder, length) + "\\hhctrl.ocx").c_str());
    return viewer ? reinterpret_cast<ThtmlHelp>(GetProcAddress(viewer, "HtmlHelpW")) : nullptr;
}
}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) self = instance;
    return TRUE;
}

extern "C" __declspec(dllexport) HWND WINAPI
    HtmlHelpW(HWND owner, const wchar_t* file, UINT command, DWORD_PTR data) {
    wchar_t log[MAX_PATH + 16] = {};
    if (GetModuleFileNameW(self, log, MAX_PATH) && wcsrchr(log, L'\\')) {
        wcscpy(wcsrchr(log, L'\\') + 1, L"hhctrl.log");
        if (FILE* out = _wfopen(log, L"ab")) {
            std::fprintf(out, "%u %ls\n", command, file ? file : L"");
            std::fclose(out);
        }
    }
    static const ThtmlHelp forward = systemHtmlHelp();
    return forward ? forward(owner, file, command, data) : nullptr;
}
