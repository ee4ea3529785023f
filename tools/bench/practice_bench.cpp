// Times practice on a 4000-entry list with the return queue full (50 entries, seeded before each
// word so that every word reads and writes the whole queue) against "&Next Word" with practice
// off, twice:
//   - the store: practice's next word against loadNextWord, in this process; the ratio of the
//     medians must stay within 1.10;
//   - the window: "&Next Word" then "&Show" sent to the running program as commands, each timed
//     until the program has dealt with it, against "&Next Word" alone. Runs of each kind take
//     turns, so that a change in the machine's load falls on both.
// Prints medians and 95th percentiles and the ratios. Clears the program key before and after.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "settings/registry.h"
#include "soakprogram.h"
#include "vocab/wordstore.h"
#include "win32/widetext.h"

#include "benchtools.h"

namespace {

const int entries = 4000;
const int storeSamples = 2000;
const int windowRuns = 6;  // of each kind
const int wordsPerRun = 150;
const int warmUpWords = 20;
const int queueCapacity = 50;
const int fullWait = 5;
const double allowedRatio = 1.10;

bool setPractice(bool on) {
    Tregistry store(HKEY_CURRENT_USER, programSubkey, 0);
    return store.setDword("Practice", on ? 1 : 0);
}

// Fifty entries from the far end of the list, each with the whole wait: none comes due at the
// next word, so the word reads and writes all fifty.
bool seedFullQueue() {
    unsigned char bytes[queueCapacity * 8];
    for (int i = 0; i < queueCapacity; ++i) {
        const uint32_t fields[2] = {static_cast<uint32_t>(entries - 1 - i), fullWait};
        for (int f = 0; f < 2; ++f)
            for (int b = 0; b < 4; ++b) bytes[8 * i + 4 * f + b] = (fields[f] >> (8 * b)) & 0xFF;
    }
    Tregistry store(HKEY_CURRENT_USER, programSubkey, 0);
    return store.setBinary("Again", bytes, sizeof bytes);
}

void printFigures(const char* name, const TbenchFigures& f) {
    std::printf("  %-44s %7.3f %7.3f\n", name, f.median * 1e3, f.p95 * 1e3);
}

// Prints the ratio of the medians; true when it is within the bound (or none is set).
bool printRatio(const TbenchFigures& plain, const TbenchFigures& practised, bool bounded) {
    const double ratio = practised.median / plain.median;
    const bool within = ratio <= allowedRatio;
    std::printf("  ratio of the medians: %.3f%s\n", ratio,
                !bounded ? ""
                : within ? " (at most 1.10): ok"
                         : " (at most 1.10): TOO SLOW");
    return !bounded || within;
}

// ---- The store ----

bool benchStore(const TsoakFolder& folder) {
    const std::wstring list = wideFrom(folder.path() + "\\lexoria.lst", CP_ACP);
    deleteProgramKey();
    TwordDef entry;
    int32_t number = 0;
    if (!loadNextWord(list, entry, number)) return false;  // builds the index; not timed
    std::vector<double> plain, practised;
    for (int i = 0; i < storeSamples; ++i) {
        double start = secondsNow();
        if (!loadNextWord(list, entry, number)) return false;
        plain.push_back(secondsNow() - start);
        if (!seedFullQueue()) return false;
        start = secondsNow();
        if (!loadPracticeNextWord(list, entry, number)) return false;
        practised.push_back(secondsNow() - start);
    }
    const TbenchFigures a = figuresOf(plain), b = figuresOf(practised);
    std::printf("store: %d words each, median and 95th percentile in ms\n", storeSamples);
    printFigures("loadNextWord", a);
    printFigures("practice's next word, full queue", b);
    return printRatio(a, b, true);
}

// ---- The window ----

bool command(HWND window, int id) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                               reinterpret_cast<LPARAM>(GetDlgItem(window, id)), SMTO_NORMAL, 10000,
                               &result) != 0;
}

// One run of the program: the time of each word after the warm-up, "&Next Word" and, in
// practice, "&Show"; false when the program did not come up or stopped answering.
bool timeRun(const TsoakFolder& folder, bool practice, std::vector<double>& times) {
    if (!setPractice(practice)) return false;
    TsoakProgram program;
    HWND window = program.start(folder.path()) ? program.waitForWordWindow(30000) : nullptr;
    if (!window) return false;
    for (int word = 0; word < warmUpWords + wordsPerRun; ++word) {
        if (practice && !seedFullQueue()) return false;
        const double start = secondsNow();
        if (!command(window, IDC_NEXT_WORD) || (practice && !command(window, IDC_NEXT_WORD)))
            return false;
        if (word >= warmUpWords) times.push_back(secondsNow() - start);
    }
    PostMessageA(GetDlgItem(window, IDC_EXIT), BM_CLICK, 0, 0);
    return program.waitForExit(10000) == 0;
}

bool benchWindow(const TsoakFolder& folder) {
    deleteProgramKey();
    std::vector<double> plain, practised;
    for (int run = 0; run < windowRuns; ++run)
        if (!timeRun(folder, false, plain) || !timeRun(folder, true, practised)) return false;
    const TbenchFigures a = figuresOf(plain), b = figuresOf(practised);
    std::printf("window: %d words each, median and 95th percentile in ms\n",
                windowRuns * wordsPerRun);
    printFigures("Next Word, practice off", a);
    printFigures("Next Word + Show, practice on, full queue", b);
    printRatio(a, b, false);
    return true;
}

}  // namespace

int main() {
    TsoakFolder folder(numberedWordList(entries));
    if (!folder.ready()) {
        std::printf("FAIL: cannot prepare the scratch folder\n");
        return 1;
    }
    const bool storeWithin = benchStore(folder);
    const bool windowRan = benchWindow(folder);
    deleteProgramKey();
    if (!windowRan) std::printf("FAIL: the program did not come up or stopped answering\n");
    return storeWithin && windowRan ? 0 : 1;
}
