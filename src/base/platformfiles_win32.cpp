// Files on Windows: paths are UTF-8 inside the program and UTF-16 at the API, so that every name
// the file system can hold can be opened; rename() refuses an existing target, MoveFileExW not.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <ntsecapi.h>
#include <shellapi.h>

#include "base/platformfiles.h"
#include "win32/handleholder.h"
#include "win32/widetext.h"

namespace {

// The argument array CommandLineToArgvW allocates.
class TargumentsHolder {
public:
    TargumentsHolder() : arguments(CommandLineToArgvW(GetCommandLineW(), &count)) {}
    ~TargumentsHolder() {
        if (arguments) LocalFree(arguments);
    }
    TargumentsHolder(const TargumentsHolder&) = delete;
    TargumentsHolder& operator=(const TargumentsHolder&) = delete;
    int size() const { return arguments ? count : 0; }
    const wchar_t* operator[](int i) const { return arguments[i]; }

private:
    int count = 0;
    LPWSTR* arguments;
};

// A path that is no UTF-8 came from somewhere that speaks the ANSI code page.
std::wstring widePath(const std::string& path) {
    std::wstring wide;
    if (!wideFrom(path, CP_UTF8, wide, MB_ERR_INVALID_CHARS)) wideFrom(path, CP_ACP, wide);
    return wide;
}

// Opens for no access at all, which needs no rights on the file and blocks no one.
bool identify(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    ThandleHolder file(CreateFileW(widePath(path).c_str(), 0,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file.get() != INVALID_HANDLE_VALUE && GetFileInformationByHandle(file.get(), &info);
}

}  // namespace

std::vector<std::string> programArguments(int, char**) {
    TargumentsHolder arguments;
    std::vector<std::string> utf8;
    for (int i = 1; i < arguments.size(); ++i) utf8.push_back(bytesFrom(arguments[i], CP_UTF8));
    return utf8;
}

std::string shownPath(const std::string& path) { return bytesFrom(widePath(path), CP_ACP); }

std::FILE* openPath(const std::string& path, const char* mode) {
    return _wfopen(widePath(path).c_str(), wideFrom(mode, CP_ACP).c_str());
}

std::FILE* createNewFile(const std::string& path) {
    ThandleHolder handle(CreateFileW(widePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (handle.get() == INVALID_HANDLE_VALUE) return nullptr;
    intptr_t osHandle = reinterpret_cast<intptr_t>(handle.get());
    int descriptor = _open_osfhandle(osHandle, _O_BINARY | _O_WRONLY);
    if (descriptor < 0) return nullptr;
    handle.release();  // the descriptor owns it now
    std::FILE* file = _fdopen(descriptor, "wb");
    if (!file) _close(descriptor);
    return file;
}

bool replaceFile(const std::string& from, const std::string& to) {
    // Replaces a link at `to` itself, as rename() does on POSIX.
    return MoveFileExW(widePath(from).c_str(), widePath(to).c_str(), MOVEFILE_REPLACE_EXISTING) !=
           0;
}

bool removeFile(const std::string& path) { return DeleteFileW(widePath(path).c_str()) != 0; }

bool sameFile(const std::string& first, const std::string& second) {
    BY_HANDLE_FILE_INFORMATION a;
    BY_HANDLE_FILE_INFORMATION b;
    if (!identify(first, a) || !identify(second, b)) return false;
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

std::uint64_t unpredictableNumber() {
    std::uint64_t number = 0;
    // Should the source fail, exclusive creation still keeps a planted name from being used.
    if (!RtlGenRandom(&number, sizeof number)) number = GetTickCount() ^ GetCurrentProcessId();
    return number;
}

const char* const pathSeparators = "/\\";

// NTFS, FAT32 and exFAT take 255 UTF-16 units; a name of 255 UTF-8 bytes never holds more.
std::size_t longestNameBeside(const std::string&) { return 255; }
