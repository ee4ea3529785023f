// Preparing the soak run's folder and watching the program's process and main window.
#include "soakprogram.h"

#include <cstdio>

#include "processwindows/processwindows.h"
#include "resources/resource.h"
#include "settings/registry.h"

namespace {

const char* const programFile = "Lexoria.exe";
const char* const listFile = "lexoria.lst";
const DWORD pollMs = 10;
const DWORD killWaitMs = 5000;

std::string besideThisProgram(const char* name) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

bool writeBytes(const std::string& path, const std::string& bytes) {
    ThandleHolder file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file.get() != INVALID_HANDLE_VALUE &&
           WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
}

}  // namespace

TsoakFolder::TsoakFolder(const std::string& listBytes) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    // A folder left by a run that was killed may bear this process's id (Wine reuses ids).
    char name[MAX_PATH + 48];
    bool made = false;
    for (int attempt = 0; attempt < 100 && !made; ++attempt) {
        std::snprintf(name, sizeof name, "%slexoria-soak-%lu-%d", temp, GetCurrentProcessId(),
                      attempt);
        made = CreateDirectoryA(name, nullptr) != 0;
    }
    if (!made) return;
    folder = name;
    prepared = CopyFileA(besideThisProgram(programFile).c_str(),
                         (folder + "\\" + programFile).c_str(), FALSE) &&
               writeBytes(folder + "\\" + listFile, listBytes);
}

TsoakFolder::~TsoakFolder() {
    if (folder.empty()) return;
    DeleteFileA((folder + "\\" + programFile).c_str());
    DeleteFileA((folder + "\\" + listFile).c_str());
    RemoveDirectoryA(folder.c_str());
}

TsoakProgram::~TsoakProgram() {
    if (process.get() && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process.get(), 99);
        WaitForSingleObject(process.get(), killWaitMs);
    }
}

bool TsoakProgram::start(const std::string& folder) {
    std::string exe = folder + "\\" + programFile;
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info))
        return false;
    CloseHandle(info.hThread);
    process.reset(info.hProcess);
    processId = info.dwProcessId;
    return true;
}

template <typename Tready>
HWND TsoakProgram::waitFor(DWORD timeoutMs, Tready ready) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start <= timeoutMs &&
           WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) {
        if (HWND window = ready()) return window;
        Sleep(pollMs);
    }
    return nullptr;
}

HWND TsoakProgram::waitForMainWindow(DWORD timeoutMs) {
    return waitFor(timeoutMs, [&] { return readyMainWindow(processId); });
}

HWND TsoakProgram::waitForWordWindow(DWORD timeoutMs) {
    return waitFor(timeoutMs, [&]() -> HWND {
        for (HWND window : windowsOfProcess(processId, "Lexoria"))
            if (IsWindowVisible(window) &&
                GetWindowTextLengthW(GetDlgItem(window, IDC_TITLE_BAND)) > 0)
                return window;
        return nullptr;
    });
}

long TsoakProgram::waitForExit(DWORD timeoutMs) {
    if (WaitForSingleObject(process.get(), timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    return static_cast<long>(code);
}

std::string numberedWordList(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        text += "word=word" + n + "\ndef=definition " + n + "\nex=example " + n + "\n";
    }
    return text;
}

void deleteProgramKey() { RegDeleteKeyA(HKEY_CURRENT_USER, programSubkey); }
