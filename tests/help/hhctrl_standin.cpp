// A stand-in hhctrl.ocx, put in the system folder with Wine's own kept as hhctrl_wine.ocx: each
// HtmlHelpW call is logged to hhctrl.log beside the calling program and handed on to Wine's.
#include <windows.h>

#include <cstdio>
#include <string>

#include "win32/systemlibrary.h"

namespace {
using ThtmlHelp = HWND(WINAPI*)(HWND, const wchar_t*, UINT, DWORD_PTR);

ThtmlHelp systemHtmlHelp() {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    HMODULE viewer = LoadLibraryW((std::wstring(folder, length) + L"\\hhctrl_wine.ocx").c_str());
    return libraryEntry<ThtmlHelp>(viewer, "HtmlHelpW");
}

// Its path may be longer than MAX_PATH.
std::wstring logPath() {
    wchar_t program[32768];
    const DWORD length = GetModuleFileNameW(nullptr, program, 32768);
    const std::wstring path(program, length < 32768 ? length : 0);
    return path.substr(0, path.rfind(L'\\') + 1) + L"hhctrl.log";
}
}  // namespace

extern "C" __declspec(dllexport) HWND WINAPI
    HtmlHelpW(HWND owner, const wchar_t* file, UINT command, DWORD_PTR data) {
    if (FILE* out = _wfopen(logPath().c_str(), L"ab")) {
        std::fprintf(out, "%u %ls\n", command, file ? file : L"");
        std::fclose(out);
    }
    static const ThtmlHelp forward = systemHtmlHelp();
    return forward ? forward(owner, file, command, data) : nullptr;
}
