// The help viewer. Windows Vista and later no longer include the Windows Help viewer, so there
// the help opens in HTML Help from lexoria.chm, when that file lies beside the program and
// hhctrl.ocx loads from the system folder. Everywhere else it opens in the Windows Help viewer
// from lexoria.hlp, as it always has. The choice is made at the first help request: loading
// hhctrl.ocx at start-up would slow every start for a button that most runs never press.
// No viewer is ever started by a bare name, which would find a program planted beside Lexoria.exe.
#include "help/helpviewer.h"

#include <htmlhelp.h>

#include <string>

#include "language/interfacetext.h"
#include "resources/resource.h"
#include "win32/programpath.h"
#include "win32/systemlibrary.h"
#include "win32/systemprogram.h"
#include "win32/widetext.h"

namespace {

const char* const winHelpName = "lexoria.hlp";
const wchar_t* const winHelpNameW = L"lexoria.hlp";
const wchar_t* const htmlHelpName = L"lexoria.chm";
// The Windows Help viewer: its program, the class of its window, and how long a start may take.
const wchar_t* const winHelpViewer = L"winhlp32.exe";
const char* const winHelpViewerClass = "MS_WINHELP";
const DWORD winHelpStartMs = 10000;
const DWORD winHelpWindowMs = 3000;
const DWORD winHelpPollMs = 50;

// Each context number's page in lexoria.chm, where the help compiler names a page after its
// heading; the pages hold the same topics as the contexts in lexoria.hlp.
const struct {
    DWORD context;
    const wchar_t* page;
} htmlHelpPages[] = {
    {HELP_CONTEXT_MAIN, L"Themainwindow.html"},
    {HELP_CONTEXT_OPTIONS, L"TheOptionsdialog.html"},
};

using ThtmlHelp = HWND(WINAPI*)(HWND, const wchar_t*, UINT, DWORD_PTR);

// hhctrl.ocx, loaded for the rest of the process. Its viewers are told to close before the
// library goes, so no viewer window is left running code that is no longer there.
class ThtmlHelpLibrary {
public:
    ThtmlHelpLibrary() = default;
    ~ThtmlHelpLibrary() {
        if (viewerShown) closeAll();
        if (module) FreeLibrary(module);
    }
    ThtmlHelpLibrary(const ThtmlHelpLibrary&) = delete;
    ThtmlHelpLibrary& operator=(const ThtmlHelpLibrary&) = delete;

    bool load() {
        module = loadSystemLibrary(L"hhctrl.ocx");
        entry = libraryEntry<ThtmlHelp>(module, "HtmlHelpW");
        return entry != nullptr;
    }
    // False when the viewer opened no window: a damaged or empty file, say.
    bool show(HWND owner, const std::wstring& topic) {
        if (!entry || !entry(owner, topic.c_str(), HH_DISPLAY_TOPIC, 0)) return false;
        viewerShown = true;
        return true;
    }
    void closeAll() {
        if (entry) entry(nullptr, nullptr, HH_CLOSE_ALL, 0);
        viewerShown = false;
    }

private:
    HMODULE module = nullptr;
    ThtmlHelp entry = nullptr;
    bool viewerShown = false;
};

enum class Tviewer { undecided, winHelp, htmlHelp };

// The viewer chosen at the first request, kept for the rest of the run.
struct TviewerChoice {
    Tviewer viewer = Tviewer::undecided;
    ThtmlHelpLibrary hhctrl;
    std::wstring htmlHelpFile;
};

TviewerChoice choice;

// The 8.3 form of an existing path; empty when the volume keeps none or the path is not there.
std::wstring shortPathOf(const std::wstring& path) {
    const DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (size == 0) return std::wstring();
    std::wstring shortPath(size, L'\0');
    const DWORD length = GetShortPathNameW(path.c_str(), &shortPath[0], size);
    if (length == 0 || length >= size) return std::wstring();
    shortPath.resize(length);
    return shortPath;
}

// The viewers copy the path they are given into a buffer of MAX_PATH characters: a longer one
// overruns it. The path as it is when it fits with room characters after it, else its short
// form when that fits, else empty.
std::wstring pathForViewer(const std::wstring& path, size_t room) {
    if (path.size() + room < MAX_PATH) return path;
    const std::wstring shortPath = shortPathOf(path);
    if (!shortPath.empty() && shortPath.size() + room < MAX_PATH) return shortPath;
    return std::wstring();
}

// The folder in the ANSI code page, when the code page spells it exactly and the help file's
// name still fits after it.
bool ansiFolderForViewer(const std::wstring& wide, std::string& folder) {
    return !wide.empty() && exactBytesFrom(wide, CP_ACP, folder) &&
           folder.size() + std::char_traits<char>::length(winHelpName) < MAX_PATH;
}

// The program's folder in the ANSI code page for WinHelpA: its short form when the code page
// cannot spell the folder or it is too long; "" when neither serves, and the viewer then
// searches for the help file's bare name on its own.
std::string ansiProgramFolder() {
    std::wstring wide;
    std::string folder;
    if (programFolderW(wide) &&
        (ansiFolderForViewer(wide, folder) || ansiFolderForViewer(shortPathOf(wide), folder)))
        return folder;
    return "";
}

std::string winHelpFile() { return ansiProgramFolder() + winHelpName; }

bool windowsHasWinHelp() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    return !GetVersionExA(&version) || version.dwMajorVersion < 6;
}

bool fileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// HTML Help when the system lacks the Windows Help viewer, the .chm is there and hhctrl.ocx
// offers its entry point. HtmlHelpW takes the folder as Windows names it, in any letters.
Tviewer chooseViewer() {
    std::wstring folder;
    if (windowsHasWinHelp() || !programFolderW(folder) || folder.empty()) return Tviewer::winHelp;
    choice.htmlHelpFile = folder + htmlHelpName;
    if (!fileExists(choice.htmlHelpFile) || !choice.hhctrl.load()) return Tviewer::winHelp;
    return Tviewer::htmlHelp;
}

// The viewer's window belongs to the main window even when the options dialog asks: a window
// owned by the dialog would close with it, where the Windows Help viewer stays until exit.
bool showHtmlHelpTopic(HWND owner, DWORD context) {
    std::wstring page;
    for (const auto& entry : htmlHelpPages)
        if (entry.context == context) page = std::wstring(L"::/") + entry.page;
    const std::wstring file = pathForViewer(choice.htmlHelpFile, page.size());
    return !file.empty() && choice.hhctrl.show(GetAncestor(owner, GA_ROOTOWNER), file + page);
}

bool winHelpBeside() {
    std::wstring folder;
    return programFolderW(folder) && fileExists(folder + winHelpNameW);
}

std::wstring winHelpFileW() {
    std::wstring folder;
    programFolderW(folder);
    return folder + winHelpNameW;
}

bool winHelpWindowThere() { return FindWindowA(winHelpViewerClass, nullptr) != nullptr; }

// WinHelpA starts the viewer by its bare name when none runs, so a viewer is made to run first:
// started from the system's own folders by its full path, and given a moment to open its window.
bool winHelpViewerRunning() {
    if (winHelpWindowThere()) return true;
    if (!startSystemProgram(winHelpViewer, L"-x", winHelpStartMs)) return false;
    for (DWORD waited = 0; waited < winHelpWindowMs; waited += winHelpPollMs) {
        if (winHelpWindowThere()) return true;
        Sleep(winHelpPollMs);
    }
    return winHelpWindowThere();
}

bool showWinHelpTopic(HWND owner, DWORD context) {
    return winHelpViewerRunning() &&
           WinHelpA(owner, winHelpFile().c_str(), HELP_CONTEXT, context) != FALSE;
}

void sayHelpCannotOpen(HWND owner, const std::wstring& file) {
    // In wide characters: the path is shown exactly, whatever letters the folder has.
    const std::wstring text = interfaceText(IDS_HELP_NOT_OPENED, {file});
    showMessage(owner, text, L"Lexoria", MB_OK | MB_ICONERROR);
}

}  // namespace

// When HTML Help shows nothing (a damaged or empty .chm, a path the viewer cannot take), the
// Windows Help file serves if it lies beside the program and its viewer opens; else the user
// learns which file would not open instead of a button that does nothing.
void showHelpTopic(HWND owner, DWORD context) {
    if (choice.viewer == Tviewer::undecided) choice.viewer = chooseViewer();
    if (choice.viewer == Tviewer::htmlHelp && showHtmlHelpTopic(owner, context)) return;
    if (choice.viewer == Tviewer::winHelp || winHelpBeside()) {
        if (!showWinHelpTopic(owner, context)) sayHelpCannotOpen(owner, winHelpFileW());
        return;
    }
    sayHelpCannotOpen(owner, choice.htmlHelpFile);
}

// Only a viewer already running is told to quit: none is started for that.
void quitHelp(HWND owner) {
    if (winHelpWindowThere()) WinHelpA(owner, winHelpFile().c_str(), HELP_QUIT, 0);
    if (choice.viewer == Tviewer::htmlHelp) choice.hhctrl.closeAll();
}
