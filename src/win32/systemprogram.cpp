// Starting a program of the system from the Windows or the system folder by its full path.
#include <windows.h>

#include "win32/systemprogram.h"

#include <string>

#include "win32/handleholder.h"
#include "win32/systemlibrary.h"

namespace {

std::wstring windowsFolder() {
    wchar_t folder[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::wstring();
    return std::wstring(folder, length) + L"\\";
}

bool isFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The program's path in the Windows folder, else in the system folder; empty when in neither.
std::wstring systemProgramPath(const wchar_t* name) {
    for (const std::wstring& folder : {windowsFolder(), systemFolder()})
        if (!folder.empty() && isFile(folder + name)) return folder + name;
    return std::wstring();
}

}  // namespace

// The path goes as the program to start, so nothing is searched for; the program's current
// folder is its own, so that not even the programs it starts look beside Lexoria.exe.
bool startSystemProgram(const wchar_t* name, const wchar_t* arguments, unsigned long waitMs) {
    const std::wstring path = systemProgramPath(name);
    if (path.empty()) return false;
    std::wstring commandLine = L"\"" + path + L"\" " + arguments;
    const std::wstring folder = path.substr(0, path.rfind(L'\\') + 1);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &started))
        return false;
    ThandleHolder process(started.hProcess);
    ThandleHolder thread(started.hThread);
    WaitForInputIdle(process.get(), waitMs);
    return true;
}
