// The About box of the real Lexoria.exe, opened with "&About" from its main window and driven
// from this test program as a user would: caption, centring, texts, closing, and no GDI objects
// left behind after many openings.
#include <gtest/gtest.h>

#include "about/dialog_harness.h"
#include "resources/resource.h"
#include "support/lexoria_driver.h"

namespace {

using namespace lexoria_test;

class AboutFromMainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        deleteProgramKey();
        ASSERT_TRUE(copyProgram(folder));
        ASSERT_TRUE(writeFile(folder.file("lexoria.lst"),
                              "word=lucid\r\ndef=clear and easy to understand\r\n"
                              "ex=Her lucid account settled the matter.\r\n"));
        ASSERT_TRUE(program.start(folder.path()));
        mainWindow = program.waitForMainWindow();
        ASSERT_NE(mainWindow, nullptr);
    }
    void TearDown() override {
        if (mainWindow && program.running()) clickButton(mainWindow, IDC_EXIT);
        EXPECT_EQ(program.waitForExit(), 0);
        deleteProgramKey();
    }

    HWND openAbout() {
        clickButton(mainWindow, IDC_ABOUT);
        return program.waitForDialog(5000);
    }

    ScratchFolder folder;
    LexoriaProcess program;
    HWND mainWindow = nullptr;
};

void pressOkButton(HWND dialog) { clickButton(dialog, IDOK); }

void pressEscape(HWND dialog) {
    PostMessageA(about_test::focusOf(dialog), WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST_F(AboutFromMainWindow, OpensCentredWithNameAndVersionAndClosesByOkOrEscape) {
    struct Case {
        const char* name;
        void (*close)(HWND dialog);
    };
    const Case cases[] = {
        {"OK", pressOkButton}, {"Escape", pressEscape}, {"OK again", pressOkButton}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND about = openAbout();
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(windowText(about), "About");
        EXPECT_EQ(windowText(GetDlgItem(about, IDC_PRODUCT_NAME)), "Lexoria");
        EXPECT_EQ(windowText(GetDlgItem(about, IDC_VERSION)), "1.0.1");
        EXPECT_EQ(GetWindow(about, GW_OWNER), mainWindow);
        EXPECT_FALSE(IsWindowEnabled(mainWindow)) << "the box is modal";
        RECT box, main;
        GetWindowRect(about, &box);
        GetWindowRect(mainWindow, &main);
        EXPECT_NEAR((box.left + box.right) / 2, (main.left + main.right) / 2, 1);
        EXPECT_NEAR((box.top + box.bottom) / 2, (main.top + main.bottom) / 2, 1);
        c.close(about);
        if (!about_test::waitClosed(about)) {
            PostMessageA(about, WM_COMMAND, IDCANCEL, 0);
            FAIL() << "the box stayed open";
        }
        EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(mainWindow) != FALSE; }));
    }
    EXPECT_TRUE(program.running());
}

TEST_F(AboutFromMainWindow, RepeatedOpeningLeavesNoGdiObjectBehind) {
    auto openAndClose = [&] {
        HWND about = openAbout();
        if (!about) return false;
        pressOkButton(about);
        return about_test::waitClosed(about);
    };
    ASSERT_TRUE(openAndClose());  // the first opening may create objects that stay, like fonts
    const DWORD before = GetGuiResources(program.handle(), GR_GDIOBJECTS);
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(openAndClose()) << "opening " << i;
    ASSERT_TRUE(program.running());
    if (before == 0) {
        GTEST_SKIP() << "the platform does not count GDI objects (Wine reports 0); the palette's "
                        "life is checked in-process by AboutDialog.BuildsAPalettePerOpening...";
    }
    EXPECT_EQ(GetGuiResources(program.handle(), GR_GDIOBJECTS), before);
}

}  // namespace
