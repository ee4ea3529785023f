// The 32-bit little-endian integers that the store's registry values are made of ("Offsets",
// "State", "Modification Time"), written and read byte by byte whatever the host's order.
#pragma once

#include <cstdint>

inline void putLittleEndian32(unsigned char* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(value >> (8 * i));
}

inline uint32_t getLittleEndian32(const unsigned char* at) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(at[i]) << (8 * i);
    return value;
}
