// TwindowSettings: the 8-byte "Startup" record (initial position choice, always on top, and the
// last saved position), kept as four little-endian 16-bit fields. No platform headers here.
#pragma once

#include <cstdint>

struct TwindowSettings {
    int16_t positionChoice = 1;  // 0 saved position, 1 centred, 2..5 corners
    uint16_t alwaysOnTop = 0;
    int16_t savedLeft = 0;
    int16_t savedTop = 0;

    static const unsigned recordSize = 8;

    void toBytes(unsigned char out[recordSize]) const;
    // Fills the record from a stored value; false (and the defaults) unless it is exactly 8 bytes.
    bool fromBytes(const unsigned char* bytes, unsigned long size);
};

// The placement choices and their range.
enum : int16_t {
    positionSaved = 0,
    positionCentred = 1,
    positionTopLeft = 2,
    positionTopRight = 3,
    positionBottomLeft = 4,
    positionBottomRight = 5,
};
