// File identity and replacing rename on Windows, where rename() refuses an existing target.
#include <windows.h>

#include "fileio.h"

namespace {

class ThandleHolder {
public:
    explicit ThandleHolder(HANDLE h) : handle(h) {}
    ~ThandleHolder() {
        if (valid()) CloseHandle(handle);
    }
    ThandleHolder(const ThandleHolder&) = delete;
    ThandleHolder& operator=(const ThandleHolder&) = delete;
    bool valid() const { return handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle; }

private:
    HANDLE handle;
};

// Opens for no access at all, which needs no rights on the file and blocks no one.
bool identify(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    ThandleHolder file(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file.valid() && GetFileInformationByHandle(file.get(), &info);
}

}  // namespace

bool sameFile(const std::string& first, const std::string& second) {
    BY_HANDLE_FILE_INFORMATION a;
    BY_HANDLE_FILE_INFORMATION b;
    if (!identify(first, a) || !identify(second, b)) return false;
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
}

bool replaceFile(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}
