// Colour-table arithmetic of a packed device-independent bitmap.
#include "about/dibcolours.h"

uint32_t dibColourCount(uint32_t coloursUsed, uint16_t bitsPerPixel) {
    if (coloursUsed != 0) return coloursUsed;
    if (bitsPerPixel <= 8) return uint32_t{1} << bitsPerPixel;
    return 0;  // true-colour pixels carry their own colours
}

size_t dibPixelOffset(uint32_t headerSize, uint32_t colourCount) {
    return size_t{headerSize} + size_t{4} * colourCount;
}

std::vector<TpaletteColour> paletteFromColourTable(const uint8_t* table, uint32_t count) {
    std::vector<TpaletteColour> entries;
    entries.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* quad = table + size_t{4} * i;
        entries.push_back(TpaletteColour{quad[2], quad[1], quad[0], 0});
    }
    return entries;
}
