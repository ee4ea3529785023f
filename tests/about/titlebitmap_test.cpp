// The linked title bitmap resource, the palette built from a colour table, and the copy of the
// bitmap onto a device context, checked pixel by pixel.
#include "about/titlebitmap.h"

#include <gtest/gtest.h>

#include <vector>

#include "about/title_form.h"
#include "about/title_pixels.h"

namespace {

const BYTE* bytesOf(const BITMAPINFOHEADER* header) {
    return reinterpret_cast<const BYTE*>(header);
}

using about_test::tableColour;
using about_test::titlePixel;

TEST(TitleResource, HasTheFormTheDialogIsMadeFor) {
    HMODULE self = GetModuleHandleA(nullptr);
    const TtitleBitmap bitmap = findTitleBitmap(self);
    ASSERT_NE(bitmap.header, nullptr);
    for (const about_test::TheaderField& field : about_test::kTitleHeader) {
        EXPECT_EQ(about_test::headerField(bytesOf(bitmap.header), field), field.expected)
            << field.name;
    }
    EXPECT_EQ(SizeofResource(self, FindResourceA(self, "TITLE_BMP", RT_BITMAP)),
              about_test::kPackedBytes);
    EXPECT_EQ(static_cast<const BYTE*>(bitmap.pixels), bytesOf(bitmap.header) + 40 + 36 * 4);
}

// A bitmap header followed by a full 256-entry colour table of distinct colours whose reserved
// bytes are sentinels.
struct TsyntheticDib {
    BITMAPINFOHEADER header;
    RGBQUAD table[256];
};

TsyntheticDib syntheticDib(WORD bitsPerPixel, DWORD coloursUsed) {
    TsyntheticDib dib = {};
    dib.header.biSize = sizeof dib.header;
    dib.header.biWidth = 4;
    dib.header.biHeight = 4;
    dib.header.biPlanes = 1;
    dib.header.biBitCount = bitsPerPixel;
    dib.header.biClrUsed = coloursUsed;
    for (int i = 0; i < 256; ++i)
        dib.table[i] = RGBQUAD{BYTE(i), BYTE(255 - i), BYTE(i * 7), 0xbd};
    return dib;
}

// The palette's entries must be the colour table's, in order, with flags 0; it is deleted after.
void expectPaletteOfTable(HPALETTE palette, const BITMAPINFOHEADER* header, unsigned count,
                          const char* what) {
    ASSERT_EQ(GetObjectType(palette), static_cast<DWORD>(OBJ_PAL)) << what;
    std::vector<PALETTEENTRY> entries(count + 1, PALETTEENTRY{0xbd, 0xbd, 0xbd, 0xbd});
    ASSERT_EQ(GetPaletteEntries(palette, 0, count + 1, entries.data()), count) << what;
    for (unsigned i = 0; i < count; ++i) {
        const PALETTEENTRY& e = entries[i];
        EXPECT_EQ(RGB(e.peRed, e.peGreen, e.peBlue), tableColour(header, i)) << what << " " << i;
        EXPECT_EQ(e.peFlags, 0) << what << " entry " << i;
    }
}

TEST(DibPalette, HasOneEntryPerColourOfTheTable) {
    struct Case {
        const char* name;
        WORD bitsPerPixel;
        DWORD coloursUsed;
        unsigned entries;  // 0: no palette
    };
    const Case cases[] = {
        {"8 bits, colours used unset", 8, 0, 256},
        {"24 bits, colours used unset", 24, 0, 0},
    };
    for (const Case& c : cases) {
        const TsyntheticDib dib = syntheticDib(c.bitsPerPixel, c.coloursUsed);
        HPALETTE palette = createDibPalette(&dib.header);
        if (c.entries == 0) {
            EXPECT_EQ(palette, nullptr) << c.name;
            continue;
        }
        expectPaletteOfTable(palette, &dib.header, c.entries, c.name);
        EXPECT_TRUE(DeleteObject(palette)) << c.name;
    }
    EXPECT_EQ(createDibPalette(nullptr), nullptr);
}

TEST(DibPalette, OfTheTitleBitmapEqualsItsColourTable) {
    const TtitleBitmap bitmap = findTitleBitmap(GetModuleHandleA(nullptr));
    ASSERT_NE(bitmap.header, nullptr);
    HPALETTE palette = createDibPalette(bitmap.header);
    expectPaletteOfTable(palette, bitmap.header, 36, "title bitmap");
    EXPECT_TRUE(DeleteObject(palette));
    EXPECT_EQ(GetObjectType(palette), 0u) << "a deleted palette is gone";
}

// A 32-bit memory canvas larger than the bitmap, filled with a sentinel colour.
class Tcanvas {
public:
    static constexpr int kWidth = 230, kHeight = 130;
    static constexpr COLORREF kSentinel = RGB(0xbd, 0x0d, 0xbd);
    Tcanvas() : dc(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;  // top-down, like the screen
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        previous = SelectObject(dc, bitmap);
        HBRUSH brush = CreateSolidBrush(kSentinel);
        RECT all = {0, 0, kWidth, kHeight};
        FillRect(dc, &all, brush);
        DeleteObject(brush);
    }
    ~Tcanvas() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    Tcanvas(const Tcanvas&) = delete;
    Tcanvas& operator=(const Tcanvas&) = delete;
    HDC get() const { return dc; }

private:
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
};

TEST(DrawTitleBitmap, CopiesAtItsOwnSizeToTheTopLeftCorner) {
    const TtitleBitmap bitmap = findTitleBitmap(GetModuleHandleA(nullptr));
    ASSERT_NE(bitmap.header, nullptr);
    Tcanvas canvas;
    drawTitleBitmap(canvas.get(), bitmap, nullptr);
    int compared = 0;
    for (int y = 0; y < 100; y += 3) {
        for (int x = 0; x < 200; x += 7) {
            EXPECT_EQ(GetPixel(canvas.get(), x, y), titlePixel(bitmap, x, y)) << x << ", " << y;
            ++compared;
        }
    }
    EXPECT_GT(compared, 900);
    const POINT outside[] = {{200, 0}, {0, 100}, {199, 100}, {229, 129}};
    for (const POINT& p : outside)
        EXPECT_EQ(GetPixel(canvas.get(), p.x, p.y), Tcanvas::kSentinel) << p.x << ", " << p.y;
}

TEST(DrawTitleBitmap, PutsBackTheContextsPaletteSoThePaletteCanBeDeleted) {
    const TtitleBitmap bitmap = findTitleBitmap(GetModuleHandleA(nullptr));
    HPALETTE palette = createDibPalette(bitmap.header);
    ASSERT_NE(palette, nullptr);
    Tcanvas canvas;
    drawTitleBitmap(canvas.get(), bitmap, palette);
    EXPECT_NE(GetCurrentObject(canvas.get(), OBJ_PAL), palette);
    EXPECT_EQ(GetPixel(canvas.get(), 0, 0), titlePixel(bitmap, 0, 0));
    EXPECT_TRUE(DeleteObject(palette));
}

}  // namespace
