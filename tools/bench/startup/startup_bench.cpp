// Times program starts: from CreateProcess until the program's window is on screen, for
// Lexoria.exe (visible, with its first definition in the pane) and for the empty-window floor,
// taking turns, and prints the medians and their ratio.
// Usage: startup_bench <Lexoria.exe> <empty_window.exe> [starts]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char* const programKey = "SOFTWARE\\Fennwick Systems\\Lexoria";

struct Tprogram {
    std::string path;
    const char* windowClass;
    bool needsPaneText;
};

double nowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * counter.QuadPart / frequency.QuadPart;
}

// The first word is on screen once the window is visible and its pane holds text.
bool isOnScreen(const Tprogram& program, HWND& window) {
    window = FindWindowA(program.windowClass, nullptr);
    if (!window || !IsWindowVisible(window)) return false;
    if (!program.needsPaneText) return true;
    DWORD_PTR length = 0;
    HWND pane = GetDlgItem(window, 1010);
    return pane && SendMessageTimeoutA(pane, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 1000,
                                       &length) && length > 0;
}

// One start, closed again afterwards; the time in milliseconds, or a negative value on failure.
double timeOneStart(const Tprogram& program) {
    std::string commandLine = "\"" + program.path + "\"";
    std::string folder = program.path.substr(0, program.path.find_last_of('\\'));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    double started = nowMs();
    if (!CreateProcessA(program.path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process))
        return -1;
    double elapsed = -1;
    HWND window = nullptr;
    while (nowMs() - started < 20000) {
        if (isOnScreen(program, window)) {
            elapsed = nowMs() - started;
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

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench <Lexoria.exe> <empty_window.exe> [starts]\n");
        return 2;
    }
    Tprogram lexoria{argv[1], "Lexoria", true};
    Tprogram empty{argv[2], "LexoriaBenchEmpty", false};
    int starts = argc > 3 ? std::max(1, std::atoi(argv[3])) : 15;

    // The first start of each builds caches (the word list index, DLLs in the page cache); it
    // is not counted. The stored rotation is removed before and after.
    RegDeleteKeyA(HKEY_CURRENT_USER, programKey);
    if (timeOneStart(lexoria) < 0 || timeOneStart(empty) < 0) {
        std::fprintf(stderr, "a program did not come up\n");
        RegDeleteKeyA(HKEY_CURRENT_USER, programKey);
        return 1;
    }
    std::vector<double> lexoriaTimes, emptyTimes;
    for (int i = 0; i < starts; ++i) {
        double a = timeOneStart(lexoria);
        double b = timeOneStart(empty);
        if (a >= 0) lexoriaTimes.push_back(a);
        if (b >= 0) emptyTimes.push_back(b);
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, programKey);
    if (lexoriaTimes.empty() || emptyTimes.empty()) return 1;

    double lexoriaMs = median(lexoriaTimes), emptyMs = median(emptyTimes);
    std::printf("Start-up, CreateProcess to the first word on screen (median of %d starts):\n",
                starts);
    std::printf("  Lexoria.exe         %8.1f ms\n", lexoriaMs);
    std::printf("  empty window        %8.1f ms\n", emptyMs);
    std::printf("  ratio               %8.2f\n", lexoriaMs / emptyMs);
    return 0;
}
