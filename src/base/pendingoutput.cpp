// The temporary-then-replace output, on the platform's exclusive file creation.
#include "base/pendingoutput.h"

#include <cinttypes>
#include <cstdio>

#include "base/fileholder.h"
#include "base/platformfiles.h"

namespace {

// A clash with an existing name is rare; a folder that refuses every name refuses them all.
const int namingAttempts = 8;

std::string freshNameBeside(const std::string& target) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%016" PRIx64 ".tmp", unpredictableNumber());
    return target + suffix;
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
