// Opening files by their UTF-8 paths.
#include "fileio.h"

#include "base/platformfiles.h"

TfileHolder openFile(const std::string& path, const char* mode) {
    return TfileHolder(openPath(path, mode));
}
