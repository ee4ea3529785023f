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

// The module's drawing of the title picture for the DPI ("TITLE_BMP" at 96, "TITLE_BMP_150" or
// "TITLE_BMP_200" nearer those scalings), found, loaded and locked; "TITLE_BMP" when the module
// lacks the one chosen.
TtitleBitmap findTitleBitmap(HINSTANCE module, int dpi = 96);

// A logical palette with one entry per colour of the bitmap's colour table; null when the bitmap
// has no colour table or the palette cannot be created.
HPALETTE createDibPalette(const BITMAPINFOHEADER* header);

// The palette the bitmap needs on this screen: built only when the display is palette-based.
HPALETTE createScreenPalette(const BITMAPINFOHEADER* header);

// Copies the bitmap at its own size to the top-left corner of the context, with the palette
// (when there is one) selected as a foreground palette and realised first.
void drawTitleBitmap(HDC dc, const TtitleBitmap& bitmap, HPALETTE palette);
