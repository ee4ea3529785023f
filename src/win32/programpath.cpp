// The program's own path through the wide API, with a buffer that grows until the path fits.
#include "win32/programpath.h"

#include <windows.h>

#include <vector>

bool programPathW(std::wstring& path) {
    // GetModuleFileNameW cuts a path that does not fit and says so only by filling the buffer.
    for (DWORD capacity = MAX_PATH; capacity <= 65536; capacity *= 2) {
        std::vector<wchar_t> buffer(capacity);
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), capacity);
        if (length == 0) return false;
        if (length < capacity) {
            path.assign(buffer.data(), length);
            return true;
        }
    }
    return false;
}

bool programFolderW(std::wstring& folder) {
    std::wstring path;
    if (!programPathW(path)) return false;
    const std::wstring::size_type slash = path.rfind(L'\\');
    folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
    return true;
}

