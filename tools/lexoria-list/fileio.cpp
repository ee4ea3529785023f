// Whole-file reading and the temporary-then-rename output, on C stdio.
#include "fileio.h"

TfileHolder openFile(const std::string& path, const char* mode) {
    return TfileHolder(std::fopen(path.c_str(), mode));
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

std::string temporaryPathFor(const std::string& target) { return target + ".tmp"; }

TpendingOutput::TpendingOutput(const std::string& path) : target(path), temporary(temporaryPathFor(path)) {}

TpendingOutput::~TpendingOutput() {
    if (!committed) std::remove(temporary.c_str());
}

bool TpendingOutput::write(const std::string& bytes) {
    TfileHolder file = openFile(temporary, "wb");
    if (!file) return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    // Closed here rather than by the holder, because a failed close can mean lost data.
    return std::fclose(file.release()) == 0 && written;
}

bool TpendingOutput::commit() {
    committed = replaceFile(temporary, target);
    return committed;
}
