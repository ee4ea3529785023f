// The help through the real program (a copy with a Windows version override) and Wine's viewers,
// HTML Help through a logging stand-in hhctrl.ocx; planted viewers beside the program never run.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "resources/resource.h"
#include "support/lexoria_driver.h"

using namespace lexoriaTest;

namespace {

// Short, so that in the deep folder the program's path fits MAX_PATH and lexoria.chm's does not.
const wchar_t* const exeName = L"lh.exe";
const char* const versionKey = "Software\\Wine\\AppDefaults\\lh.exe";
const int topicTextId = 1793;  // the Windows Help viewer's topic pane
const size_t deepFolderLength = 248;

HWND winHelpViewer() { return FindWindowA("MS_WINHELP", nullptr); }
HWND htmlHelpViewer() { return FindWindowA("HH Parent", "Lexoria Help"); }

std::string topicText() { return windowText(GetDlgItem(winHelpViewer(), topicTextId)); }
std::string ansiOf(const std::wstring& wide) { return bytesFrom(wide, CP_ACP); }
bool exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
// The system folder, or with GetWindowsDirectoryW the Windows folder, ending in a backslash.
std::wstring systemFolder(UINT(WINAPI* folderOf)(LPWSTR, UINT) = GetSystemDirectoryW) {
    wchar_t folder[MAX_PATH];
    const UINT length = folderOf(folder, MAX_PATH);
    return std::wstring(folder, length < MAX_PATH ? length : 0) + L"\\";
}

// A system file replaced by a built stand-in for the holder's lifetime, the system's own kept
// aside (a kept copy left by an aborted run is the system's own). A planted program leaves a marker.
class TstandIn {
public:
    TstandIn(const std::wstring& systemFile, const std::wstring& keptAs, const char* builtStandIn)
        : file(systemFile), kept(keptAs) {
        const std::wstring standIn = wideOf(buildFolder() + "\\" + builtStandIn);
        installed = (exists(kept) || CopyFileW(file.c_str(), kept.c_str(), TRUE)) &&
                    CopyFileW(standIn.c_str(), file.c_str(), FALSE);
    }
    ~TstandIn() {
        DeleteFileW(marker().c_str());
        if (CopyFileW(kept.c_str(), file.c_str(), FALSE)) DeleteFileW(kept.c_str());
    }
    TstandIn(const TstandIn&) = delete;
    TstandIn& operator=(const TstandIn&) = delete;
    bool wasStarted() const { return exists(marker()); }
    bool installed = false;

private:
    std::wstring marker() const { return file + L".started"; }
    std::wstring file, kept;
};

// The system's Windows Help viewer, in the Windows or (Wine) the system folder; "" when in neither.
std::wstring systemWinHelpViewer() {
    for (const std::wstring& folder : {systemFolder(GetWindowsDirectoryW), systemFolder()})
        if (exists(folder + L"winhlp32.exe") || exists(folder + L"winhlp32.exe.wine"))
            return folder + L"winhlp32.exe";
    return L"";
}

enum class Tchm { absent, built, empty, damaged };
enum class Tshown { winHelp, htmlHelp, message };
enum class Tending { exitButton, altF4, failedLoad };

struct ThelpCase {
    const char* name;
    const char* version;  // Wine's name for the Windows version the program sees
    Tshown shown;         // what a help request brings up
    Tending ending = Tending::exitButton;
    bool fromOptions = false;  // the options dialog asks too
    Tchm chm = Tchm::built;
    bool hlpBeside = true;
    const wchar_t* folder = L"a";  // the program's folder in the scratch folder; null: a deep one
    bool systemWinHelp = true;     // the system's Windows Help viewer opens its window
};

// Programs a help viewer might start by bare name, each planted beside the program.
const wchar_t* const plantedPrograms[] = {L"winhlp32.exe", L"hh.exe"};

bool placeChm(const ThelpCase& c, const std::wstring& folder) {
    if (c.chm == Tchm::empty) return writeFile(folder + L"\\lexoria.chm", "");
    if (c.chm == Tchm::damaged)
        return writeFile(folder + L"\\lexoria.chm", "ITSF" + std::string(4096, '\x5A'));
    return c.chm == Tchm::absent || copyBuilt(folder, "lexoria.chm", L"lexoria.chm");
}

// The path handed to the viewer: as it is while it fits its MAX_PATH buffer, else its short form.
std::wstring viewerPath(const std::wstring& path, const std::wstring& page) {
    if (path.size() + page.size() < MAX_PATH) return path;
    wchar_t shortPath[MAX_PATH] = {};
    GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
    return shortPath;
}

// The stand-in's log: each page asked, then the close at exit; only version 6+ with a .chm asks.
std::string expectedLog(const ThelpCase& c, const std::wstring& chm) {
    if (std::string(c.version) == "winxp" || c.chm == Tchm::absent) return "";
    std::string log;
    for (const wchar_t* page : {L"::/Themainwindow.html", L"::/TheOptionsdialog.html"}) {
        log += "0 " + ansiOf(viewerPath(chm, page) + page) + "\n";
        if (!c.fromOptions) break;
    }
    return log + "18 \n";
}

bool closeViewer() {
    PostMessageA(winHelpViewer(), WM_CLOSE, 0, 0);
    PostMessageA(htmlHelpViewer(), WM_CLOSE, 0, 0);
    return waitUntil([] { return !winHelpViewer() && !htmlHelpViewer(); });
}

// unopened: the file a message names when the help cannot open.
void expectShown(const ThelpCase& c, TlexoriaProcess& lexoria, const std::string& heading,
                 const std::wstring& unopened) {
    switch (c.shown) {
    case Tshown::htmlHelp:
        EXPECT_TRUE(waitUntil([] { return htmlHelpViewer() != nullptr; }, 10000));
        break;
    case Tshown::winHelp:
        EXPECT_TRUE(waitUntil([&] { return topicText().rfind(heading + "\r\n", 0) == 0; }, 20000));
        break;
    case Tshown::message:
        HWND box = lexoria.waitForDialog();
        ASSERT_TRUE(box);
        EXPECT_EQ(L"Unable to open the help file (" + unopened + L").", messageBoxTextW(box));
        EXPECT_FALSE(winHelpViewer() || htmlHelpViewer());
        pressOk(box);
        break;
    }
}

void askFromOptions(const ThelpCase& c, TlexoriaProcess& lexoria, HWND main,
                    const std::wstring& unopened) {
    ASSERT_TRUE(closeViewer());
    clickButton(main, IDC_OPTIONS);
    HWND options = lexoria.waitForDialog();
    ASSERT_NE(options, nullptr);
    clickButton(options, IDC_OPTIONS_HELP);
    expectShown(c, lexoria, "The Options dialog", unopened);
    PostMessageA(options, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(options); }));
    EXPECT_TRUE(winHelpViewer() || htmlHelpViewer()) << "the help outlives the dialog";
}

void endProgram(const ThelpCase& c, TlexoriaProcess& lexoria, HWND main,
                const std::wstring& folder) {
    switch (c.ending) {
    case Tending::exitButton: clickButton(main, IDC_EXIT); break;
    case Tending::altF4: PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    case Tending::failedLoad:
        ASSERT_TRUE(DeleteFileW((folder + L"\\lexoria.lst").c_str()));
        clickButton(main, IDC_NEXT_WORD);
        HWND box = lexoria.waitForDialog();
        ASSERT_TRUE(box);
        pressOk(box);
        break;
    }
}

void openHelp(const ThelpCase& c) {
    SCOPED_TRACE(c.name);
    TscratchFolder scratch;
    const std::wstring folder = c.folder ? wideOf(scratch.path()) + L"\\" + c.folder
                                         : deepFolder(wideOf(scratch.path()), deepFolderLength);
    const std::wstring chm = folder + L"\\lexoria.chm";
    const std::wstring unopened = c.hlpBeside ? folder + L"\\lexoria.hlp" : chm;
    TregistryString version(versionKey, "Version", c.version);
    ASSERT_TRUE(copyBuilt(folder, "Lexoria.exe", exeName) &&
                copyBuilt(folder, "lexoria.lst", L"lexoria.lst") && placeChm(c, folder) &&
                (!c.hlpBeside || copyBuilt(folder, "lexoria.hlp", L"lexoria.hlp")));
    for (const wchar_t* program : plantedPrograms)
        ASSERT_TRUE(copyBuilt(folder, "planted_program.exe", program));
    // The system's Windows Help viewer replaced by a program that opens no window.
    std::unique_ptr<TstandIn> standInViewer;
    if (!c.systemWinHelp) {
        const std::wstring winHelp = systemWinHelpViewer();
        standInViewer.reset(new TstandIn(winHelp, winHelp + L".wine", "planted_program.exe"));
    }
    ASSERT_TRUE(c.systemWinHelp || standInViewer->installed);
    TlexoriaProcess lexoria;
    HWND main = lexoria.start(folder, exeName) ? lexoria.waitForMainWindow() : nullptr;
    ASSERT_NE(main, nullptr);

    clickButton(main, IDC_HELP_BUTTON);
    expectShown(c, lexoria, "The main window", unopened);
    if (c.fromOptions) askFromOptions(c, lexoria, main, unopened);
    endProgram(c, lexoria, main, folder);
    EXPECT_EQ(lexoria.waitForExit(), 0);
    EXPECT_TRUE(waitUntil([] { return !winHelpViewer() && !htmlHelpViewer(); }))
        << "a viewer outlives the program";
    closeViewer();

    std::ifstream log(std::filesystem::path(folder + L"\\hhctrl.log"), std::ios::binary);
    EXPECT_EQ(expectedLog(c, chm), std::string(std::istreambuf_iterator<char>(log), {}));
    log.close();  // before the folder goes
    for (const wchar_t* program : plantedPrograms)
        EXPECT_FALSE(exists(folder + L"\\" + program + L".started"))
            << ansiOf(program) << " beside the program was started";
    if (standInViewer) {
        EXPECT_TRUE(standInViewer->wasStarted()) << "the system's viewer was started";
    }
    removeTree(wideOf(scratch.path()));
}

TEST(Help, OpensInTheViewerOfTheSystemOrSaysWhyNotAndClosesHoweverTheProgramEnds) {
    const Tshown winHelp = Tshown::winHelp, htmlHelp = Tshown::htmlHelp;
    const Tending quit = Tending::exitButton, altF4 = Tending::altF4,
                  failedLoad = Tending::failedLoad;
    const ThelpCase cases[] = {
        {"before version 6: Windows Help", "winxp", winHelp, quit, true},
        {"version 6 and later: HTML Help", "win10", htmlHelp, quit, true},
        {"version 6 and later without lexoria.chm: Windows Help", "win10", winHelp, quit, false,
         Tchm::absent},
        {"lexoria.chm longer than MAX_PATH: HTML Help from its short path", "win10", htmlHelp, quit,
         false, Tchm::built, true, nullptr},
        {"a folder the code page cannot spell: Windows Help from its short path", "winxp", winHelp,
         quit, false, Tchm::built, true, L"\u0141ukasz \u65e5\u672c"},
        {"a folder named with %TEMP%, which HTML Help expands: Windows Help", "win10", winHelp,
         quit, false, Tchm::built, true, L"a%TEMP%b"},
        {"an empty lexoria.chm: Windows Help", "win10", winHelp, quit, false, Tchm::empty},
        {"an empty lexoria.chm and no lexoria.hlp: a message names the file", "win10",
         Tshown::message, quit, false, Tchm::empty, false},
        {"a damaged lexoria.chm: Windows Help", "win10", winHelp, quit, false, Tchm::damaged},
        {"a damaged lexoria.chm and no Windows Help viewer: a message names lexoria.hlp", "win10",
         Tshown::message, quit, false, Tchm::damaged, true, L"a", false},
        {"Alt+F4 closes Windows Help", "winxp", winHelp, altF4},
        // Every ending reaches the one quit request, which closes either viewer.
        {"a failed load closes HTML Help", "win10", htmlHelp, failedLoad},
    };
    TstandIn standIn(systemFolder() + L"hhctrl.ocx", systemFolder() + L"hhctrl_wine.ocx",
                     "hhctrl_standin.dll");
    ASSERT_TRUE(standIn.installed);
    for (const ThelpCase& c : cases) {
        deleteProgramKey();
        openHelp(c);
    }
    deleteProgramKey();
}

}  // namespace
