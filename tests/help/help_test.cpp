// The help file through Wine's own help viewer: the main window's "&Help" opens the main-window
// topic (context 200), the options dialog's "&Help" the options topic (210), and "E&xit" closes
// the viewer. Runs the program with lexoria.hlp beside it; ctest lets this test's programs start
// the viewer, which the runner keeps away from the tests whose programs have no help file.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "support/lexoria_driver.h"

using namespace lexoria_test;

namespace {

const int topicTextId = 1793;  // the viewer's topic pane

HWND helpViewer() { return FindWindowA("MS_WINHELP", nullptr); }

std::string topicText() {
    HWND viewer = helpViewer();
    return viewer ? windowText(GetDlgItem(viewer, topicTextId)) : std::string();
}

bool topicShown(const char* title) {
    return waitUntil([&] { return topicText().rfind(title, 0) == 0; }, 10000);
}

class HelpFile : public ::testing::Test {
protected:
    void SetUp() override {
        deleteProgramKey();
        ASSERT_TRUE(copyProgram(folder));
        for (const char* name : {"lexoria.lst", "lexoria.hlp"})
            ASSERT_TRUE(CopyFileA((buildFolder() + "\\" + name).c_str(),
                                  folder.file(name).c_str(), FALSE));
    }
    void TearDown() override {
        HWND viewer = helpViewer();
        if (viewer) PostMessageA(viewer, WM_CLOSE, 0, 0);
        deleteProgramKey();
    }
    ScratchFolder folder;
    LexoriaProcess lexoria;
};

TEST_F(HelpFile, OpensTheTopicOfEachContextAndClosesAtExit) {
    ASSERT_TRUE(lexoria.start(folder.path()));
    HWND main = lexoria.waitForMainWindow();
    ASSERT_NE(main, nullptr);

    clickButton(main, IDC_HELP_BUTTON);
    EXPECT_TRUE(topicShown("The main window\r\n")) << topicText();

    clickButton(main, IDC_OPTIONS);
    HWND options = lexoria.waitForDialog();
    ASSERT_NE(options, nullptr);
    clickButton(options, IDC_OPTIONS_HELP);
    EXPECT_TRUE(topicShown("The Options dialog\r\n")) << topicText();
    EXPECT_TRUE(drainPosted(main) && IsWindowVisible(options)) << "the dialog stays open";
    PostMessageA(options, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(options); }));

    clickButton(main, IDC_EXIT);
    EXPECT_EQ(lexoria.waitForExit(), 0);
    EXPECT_TRUE(waitUntil([] { return helpViewer() == nullptr; }));
}

}  // namespace
