// The title bitmap that the About dialog shows: finding it among a module's resources, building a
// palette from its colour table, and copying it onto a device context.
#pragma once

#include <windows.h>

// A packed device-independent bitmap inside a loaded resource; the memory belongs to the
// platform and is never freed. Both pointers are null when the module has no title bitmap.
struct TtitleBitmap {
    const BITMAPINFOHEADER* header = nullptr;
    const void* pixels = nullptr;
};

// The module's drawing of the title picture at 100, 150 or 200 percent ("TITLE_BMP",
// "TITLE_BMP_150", "TITLE_BMP_200"), found, loaded and locked; "TITLE_BMP" when the module lacks
// the one asked for.
TtitleBitmap findTitleBitmap(HINSTANCE module, int percent = 100);

// A logical palette with one entry per colour of the bitmap's colour table; null when the bitmap
// has no colour table or the palette cannot be created.
HPALETTE createDibPalette(const BITMAPINFOHEADER* header);

// The palette the bitmap needs on this screen: built only when the display is palette-based.
HPALETTE createScreenPalette(const BITMAPINFOHEADER* header);

// Copies the bitmap at its own size, centred in the place (a place smaller than the bitmap keeps
// its top-left corner), with the palette (when there is one) selected as a foreground palette
// and realised first.
void drawTitleBitmap(HDC dc, const TtitleBitmap& bitmap, HPALETTE palette, const RECT& place);
