// The help viewer. Windows Vista and later no longer include the Windows Help viewer, so there
// the help opens in HTML Help from lexoria.chm, when that file lies beside the program and
// hhctrl.ocx loads. Everywhere else it opens in the Windows Help viewer from lexoria.hlp, as it
// always has. The choice is made at the first help request: loading hhctrl.ocx at start-up would
// slow every start for a button that most runs never press.
#include "win32/helpviewer.h"

#include <htmlhelp.h>

#include <string>

#include "resources/resource.h"
#include "win32/programpath.h"
#include "win32/widetext.h"

namespace {

const char* const winHelpName = "lexoria.hlp";
const wchar_t* const htmlHelpName = L"lexoria.chm";

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

// A library loaded for the rest of the process.
class TloadedLibrary {
public:
    TloadedLibrary() = default;
    ~TloadedLibrary() {
        if (module) FreeLibrary(module);
    }
    TloadedLibrary(const TloadedLibrary&) = delete;
    TloadedLibrary& operator=(const TloadedLibrary&) = delete;
    bool load(const char* name) { return (module = LoadLibraryA(name)) != nullptr; }
    FARPROC entry(const char* name) const { return GetProcAddress(module, name); }

private:
    HMODULE module = nullptr;
};

enum class Tviewer { undecided, winHelp, htmlHelp };

// The viewer chosen at the first request, kept for the rest of the run.
struct TviewerChoice {
    Tviewer viewer = Tviewer::undecided;
    TloadedLibrary hhctrl;
    ThtmlHelp htmlHelp = nullptr;
    std::wstring htmlHelpFile;
};

TviewerChoice choice;

// The program's folder for WinHelpA; "" when the ANSI code page cannot spell it, and the viewer
// then searches for the bare name on its own.
std::string ansiProgramFolder() {
    std::wstring wide;
    if (programFolderW(wide)) {
        std::string path;
        return exactBytesFrom(wide, CP_ACP, path) ? path : "";
    }
    // Windows 95, 98 and Me lack the wide call, and name every folder in the ANSI code page.
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return "";
    const std::string file(path, length);
    return file.substr(0, file.find_last_of('\\') + 1);
}

bool windowsHasWinHelp() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    return !GetVersionExA(&version) || version.dwMajorVersion < 6;
}

// HTML Help when the system lacks the Windows Help viewer, the .chm is there and hhctrl.ocx
// offers its entry point. HtmlHelpW takes the folder as Windows names it, in any letters.
Tviewer chooseViewer() {
    std::wstring folder;
    if (windowsHasWinHelp() || !programFolderW(folder) || folder.empty()) return Tviewer::winHelp;
    choice.htmlHelpFile = folder + htmlHelpName;
    if (GetFileAttributesW(choice.htmlHelpFile.c_str()) == INVALID_FILE_ATTRIBUTES ||
        !choice.hhctrl.load("hhctrl.ocx"))
        return Tviewer::winHelp;
    choice.htmlHelp = reinterpret_cast<ThtmlHelp>(choice.hhctrl.entry("HtmlHelpW"));
    return choice.htmlHelp ? Tviewer::htmlHelp : Tviewer::winHelp;
}

// The viewer's window belongs to the main window even when the options dialog asks: a window
// owned by the dialog would close with it, where the Windows Help viewer stays until exit.
void showHtmlHelpTopic(HWND owner, DWORD context) {
    std::wstring topic = choice.htmlHelpFile;
    for (const auto& page : htmlHelpPages) {
        if (page.context != context) continue;
        topic += L"::/";
        topic += page.page;
    }
    choice.htmlHelp(GetAncestor(owner, GA_ROOTOWNER), topic.c_str(), HH_DISPLAY_TOPIC, 0);
}

std::string winHelpFile() { return ansiProgramFolder() + winHelpName; }

}  // namespace

void showHelpTopic(HWND owner, DWORD context) {
    if (choice.viewer == Tviewer::undecided) choice.viewer = chooseViewer();
    if (choice.viewer == Tviewer::htmlHelp) showHtmlHelpTopic(owner, context);
    else WinHelpA(owner, winHelpFile().c_str(), HELP_CONTEXT, context);
}

void quitHelp(HWND owner) {
    WinHelpA(owner, winHelpFile().c_str(), HELP_QUIT, 0);
    if (choice.viewer == Tviewer::htmlHelp) choice.htmlHelp(nullptr, nullptr, HH_CLOSE_ALL, 0);
}
