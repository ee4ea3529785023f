// A stand-in for a system program, planted beside a copy of Lexoria.exe under that program's
// name. Started at all, it leaves "<its own file name>.started" beside itself for the test to
// find, and ends at once.
#include <windows.h>

#include <cwchar>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    wchar_t marker[MAX_PATH + 8];
    const DWORD length = GetModuleFileNameW(nullptr, marker, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 1;
    std::wcscpy(marker + length, L".started");
    HANDLE file = CreateFileW(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return 0;
}
