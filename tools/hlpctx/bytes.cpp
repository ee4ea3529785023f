// Bounds-checked little-endian field reader.
#include "bytes.h"

std::uint32_t TbyteReader::take(std::size_t width) {
    if (!intact || length - at < width) {
        intact = false;
        return 0;
    }
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
    }
    at += width;
    return value;
}

std::string TbyteReader::cstring() {
    std::string text;
    while (intact) {
        if (at >= length) {
            intact = false;
            break;
        }
        const char c = static_cast<char>(bytes[at++]);
        if (c == '\0') {
            break;
        }
        text.push_back(c);
    }
    return text;
}

void TbyteReader::skip(std::size_t count) {
    if (!intact || length - at < count) {
        intact = false;
        return;
    }
    at += count;
}
