// A stand-in for a system library, planted beside a copy of the program under that library's
// name. Loaded at all, it leaves "<its own file name>.loaded" beside itself for the test to find.
// It exports nothing: the program imports none of these libraries (the test reads its import
// table), and a load shows in the marker that DllMain leaves before anything is called.
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
