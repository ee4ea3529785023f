// Whole-file reading on C stdio.
#include "base/wholefile.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/fileholder.h"
#include "base/platformfiles.h"

TwholeFileRead readWholeFile(const std::string& path, std::string& bytes) {
    std::error_code ignored;
    if (std::filesystem::is_directory(std::filesystem::u8path(path), ignored)) {
        return TwholeFileRead::isFolder;
    }
    TfileHolder file(openPath(path, "rb"));
    if (!file) return TwholeFileRead::cannotOpen;
    bytes.clear();
    char block[65536];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file.get())) > 0) bytes.append(block, got);
    return std::ferror(file.get()) ? TwholeFileRead::cannotRead : TwholeFileRead::read;
}
