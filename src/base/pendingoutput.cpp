// The temporary-then-replace output, on the platform's exclusive file creation.
#include "base/pendingoutput.h"

#include <cinttypes>
#include <cstdio>

#include "base/fileholder.h"
#include "base/platformfiles.h"

namespace {

// A clash with an existing name is rare; a folder that refuses every name refuses them all.
const int namingAttempts = 8;

bool isUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The target's name and a random suffix. A name too long for the suffix is cut, between two
// whole UTF-8 characters, so that the temporary file stays within the folder's name limit.
std::string freshNameBeside(const std::string& target) {
    char suffix[32];
    int suffixLength =
        std::snprintf(suffix, sizeof suffix, ".%016" PRIx64 ".tmp", unpredictableNumber());
    size_t nameStart = target.find_last_of(pathSeparators);
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    size_t limit = longestNameBeside(target);
    size_t room = limit > static_cast<size_t>(suffixLength) ? limit - suffixLength : 1;
    size_t end = target.size();
    if (end - nameStart > room) {
        end = nameStart + room;
        while (end > nameStart + 1 && isUtf8Continuation(target[end])) --end;
    }
    return target.substr(0, end) + suffix;
}

}  // namespace

TpendingOutput::TpendingOutput(const std::string& path) : target(path) {}

TpendingOutput::~TpendingOutput() {
    if (!temporary.empty() && !committed) removeFile(temporary);
}

bool TpendingOutput::write(const void* bytes, std::size_t size) {
    if (!temporary.empty()) return false;
    TfileHolder file;
    std::string name;
    for (int attempt = 0; attempt < namingAttempts && !file; ++attempt) {
        name = freshNameBeside(target);
        file.reset(createNewFile(name));
    }
    if (!file) return false;
    temporary = name;
    bool written = std::fwrite(bytes, 1, size, file.get()) == size;
    // Closed here rather than by the holder, because a failed close can mean lost data.
    return std::fclose(file.release()) == 0 && written;
}

bool TpendingOutput::commit() {
    committed = !temporary.empty() && replaceFile(temporary, target);
    return committed;
}
