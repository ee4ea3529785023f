// Files on POSIX systems, where rename() replaces its target and paths are bytes.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/platformfiles.h"

std::vector<std::string> programArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

std::string shownPath(const std::string& path) { return path; }

std::FILE* openPath(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

std::FILE* createNewFile(const std::string& path) {
    int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor < 0) return nullptr;
    std::FILE* file = fdopen(descriptor, "wb");
    if (!file) close(descriptor);
    return file;
}

// The new file takes the permission bits of the file it replaces, so that a list kept private
// (0600) does not become readable to everyone by an import.
bool replaceFile(const std::string& from, const std::string& to) {
    struct stat replaced;
    if (lstat(to.c_str(), &replaced) == 0 && S_ISREG(replaced.st_mode) &&
        chmod(from.c_str(), replaced.st_mode & 07777) != 0) {
        return false;
    }
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool removeFile(const std::string& path) { return unlink(path.c_str()) == 0; }

bool sameFile(const std::string& first, const std::string& second) {
    struct stat a;
    struct stat b;
    if (stat(first.c_str(), &a) != 0 || stat(second.c_str(), &b) != 0) return false;
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

std::uint64_t unpredictableNumber() {
    std::uint64_t number = 0;
    // Should the source fail, exclusive creation still keeps a planted name from being used.
    if (getentropy(&number, sizeof number) != 0) number = static_cast<std::uint64_t>(getpid());
    return number;
}

const char* const pathSeparators = "/";

std::size_t longestNameBeside(const std::string& path) {
    // NAME_MAX where the system does not say; most file systems take 255 bytes.
    const long fallback = 255;
    size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    long limit = pathconf(folder.c_str(), _PC_NAME_MAX);
    return static_cast<std::size_t>(limit > 0 ? limit : fallback);
}
