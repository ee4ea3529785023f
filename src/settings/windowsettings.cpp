// TwindowSettings byte layout.
#include "settings/windowsettings.h"

namespace {
void put16(unsigned char* at, uint16_t value) {
    at[0] = static_cast<unsigned char>(value & 0xFF);
    at[1] = static_cast<unsigned char>(value >> 8);
}
uint16_t get16(const unsigned char* at) { return static_cast<uint16_t>(at[0] | (at[1] << 8)); }
}  // namespace

void TwindowSettings::toBytes(unsigned char out[recordSize]) const {
    put16(out, static_cast<uint16_t>(positionChoice));
    put16(out + 2, alwaysOnTop);
    put16(out + 4, static_cast<uint16_t>(savedLeft));
    put16(out + 6, static_cast<uint16_t>(savedTop));
}

bool TwindowSettings::fromBytes(const unsigned char* bytes, unsigned long size) {
    *this = TwindowSettings();
    if (!bytes || size != recordSize) return false;
    positionChoice = static_cast<int16_t>(get16(bytes));
    alwaysOnTop = get16(bytes + 2);
    savedLeft = static_cast<int16_t>(get16(bytes + 4));
    savedTop = static_cast<int16_t>(get16(bytes + 6));
    return true;
}
