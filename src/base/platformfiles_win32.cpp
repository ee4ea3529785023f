// Files on Windows: paths are UTF-8 inside the program and UTF-16 at the API, so that every name
// the file system can hold can be opened; rename() refuses an existing target, MoveFileExW not.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <ntsecapi.h>
#include <shellapi.h>

#include "base/platformfiles.h"

namespace {

// A file handle from CreateFileW, whose failure value is INVALID_HANDLE_VALUE (the base library
// cannot use win32/handleholder.h, which holds handles whose failure value is null).
class TfileHandle {
public:
    explicit TfileHandle(HANDLE h) : handle(h) {}
    ~TfileHandle() {
        if (valid()) CloseHandle(handle);
    }
    TfileHandle(const TfileHandle&) = delete;
    TfileHandle& operator=(const TfileHandle&) = delete;
    bool valid() const { return handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle; }
    HANDLE release() {
        HANDLE kept = handle;
        handle = INVALID_HANDLE_VALUE;
        return kept;
    }

private:
    HANDLE handle;
};

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

bool toWide(const std::string& text, UINT codePage, DWORD flags, std::wstring& wide) {
    wide.clear();
    if (text.empty()) return true;
    int size = static_cast<int>(text.size());
    int length = MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
    if (length <= 0) return false;
    wide.resize(length);
    return MultiByteToWideChar(codePage, flags, text.data(), size, &wide[0], length) == length;
}

std::string fromWide(const std::wstring& wide, UINT codePage) {
    if (wide.empty()) return std::string();
    int size = static_cast<int>(wide.size());
    int length = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return std::string();
    std::string text(length, '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), size, &text[0], length, nullptr, nullptr);
    return text;
}

// A path that is no UTF-8 came from somewhere that speaks the ANSI code page.
std::wstring widePath(const std::string& path) {
    std::wstring wide;
    if (!toWide(path, CP_UTF8, MB_ERR_INVALID_CHARS, wide)) toWide(path, CP_ACP, 0, wide);
    return wide;
}

// Opens for no access at all, which needs no rights on the file and blocks no one.
bool identify(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    TfileHandle file(CreateFileW(widePath(path).c_str(), 0,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file.valid() && GetFileInformationByHandle(file.get(), &info);
}

}  // namespace

std::vector<std::string> programArguments(int, char**) {
    TargumentsHolder arguments;
    std::vector<std::string> utf8;
    for (int i = 1; i < arguments.size(); ++i) utf8.push_back(fromWide(arguments[i], CP_UTF8));
    return utf8;
}

std::string shownPath(const std::string& path) { return fromWide(widePath(path), CP_ACP); }

std::FILE* openPath(const std::string& path, const char* mode) {
    std::wstring wideMode;
    toWide(mode, CP_ACP, 0, wideMode);
    return _wfopen(widePath(path).c_str(), wideMode.c_str());
}

std::FILE* createNewFile(const std::string& path) {
    TfileHandle handle(CreateFileW(widePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.valid()) return nullptr;
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
