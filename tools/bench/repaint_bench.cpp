// Times a repaint of the main window while the pane holds a definition of 1 MB: the whole window
// made invalid and painted at once from outside, as when it is uncovered, until the program has
// dealt with it. With the path of an earlier build's Lexoria.exe as argument, that program is
// timed the same way right after, in fewer rounds: a build that fills the pane again on every paint
// takes seconds a round. Prints the median and the slowest repaint of each. Clears the
// program key before and after.
// Usage: repaint_bench [earlier Lexoria.exe]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "soakprogram.h"

#include "benchtools.h"

namespace {

const int definitionBytes = 1 << 20;
const int repaints = 20;
const int earlierRepaints = 3;

// Two entries, the first with a definition of 1 MB in lines of 64 letters.
std::string wordList() {
    std::string text = "word=long\r\ndef=";
    const std::string line(62, 'x');
    while (static_cast<int>(text.size()) < definitionBytes) text += line + "\r\n";
    return text + "ex=long\r\nword=short\r\ndef=short\r\n";
}

// The program has handled everything sent before this returns.
bool settled(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result) != 0;
}

// The program has painted everything asked of it and dealt with it; false after a minute.
bool painted(HWND window, double since) {
    while (paintPending(window)) {
        if (secondsNow() - since > 60) return false;
        Sleep(0);
    }
    return settled(window);
}

// Repaint times of the program in the folder, in seconds; empty when it did not come up. The
// repaint is asked for and waited on, not forced from here: a build that takes minutes to paint
// would hold this program as long.
std::vector<double> timeRepaints(const TsoakFolder& folder, int rounds) {
    deleteProgramKey();
    std::vector<double> times;
    TsoakProgram program;
    HWND window = program.start(folder.path()) ? program.waitForMainWindow(60000) : nullptr;
    if (!window || !painted(window, secondsNow())) return times;
    for (int i = 0; i < rounds; ++i) {
        const double start = secondsNow();
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        if (!painted(window, start)) {
            times.clear();
            break;
        }
        times.push_back(secondsNow() - start);
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    program.waitForExit(10000);  // a run still going is ended with the holder
    return times;
}

void printTimes(const char* name, std::vector<double> times) {
    if (times.empty()) {
        std::printf("  %-22s no answer within a minute\n", name);
        return;
    }
    std::sort(times.begin(), times.end());
    std::printf("  %-22s %9.2f ms  (median of %d, slowest %.2f ms)\n", name,
                times[times.size() / 2] * 1e3, static_cast<int>(times.size()), times.back() * 1e3);
}

}  // namespace

int main(int argc, char** argv) {
    TsoakFolder folder(wordList());
    if (!folder.ready()) {
        std::printf("FAIL: cannot prepare the scratch folder\n");
        return 1;
    }
    std::printf("repaint of the whole window with a 1 MB definition in the pane:\n");
    const std::vector<double> times = timeRepaints(folder, repaints);
    printTimes("Lexoria.exe", times);
    if (argc > 1) {
        const std::string program = folder.path() + "\\Lexoria.exe";
        if (CopyFileA(argv[1], program.c_str(), FALSE))
            printTimes("earlier Lexoria.exe", timeRepaints(folder, earlierRepaints));
    }
    deleteProgramKey();
    return times.empty() ? 1 : 0;
}
