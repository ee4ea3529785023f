// Loading the program's own libraries from the system folder, never by a bare name.
#include "win32/systemlibrary.h"

namespace {

// Present on Windows 8 and later, and on Windows 7 and Vista with KB2533623.
using TsetDefaultDllDirectories = BOOL(WINAPI*)(DWORD);

TsetDefaultDllDirectories setDefaultDllDirectories() {
    return libraryEntry<TsetDefaultDllDirectories>(GetModuleHandleW(L"kernel32.dll"),
                                                   "SetDefaultDllDirectories");
}

bool systemSearchOffered() { return setDefaultDllDirectories() != nullptr; }

}  // namespace

std::wstring systemFolder() {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::wstring();
    return std::wstring(folder, length) + L"\\";
}

void restrictLibrarySearch() {
    if (auto setDirectories = setDefaultDllDirectories())
        setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

HMODULE loadSystemLibrary(const wchar_t* name) {
    if (systemSearchOffered()) return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    const std::wstring folder = systemFolder();
    if (folder.empty()) return nullptr;
    return LoadLibraryW((folder + name).c_str());
}
