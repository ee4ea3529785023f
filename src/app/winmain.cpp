// The program's entry: one running copy at a time, the window class, the control libraries, the
// main window, and the message loop that gives the window dialog-style keys and hands six
// navigation keys to it so they scroll the definition pane.
#include <windows.h>

#include "language/interfacetext.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/panekeys.h"
#include "mainwindow/richpane.h"
#include "resources/resource.h"
#include "settings/registry.h"
#include "settings/settingsstore.h"
#include "win32/systemlibrary.h"

namespace {

// Held by the running copy from its first step to its end, in the user's session. Two starts at
// the same moment would otherwise both look for a window before either has one, and both run:
// two windows, and both may read and store the same place in the pass.
const wchar_t* const singleCopyName = L"Local\\Lexoria single copy";
// How long a copy that finds the name held waits for the running copy's window to appear, and
// how often it looks.
const DWORD runningWindowWaitMs = 10000;
const DWORD runningWindowPollMs = 50;

// The mutex, owned by this copy once it is the running one, and released as the program ends.
class TsingleCopyLock {
public:
    TsingleCopyLock() : mutex(CreateMutexW(nullptr, TRUE, singleCopyName)) {
        const DWORD error = GetLastError();
        owned = mutex && error != ERROR_ALREADY_EXISTS;
        // Another user's copy in this session holds a name this user may not open.
        heldElsewhere = (mutex && !owned) || error == ERROR_ACCESS_DENIED;
    }
    ~TsingleCopyLock() {
        if (owned) ReleaseMutex(mutex);
        if (mutex) CloseHandle(mutex);
    }
    TsingleCopyLock(const TsingleCopyLock&) = delete;
    TsingleCopyLock& operator=(const TsingleCopyLock&) = delete;

    bool isHeldElsewhere() const { return heldElsewhere; }
    // Waits up to the time given for the copy that holds it to end; true when it is ours then.
    bool waitForRelease(DWORD ms) {
        if (!mutex) {
            Sleep(ms);
            return false;
        }
        const DWORD result = WaitForSingleObject(mutex, ms);
        owned = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
        heldElsewhere = !owned;
        return owned;
    }

private:
    HANDLE mutex;
    bool owned = false;
    bool heldElsewhere = false;
};

// A running copy owns the window: restore it if it is minimised, bring it forward, and leave
// without touching anything else.
bool bringRunningCopyForward() {
    HWND running = FindWindowA(mainWindowName, mainWindowName);
    if (!running) return false;
    if (IsIconic(running)) {
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof placement;
        GetWindowPlacement(running, &placement);
        if (placement.showCmd == SW_MINIMIZE || placement.showCmd == SW_SHOWMINIMIZED) {
            bool wasMaximized = (placement.flags & WPF_RESTORETOMAXIMIZED) != 0;
            ShowWindow(running, wasMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
        }
    }
    SetForegroundWindow(running);
    return true;
}

// True when this copy is to run. One that finds the lock held waits for the running copy's window
// and brings it forward; it runs itself only when that copy ends first without one. A window with
// no lock behind it (a copy of an older version) is brought forward as before.
bool isTheRunningCopy(TsingleCopyLock& lock) {
    if (!lock.isHeldElsewhere()) return !bringRunningCopyForward();
    for (DWORD waited = 0; waited < runningWindowWaitMs; waited += runningWindowPollMs) {
        if (bringRunningCopyForward()) return false;
        if (lock.waitForRelease(runningWindowPollMs)) return !bringRunningCopyForward();
    }
    return false;  // the running copy is busy without its window (a message box, say)
}

void registerMainWindowClass(HINSTANCE instance) {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, LEXORIA_ICON_NAME);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    windowClass.lpszClassName = mainWindowName;
    RegisterClassA(&windowClass);
}

// Rich edit libraries, newest first: the newer ones give the pane a Unicode class.
const struct {
    const wchar_t* file;
    TrichEdit library;
} richEditLibraries[] = {
    {L"msftedit.dll", TrichEdit::version41},
    {L"riched20.dll", TrichEdit::version2},
    {L"riched32.dll", TrichEdit::version1},
};

TrichEdit loadRichEdit() {
    for (const auto& candidate : richEditLibraries)
        if (loadSystemLibrary(candidate.file)) return candidate.library;
    return TrichEdit::none;
}

// Through GetProcAddress, so that comctl32.dll is loaded from the system folder and is no import
// the loader would look for beside the program.
void initCommonControls(HMODULE commonControls) {
    using TinitCommonControls = void(WINAPI*)();
    auto init = libraryEntry<TinitCommonControls>(commonControls, "InitCommonControls");
    if (init) init();
}

// The libraries stay loaded until the process ends; a missing one is reported and the start
// goes on (without rich edit the window has no pane).
void loadControlLibraries() {
    HMODULE commonControls = loadSystemLibrary(L"comctl32.dll");
    if (!commonControls)
        showMessage(nullptr, interfaceText(IDS_NO_COMMON_CONTROLS), L"WinMain", MB_OK);
    const TrichEdit richEdit = loadRichEdit();
    if (richEdit == TrichEdit::none)
        showMessage(nullptr, interfaceText(IDS_NO_RICH_EDIT), L"WinMain", MB_OK);
    usePaneLibrary(richEdit);
    if (commonControls) initCommonControls(commonControls);
}

// The language the user chose in the options dialog, else the one Windows shows the user.
void chooseLanguage() {
    Tregistry key(programRootName, programSubkey, 1);
    useInterfaceLanguage(chooseInterfaceLanguage(readLanguageTag(key)));
}

HWND createMainWindow(HINSTANCE instance) {
    return CreateWindowExA(WS_EX_DLGMODALFRAME, mainWindowName, mainWindowName,
                           WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION,
                           0, 0, 1, 1, nullptr, nullptr, instance, nullptr);
}

// Navigation keys meant for the window or one of its buttons go to the window itself, which
// scrolls the pane with them; keys aimed at the pane reach the pane as usual.
bool isRedirectedKey(HWND mainWindow, const MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_KEYUP) return false;
    if (!isPaneNavigationKey(static_cast<unsigned>(message.wParam))) return false;
    if (message.hwnd == definitionPane()) return false;
    return message.hwnd == mainWindow || IsChild(mainWindow, message.hwnd);
}

int runMessageLoop(HWND mainWindow) {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (isRedirectedKey(mainWindow, message)) {
            message.hwnd = mainWindow;
        } else if (IsDialogMessageA(mainWindow, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR, int showCommand) {
    restrictLibrarySearch();
    TsingleCopyLock singleCopy;
    if (!isTheRunningCopy(singleCopy)) return 0;
    programInstance = instance;
    chooseLanguage();
    if (!previous) registerMainWindowClass(instance);
    loadControlLibraries();
    HWND mainWindow = createMainWindow(instance);
    // A window that refused its creation has shown why; one that never came to be (no class,
    // say) would post no quit message, so there is nothing to wait for either way.
    if (!mainWindow) return 0;
    ShowWindow(mainWindow, showCommand);
    return runMessageLoop(mainWindow);
}
