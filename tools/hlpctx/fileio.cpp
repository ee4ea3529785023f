// File input and atomic file output for the help file tool.
#include "fileio.h"

#include "base/fileholder.h"
#include "base/pendingoutput.h"
#include "base/platformfiles.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

bool readWholeFile(const std::string& path, Tbytes& data, std::string& error) {
    // A folder opens for reading here; only the first read would fail, and less plainly.
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        error = path + " is a folder, not a file";
        return false;
    }
    TfileHolder file(openPath(path, "rb"));
    if (!file) {
        error = "cannot open " + path;
        return false;
    }
    data.clear();
    std::uint8_t block[65536];
    std::size_t got;
    while ((got = std::fread(block, 1, sizeof block, file.get())) > 0) {
        data.insert(data.end(), block, block + got);
    }
    if (std::ferror(file.get())) {
        error = "cannot read " + path;
        return false;
    }
    return true;
}

bool writeFileAtomically(const std::string& path, const Tbytes& data, std::string& error) {
    TpendingOutput output(path);
    if (!output.write(data.data(), data.size())) {
        error = "cannot write a new file beside " + path;
        return false;
    }
    if (!output.commit()) {
        error = "cannot replace " + path + " with " + output.temporaryPath();
        return false;
    }
    return true;
}
