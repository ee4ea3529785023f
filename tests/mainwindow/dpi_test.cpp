// Lexoria.exe at 150% and 200% scaling under Wine, which takes the DPI of every process started
// after HKCU\Control Panel\Desktop\LogPixels changes: the window, every child and the fonts'
// line heights grow with it, a DPI change while running lays the window out again in the place
// it is given, both dialogs come out whole, and the manifest declares the awareness that Wine
// itself does not need.
#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "about/titlebitmap.h"
#include "resources/resource.h"
#include "support/lexoria_driver.h"
#include "win32/displaydpi.h"

using namespace lexoriaTest;

namespace {

const char* const desktopKey = "Control Panel\\Desktop";

// LogPixels set for the test and put back afterwards (deleted when there was none).
class TlogPixels {
public:
    explicit TlogPixels(DWORD dpi) {
        DWORD size = sizeof previous, type = 0;
        hadValue = SHGetValueA(HKEY_CURRENT_USER, desktopKey, "LogPixels", &type, &previous,
                               &size) == ERROR_SUCCESS &&
                   type == REG_DWORD;
        set(dpi);
    }
    ~TlogPixels() {
        if (hadValue) set(previous);
        else SHDeleteValueA(HKEY_CURRENT_USER, desktopKey, "LogPixels");
    }
    TlogPixels(const TlogPixels&) = delete;
    TlogPixels& operator=(const TlogPixels&) = delete;

private:
    void set(DWORD dpi) {
        SHSetValueA(HKEY_CURRENT_USER, desktopKey, "LogPixels", REG_DWORD, &dpi, sizeof dpi);
    }
    DWORD previous = 0;
    bool hadValue = false;
};

// What a run shows: the client size, each child in client coordinates, and the line heights of
// the pane's text (the pane font) and of the title band (the title font: the pane sits T + 20
// below the top).
struct Tlayout {
    SIZE client = {};
    std::vector<RECT> children;
    int paneLineHeight = 0;
};

const int childIds[] = {IDC_DEFINITION, IDC_EXIT,        IDC_NEXT_WORD,
                        IDC_OPTIONS,    IDC_HELP_BUTTON, IDC_ABOUT};

RECT childRect(HWND window, int id) {
    RECT at = {};
    GetWindowRect(GetDlgItem(window, id), &at);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&at), 2);
    return at;
}

// The distance between the first two lines of the pane, from the positions of their first
// characters (the packed form of EM_POSFROMCHAR, which needs no pointer into the program).
int paneLineHeight(HWND pane) {
    LRESULT second = SendMessageA(pane, EM_LINEINDEX, 1, 0);
    if (second <= 0) return -1;
    LRESULT top = SendMessageA(pane, EM_POSFROMCHAR, 0, 0);
    LRESULT next = SendMessageA(pane, EM_POSFROMCHAR, static_cast<WPARAM>(second), 0);
    return static_cast<short>(HIWORD(next)) - static_cast<short>(HIWORD(top));
}

Tlayout layoutOf(HWND window) {
    Tlayout layout;
    RECT client = {};
    GetClientRect(window, &client);
    layout.client = SIZE{client.right, client.bottom};
    for (int id : childIds) layout.children.push_back(childRect(window, id));
    layout.paneLineHeight = paneLineHeight(GetDlgItem(window, IDC_DEFINITION));
    return layout;
}

bool closeTo(double expected, long actual) { return std::abs(expected - actual) <= 2.0; }

// The alphabet's width in the wider of the two text fonts at the given title font height, as
// this process measures it: glyph widths do not grow exactly with the size, so the window's
// width follows the measured text, and only its margins follow the DPI.
int alphabetWidth(int dpi) {
    int widest = 0;
    const struct { int height, weight; } fonts[] = {{26, FW_BOLD}, {20, FW_NORMAL}};
    HDC screen = GetDC(nullptr);
    for (const auto& font : fonts) {
        HFONT made = CreateFontA(MulDiv(font.height, dpi, 96), 0, 0, 0, font.weight, 0, 0, 0,
                                 ANSI_CHARSET, 0, 0, 0, 0, "Times New Roman");
        HGDIOBJ old = SelectObject(screen, made);
        SIZE extent = {};
        GetTextExtentPoint32A(screen, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", 26, &extent);
        SelectObject(screen, old);
        DeleteObject(made);
        widest = std::max<int>(widest, extent.cx);
    }
    ReleaseDC(nullptr, screen);
    return widest;
}

// Heights and vertical places grow with the DPI; widths and horizontal places with the client
// width, whose margin around the text grows with the DPI.
void expectScaled(const Tlayout& at96, const Tlayout& scaled, int dpi) {
    const double factor = dpi / 96.0;
    const double across = double(scaled.client.cx) / at96.client.cx;
    EXPECT_TRUE(closeTo((at96.client.cx - alphabetWidth(96)) * factor,
                        scaled.client.cx - alphabetWidth(dpi)))
        << scaled.client.cx;
    EXPECT_TRUE(closeTo(at96.client.cy * factor, scaled.client.cy)) << scaled.client.cy;
    for (size_t i = 0; i < at96.children.size(); ++i) {
        const RECT &a = at96.children[i], &b = scaled.children[i];
        EXPECT_TRUE(closeTo(a.left * across, b.left) && closeTo(a.top * factor, b.top) &&
                    closeTo(a.right * across, b.right) && closeTo(a.bottom * factor, b.bottom))
            << "child " << childIds[i] << ": " << b.left << "," << b.top << "-" << b.right << ","
            << b.bottom << " against " << a.left << "," << a.top << "-" << a.right << ","
            << a.bottom;
    }
    EXPECT_GT(at96.paneLineHeight, 0);
    EXPECT_TRUE(closeTo(at96.paneLineHeight * factor, scaled.paneLineHeight))
        << scaled.paneLineHeight << " against " << at96.paneLineHeight;
}

// A definition long enough to wrap in the pane at every scaling.
std::string wrappingList() {
    std::string definition;
    for (int i = 0; i < 30; ++i) definition += "wrapping words ";
    return "word=breadth\r\ndef=" + definition + "\r\n";
}

class TscaledRun : public TwithoutProgramKey<> {
protected:
    void SetUp() override {
        TwithoutProgramKey<>::SetUp();
        ASSERT_TRUE(copyProgram(folder));
        ASSERT_TRUE(writeFile(folder.file("lexoria.lst"), wrappingList()));
    }
    // Starts the program at the DPI; the main window, or null.
    HWND start(TlexoriaProcess& run, DWORD dpi) {
        TlogPixels pixels(dpi);
        return run.start(folder.path()) ? run.waitForMainWindow() : nullptr;
    }
    Tlayout layoutAt(DWORD dpi) {
        TlexoriaProcess run;
        HWND window = start(run, dpi);
        EXPECT_NE(nullptr, window) << dpi;
        if (!window) return Tlayout{};
        Tlayout layout = layoutOf(window);
        clickButton(window, IDC_EXIT);
        EXPECT_EQ(0, run.waitForExit());
        return layout;
    }

    TscratchFolder folder;
};

TEST_F(TscaledRun, WindowChildrenAndFontsGrowWithTheDpi) {
    const Tlayout at96 = layoutAt(96);
    for (DWORD dpi : {144u, 192u}) {
        SCOPED_TRACE(dpi);
        expectScaled(at96, layoutAt(dpi), int(dpi));
    }
}

// Moving to a monitor with another scaling: the window takes the rectangle it is given and lays
// itself out as a window started at that DPI. The rectangle is written into the program's memory
// because the message carries a pointer.
TEST_F(TscaledRun, DpiChangeLaysOutAgainInTheGivenRectangle) {
    const Tlayout at144 = layoutAt(144);
    TlexoriaProcess run;
    HWND window = start(run, 96);
    ASSERT_NE(nullptr, window);
    RECT outer = {};
    GetWindowRect(window, &outer);
    const RECT given = {outer.left + 10, outer.top + 20,
                        outer.left + 10 + (outer.right - outer.left) * 3 / 2,
                        outer.top + 20 + (outer.bottom - outer.top) * 3 / 2};
    void* remote = VirtualAllocEx(run.handle(), nullptr, sizeof given, MEM_COMMIT, PAGE_READWRITE);
    ASSERT_NE(nullptr, remote);
    ASSERT_TRUE(WriteProcessMemory(run.handle(), remote, &given, sizeof given, nullptr));
    DWORD_PTR result = 1;
    ASSERT_TRUE(SendMessageTimeoutA(window, WM_DPICHANGED, MAKEWPARAM(144, 144),
                                    reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 5000,
                                    &result));
    EXPECT_EQ(0u, result);
    RECT now = {};
    GetWindowRect(window, &now);
    EXPECT_TRUE(EqualRect(&given, &now))
        << now.left << "," << now.top << "-" << now.right << "," << now.bottom;
    const Tlayout moved = layoutOf(window);
    const double across = double(moved.client.cx) / at144.client.cx;
    for (size_t i = 0; i < moved.children.size(); ++i) {
        const RECT &a = at144.children[i], &b = moved.children[i];
        // The given client area is not exactly the one a start at 144 makes (Wine keeps the
        // caption of the process's first DPI), so the pane's bottom and the button row follow
        // the client's edges: compare the lefts, the distances from the bottom, and the
        // pane's top and the buttons' heights.
        const bool pane = childIds[i] == IDC_DEFINITION;
        EXPECT_TRUE(closeTo(a.left * across, b.left) &&
                    closeTo(at144.client.cy - a.bottom, moved.client.cy - b.bottom) &&
                    (pane ? closeTo(a.top, b.top) : closeTo(a.bottom - a.top, b.bottom - b.top)))
            << "child " << childIds[i] << ": " << b.left << "," << b.top << "-" << b.right << ","
            << b.bottom << " against " << a.left << "," << a.top << "-" << a.right << ","
            << a.bottom;
    }
    EXPECT_TRUE(closeTo(at144.paneLineHeight, moved.paneLineHeight)) << moved.paneLineHeight;
    clickButton(window, IDC_EXIT);
    EXPECT_EQ(0, run.waitForExit());
}

// Every control lies inside the dialog's client area, and the dialog on the screen.
void expectWhole(HWND dialog) {
    RECT client = {};
    GetClientRect(dialog, &client);
    MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT at = {}, inside = {};
        GetWindowRect(child, &at);
        IntersectRect(&inside, &at, &client);
        EXPECT_TRUE(EqualRect(&inside, &at)) << "control " << GetDlgCtrlID(child);
    }
    RECT outer = {}, screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT onScreen = {};
    GetWindowRect(dialog, &outer);
    IntersectRect(&onScreen, &outer, &screen);
    EXPECT_TRUE(EqualRect(&onScreen, &outer));
}

TEST_F(TscaledRun, OptionsAndAboutComeOutWhole) {
    for (DWORD dpi : {144u, 192u}) {
        SCOPED_TRACE(dpi);
        TlexoriaProcess run;
        HWND window = start(run, dpi);
        ASSERT_NE(nullptr, window);
        for (int button : {IDC_OPTIONS, IDC_ABOUT}) {
            clickButton(window, button);
            HWND dialog = run.waitForDialog(5000);
            ASSERT_NE(nullptr, dialog) << button;
            expectWhole(dialog);
            if (button == IDC_ABOUT) {
                // The picture drawn for this scaling fills its place, give or take a pixel.
                RECT place = {};
                GetClientRect(GetDlgItem(dialog, IDC_TITLE_BITMAP), &place);
                EXPECT_TRUE(closeTo(200 * dpi / 96.0, place.right)) << place.right;
            }
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            ASSERT_TRUE(waitUntil([&] { return !IsWindow(dialog); }));
        }
        clickButton(window, IDC_EXIT);
        EXPECT_EQ(0, run.waitForExit());
    }
}

// Lexoria.exe loaded for its resources only, freed with the holder.
struct TprogramResources {
    HMODULE module = LoadLibraryExA((buildFolder() + "\\Lexoria.exe").c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE);
    ~TprogramResources() {
        if (module) FreeLibrary(module);
    }
};

// The drawing for each scaling has the plain one's colour table, so the palette realised on a
// 256-colour display is the same whichever is shown.
TEST(TitlePicture, OneDrawingPerScalingWithTheSameColours) {
    TprogramResources program;
    ASSERT_NE(nullptr, program.module);
    const TtitleBitmap plain = findTitleBitmap(program.module);
    ASSERT_NE(nullptr, plain.header);
    const size_t tableBytes = 4 * plain.header->biClrUsed;
    const struct {
        int percent;
        long width, height;
    } cases[] = {{100, 200, 100}, {125, 200, 100}, {150, 300, 150}, {200, 400, 200}};
    for (const auto& c : cases) {
        const TtitleBitmap drawn = findTitleBitmap(program.module, c.percent);
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

// Wine treats every program as DPI-aware, so only the manifest shows what Windows will read.
TEST(Manifest, DeclaresPerMonitorAwarenessWithASystemAwareFallback) {
    TprogramResources program;
    ASSERT_NE(nullptr, program.module);
    HRSRC found = FindResourceA(program.module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(nullptr, found);
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(program.module, found)));
    ASSERT_NE(nullptr, bytes);
    const std::string manifest(bytes, SizeofResource(program.module, found));
    const char* const entries[] = {
        "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm"
        "</dpiAware>",
        "<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
        "PerMonitorV2, PerMonitor</dpiAwareness>",
        "<requestedExecutionLevel level=\"asInvoker\"",
    };
    for (const char* entry : entries) EXPECT_NE(std::string::npos, manifest.find(entry)) << entry;
}

}  // namespace
