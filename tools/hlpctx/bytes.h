// Little-endian reading and writing of the fixed-width fields that help files are made of.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using Tbytes = std::vector<std::uint8_t>;

// Reads fields from a byte range. Reading past the end yields zeros and marks the reader as
// failed, so a parser can read a whole record and check ok() once instead of after each field.
class TbyteReader {
public:
    TbyteReader(const std::uint8_t* data, std::size_t size) : bytes(data), length(size) {}

    std::uint8_t u8() { return static_cast<std::uint8_t>(take(1)); }
    std::uint16_t u16() { return static_cast<std::uint16_t>(take(2)); }
    std::uint32_t u32() { return take(4); }
    std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }

    // A zero-terminated string; fails when no terminator comes before the end.
    std::string cstring();
    void skip(std::size_t count);

    std::size_t position() const { return at; }
    bool ok() const { return intact; }

private:
    std::uint32_t take(std::size_t width);

    const std::uint8_t* bytes;
    std::size_t length;
    std::size_t at = 0;
    bool intact = true;
};

inline void put8(Tbytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
}

inline void put16(Tbytes& out, std::uint32_t value) {
    put8(out, value);
    put8(out, value >> 8);
}

inline void put32(Tbytes& out, std::uint32_t value) {
    put16(out, value);
    put16(out, value >> 16);
}

inline void set16(Tbytes& out, std::size_t at, std::uint32_t value) {
    out[at] = static_cast<std::uint8_t>(value);
    out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void set32(Tbytes& out, std::size_t at, std::uint32_t value) {
    set16(out, at, value);
    set16(out, at + 2, value >> 16);
}
