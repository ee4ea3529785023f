// The About dialog opened in this test program over a stand-in main window: its template as laid
// out on screen, its texts, centring and focus, the title bitmap on screen, how it closes, and
// the palette living exactly as long as each opening.
#include "about/aboutdialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "about/dialog_harness.h"
#include "about/title_pixels.h"
#include "resources/resource.h"
#include "support/lexoria_driver.h"

namespace {

using about_test::runAboutDialog;
using about_test::TdialogRun;
using lexoria_test::windowText;

const RECT kOwnerBounds = {140, 110, 660, 510};

void closeWithOk(HWND dialog) { lexoria_test::clickButton(dialog, IDOK); }

// The expectations every opening shares: it appeared, it was closed by the driver, result 1.
void expectClosedByDriver(const TdialogRun& run) {
    EXPECT_TRUE(run.appeared);
    EXPECT_FALSE(run.leftOpen) << "the driver's way of closing did not close the box";
    EXPECT_EQ(run.result, 1);
}

// The platform converts a control's position and its size separately, so they are rounded
// separately here too.
RECT dialogUnits(HWND dialog, int x, int y, int width, int height) {
    RECT r = {x, y, width, height};
    MapDialogRect(dialog, &r);
    return RECT{r.left, r.top, r.left + r.right, r.top + r.bottom};
}

RECT clientRectOf(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// What the user sees of template 2000 once it is open: each control where the template puts it,
// with its kind, styles and text; the frame, font and size; centred over the owner; focus on OK.
TEST(AboutDialog, OpensAsTemplate2000CentredOverItsOwner) {
    struct Control {
        int id;
        const char* text;  // after initialisation; null: any non-empty credit line
        int x, y, width, height;
        LONG typeMask, type, required, forbidden;
    };
    const LONG shown = WS_CHILD | WS_VISIBLE;
    const Control controls[] = {
        {IDC_TITLE_BITMAP, "", 0, 0, 133, 61, BS_TYPEMASK, BS_OWNERDRAW, shown | WS_GROUP,
         WS_TABSTOP},
        {IDC_PRODUCT_NAME, "Lexoria", 5, 66, 123, 8, SS_TYPEMASK, SS_CENTER, shown, 0},
        {IDC_VERSION, "1.0.1", 7, 79, 123, 8, SS_TYPEMASK, SS_CENTER, shown, 0},
        {IDC_CREDIT, nullptr, 5, 92, 123, 8, SS_TYPEMASK, SS_CENTER, shown, 0},
        {IDOK, "OK", 44, 142, 50, 14, BS_TYPEMASK, BS_DEFPUSHBUTTON,
         shown | WS_GROUP | WS_TABSTOP, 0},
    };
    about_test::TownerWindow owner(kOwnerBounds);
    const TdialogRun run = runAboutDialog(owner.get(), [&](HWND dialog) {
        for (const Control& c : controls) {
            HWND control = GetDlgItem(dialog, c.id);
            const std::string text = windowText(control);
            EXPECT_TRUE(c.text ? text == c.text : !text.empty()) << c.id << ": " << text;
            EXPECT_TRUE(sameRect(clientRectOf(control),
                                 dialogUnits(dialog, c.x, c.y, c.width, c.height)))
                << c.id;
            const LONG style = GetWindowLongA(control, GWL_STYLE);
            EXPECT_EQ(style & c.typeMask, c.type) << c.id;
            EXPECT_EQ(style & (c.required | c.forbidden), c.required) << c.id;
        }
        EXPECT_EQ(windowText(dialog), "About");
        const LONG frame = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
        EXPECT_EQ(GetWindowLongA(dialog, GWL_STYLE) & (frame | WS_SYSMENU), frame)
            << "no system menu, so no close box";
        RECT client, box, over;
        GetClientRect(dialog, &client);
        EXPECT_TRUE(sameRect(client, dialogUnits(dialog, 0, 0, 133, 161)));
        LOGFONTA font = {};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
        HDC screen = GetDC(nullptr);
        EXPECT_EQ(font.lfHeight, -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72)) << "8 points";
        ReleaseDC(nullptr, screen);
        GetWindowRect(dialog, &box);
        GetWindowRect(owner.get(), &over);
        EXPECT_NEAR((box.left + box.right) / 2, (over.left + over.right) / 2, 1);
        EXPECT_NEAR((box.top + box.bottom) / 2, (over.top + over.bottom) / 2, 1);
        EXPECT_EQ(about_test::focusOf(dialog), GetDlgItem(dialog, IDOK));
        closeWithOk(dialog);
    });
    expectClosedByDriver(run);
}

TEST(AboutDialog, ShowsTheTitleBitmapAtItsOwnSize) {
    if (about_test::displayIsPaletteBased()) {
        // Wine's 256-colour display draws through a fixed colour cube whatever is realised.
        GTEST_SKIP() << "exact colours are compared on a true-colour display";
    }
    const TtitleBitmap bitmap = findTitleBitmap(GetModuleHandleA(nullptr));
    ASSERT_NE(bitmap.header, nullptr);
    about_test::TownerWindow owner(kOwnerBounds);
    const TdialogRun run = runAboutDialog(owner.get(), [&](HWND dialog) {
        HWND button = GetDlgItem(dialog, IDC_TITLE_BITMAP);
        RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        // 61 dialog units come to about 100 pixels; the picture is clipped, not scaled, to fit.
        RECT shown;
        GetClientRect(button, &shown);
        ASSERT_GE(shown.bottom, 90);
        HDC dc = GetDC(button);
        int mismatches = 0, sampled = 0;
        for (int y = 1; y < 100 && y < shown.bottom; y += 7) {
            for (int x = 2; x < 200 && x < shown.right; x += 11, ++sampled) {
                if (GetPixel(dc, x, y) != about_test::titlePixel(bitmap, x, y)) ++mismatches;
            }
        }
        ReleaseDC(button, dc);
        EXPECT_EQ(mismatches, 0) << "of " << sampled << " sampled pixels";
        EXPECT_GT(sampled, 200);
        closeWithOk(dialog);
    });
    expectClosedByDriver(run);
}

// The system palette's entries, as "rrggbb" numbers.
std::vector<COLORREF> systemPalette() {
    HDC screen = GetDC(nullptr);
    PALETTEENTRY entries[256];
    const UINT count = GetSystemPaletteEntries(screen, 0, 256, entries);
    ReleaseDC(nullptr, screen);
    std::vector<COLORREF> colours;
    for (UINT i = 0; i < count; ++i)
        colours.push_back(RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue));
    return colours;
}

int missingTitleColours(const BITMAPINFOHEADER* header) {
    const std::vector<COLORREF> present = systemPalette();
    int missing = 0;
    for (unsigned i = 0; i < header->biClrUsed; ++i) {
        const COLORREF colour = about_test::tableColour(header, i);
        if (std::find(present.begin(), present.end(), colour) == present.end()) ++missing;
    }
    return missing;
}

// Realises, in the foreground, a palette of colours the title bitmap does not use, so that its
// colours can only come back into the system palette through the dialog's own realisation.
void floodSystemPalette(HWND window, const BITMAPINFOHEADER* header) {
    struct {
        WORD version, count;
        PALETTEENTRY entries[236];
    } logical = {0x300, 0, {}};
    for (int level = 0; logical.count < 236; ++level) {
        const COLORREF colour = RGB(level, 255 - level, (level * 5) & 0xff);
        bool inTitle = false;
        for (unsigned i = 0; i < header->biClrUsed; ++i)
            inTitle = inTitle || about_test::tableColour(header, i) == colour;
        if (!inTitle)
            logical.entries[logical.count++] = {GetRValue(colour), GetGValue(colour),
                                                GetBValue(colour), 0};
    }
    HPALETTE flood = CreatePalette(reinterpret_cast<LOGPALETTE*>(&logical));
    HDC dc = GetDC(window);
    HPALETTE previous = SelectPalette(dc, flood, FALSE);
    RealizePalette(dc);
    SelectPalette(dc, previous, TRUE);
    ReleaseDC(window, dc);
    DeleteObject(flood);
}

TEST(AboutDialog, RealisesItsPaletteBeforeDrawingOnAPaletteBasedDisplay) {
    if (!about_test::displayIsPaletteBased()) GTEST_SKIP() << "the display is not palette-based";
    const TtitleBitmap bitmap = findTitleBitmap(GetModuleHandleA(nullptr));
    ASSERT_NE(bitmap.header, nullptr);
    about_test::TownerWindow owner(kOwnerBounds);
    floodSystemPalette(owner.get(), bitmap.header);
    const int missingBefore = missingTitleColours(bitmap.header);
    int missingAfter = -1;
    const TdialogRun run = runAboutDialog(owner.get(), [&](HWND dialog) {
        RedrawWindow(GetDlgItem(dialog, IDC_TITLE_BITMAP), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_UPDATENOW);
        missingAfter = missingTitleColours(bitmap.header);
        closeWithOk(dialog);
    });
    expectClosedByDriver(run);
    EXPECT_GT(missingBefore, 20) << "the flood did not displace the title colours";
    EXPECT_EQ(missingAfter, 0) << "of the title bitmap's 36 colours";
}

TEST(AboutDialog, EndsWithResultOneByOkOrEscapeButNotByTheBitmap) {
    struct Case {
        const char* name;
        void (*close)(HWND dialog);
    };
    const Case cases[] = {
        {"OK button", closeWithOk},
        {"Escape key", [](HWND dialog) {
             PostMessageA(about_test::focusOf(dialog), WM_KEYDOWN, VK_ESCAPE, 0);
         }},
        {"a click on the bitmap, then OK", [](HWND dialog) {
             lexoria_test::clickButton(dialog, IDC_TITLE_BITMAP);
             EXPECT_FALSE(about_test::waitClosed(dialog, 300)) << "the bitmap closed the box";
             closeWithOk(dialog);
         }},
    };
    about_test::TownerWindow owner(kOwnerBounds);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        expectClosedByDriver(runAboutDialog(owner.get(), c.close));
    }
}

TEST(AboutDialog, BuildsAPalettePerOpeningAndDeletesItWithTheDialog) {
    const bool paletteBased = about_test::displayIsPaletteBased();
    if (about_test::paletteDisplayExpected()) {
        ASSERT_TRUE(paletteBased);
    }
    const TtitleBitmap bitmap = findTitleBitmap(GetModuleHandleA(nullptr));
    ASSERT_NE(bitmap.header, nullptr);
    about_test::TownerWindow owner(kOwnerBounds);
    for (int opening = 1; opening <= 5; ++opening) {
        SCOPED_TRACE(opening);
        HPALETTE palette = nullptr;
        std::vector<PALETTEENTRY> entries;
        const TdialogRun run = runAboutDialog(owner.get(), [&](HWND dialog) {
            palette = aboutDialogPalette();
            if (palette) {
                entries.resize(37);
                entries.resize(GetPaletteEntries(palette, 0, 37, entries.data()));
            }
            closeWithOk(dialog);
        });
        expectClosedByDriver(run);
        EXPECT_EQ(palette != nullptr, paletteBased) << "a palette only on a palette-based display";
        EXPECT_EQ(aboutDialogPalette(), nullptr) << "forgotten when the dialog went";
        if (!palette) continue;
        EXPECT_EQ(GetObjectType(palette), 0u) << "deleted when the dialog went";
        ASSERT_EQ(entries.size(), 36u);
        for (unsigned i = 0; i < 36; ++i) {
            const PALETTEENTRY& e = entries[i];
            EXPECT_EQ(RGB(e.peRed, e.peGreen, e.peBlue), about_test::tableColour(bitmap.header, i));
        }
    }
}

TEST(AboutDialog, OpensAndClosesWhenItsModuleHasNoTitleBitmap) {
    about_test::TownerWindow owner(kOwnerBounds);
    HPALETTE palette = reinterpret_cast<HPALETTE>(1);
    std::string product;
    const TdialogRun run = runAboutDialog(
        owner.get(),
        [&](HWND dialog) {
            RedrawWindow(dialog, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            palette = aboutDialogPalette();
            product = windowText(GetDlgItem(dialog, IDC_PRODUCT_NAME));
            closeWithOk(dialog);
        },
        GetModuleHandleA("kernel32.dll"));
    expectClosedByDriver(run);
    EXPECT_EQ(palette, nullptr);
    EXPECT_EQ(product, "Lexoria");
}

}  // namespace
