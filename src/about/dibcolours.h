// Colour-table arithmetic of a packed device-independent bitmap, kept free of the platform so the
// host build can check it under the sanitizers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// One logical palette entry, laid out like the platform's PALETTEENTRY.
struct TpaletteColour {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    uint8_t flags;
};

// The number of colour-table entries after the header: the colours-used field when it is set;
// otherwise every colour the pixel size can index, up to 8 bits per pixel; otherwise none.
uint32_t dibColourCount(uint32_t coloursUsed, uint16_t bitsPerPixel);

// Where the pixel rows begin, in bytes from the start of the header.
size_t dibPixelOffset(uint32_t headerSize, uint32_t colourCount);

// Palette entries for a colour table of `count` 4-byte entries (blue, green, red, reserved);
// the reserved byte is not carried over, every entry gets flags 0.
std::vector<TpaletteColour> paletteFromColourTable(const uint8_t* table, uint32_t count);
