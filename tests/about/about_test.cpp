// The About dialog under Wine: the title bitmap as Lexoria.exe carries it, its palette, the
// palette's life with each opening, and the box itself opened with "&About" in the real program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "about/aboutdialog.h"
#include "about/titlebitmap.h"
#include "resources/resource.h"
#include "support/lexoria_driver.h"
#include "win32/gdiholders.h"
#include "version.h"

namespace {

using namespace lexoriaTest;

COLORREF tableColour(const BITMAPINFOHEADER* header, unsigned index) {
    const BYTE* quad = reinterpret_cast<const BYTE*>(header) + header->biSize + 4 * index;
    return RGB(quad[2], quad[1], quad[0]);
}

TEST(TitleBitmap, HasTheFormTheDialogIsMadeFor) {
    const auto program = programResources();
    const TtitleBitmap bitmap = findTitleBitmap(program.get());
    ASSERT_NE(bitmap.header, nullptr);
    const BITMAPINFOHEADER& h = *bitmap.header;
    // clang-format off
    const struct { const char* name; long actual, expected; } fields[] = {
        {"header size", long(h.biSize), 40}, {"width", h.biWidth, 200},
        {"height, positive for bottom-up rows", h.biHeight, 100}, {"planes", h.biPlanes, 1},
        {"bits per pixel", h.biBitCount, 8}, {"compression", long(h.biCompression), BI_RGB},
        {"horizontal pixels per metre", h.biXPelsPerMeter, 2834},
        {"vertical pixels per metre", h.biYPelsPerMeter, 2834},
        {"colours used", long(h.biClrUsed), 36}, {"colours important", long(h.biClrImportant), 36},
    };
    // clang-format on
    for (const auto& field : fields) EXPECT_EQ(field.actual, field.expected) << field.name;
    HRSRC found = FindResourceA(program.get(), TITLE_BMP_NAME, RT_BITMAP);
    EXPECT_EQ(SizeofResource(program.get(), found), 40u + 36 * 4 + 200 * 100);
    EXPECT_EQ(bitmap.pixels, reinterpret_cast<const BYTE*>(bitmap.header) + 40 + 36 * 4);
}

TEST(TitleBitmap, PaletteEntriesAreItsColourTable) {
    const auto program = programResources();
    const TtitleBitmap bitmap = findTitleBitmap(program.get());
    ASSERT_NE(bitmap.header, nullptr);
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

// Each opening builds its palette (only where the display needs one) and closing deletes it. The
// dialog is opened modeless here so that the test can look between opening and closing; a module
// without the title bitmap must still open and draw.
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

// The drawing for each scaling has the plain one's colour table, so the palette realised on a
// 256-colour display is the same whichever is shown.
TEST(TitlePicture, OneDrawingPerScalingWithTheSameColours) {
    const auto program = programResources();
    ASSERT_NE(nullptr, program);
    const TtitleBitmap plain = findTitleBitmap(program.get());
    ASSERT_NE(nullptr, plain.header);
    const size_t tableBytes = 4 * plain.header->biClrUsed;
    const struct {
        int percent;
        long width, height;
    } cases[] = {{100, 200, 100}, {125, 200, 100}, {150, 300, 150}, {200, 400, 200}};
    for (const auto& c : cases) {
        const TtitleBitmap drawn = findTitleBitmap(program.get(), c.percent);
        ASSERT_NE(nullptr, drawn.header) << c.percent;
        EXPECT_EQ(c.width, drawn.header->biWidth) << c.percent;
        EXPECT_EQ(c.height, drawn.header->biHeight) << c.percent;
        EXPECT_EQ(plain.header->biClrUsed, drawn.header->biClrUsed);
        EXPECT_EQ(0, memcmp(reinterpret_cast<const BYTE*>(plain.header) + plain.header->biSize,
                            reinterpret_cast<const BYTE*>(drawn.header) + drawn.header->biSize,
                            tableBytes))
            << c.percent;
    }
}

class TaboutFromMainWindow : public TprogramRun<> {
protected:
    void SetUp() override {
        TprogramRun::SetUp();
        useList("word=lucid\r\ndef=clear\r\n");
        mainWindow = start(program);
        ASSERT_NE(mainWindow, nullptr);
    }
    void TearDown() override {
        if (mainWindow && program.running()) clickButton(mainWindow, IDC_EXIT);
        EXPECT_EQ(program.waitForExit(), 0);
        TprogramRun::TearDown();
    }

    TlexoriaProcess program;
    HWND mainWindow = nullptr;
};

TEST_F(TaboutFromMainWindow, OpensCentredWithNameAndVersionAndClosesByOkOrEscape) {
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
        EXPECT_EQ(windowText(GetDlgItem(about, IDC_PRODUCT_NAME)), "Lexoria");
        EXPECT_EQ(windowText(GetDlgItem(about, IDC_VERSION)), LEXORIA_VERSION);
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
}

}  // namespace
