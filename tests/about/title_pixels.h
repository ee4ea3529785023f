// The colours the title bitmap gives its pixels, read from its own colour table.
#pragma once

#include <windows.h>

#include "about/titlebitmap.h"

namespace about_test {

inline COLORREF tableColour(const BITMAPINFOHEADER* header, unsigned index) {
    const BYTE* quad = reinterpret_cast<const BYTE*>(header) + header->biSize + 4 * index;
    return RGB(quad[2], quad[1], quad[0]);
}

// The pixel at (x, y) counted from the top-left corner; the rows are stored bottom-up.
inline COLORREF titlePixel(const TtitleBitmap& bitmap, int x, int y) {
    const BITMAPINFOHEADER* h = bitmap.header;
    const BYTE* rows = static_cast<const BYTE*>(bitmap.pixels);
    return tableColour(h, rows[(h->biHeight - 1 - y) * h->biWidth + x]);
}

}  // namespace about_test
