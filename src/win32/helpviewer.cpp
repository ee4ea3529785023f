// The help viewer. Windows Vista and later no longer include the Windows Help viewer, so there
// the help opens in HTML Help from lexoria.chm, when that file lies beside the program and
// hhctrl.ocx loads. Everywhere else it opens in the Windows Help viewer from lexoria.hlp, as it
// always has. The choice is made at the first help request: loading hhctrl.ocx at start-up would
// slow every start for a button that most runs never press.
#include "win32/helpviewer.h"

#include <htmlhelp.h>

#include <cwchar>
#include <string>

#include "resources/resource.h"

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

// Room for the program's folder, the .chm's name, "::/" and a page name. Wide paths are kept in
// plain arrays: std::wstring alone would add some 40 KB to the program.
const size_t topicCapacity = MAX_PATH + 64;

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
    wchar_t htmlHelpFile[topicCapacity] = {};
};

TviewerChoice choice;

// The program's folder with its trailing backslash, into an array of MAX_PATH; false when
// Windows cannot say: the wide call fails on Windows 95, 98 and Me, and a path cut short at
// MAX_PATH is no path.
bool getProgramFolder(wchar_t* folder) {
    const DWORD length = GetModuleFileNameW(nullptr, folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    wchar_t* slash = wcsrchr(folder, L'\\');
    if (!slash) return false;
    slash[1] = L'\0';
    return true;
}

// The same folder for WinHelpA; "" when the ANSI code page cannot spell it, and the viewer
// then searches for the bare name on its own.
std::string ansiProgramFolder() {
    wchar_t wide[MAX_PATH];
    char path[2 * MAX_PATH];  // room for a double-byte code page
    if (getProgramFolder(wide)) {
        BOOL lossy = FALSE;
        const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, path,
                                               sizeof path, nullptr, &lossy);
        return length == 0 || lossy ? "" : path;
    }
    // Windows 95, 98 and Me lack the wide call, and name every folder in the ANSI code page.
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
    if (windowsHasWinHelp() || !getProgramFolder(choice.htmlHelpFile)) return Tviewer::winHelp;
    wcscat(choice.htmlHelpFile, htmlHelpName);
    if (GetFileAttributesW(choice.htmlHelpFile) == INVALID_FILE_ATTRIBUTES ||
        !choice.hhctrl.load("hhctrl.ocx"))
        return Tviewer::winHelp;
    choice.htmlHelp = reinterpret_cast<ThtmlHelp>(choice.hhctrl.entry("HtmlHelpW"));
    return choice.htmlHelp ? Tviewer::htmlHelp : Tviewer::winHelp;
}

// The viewer's window belongs to the main window even when the options dialog asks: a window
// owned by the dialog would close with it, where the Windows Help viewer stays until exit.
void showHtmlHelpTopic(HWND owner, DWORD context) {
    wchar_t topic[topicCapacity];
    wcscpy(topic, choice.htmlHelpFile);
    for (const auto& page : htmlHelpPages) {
        if (page.context != context) continue;
        wcscat(topic, L"::/");
        wcscat(topic, page.page);
    }
    choice.htmlHelp(GetAncestor(owner, GA_ROOTOWNER), topic, HH_DISPLAY_TOPIC, 0);
}

std::string winHelpFile() { return ansiProgramFolder() + winHelpName; }

}  // namespace

void showHelpTopic(HWND owner, DWORD context) {
    if (choice.viewer == Tviewer::undecided) choice.viewer = chooseViewer();
    if (choice.viewer == Tviewer::htmlHelp)
        showHtmlHelpTopic(owner, context);
    else
        WinHelpA(owner, winHelpFile().c_str(), HELP_CONTEXT, context);
}

void quitHelp(HWND owner) {
    WinHelpA(owner, winHelpFile().c_str(), HELP_QUIT, 0);
    if (choice.viewer == Tviewer::htmlHelp) choice.htmlHelp(nullptr, nullptr, HH_CLOSE_ALL, 0);
}
