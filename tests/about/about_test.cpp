// The About dialog under Wine: the title bitmap's palette and its life with each opening, and the
// box opened with "&About" in the real program at scalings from 100% to 250%.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "about/aboutdialog.h"
#include "about/titlechoice.h"
#include "about/titlebitmap.h"
#include "resources/resource.h"
#include "support/lexoria_driver.h"
#include "win32/gdiholders.h"

namespace {

using namespace lexoriaTest;

COLORREF tableColour(const BITMAPINFOHEADER* header, unsigned index) {
    const BYTE* quad = reinterpret_cast<const BYTE*>(header) + header->biSize + 4 * index;
    return RGB(quad[2], quad[1], quad[0]);
}

// The plain title stays a packed, uncompressed bottom-up bitmap of eight bits per pixel (its size
// and colour count are checked where it is drawn), whose palette's entries are its colour table.
TEST(TitleBitmap, IsAnEightBitBitmapWhosePaletteIsItsColourTable) {
    const auto program = programResources();
    const TtitleBitmap bitmap = findTitleBitmap(program.get());
    ASSERT_NE(bitmap.header, nullptr);
    const BITMAPINFOHEADER& h = *bitmap.header;
    EXPECT_EQ(40u, h.biSize);
    EXPECT_GT(h.biHeight, 0);
    EXPECT_EQ(8, h.biBitCount);
    EXPECT_EQ(DWORD(BI_RGB), h.biCompression);
    EXPECT_EQ(bitmap.pixels, reinterpret_cast<const BYTE*>(bitmap.header) + 40 + 36 * 4);
    HPALETTE palette = createDibPalette(bitmap.header);
    PALETTEENTRY entries[37];
    ASSERT_EQ(GetPaletteEntries(palette, 0, 37, entries), 36u);
    for (unsigned i = 0; i < 36; ++i) {
        const PALETTEENTRY& e = entries[i];
        EXPECT_EQ(RGB(e.peRed, e.peGreen, e.peBlue), tableColour(bitmap.header, i)) << i;
        EXPECT_EQ(e.peFlags, 0) << i;
    }
    EXPECT_TRUE(DeleteObject(palette));
}

// Each opening builds its palette (only on a palette display), closing deletes it; opened
// modeless to look in between. A module without the title bitmap still opens.
TEST(AboutDialog, BuildsAPalettePerOpeningAndDeletesItOnClosing) {
    const bool paletteBased =
        (GetDeviceCaps(TwindowDC(nullptr).get(), RASTERCAPS) & RC_PALETTE) != 0;
    // The 256-colour run must not pass by silently running on a true-colour display.
    ASSERT_TRUE(paletteBased || !std::getenv("LEXORIA_EXPECT_PALETTE_DISPLAY"));
    const auto program = programResources();
    HRSRC found = FindResourceA(program.get(), MAKEINTRESOURCEA(IDD_ABOUT), RT_DIALOG);
    const auto* form =
        static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(program.get(), found)));
    ASSERT_NE(form, nullptr);
    // clang-format off
    const struct { const char* name; HINSTANCE module; bool palette; } cases[] = {
        {"first opening", program.get(), paletteBased},
        {"second opening", program.get(), paletteBased},
        {"no title bitmap", GetModuleHandleA(nullptr), false},
    };
    // clang-format on
    for (const auto& c : cases) {
        HWND dialog = CreateDialogIndirectParamA(c.module, form, nullptr, aboutDialogProc, 0);
        ASSERT_NE(dialog, nullptr) << c.name;
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        HPALETTE palette = aboutDialogPalette();
        EXPECT_EQ(palette != nullptr, c.palette) << c.name;
        EXPECT_EQ(windowText(GetDlgItem(dialog, IDC_PRODUCT_NAME)), "Lexoria") << c.name;
        DestroyWindow(dialog);
        EXPECT_EQ(aboutDialogPalette(), nullptr) << c.name;
        EXPECT_EQ(palette ? GetObjectType(palette) : 0u, 0u) << c.name << ": not deleted";
    }
}

// What `draw` paints into a 32-bit top-down memory picture, row by row.
std::vector<COLORREF> drawnPixels(int width, int height, const std::function<void(HDC)>& draw) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    TgdiObject<HBITMAP> bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    std::unique_ptr<HDC__, decltype(&DeleteDC)> dc(CreateCompatibleDC(nullptr), DeleteDC);
    {
        TselectedObject selected(dc.get(), bitmap.get());
        draw(dc.get());
        GdiFlush();
    }
    const auto* quads = static_cast<const BYTE*>(bits);
    std::vector<COLORREF> all;
    for (int i = 0; quads && i < width * height; ++i)
        all.push_back(RGB(quads[4 * i + 2], quads[4 * i + 1], quads[4 * i]));
    return all;
}

// What the title button shows: the extent of pixels unlike the dialog's face, and those pixels.
struct TshownPicture {
    RECT extent = {};
    std::vector<COLORREF> pixels;
    long width() const { return extent.right - extent.left; }
    long height() const { return extent.bottom - extent.top; }
    bool operator==(const TshownPicture& other) const {
        return EqualRect(&extent, &other.extent) && pixels == other.pixels;
    }
};

TshownPicture pictureShownIn(HWND button) {
    RECT place = {};
    GetClientRect(button, &place);
    MapWindowPoints(button, nullptr, reinterpret_cast<POINT*>(&place), 2);
    const long width = place.right - place.left, height = place.bottom - place.top;
    const std::vector<COLORREF> all = drawnPixels(width, height, [&](HDC dc) {
        BitBlt(dc, 0, 0, width, height, TwindowDC(nullptr).get(), place.left, place.top, SRCCOPY);
    });
    const COLORREF face = GetSysColor(COLOR_3DFACE);
    TshownPicture shown;
    shown.extent = {width, long(all.size()) / width, -1, -1};
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i] == face) continue;
        const long x = long(i) % width, y = long(i) / width;
        shown.extent = {std::min(shown.extent.left, x), std::min(shown.extent.top, y),
                        std::max(shown.extent.right, x + 1), std::max(shown.extent.bottom, y + 1)};
    }
    for (long y = shown.extent.top; y < shown.extent.bottom; ++y)
        for (long x = shown.extent.left; x < shown.extent.right; ++x)
            shown.pixels.push_back(all[y * width + x]);
    return shown;
}

// At each scaling the largest drawing that fits, at its own size and in the plain bitmap's table
// colours (so one palette serves all), not the plain one stretched; each drawing shown somewhere.
class TaboutRun : public TprogramRun<> {};

TEST_F(TaboutRun, ShowsTheLargestTitleThatFitsInTheTableColours) {
    if (GetDeviceCaps(TwindowDC(nullptr).get(), RASTERCAPS) & RC_PALETTE)
        GTEST_SKIP() << "a palette display";
    const auto program = programResources();
    ASSERT_NE(nullptr, program);
    const TtitleBitmap plain = findTitleBitmap(program.get());
    ASSERT_NE(nullptr, plain.header);
    std::set<COLORREF> table;
    for (unsigned i = 0; i < plain.header->biClrUsed; ++i)
        table.insert(tableColour(plain.header, i));
    useList("word=lucid\r\ndef=clear\r\n");
    std::set<int> shownPercents;
    for (DWORD dpi : {96u, 144u, 192u, 240u}) {
        SCOPED_TRACE(dpi);
        TlexoriaProcess run;
        HWND window = nullptr;
        {
            TlogPixels pixels(dpi);
            window = start(run);
        }
        ASSERT_NE(nullptr, window);
        clickButton(window, IDC_ABOUT);
        HWND about = run.waitForDialog(5000);
        ASSERT_NE(nullptr, about);
        HWND button = GetDlgItem(about, IDC_TITLE_BITMAP);
        // Painted and settled: the same picture twice in a row.
        TshownPicture shown, before;
        waitUntil([&] {
            before = shown;
            shown = pictureShownIn(button);
            return shown.width() > 0 && shown == before;
        });
        RECT place = {};
        GetClientRect(button, &place);
        PostMessageA(about, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(waitUntil([&] { return !IsWindow(about); }));
        exitThroughButton(run, window);

        const int percent = titlePicturePercent(place.right, place.bottom);
        // The drawings: 200 x 100 pixels at 100%, 300 x 150 at 150%, 400 x 200 at 200%.
        const long drawnWidth = 2L * percent, drawnHeight = percent;
        shownPercents.insert(percent);
        EXPECT_EQ(std::min(drawnWidth, place.right), shown.width()) << percent;
        EXPECT_EQ(std::min(drawnHeight, place.bottom), shown.height()) << percent;
        const size_t foreign = std::count_if(shown.pixels.begin(), shown.pixels.end(),
                                             [&](COLORREF p) { return !table.count(p); });
        EXPECT_EQ(0u, foreign) << "pixels in colours outside the table";
        if (percent == 100) continue;
        // The plain picture stretched to the size, as a display that scales programs shows it.
        const std::vector<COLORREF> stretched = drawnPixels(drawnWidth, drawnHeight, [&](HDC dc) {
            SetStretchBltMode(dc, COLORONCOLOR);
            StretchDIBits(dc, 0, 0, drawnWidth, drawnHeight, 0, 0, plain.header->biWidth,
                          plain.header->biHeight, plain.pixels,
                          reinterpret_cast<const BITMAPINFO*>(plain.header), DIB_RGB_COLORS,
                          SRCCOPY);
        });
        size_t differing = 0;
        for (long y = 0; y < shown.height(); ++y)
            for (long x = 0; x < shown.width(); ++x)
                differing += shown.pixels[y * shown.width() + x] != stretched[y * drawnWidth + x];
        EXPECT_GT(differing, shown.pixels.size() / 20) << "the plain picture stretched";
    }
    EXPECT_EQ((std::set<int>{100, 150, 200}), shownPercents) << "a drawing never shown";
}

// The name and version are checked in every language by language_e2e_test.
TEST_F(TaboutRun, OpensCentredOverTheMainWindowAndClosesByOkOrEscape) {
    useList("word=lucid\r\ndef=clear\r\n");
    TlexoriaProcess program;
    HWND mainWindow = start(program);
    ASSERT_NE(mainWindow, nullptr);
    const struct {
        const char* name;
        void (*close)(HWND dialog);
    } cases[] = {
        {"OK", [](HWND about) { clickButton(about, IDOK); }},
        {"Escape",
         [](HWND about) { PostMessageA(GetDlgItem(about, IDOK), WM_KEYDOWN, VK_ESCAPE, 0); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clickButton(mainWindow, IDC_ABOUT);
        HWND about = program.waitForDialog(5000);
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(windowText(about), "About");
        RECT box, main;
        GetWindowRect(about, &box);
        GetWindowRect(mainWindow, &main);
        EXPECT_NEAR((box.left + box.right) / 2, (main.left + main.right) / 2, 1);
        EXPECT_NEAR((box.top + box.bottom) / 2, (main.top + main.bottom) / 2, 1);
        c.close(about);
        if (!waitUntil([&] { return !IsWindow(about); })) {
            PostMessageA(about, WM_COMMAND, IDCANCEL, 0);
            FAIL() << "the box stayed open";
        }
    }
    exitThroughButton(program, mainWindow);
}

}  // namespace
