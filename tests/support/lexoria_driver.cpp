// Test support: files, the program's registry key and driving Lexoria.exe.
#include "support/lexoria_driver.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "resources/resource.h"

namespace lexoriaTest {

const char* const programKey = "SOFTWARE\\Fennwick Systems\\Lexoria";

std::string buildFolder() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\'));
}

TmoduleHolder programResources() {
    return {LoadLibraryExA((buildFolder() + "\\Lexoria.exe").c_str(), nullptr,
                           LOAD_LIBRARY_AS_DATAFILE),
            &FreeLibrary};
}

// Wide, so that folders a test names outside the code page go too.
void removeTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(path);
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

std::wstring deepFolder(std::wstring folder, size_t length) {
    while (folder.size() + 1 < length) {
        const size_t room = length - folder.size() - 1;  // 50 may leave 1: too few for "\\d"
        const size_t part = room > 50 && room - 50 == 1 ? 49 : std::min<size_t>(50, room);
        folder += L"\\" + std::wstring(part, L'd');
        CreateDirectoryW(folder.c_str(), nullptr);
    }
    return folder;
}

bool writeFile(const std::wstring& path, const std::string& bytes) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

bool copyBuilt(const TscratchFolder& folder, const std::string& built, std::string as) {
    if (as.empty()) as = built;
    return CopyFileA((buildFolder() + "\\" + built).c_str(), folder.file(as).c_str(), FALSE) != 0;
}

bool copyBuilt(const std::wstring& folder, const std::string& built, const std::wstring& as) {
    const std::wstring from = wideOf(buildFolder() + "\\" + built);
    CreateDirectoryW(folder.c_str(), nullptr);
    return CopyFileW(from.c_str(), (folder + L"\\" + as).c_str(), FALSE) != 0;
}

std::vector<unsigned char> startupRecord(int choice, int onTop, int left, int top) {
    std::vector<unsigned char> bytes;
    for (int field : {choice, onTop, left, top})
        for (int shift : {0, 8}) bytes.push_back(static_cast<unsigned char>(field >> shift));
    return bytes;
}

void deleteProgramKey() { RegDeleteKeyA(HKEY_CURRENT_USER, programKey); }

bool setProgramValue(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, programKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool getProgramValue(const char* name, std::vector<unsigned char>& bytes, DWORD* type) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, programKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = 0, valueType = 0;
    LONG result = RegQueryValueExA(key, name, nullptr, &valueType, nullptr, &size);
    if (result == ERROR_SUCCESS) {
        bytes.assign(size + 1, 0);
        result = RegQueryValueExA(key, name, nullptr, &valueType, bytes.data(), &size);
        bytes.resize(size);
    }
    RegCloseKey(key);
    if (type) *type = valueType;
    return result == ERROR_SUCCESS;
}

TregistryString::TregistryString(const char* key, const char* value, const char* text)
    : subkey(key), name(value) {
    SHSetValueA(HKEY_CURRENT_USER, key, value, REG_SZ, text, static_cast<DWORD>(strlen(text) + 1));
}

TregistryString::~TregistryString() {
    SHDeleteValueA(HKEY_CURRENT_USER, subkey, name);
    SHDeleteEmptyKeyA(HKEY_CURRENT_USER, subkey);
}

namespace {
const char* const desktopKey = "Control Panel\\Desktop";
void setLogPixels(DWORD dpi) {
    SHSetValueA(HKEY_CURRENT_USER, desktopKey, "LogPixels", REG_DWORD, &dpi, sizeof dpi);
}
}  // namespace

TlogPixels::TlogPixels(DWORD dpi) {
    DWORD size = sizeof previous, type = 0;
    hadValue = SHGetValueA(HKEY_CURRENT_USER, desktopKey, "LogPixels", &type, &previous, &size) ==
                   ERROR_SUCCESS &&
               type == REG_DWORD;
    setLogPixels(dpi);
}

TlogPixels::~TlogPixels() {
    if (hadValue) setLogPixels(previous);
    else SHDeleteValueA(HKEY_CURRENT_USER, desktopKey, "LogPixels");
}

TlexoriaProcess::~TlexoriaProcess() {
    if (!info.hProcess) return;
    if (running()) {
        TerminateProcess(info.hProcess, 99);
        WaitForSingleObject(info.hProcess, 5000);
    }
    if (info.hThread) CloseHandle(info.hThread);  // none for an adopted process
    CloseHandle(info.hProcess);
}

bool TlexoriaProcess::start(const std::string& folder, const std::string& exeName,
                            const std::string& arguments) {
    return start(wideOf(folder), wideOf(exeName), wideOf(arguments));
}

bool TlexoriaProcess::start(const std::wstring& folder, const std::wstring& exeName,
                            const std::wstring& arguments) {
    std::wstring exe = folder + L"\\" + exeName;
    return create(exe.c_str(), L"\"" + exe + L"\"" + arguments, folder.c_str());
}

bool TlexoriaProcess::create(const wchar_t* exe, std::wstring commandLine, const wchar_t* folder) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    return CreateProcessW(exe, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder,
                          &startup, &info) != 0;
}

// The window's first paint, which brings the pane back to its top, is done before a test sends
// its first key: a paint still pending would undo the keys' scrolling at some later moment.
namespace {
void settlePaint(HWND window) {
    if (window) RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}
}  // namespace

HWND TlexoriaProcess::waitForMainWindow(DWORD timeoutMs) {
    HWND main = nullptr;
    waitUntil(
        [&] {
            main = readyMainWindow(info.dwProcessId);
            return main != nullptr || !running();
        },
        timeoutMs);
    settlePaint(main);
    return main;
}

HWND TlexoriaProcess::waitForWordWindow(DWORD timeoutMs) {
    HWND main = nullptr;
    waitUntil(
        [&] {
            for (HWND window : windowsOfProcess(info.dwProcessId, "Lexoria"))
                if (IsWindowVisible(window) && !bandText(window).empty()) main = window;
            return main != nullptr || !running();
        },
        timeoutMs);
    settlePaint(main);
    return main;
}

HWND TlexoriaProcess::waitForDialog(DWORD timeoutMs) {
    return waitForDialogOf(
        info.dwProcessId, [](HWND) { return true; }, timeoutMs);
}

long TlexoriaProcess::waitForExit(DWORD timeoutMs) {
    if (WaitForSingleObject(info.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    return static_cast<long>(code);
}

bool TlexoriaProcess::running() const {
    return info.hProcess && WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT;
}

std::vector<HWND> dialogsOf(DWORD processId) { return windowsOfProcess(processId, "#32770"); }

HWND focusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

std::string windowText(HWND window) {
    char text[4096] = "";
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 2000, nullptr);
    return text;
}

// Sent with a time-out: the window may belong to another program's busy thread (an installer's),
// and a plain send would wait on it for ever.
std::wstring windowTextW(HWND window) {
    wchar_t text[4096] = L"";
    SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        2000, nullptr);
    return text;
}

std::wstring bandText(HWND mainWindow) {
    return windowTextW(GetDlgItem(mainWindow, IDC_TITLE_BAND));
}

std::string messageBoxText(HWND box) { return windowText(GetDlgItem(box, messageBoxTextId)); }

std::wstring messageBoxTextW(HWND box) { return windowTextW(GetDlgItem(box, messageBoxTextId)); }

HICON messageBoxIcon(HWND box) {
    DWORD_PTR icon = 0;
    SendMessageTimeoutA(GetDlgItem(box, messageBoxIconId), STM_GETICON, 0, 0, SMTO_ABORTIFHUNG,
                        2000, &icon);
    return reinterpret_cast<HICON>(icon);
}

void pressOk(HWND dialog) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }

void clickButton(HWND parent, int id) {
    HWND button = GetDlgItem(parent, id);
    if (button) PostMessageA(button, BM_CLICK, 0, 0);
}

void exitThroughButton(TlexoriaProcess& run, HWND window) {
    clickButton(window, IDC_EXIT);
    EXPECT_EQ(0, run.waitForExit());
}

// A marker posted behind (the Help button's pushed look, set and then cleared) must come through.
bool drainPosted(HWND mainWindow) {
    HWND marker = GetDlgItem(mainWindow, IDC_HELP_BUTTON);
    auto pushed = [&] {
        DWORD_PTR state = 0;
        SendMessageTimeoutA(marker, BM_GETSTATE, 0, 0, SMTO_ABORTIFHUNG, 2000, &state);
        return (state & BST_PUSHED) != 0;
    };
    PostMessageA(marker, BM_SETSTATE, TRUE, 0);
    if (!waitUntil(pushed)) return false;
    PostMessageA(marker, BM_SETSTATE, FALSE, 0);
    return waitUntil([&] { return !pushed(); });
}

}  // namespace lexoriaTest
