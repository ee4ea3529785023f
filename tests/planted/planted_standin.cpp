// A stand-in for a system library, planted beside a copy of the program under that library's
// name. Loaded at all, it leaves "<its own file name>.loaded" beside itself for the test to find.
// It offers the one entry point the program ever imported by name, so that a static import
// resolves and the load shows as the marker rather than as a start that fails.
#include <windows.h>

#include <cwchar>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t marker[MAX_PATH + 8];
    const DWORD length = GetModuleFileNameW(instance, marker, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return TRUE;
    std::wcscpy(marker + length, L".loaded");
    HANDLE file = CreateFileW(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return TRUE;
}

extern "C" __declspec(dllexport) void WINAPI InitCommonControls() {}
