// What the fuzz targets share: a check that stops the run with a message (libFuzzer then keeps
// the input as a crash), and a scratch stream that holds the input as a real file, so seeking
// past the end behaves as it does on a word list on disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                 \
    do {                                                                                      \
        if (!(condition)) {                                                                   \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                     \
        }                                                                                     \
    } while (0)

// One temporary file for the whole run, rewritten for every input.
std::FILE* scratchStreamWith(const uint8_t* data, size_t size);
