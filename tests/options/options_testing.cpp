// Test support for the options dialog (see options_testing.h).
#include "options_testing.h"

#include <cstdio>

#include "options/optionsdialog.h"
#include "resources/resource.h"

namespace options_test {

using namespace lexoria_test;

const char* const shellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const programManagerKey = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Program Manager\\Settings";

DWORD shellMajorVersion() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    return version.dwMajorVersion;
}

std::string thisProgram() {
    char path[MAX_PATH];
    return std::string(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
}

// --- RegistryValueGuard ------------------------------------------------------------------------

RegistryValueGuard::RegistryValueGuard(const char* key, const char* value) : subkey(key), name(value) {
    HKEY open;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &open) == ERROR_SUCCESS) {
        DWORD size = 0;
        if (RegQueryValueExA(open, value, nullptr, &beforeType, nullptr, &size) == ERROR_SUCCESS) {
            before.assign(size, '\0');
            existed = RegQueryValueExA(open, value, nullptr, &beforeType,
                                       reinterpret_cast<BYTE*>(&before[0]), &size) == ERROR_SUCCESS;
            before.resize(size);
        }
        RegCloseKey(open);
        return;
    }
    // Remember which levels of the path are missing, so they can be removed again.
    std::string path = key;
    for (;;) {
        createdLevels.insert(createdLevels.begin(), path);
        size_t cut = path.find_last_of('\\');
        if (cut == std::string::npos) break;
        path.resize(cut);
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &open) == ERROR_SUCCESS) {
            RegCloseKey(open);
            break;
        }
    }
}

RegistryValueGuard::~RegistryValueGuard() {
    if (existed) {
        set(beforeType, before.data(), static_cast<DWORD>(before.size()));
        return;
    }
    remove();
    for (auto level = createdLevels.rbegin(); level != createdLevels.rend(); ++level)
        RegDeleteKeyA(HKEY_CURRENT_USER, level->c_str());
}

bool RegistryValueGuard::set(DWORD type, const void* data, DWORD size) {
    HKEY open;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &open, nullptr) != ERROR_SUCCESS)
        return false;
    const LONG result = RegSetValueExA(open, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(open);
    return result == ERROR_SUCCESS;
}

bool RegistryValueGuard::setString(const std::string& text) {
    return set(REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

bool RegistryValueGuard::remove() {
    HKEY open;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_ALL_ACCESS, &open) != ERROR_SUCCESS)
        return true;
    RegDeleteValueA(open, name.c_str());
    RegCloseKey(open);
    return true;
}

// --- ProgmanStandIn ----------------------------------------------------------------------------

ProgmanStandIn::ProgmanStandIn() {
    std::string exe = buildFolder() + "\\progman_standin.exe";
    std::string commandLine = "\"" + exe + "\" \"" + folder.path() + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    // No handles inherited: a stand-in that outlived the test must not hold the test's output.
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.path().c_str(), &startup, &process))
        return;
    waitUntil([&] {
        window = FindWindowA("LexoriaProgmanStandIn", nullptr);
        return window != nullptr || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
    });
}

ProgmanStandIn::~ProgmanStandIn() {
    if (!process.hProcess) return;
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

void ProgmanStandIn::reply(const std::string& bytes) { writeFile(folder.file("reply.txt"), bytes); }
void ProgmanStandIn::noReply() { DeleteFileA(folder.file("reply.txt").c_str()); }
void ProgmanStandIn::refuse(const std::string& prefixes) { writeFile(folder.file("refuse.txt"), prefixes); }
void ProgmanStandIn::clearLog() { DeleteFileA(folder.file("log.txt").c_str()); }

std::vector<std::string> ProgmanStandIn::log() const {
    std::string bytes;
    std::vector<std::string> lines;
    if (!readFile(folder.file("log.txt"), bytes)) return lines;
    size_t start = 0, end;
    while ((end = bytes.find('\n', start)) != std::string::npos) {
        lines.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// --- Running and driving the dialog ------------------------------------------------------------

namespace {
const UINT markerMessage = WM_APP + 1;
volatile LONG markerSeen = 0;

LRESULT CALLBACK ownerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == markerMessage) {
        InterlockedExchange(&markerSeen, static_cast<LONG>(wParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND createOwner(const RECT& rect) {
    static ATOM ownerClass = 0;
    if (!ownerClass) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = ownerProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = "LexoriaOptionsTestOwner";
        ownerClass = RegisterClassA(&windowClass);
    }
    HWND owner = CreateWindowA("LexoriaOptionsTestOwner", "Options test owner",
                               WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, rect.left, rect.top,
                               rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    return owner;
}

bool isOptionsDialog(HWND window) { return GetDlgItem(window, IDC_STARTUP) != nullptr; }

struct ScriptRun {
    OptionsDialogDriver* driver;
    const std::function<void(OptionsDialogDriver&)>* script;
};

DWORD WINAPI runScript(void* param) {
    auto* run = static_cast<ScriptRun*>(param);
    (*run->script)(*run->driver);
    run->driver->finish();
    return 0;
}

// Keeps this thread's windows answering until the script's thread has ended.
bool pumpUntilSignalled(HANDLE handle, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return false;
        DWORD wait = MsgWaitForMultipleObjects(1, &handle, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
        if (wait == WAIT_OBJECT_0) return true;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
}
}  // namespace

OptionsDialogDriver::OptionsDialogDriver(HWND owner, DWORD dialogThread)
    : ownerWindow(owner), thread(dialogThread) {}

HWND OptionsDialogDriver::dialog() {
    if (dialogWindow) return dialogWindow;
    waitUntil([&] {
        for (HWND window : dialogsOf(GetCurrentProcessId()))
            if (isOptionsDialog(window) && IsWindowVisible(window)) dialogWindow = window;
        return dialogWindow != nullptr;
    });
    return dialogWindow;
}

bool OptionsDialogDriver::settle() {
    const LONG mark = ++serial;
    PostMessageA(ownerWindow, markerMessage, static_cast<WPARAM>(mark), 0);
    return waitUntil([&] { return markerSeen == mark; });
}

HWND OptionsDialogDriver::visibleBox() {
    for (HWND window : dialogsOf(GetCurrentProcessId()))
        if (!isOptionsDialog(window) && IsWindowVisible(window)) return window;
    return nullptr;
}

namespace {
struct IconSearch {
    HWND found = nullptr;
};
BOOL CALLBACK findIconControl(HWND child, LPARAM param) {
    char name[32] = "";
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "Static") == 0 && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
        IsWindowVisible(child)) {
        reinterpret_cast<IconSearch*>(param)->found = child;
        return FALSE;
    }
    return TRUE;
}

MessageBoxSeen::Icon iconOf(HWND box) {
    IconSearch search;
    EnumChildWindows(box, findIconControl, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return MessageBoxSeen::none;
    DWORD_PTR icon = 0;
    SendMessageTimeoutA(search.found, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &icon);
    if (reinterpret_cast<HICON>(icon) == LoadIconA(nullptr, IDI_HAND)) return MessageBoxSeen::error;
    if (reinterpret_cast<HICON>(icon) == LoadIconA(nullptr, IDI_ASTERISK)) return MessageBoxSeen::information;
    return MessageBoxSeen::other;
}
}  // namespace

MessageBoxSeen OptionsDialogDriver::takeBox(DWORD timeoutMs) {
    MessageBoxSeen seen;
    HWND box = nullptr;
    if (!waitUntil([&] { return (box = visibleBox()) != nullptr; }, timeoutMs)) return seen;
    seen.text = messageBoxText(box);
    seen.caption = windowText(box);
    seen.icon = iconOf(box);
    pressOk(box);
    waitUntil([&] { return !IsWindow(box); });
    settle();
    return seen;
}

bool OptionsDialogDriver::boxShown() {
    settle();
    return visibleBox() != nullptr;
}

HWND OptionsDialogDriver::control(int id) {
    HWND window = dialog();
    return window ? GetDlgItem(window, id) : nullptr;
}

void OptionsDialogDriver::click(int id) {
    if (HWND button = control(id)) PostMessageA(button, BM_CLICK, 0, 0);
    settle();
}

std::string OptionsDialogDriver::text(int id) {
    HWND window = control(id);
    return window ? windowText(window) : std::string("(no control)");
}

bool OptionsDialogDriver::checked(int id) {
    DWORD_PTR state = 0;
    if (HWND button = control(id))
        SendMessageTimeoutA(button, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &state);
    return state == BST_CHECKED;
}

void OptionsDialogDriver::setChecked(int id, bool on) {
    if (HWND button = control(id))
        SendMessageTimeoutA(button, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0,
                            SMTO_ABORTIFHUNG, 2000, nullptr);
}

int OptionsDialogDriver::focusId() {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(thread, &info) || !info.hwndFocus) return 0;
    return GetDlgCtrlID(info.hwndFocus);
}

bool OptionsDialogDriver::ended() {
    settle();
    return !dialogWindow || !IsWindow(dialogWindow);
}

void OptionsDialogDriver::finish() {
    waitUntil([&] {
        std::vector<HWND> open = dialogsOf(GetCurrentProcessId());
        for (HWND window : open) {
            if (isOptionsDialog(window)) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
            else pressOk(window);
        }
        if (!open.empty()) Sleep(50);
        return open.empty();
    }, 10000);
}

INT_PTR runOptionsDialog(const RECT& ownerRect, const std::function<void(OptionsDialogDriver&)>& script) {
    HWND owner = createOwner(ownerRect);
    OptionsDialogDriver driver(owner, GetCurrentThreadId());
    ScriptRun run{&driver, &script};
    HANDLE thread = CreateThread(nullptr, 0, runScript, &run, 0, nullptr);
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_OPTIONS),
                                     owner, optionsDialogProc, 0);
    if (!pumpUntilSignalled(thread, 60000)) result = -2;
    CloseHandle(thread);
    DestroyWindow(owner);
    return result;
}

INT_PTR runOptionsDialog(const std::function<void(OptionsDialogDriver&)>& script) {
    return runOptionsDialog(RECT{200, 150, 800, 550}, script);
}

}  // namespace options_test
