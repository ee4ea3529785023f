// Bounds-checked little-endian field reader.
#include "bytes.h"

std::uint32_t ByteReader::take(std::size_t width)
{
    if (!ok_ || size_ - pos_ < width) {
        ok_ = false;
        return 0;
    }
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        value |= static_cast<std::uint32_t>(data_[pos_ + i]) << (8 * i);
    }
    pos_ += width;
    return value;
}

std::string ByteReader::cstring()
{
    std::string text;
    while (ok_) {
        if (pos_ >= size_) {
            ok_ = false;
            break;
        }
        const char c = static_cast<char>(data_[pos_++]);
        if (c == '\0') {
            break;
        }
        text.push_back(c);
    }
    return text;
}

void ByteReader::skip(std::size_t count)
{
    if (!ok_ || size_ - pos_ < count) {
        ok_ = false;
        return;
    }
    pos_ += count;
}
