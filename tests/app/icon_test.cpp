// The program's icon as Lexoria.exe carries it: the group directory lists every size Windows asks
// for, the images that Windows XP reads are bitmaps and the large ones PNG, and every image
// decodes to a picture of its size, see-through at the tile's rounded corners and solid inside.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "support/lexoria_driver.h"
#include "win32/gdiholders.h"

namespace {

using namespace lexoriaTest;

// The group icon resource's layout (GRPICONDIR with its GRPICONDIRENTRYs), packed as stored.
#pragma pack(push, 2)
struct TgroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitsPerPixel;
    DWORD bytes;
    WORD id;
};
struct TgroupHeader {
    WORD reserved, type, count;
};
#pragma pack(pop)

const std::string bitmap = "bitmap", png = "PNG";

std::string formOf(const BYTE* image, DWORD bytes) {
    return bytes >= 8 && std::memcmp(image, "\x89PNG\r\n\x1A\n", 8) == 0 ? png : bitmap;
}

// The icon drawn on a magenta field: the pixel at (x, y) is magenta where the icon is see-through.
COLORREF drawnPixel(HICON icon, int size, int x, int y) {
    HDC memory = CreateCompatibleDC(nullptr);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    TgdiObject<HBITMAP> canvas(CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    COLORREF pixel = CLR_INVALID;
    {
        TselectedObject selected(memory, canvas.get());
        const RECT all = {0, 0, size, size};
        TgdiObject<HBRUSH> magenta(CreateSolidBrush(RGB(255, 0, 255)));
        FillRect(memory, &all, magenta.get());
        DrawIconEx(memory, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
        pixel = GetPixel(memory, x, y);
    }
    DeleteDC(memory);
    return pixel;
}

TEST(ProgramIcon, ListsEverySizeAsBitmapsForWindowsXpAndPngAboveAndEachDecodes) {
    const auto program = programResources();
    ASSERT_NE(nullptr, program);
    HRSRC groupFound = FindResourceA(program.get(), LEXORIA_ICON_NAME, RT_GROUP_ICON);
    ASSERT_NE(nullptr, groupFound);
    const auto* group =
        static_cast<const BYTE*>(LockResource(LoadResource(program.get(), groupFound)));
    ASSERT_NE(nullptr, group);
    const auto& header = *reinterpret_cast<const TgroupHeader*>(group);
    ASSERT_EQ(1, header.type);
    ASSERT_EQ(SizeofResource(program.get(), groupFound),
              sizeof(TgroupHeader) + header.count * sizeof(TgroupEntry));
    std::map<int, TgroupEntry> listed;
    for (int i = 0; i < header.count; ++i) {
        const auto& entry = reinterpret_cast<const TgroupEntry*>(group + sizeof(TgroupHeader))[i];
        listed[entry.width ? entry.width : 256] = entry;  // 0 stands for 256
    }

    // Windows XP reads only bitmaps, and asks for 16, 32 and 48 (and, scaled, 20, 24 and 40);
    // Windows Vista and later read PNG, which keeps the large images small.
    const struct {
        int size;
        const std::string& form;
    } cases[] = {{16, bitmap}, {20, bitmap}, {24, bitmap}, {32, bitmap},
                 {40, bitmap}, {48, bitmap}, {64, png},    {256, png}};
    EXPECT_EQ(std::size(cases), listed.size());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        ASSERT_EQ(1u, listed.count(c.size));
        const TgroupEntry& entry = listed[c.size];
        EXPECT_EQ(c.size % 256, entry.height);
        HRSRC found = FindResourceA(program.get(), MAKEINTRESOURCEA(entry.id), RT_ICON);
        ASSERT_NE(nullptr, found);
        const DWORD bytes = SizeofResource(program.get(), found);
        EXPECT_EQ(entry.bytes, bytes);
        auto* image = static_cast<BYTE*>(LockResource(LoadResource(program.get(), found)));
        ASSERT_NE(nullptr, image);
        EXPECT_EQ(c.form, formOf(image, bytes));
        if (c.form == bitmap) {
            const auto& dib = *reinterpret_cast<const BITMAPINFOHEADER*>(image);
            EXPECT_EQ(40u, dib.biSize);
            EXPECT_EQ(c.size, dib.biWidth);
            EXPECT_EQ(2 * c.size, dib.biHeight);  // the colour rows and the mask's
            EXPECT_EQ(32, dib.biBitCount);
        }

        HICON icon = CreateIconFromResourceEx(image, bytes, TRUE, 0x00030000, c.size, c.size,
                                              LR_DEFAULTCOLOR);
        ASSERT_NE(nullptr, icon) << "does not decode";
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        TgdiObject<HBITMAP> colour(info.hbmColor), mask(info.hbmMask);
        BITMAP decoded = {};
        GetObjectA(colour.get() ? colour.get() : mask.get(), sizeof decoded, &decoded);
        EXPECT_EQ(c.size, decoded.bmWidth);
        EXPECT_EQ(RGB(255, 0, 255), drawnPixel(icon, c.size, 0, 0)) << "corner not see-through";
        EXPECT_NE(RGB(255, 0, 255), drawnPixel(icon, c.size, c.size / 2, c.size / 2))
            << "centre not drawn";
        DestroyIcon(icon);
    }
}

}  // namespace
