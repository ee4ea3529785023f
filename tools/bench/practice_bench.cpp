// Times practice in the real program on a 4000-entry list: "&Next Word" then "&Show" with
// practice on and the return queue full (50 entries, seeded before each word so that every word
// reads and writes the whole queue), against "&Next Word" alone with practice off. Each press is
// a click sent to the program, timed until the program has dealt with it, painting included.
// Prints the median and 95th percentile of both and their ratio, which must stay within 1.10.
// Clears the program key before and after.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "settings/registry.h"
#include "soakprogram.h"

namespace {

const int entries = 4000;
const int warmUpWords = 50;
const int samples = 1000;
const int queueCapacity = 50;
const int fullWait = 5;
const double allowedRatio = 1.10;

double now() {
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Tfigures {
    double median, p95;
};

Tfigures figuresOf(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    const size_t n = times.size();
    const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    return {median, times[(95 * n + 99) / 100 - 1]};
}

std::string wordList() {
    std::string text;
    for (int i = 0; i < entries; ++i) {
        const std::string n = std::to_string(i);
        text += "word=word" + n + "\ndef=definition " + n + "\nex=example " + n + "\n";
    }
    return text;
}

void deleteProgramKey() { RegDeleteKeyA(HKEY_CURRENT_USER, programSubkey); }

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

bool click(HWND window, int id) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(GetDlgItem(window, id), BM_CLICK, 0, 0, SMTO_NORMAL, 10000,
                               &result) != 0;
}

// The time of each word in a run of the program: "&Next Word", then "&Show" in practice; empty
// when the program did not come up or stopped answering.
std::vector<double> timeWords(bool practice) {
    deleteProgramKey();
    if (practice) {
        Tregistry store(HKEY_CURRENT_USER, programSubkey, 0);
        if (!store.setDword("Practice", 1)) return {};
    }
    std::vector<double> times;
    TsoakFolder folder(wordList());
    TsoakProgram program;
    HWND window =
        folder.ready() && program.start(folder.path()) ? program.waitForWordWindow(30000) : nullptr;
    if (!window) return {};
    for (int word = 0; word < warmUpWords + samples; ++word) {
        if (practice && !seedFullQueue()) return {};
        const double start = now();
        if (!click(window, IDC_NEXT_WORD) || (practice && !click(window, IDC_NEXT_WORD))) return {};
        if (word >= warmUpWords) times.push_back(now() - start);
    }
    PostMessageA(GetDlgItem(window, IDC_EXIT), BM_CLICK, 0, 0);
    program.waitForExit(10000);
    return times;
}

}  // namespace

int main() {
    const std::vector<double> plain = timeWords(false);
    const std::vector<double> practised = timeWords(true);
    deleteProgramKey();
    if (plain.empty() || practised.empty()) {
        std::printf("FAIL: the program did not come up or stopped answering\n");
        return 1;
    }
    const Tfigures a = figuresOf(plain), b = figuresOf(practised);
    const double ratio = b.median / a.median;
    std::printf("practice: %d words on %d entries, median and 95th percentile in ms\n", samples,
                entries);
    std::printf("  Next Word, practice off:                  %7.3f %7.3f\n", a.median * 1e3,
                a.p95 * 1e3);
    std::printf("  Next Word + Show, practice on, full queue: %7.3f %7.3f\n", b.median * 1e3,
                b.p95 * 1e3);
    std::printf("  ratio of the medians: %.3f (at most %.2f): %s\n", ratio, allowedRatio,
                ratio <= allowedRatio ? "ok" : "TOO SLOW");
    return ratio <= allowedRatio ? 0 : 1;
}
