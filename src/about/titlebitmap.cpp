// The title bitmap resource, its palette and its drawing.
#include "about/titlebitmap.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "about/dibcolours.h"
#include "resources/resource.h"
#include "win32/gdiholders.h"

namespace {

// A palette selected into a context and the context's own put back afterwards: the dialog
// deletes its palette when it closes, and a palette must not be deleted while a context holds it.
class TselectedPalette {
public:
    TselectedPalette(HDC context, HPALETTE palette)
        : dc(context), previous(palette ? SelectPalette(context, palette, FALSE) : nullptr) {
        if (previous) RealizePalette(dc);
    }
    ~TselectedPalette() {
        if (previous) SelectPalette(dc, previous, TRUE);
    }
    TselectedPalette(const TselectedPalette&) = delete;
    TselectedPalette& operator=(const TselectedPalette&) = delete;

private:
    HDC dc;
    HPALETTE previous;
};

uint32_t colourCount(const BITMAPINFOHEADER* header) {
    return dibColourCount(header->biClrUsed, header->biBitCount);
}

const BYTE* colourTable(const BITMAPINFOHEADER* header) {
    return reinterpret_cast<const BYTE*>(header) + header->biSize;
}

const char* titleBitmapName(int percent) {
    switch (percent) {
    case 150: return TITLE_BMP_150_NAME;
    case 200: return TITLE_BMP_200_NAME;
    default: return TITLE_BMP_NAME;
    }
}

}  // namespace

TtitleBitmap findTitleBitmap(HINSTANCE module, int percent) {
    TtitleBitmap bitmap;
    HRSRC found = FindResourceA(module, titleBitmapName(percent), RT_BITMAP);
    if (!found) found = FindResourceA(module, TITLE_BMP_NAME, RT_BITMAP);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* locked = loaded ? LockResource(loaded) : nullptr;
    if (!locked) return bitmap;
    bitmap.header = static_cast<const BITMAPINFOHEADER*>(locked);
    bitmap.pixels = static_cast<const BYTE*>(locked) +
                    dibPixelOffset(bitmap.header->biSize, colourCount(bitmap.header));
    return bitmap;
}

HPALETTE createDibPalette(const BITMAPINFOHEADER* header) {
    const uint32_t count = header ? colourCount(header) : 0;
    if (count == 0) return nullptr;
    const std::vector<TpaletteColour> colours = paletteFromColourTable(colourTable(header), count);
    // LOGPALETTE ends in a one-entry array; the description is built in a buffer of the full size.
    std::vector<BYTE> description(offsetof(LOGPALETTE, palPalEntry) +
                                  sizeof(PALETTEENTRY) * colours.size());
    auto* logical = reinterpret_cast<LOGPALETTE*>(description.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(colours.size());
    for (size_t i = 0; i < colours.size(); ++i) {
        logical->palPalEntry[i] =
            PALETTEENTRY{colours[i].red, colours[i].green, colours[i].blue, colours[i].flags};
    }
    return CreatePalette(logical);
}

HPALETTE createScreenPalette(const BITMAPINFOHEADER* header) {
    if (!header || colourCount(header) == 0) return nullptr;
    TwindowDC screen(nullptr);
    if (!screen.get() || !(GetDeviceCaps(screen.get(), RASTERCAPS) & RC_PALETTE)) return nullptr;
    return createDibPalette(header);
}

void drawTitleBitmap(HDC dc, const TtitleBitmap& bitmap, HPALETTE palette, const RECT& place) {
    if (!bitmap.header) return;
    TselectedPalette selected(dc, palette);
    const int width = bitmap.header->biWidth;
    const int height = bitmap.header->biHeight;
    const int left = place.left + std::max(0L, place.right - place.left - width) / 2;
    const int top = place.top + std::max(0L, place.bottom - place.top - height) / 2;
    // In a dialog mirrored for a language read right to left, the picture is drawn unmirrored so
    // that its lettering still reads; centred in its place, it stands where it would mirrored.
    const DWORD layout = GetLayout(dc);
    const bool mirrored = layout != GDI_ERROR && (layout & LAYOUT_RTL);
    if (mirrored) SetLayout(dc, 0);
    StretchDIBits(dc, left, top, width, height, 0, 0, width, height, bitmap.pixels,
                  reinterpret_cast<const BITMAPINFO*>(bitmap.header), DIB_RGB_COLORS, SRCCOPY);
    if (mirrored) SetLayout(dc, layout);
}
