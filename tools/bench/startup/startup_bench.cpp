// Times program starts: from CreateProcess until the program's window is on screen, for
// Lexoria.exe (visible, with its first definition in the pane) and for two floors, the empty
// window alone and the empty window after loading the libraries Lexoria's design loads, taking
// turns, and prints the medians with their quartiles and the ratios. An earlier Lexoria.exe, when
// given, takes its turn among them, so that a change is measured side by side with what it
// changes.
// Usage: startup_bench <Lexoria.exe> <empty_window.exe> [starts [earlier Lexoria.exe]]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "resources/resource.h"

#include "../benchtools.h"

namespace {

const char* const programKey = "SOFTWARE\\Fennwick Systems\\Lexoria";

struct Tprogram {
    std::string path;
    std::string arguments;
    const char* windowClass;
    bool needsPaneText;
};

// The first word is on screen once the window is visible and its pane holds text.
bool isOnScreen(const Tprogram& program, HWND& window) {
    window = FindWindowA(program.windowClass, nullptr);
    if (!window || !IsWindowVisible(window)) return false;
    if (!program.needsPaneText) return true;
    DWORD_PTR length = 0;
    HWND pane = GetDlgItem(window, IDC_DEFINITION);
    return pane &&
           SendMessageTimeoutA(pane, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 1000, &length) &&
           length > 0;
}

// One start, closed again afterwards; the time in milliseconds, or a negative value on failure.
double timeOneStart(const Tprogram& program) {
    std::string commandLine = "\"" + program.path + "\" " + program.arguments;
    std::string folder = program.path.substr(0, program.path.find_last_of('\\'));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    double started = millisecondsNow();
    if (!CreateProcessA(program.path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process))
        return -1;
    double elapsed = -1;
    HWND window = nullptr;
    while (millisecondsNow() - started < 20000) {
        if (isOnScreen(program, window)) {
            elapsed = millisecondsNow() - started;
            break;
        }
        if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
    }
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

double median(const std::vector<double>& values) { return quantile(values, 0.5); }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: startup_bench <Lexoria.exe> <empty_window.exe> [starts "
                     "[earlier Lexoria.exe]]\n");
        return 2;
    }
    std::vector<Tprogram> programs = {{argv[1], "", "Lexoria", true},
                                      {argv[2], "", "LexoriaBenchEmpty", false},
                                      {argv[2], "libraries", "LexoriaBenchEmpty", false}};
    if (argc > 4) programs.push_back({argv[4], "", "Lexoria", true});
    const char* const labels[] = {"Lexoria.exe", "empty window", "  and the libraries",
                                  "earlier Lexoria.exe"};
    int starts = argc > 3 ? std::max(1, std::atoi(argv[3])) : 15;

    // The first start of each builds caches (the word list index, DLLs in the page cache); it
    // is not counted. The stored rotation is removed before and after.
    RegDeleteKeyA(HKEY_CURRENT_USER, programKey);
    for (const Tprogram& program : programs) {
        if (timeOneStart(program) < 0) {
            std::fprintf(stderr, "%s did not come up\n", program.path.c_str());
            RegDeleteKeyA(HKEY_CURRENT_USER, programKey);
            return 1;
        }
    }
    std::vector<std::vector<double>> times(programs.size());
    for (int i = 0; i < starts; ++i) {
        for (size_t p = 0; p < programs.size(); ++p) {
            double ms = timeOneStart(programs[p]);
            if (ms >= 0) times[p].push_back(ms);
        }
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, programKey);
    for (const auto& list : times)
        if (list.empty()) return 1;

    std::printf("Start-up, CreateProcess to the first word on screen (median of %d starts):\n",
                starts);
    for (size_t p = 0; p < programs.size(); ++p)
        std::printf("  %-20s%8.1f ms  (%.1f to %.1f)\n", labels[p], median(times[p]),
                    quantile(times[p], 0.25), quantile(times[p], 0.75));
    std::printf("  ratio               %8.2f\n", median(times[0]) / median(times[1]));
    std::printf("  to the libraries    %8.2f\n", median(times[0]) / median(times[2]));
    if (programs.size() > 3)
        std::printf("  against earlier     %8.2f\n", median(times[0]) / median(times[3]));
    return 0;
}
