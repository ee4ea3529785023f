// Whole-file reading on C stdio.
#include "fileio.h"

#include "base/platformfiles.h"

TfileHolder openFile(const std::string& path, const char* mode) {
    return TfileHolder(openPath(path, mode));
}

bool readWholeFile(const std::string& path, std::string& bytes) {
    TfileHolder file = openFile(path, "rb");
    if (!file) return false;
    bytes.clear();
    char block[65536];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file.get())) > 0) bytes.append(block, got);
    return !std::ferror(file.get());
}
