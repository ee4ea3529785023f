// The scratch stream of the fuzz targets: one temporary file, emptied and refilled per input.
#include "fuzz/fuzz_check.h"

#include <unistd.h>

std::FILE* scratchStreamWith(const uint8_t* data, size_t size) {
    static std::FILE* file = std::tmpfile();
    FUZZ_CHECK(file != nullptr);
    std::fflush(file);
    FUZZ_CHECK(ftruncate(fileno(file), 0) == 0);
    std::rewind(file);
    FUZZ_CHECK(std::fwrite(data, 1, size, file) == size);
    FUZZ_CHECK(std::fflush(file) == 0);
    std::rewind(file);
    return file;
}
