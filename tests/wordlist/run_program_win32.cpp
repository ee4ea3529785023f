// Running a program on Windows: CreateProcessA with its output sent to NUL, and a timed wait.
#include <windows.h>

#include "wordlist/run_program.h"

namespace {

class ThandleHolder {
public:
    explicit ThandleHolder(HANDLE h = nullptr) : handle(h) {}
    ~ThandleHolder() {
        if (handle && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
    ThandleHolder(const ThandleHolder&) = delete;
    ThandleHolder& operator=(const ThandleHolder&) = delete;
    HANDLE get() const { return handle; }

private:
    HANDLE handle;
};

}  // namespace

std::string listProgram() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string self(path, length < MAX_PATH ? length : 0);
    return self.substr(0, self.find_last_of('\\') + 1) + "lexoria-list.exe";
}

int runProgram(const std::string& program, const std::vector<std::string>& arguments, int timeoutMs) {
    std::string commandLine = "\"" + program + "\"";
    for (const std::string& argument : arguments) commandLine += " \"" + argument + "\"";
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    ThandleHolder nowhere(CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                      OPEN_EXISTING, 0, nullptr));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = nowhere.get();
    startup.hStdError = nowhere.get();
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return -1;
    }
    ThandleHolder process(info.hProcess);
    ThandleHolder thread(info.hThread);
    if (WaitForSingleObject(process.get(), static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), 5000);
        return -1;
    }
    DWORD status = 0;
    return GetExitCodeProcess(process.get(), &status) ? static_cast<int>(status) : -1;
}
