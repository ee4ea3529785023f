// Finding a process's windows and reading the definition pane from outside the program.
#include "processwindows/processwindows.h"

#include <cstring>

#include "resources/resource.h"

namespace {

// A pane that does not answer within this time is read as empty rather than waited on.
const DWORD paneReadTimeoutMs = 2000;

struct TwindowSearch {
    DWORD processId;
    const char* className;
    std::vector<HWND> found;
};

BOOL CALLBACK collectWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<TwindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (owner == search->processId && std::strcmp(name, search->className) == 0)
        search->found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> windowsOfProcess(DWORD processId, const char* className) {
    TwindowSearch search{processId, className, {}};
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND readyMainWindow(DWORD processId) {
    for (HWND window : windowsOfProcess(processId, "Lexoria"))
        if (IsWindowVisible(window) && !paneText(window).empty()) return window;
    return nullptr;
}

std::string paneText(HWND mainWindow) {
    HWND pane = GetDlgItem(mainWindow, IDC_DEFINITION);
    if (!pane) return std::string();
    std::vector<char> text(1 << 16, '\0');
    SendMessageTimeoutA(pane, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, paneReadTimeoutMs, nullptr);
    return text.data();
}

std::wstring paneTextW(HWND mainWindow) {
    HWND pane = GetDlgItem(mainWindow, IDC_DEFINITION);
    if (!pane) return std::wstring();
    std::vector<wchar_t> text(1 << 16, L'\0');
    SendMessageTimeoutW(pane, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, paneReadTimeoutMs, nullptr);
    return text.data();
}
