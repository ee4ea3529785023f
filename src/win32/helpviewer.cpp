// The help viewer. Windows Vista and later no longer include the Windows Help viewer, so there
// the help opens in HTML Help from lexoria.chm, when that file lies beside the program and
// hhctrl.ocx loads. Everywhere else it opens in the Windows Help viewer from lexoria.hlp, as it
// always has. The choice is made at the first help request: loading hhctrl.ocx at start-up would
// slow every start for a button that most runs never press.
#include "win32/helpviewer.h"

#include <htmlhelp.h>

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

// The program's folder with its trailing backslash, or "" when Windows cannot say: the wide call
// fails on Windows 95, 98 and Me, and a path cut short at MAX_PATH is no path.
std::wstring programFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return L"";
    const std::wstring file(path, length);
    return file.substr(0, file.find_last_of(L'\\') + 1);
}

// A wide path in the ANSI code page, or "" when that code page cannot spell it.
std::string ansiPath(const std::wstring& wide) {
    std::string path(wide.size() * 2, '\0');  // room for a double-byte code page
    BOOL lossy = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(),
                                           static_cast<int>(wide.size()), &path[0],
                                           static_cast<int>(path.size()), nullptr, &lossy);
    if (length == 0 || lossy) return "";
    path.resize(length);
    return path;
}

// The same folder for WinHelpA; "" when the ANSI code page cannot spell it, and the viewer
// then searches for the bare name on its own.
std::string ansiProgramFolder() {
    const std::wstring wide = programFolder();
    if (!wide.empty()) return ansiPath(wide);
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
    const std::wstring folder = programFolder();
    if (windowsHasWinHelp() || folder.empty()) return Tviewer::winHelp;
    choice.htmlHelpFile = folder + htmlHelpName;
    if (GetFileAttributesW(choice.htmlHelpFile.c_str()) == INVALID_FILE_ATTRIBUTES ||
        !choice.hhctrl.load("hhctrl.ocx"))
        return Tviewer::winHelp;
    choice.htmlHelp = reinterpret_cast<ThtmlHelp>(choice.hhctrl.entry("HtmlHelpW"));
    return choice.htmlHelp ? Tviewer::htmlHelp : Tviewer::winHelp;
}

std::wstring htmlHelpTopic(DWORD context) {
    std::wstring topic = choice.htmlHelpFile;
    for (const auto& page : htmlHelpPages)
        if (page.context == context) topic.append(L"::/").append(page.page);
    return topic;
}

std::string winHelpFile() { return ansiProgramFolder() + winHelpName; }

}  // namespace

void showHelpTopic(HWND owner, DWORD context) {
    if (choice.viewer == Tviewer::undecided) choice.viewer = chooseViewer();
    if (choice.viewer == Tviewer::htmlHelp)
        choice.htmlHelp(owner, htmlHelpTopic(context).c_str(), HH_DISPLAY_TOPIC, 0);
    else
        WinHelpA(owner, winHelpFile().c_str(), HELP_CONTEXT, context);
}

void quitHelp(HWND owner) {
    WinHelpA(owner, winHelpFile().c_str(), HELP_QUIT, 0);
    if (choice.viewer == Tviewer::htmlHelp) choice.htmlHelp(nullptr, nullptr, HH_CLOSE_ALL, 0);
}
