// A stand-in hhctrl.ocx for the help test. Put beside the program, and preferred to Wine's own
// through WINEDLLOVERRIDES, it writes each HtmlHelpW call to hhctrl.log beside itself (the
// command, then the file and topic) and hands the call on to the system's hhctrl.ocx, whose
// window the test then finds. Wine's viewer shows no page here, so the log is how the test
// sees which topic was asked for.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

using ThtmlHelp = HWND(WINAPI*)(HWND, const wchar_t*, UINT, DWORD_PTR);

HMODULE self = nullptr;

void logCall(UINT command, const wchar_t* file) {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    std::wstring log(path, length);
    log.replace(log.find_last_of(L'\\') + 1, std::wstring::npos, L"hhctrl.log");
    if (FILE* out = _wfopen(log.c_str(), L"ab")) {
        std::fprintf(out, "%u %ls\n", command, file ? file : L"");
        std::fclose(out);
    }
}

// The system's viewer, loaded by its full path so that this file is not found again; it stays
// loaded as long as the program that called it.
ThtmlHelp systemHtmlHelp() {
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    HMODULE viewer = LoadLibraryA((std::string(folder, length) + "\\hhctrl.ocx").c_str());
    return viewer ? reinterpret_cast<ThtmlHelp>(GetProcAddress(viewer, "HtmlHelpW")) : nullptr;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) self = instance;
    return TRUE;
}

extern "C" __declspec(dllexport) HWND WINAPI HtmlHelpW(HWND owner, const wchar_t* file,
                                                       UINT command, DWORD_PTR data) {
    logCall(command, file);
    static const ThtmlHelp forward = systemHtmlHelp();
    return forward ? forward(owner, file, command, data) : nullptr;
}
