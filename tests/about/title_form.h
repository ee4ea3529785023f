// The form of the title bitmap that the About dialog's layout is made for, as a table of header
// fields, shared by the check of the .bmp file on the host and of the linked resource under Wine.
#pragma once

#include <cstddef>
#include <cstdint>

namespace about_test {

struct TheaderField {
    const char* name;
    size_t offset;  // from the start of the 40-byte header
    size_t size;    // 2 or 4 bytes, little-endian
    int64_t expected;
};

constexpr TheaderField kTitleHeader[] = {
    {"header size", 0, 4, 40},
    {"width", 4, 4, 200},
    {"height, positive for bottom-up rows", 8, 4, 100},
    {"planes", 12, 2, 1},
    {"bits per pixel", 14, 2, 8},
    {"compression BI_RGB", 16, 4, 0},
    {"horizontal pixels per metre", 24, 4, 2834},
    {"vertical pixels per metre", 28, 4, 2834},
    {"colours used", 32, 4, 36},
    {"colours important", 36, 4, 36},
};

constexpr size_t kColourTableBytes = 36 * 4;
constexpr size_t kPixelBytes = 200 * 100;
constexpr size_t kPackedBytes = 40 + kColourTableBytes + kPixelBytes;

// A header field read as a signed value of its size.
inline int64_t headerField(const uint8_t* header, const TheaderField& field) {
    uint32_t value = 0;
    for (size_t i = field.size; i-- > 0;) value = (value << 8) | header[field.offset + i];
    if (field.size == 2) return static_cast<int16_t>(value);
    return static_cast<int32_t>(value);
}

}  // namespace about_test
