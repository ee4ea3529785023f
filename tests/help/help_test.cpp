// The help through the real program and Wine's own viewers. Wine decides the Windows version per
// program name when the process starts, so the program runs as a copy with a version override.
// The stand-in hhctrl.ocx beside it logs each HTML Help call and hands it on to Wine's viewer,
// which shows its window but no page. ctest lets this test's programs start the viewers, which
// the runner keeps away from the tests whose programs have no help file.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "support/lexoria_driver.h"

using namespace lexoriaTest;

namespace {

const char* const exeName = "lexhelp.exe";
const char* const versionKey = "Software\\Wine\\AppDefaults\\lexhelp.exe";
const int topicTextId = 1793;  // the Windows Help viewer's topic pane

HWND winHelpViewer() { return FindWindowA("MS_WINHELP", nullptr); }
HWND htmlHelpViewer() { return FindWindowA("HH Parent", "Lexoria Help"); }

std::string topicText() { return windowText(GetDlgItem(winHelpViewer(), topicTextId)); }

struct ThelpCase {
    const char* name;
    const char* version;  // Wine's name for the Windows version the program sees
    bool chmBeside;
    bool htmlHelp;  // which viewer opens
};

// The case's viewer is up; the Windows Help viewer at the topic under the heading.
bool shows(const ThelpCase& c, const std::string& heading) {
    if (c.htmlHelp) return waitUntil([] { return htmlHelpViewer() != nullptr; }, 10000);
    return waitUntil([&] { return topicText().rfind(heading + "\r\n", 0) == 0; }, 10000);
}

bool closeViewer() {
    PostMessageA(winHelpViewer(), WM_CLOSE, 0, 0);
    PostMessageA(htmlHelpViewer(), WM_CLOSE, 0, 0);
    return waitUntil([] { return !winHelpViewer() && !htmlHelpViewer(); });
}

void openHelpFromBothWindows(const ThelpCase& c) {
    SCOPED_TRACE(c.name);
    TscratchFolder folder;
    TregistryString version(versionKey, "Version", c.version);
    ASSERT_TRUE(copyBuilt(folder, "Lexoria.exe", exeName) &&
                copyBuilt(folder, "hhctrl_standin.dll", "hhctrl.ocx") &&
                copyBuilt(folder, "lexoria.lst") && copyBuilt(folder, "lexoria.hlp") &&
                (!c.chmBeside || copyBuilt(folder, "lexoria.chm")));
    TlexoriaProcess lexoria;
    ASSERT_TRUE(lexoria.start(folder.path(), exeName));
    HWND main = lexoria.waitForMainWindow();
    ASSERT_NE(main, nullptr);

    clickButton(main, IDC_HELP_BUTTON);
    EXPECT_TRUE(shows(c, "The main window"));
    ASSERT_TRUE(closeViewer());
    clickButton(main, IDC_OPTIONS);
    HWND options = lexoria.waitForDialog();
    ASSERT_NE(options, nullptr);
    clickButton(options, IDC_OPTIONS_HELP);
    EXPECT_TRUE(shows(c, "The Options dialog"));
    PostMessageA(options, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(options); }));
    EXPECT_TRUE(winHelpViewer() || htmlHelpViewer()) << "the help outlives the dialog";
    clickButton(main, IDC_EXIT);
    EXPECT_EQ(lexoria.waitForExit(), 0);
    EXPECT_TRUE(waitUntil([] { return !winHelpViewer() && !htmlHelpViewer(); }));
    closeViewer();

    // Pages of the built .chm, in the program's own folder, and every window closed at exit.
    std::string expected;
    const std::string chm = readBytes(buildFolder() + "\\lexoria.chm");
    ASSERT_NE(chm, "<missing>");
    for (const char* page : {"Themainwindow.html", "TheOptionsdialog.html"}) {
        EXPECT_NE(chm.find(std::string("/") + page), std::string::npos) << page;
        expected += "0 " + folder.file("lexoria.chm") + "::/" + page + "\n";
    }
    EXPECT_EQ(c.htmlHelp ? expected + "18 \n" : "<missing>", readBytes(folder.file("hhctrl.log")));
}

TEST(Help, OpensFromBothWindowsInTheViewerOfTheSystemAndClosesAtExit) {
    const ThelpCase cases[] = {
        {"before version 6: Windows Help", "winxp", true, false},
        {"version 6 and later: HTML Help", "win10", true, true},
        {"version 6 and later without lexoria.chm: Windows Help", "win10", false, false},
    };
    for (const ThelpCase& c : cases) {
        deleteProgramKey();
        openHelpFromBothWindows(c);
    }
    deleteProgramKey();
}

}  // namespace
