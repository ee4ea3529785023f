// The soak run (`make soak`): 10,000 "&Next Word" presses on a 4000-entry list, then the same
// list practised for two whole passes: every word first hidden and then shown with "&Show",
// "A&gain" on one word in ten and "&Next Word" on the others. Every entry shown must be the one
// the stored rotation names, or the word marked six words before, every completed pass must have
// shown each entry exactly once, and the program's memory, kernel handles, windows and GDI and
// USER objects (where the platform reports them) must stay flat after a short warm-up. Prints
// the figures; exit code 0 when all holds.
// Arguments (optional): the number of presses of the first run.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "settings/registry.h"
#include "processwindows/processwindows.h"
#include "soakprogram.h"
#include "vocab/rotation.h"
#include "win32/systemlibrary.h"

namespace {

const int entries = 4000;
const int warmUpPresses = 200;
const int sampleEvery = 1000;
// How much the figures may grow after the warm-up.
const long handleSlack = 2;
const long objectSlack = 2;
const long memorySlackKb = 1024;

// -1 where the platform does not report a figure.
struct Tfigures {
    int presses = 0;
    long workingSetKb = -1;
    long privateKb = -1;
    long handles = -1;
    long probedHandles = -1;
    long windows = -1;
    long gdiObjects = -1;
    long userObjects = -1;
};

// Counts the kernel handles of another process by trying to duplicate every handle value up to
// a limit: the count works where GetProcessHandleCount is not reported (Wine answers 0). New
// handles take the lowest free value, so a leak shows as a growing count long before the limit.
long probeHandles(HANDLE process) {
    const uintptr_t highestValue = 4 * 1024;
    long valid = 0;
    for (uintptr_t value = 4; value <= highestValue; value += 4) {
        HANDLE copy = nullptr;
        if (DuplicateHandle(process, reinterpret_cast<HANDLE>(value), GetCurrentProcess(), &copy, 0,
                            FALSE, DUPLICATE_SAME_ACCESS)) {
            ++valid;
            CloseHandle(copy);
        }
    }
    return valid;
}

BOOL CALLBACK countChild(HWND, LPARAM count) {
    ++*reinterpret_cast<long*>(count);
    return TRUE;
}

struct TwindowCount {
    DWORD processId;
    long count;
};

BOOL CALLBACK countWindowsOf(HWND window, LPARAM param) {
    auto* tally = reinterpret_cast<TwindowCount*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == tally->processId) {
        ++tally->count;
        EnumChildWindows(window, countChild, reinterpret_cast<LPARAM>(&tally->count));
    }
    return TRUE;
}

// The process's windows, top-level and child: a stand-in for USER objects.
long windowsOf(DWORD processId) {
    TwindowCount tally = {processId, 0};
    EnumWindows(countWindowsOf, reinterpret_cast<LPARAM>(&tally));
    return tally.count;
}

long reported(DWORD figure) { return figure ? static_cast<long>(figure) : -1; }

Tfigures measure(HANDLE process, DWORD processId, int presses) {
    Tfigures figures;
    figures.presses = presses;
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process, &memory, sizeof memory)) {
        figures.workingSetKb = static_cast<long>(memory.WorkingSetSize / 1024);
        figures.privateKb = static_cast<long>(memory.PagefileUsage / 1024);
    }
    // Looked up at run time: the headers offer it only to newer targets than ours.
    using ThandleCount = BOOL(WINAPI*)(HANDLE, PDWORD);
    auto handleCount =
        libraryEntry<ThandleCount>(GetModuleHandleA("kernel32.dll"), "GetProcessHandleCount");
    DWORD handles = 0;
    if (handleCount && handleCount(process, &handles)) figures.handles = reported(handles);
    figures.probedHandles = probeHandles(process);
    figures.windows = windowsOf(processId);
    // A process with a window and fonts always has some, so 0 means "not reported".
    figures.gdiObjects = reported(GetGuiResources(process, GR_GDIOBJECTS));
    figures.userObjects = reported(GetGuiResources(process, GR_USEROBJECTS));
    return figures;
}

void print(const Tfigures& f) {
    std::printf("%8d %12ld %12ld %9ld %9ld %8ld %6ld %6ld\n", f.presses, f.workingSetKb,
                f.privateKb, f.handles, f.probedHandles, f.windows, f.gdiObjects, f.userObjects);
}

int failures = 0;
void fail(const std::string& what) {
    std::printf("FAIL: %s\n", what.c_str());
    ++failures;
}

// "definition <n>" gives n; anything else gives -1.
int entryNumber(const std::string& shown) {
    const std::string prefix = "definition ";
    if (shown.compare(0, prefix.size(), prefix) != 0) return -1;
    char* end = nullptr;
    long n = std::strtol(shown.c_str() + prefix.size(), &end, 10);
    return (*end == '\0' && n >= 0 && n < entries) ? static_cast<int>(n) : -1;
}

bool storedState(TrotationState& state) {
    unsigned char bytes[TrotationState::recordSize];
    DWORD size = sizeof bytes;
    Tregistry store(HKEY_CURRENT_USER, programSubkey, 1);
    if (!store.getBinary("State", bytes, &size) || size != sizeof bytes) return false;
    state.fromBytes(bytes);
    return true;
}

// One pass in progress: how often each entry was shown.
struct Tpass {
    std::vector<int> shown = std::vector<int>(entries, 0);
    int total = 0;
    void record(int entry) {
        ++shown[entry];
        ++total;
    }
    bool eachOnce() const {
        for (int times : shown)
            if (times != 1) return false;
        return true;
    }
};

bool growthWithin(long from, long to, long slack) {
    return from < 0 || to < 0 || to - from <= slack;
}

void checkFlat(const Tfigures& base, const Tfigures& end) {
    if (!growthWithin(base.handles, end.handles, handleSlack)) fail("kernel handles grew");
    if (!growthWithin(base.probedHandles, end.probedHandles, handleSlack))
        fail("kernel handles (probed) grew");
    if (!growthWithin(base.windows, end.windows, 0)) fail("windows grew");
    if (!growthWithin(base.gdiObjects, end.gdiObjects, objectSlack)) fail("GDI objects grew");
    if (!growthWithin(base.userObjects, end.userObjects, objectSlack)) fail("USER objects grew");
    if (!growthWithin(base.privateKb, end.privateKb, memorySlackKb)) fail("private memory grew");
    if (!growthWithin(base.workingSetKb, end.workingSetKb, memorySlackKb)) fail("working set grew");
}

bool storedStateBefore(TrotationState& before) {
    if (storedState(before) && before.isConsistent() && before.count == entries) return true;
    fail("stored state unusable before a press");
    return false;
}

// Clicks a button of the main window and returns once the program has dealt with it.
bool press(HWND window, int id) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutA(GetDlgItem(window, id), BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &result))
        return true;
    fail("a press was not handled within 10 s (a message box?)");
    return false;
}

// Checks that the entry shown is the one the stored state named before the word came, and that
// the state moved on by one step, or began a new pass after the last entry of one.
bool rotationWordShown(const TrotationState& before, int shown, Tpass& pass, int& passesChecked) {
    if (shown != before.current) {
        fail("shown entry " + std::to_string(shown) + ", expected entry " +
             std::to_string(before.current));
        return false;
    }
    pass.record(before.current);
    TrotationState after;
    if (!storedState(after)) {
        fail("stored state unreadable after a press");
        return false;
    }
    TrotationState expected = before;
    if (advanceRotation(expected)) {
        if (pass.total != entries || !pass.eachOnce()) fail("a pass did not show every entry once");
        ++passesChecked;
        pass = Tpass();
        if (!after.isConsistent() || after.count != entries || after.current != after.start)
            fail("the new pass is not a fresh one");
    } else if (after.current != expected.current || after.start != before.start ||
               after.step != before.step || after.count != before.count) {
        fail("the stored state did not move on by one step");
    }
    return true;
}

// Presses "&Next Word" once and checks the entry shown and the stored state.
bool pressOnce(HWND window, Tpass& pass, int& passesChecked) {
    TrotationState before;
    if (!storedStateBefore(before) || !press(window, IDC_NEXT_WORD)) return false;
    const std::string text = paneText(window);
    if (entryNumber(text) < 0) fail("shown \"" + text + "\"");
    return rotationWordShown(before, entryNumber(text), pass, passesChecked);
}

void printFigures(const char* counted, const std::vector<Tfigures>& samples) {
    std::printf("%8s %12s %12s %9s %9s %8s %6s %6s   (-1: not reported)\n", counted, "working KB",
                "private KB", "handles", "probed", "windows", "GDI", "USER");
    for (const Tfigures& f : samples) print(f);
    if (samples.size() >= 2) checkFlat(samples.front(), samples.back());
}

// 10,000 presses of "&Next Word", as the soak always ran.
void soakNextWord(int presses) {
    deleteProgramKey();
    int passesChecked = 0;
    DWORD elapsed = 0;
    std::vector<Tfigures> samples;
    {
        TsoakFolder folder(numberedWordList(entries));
        if (!folder.ready()) return fail("cannot prepare the scratch folder");
        TsoakProgram program;
        HWND window = program.start(folder.path()) ? program.waitForMainWindow(30000) : nullptr;
        if (!window) return fail("the program did not come up");
        // The first entry, shown at start, opens the first pass.
        Tpass pass;
        TrotationState first;
        int shown = entryNumber(paneText(window));
        if (!storedState(first) || shown != first.start || shown < 0)
            fail("the first entry shown is not the start of the first pass");
        else pass.record(shown);

        for (int i = 1; i <= presses; ++i) {
            const DWORD before = GetTickCount();
            if (!pressOnce(window, pass, passesChecked)) break;
            elapsed += GetTickCount() - before;
            if (i == warmUpPresses || i % sampleEvery == 0 || i == presses)
                samples.push_back(measure(program.handle(), program.id(), i));
        }
        PostMessageA(GetDlgItem(window, IDC_EXIT), BM_CLICK, 0, 0);
        long code = program.waitForExit(10000);
        if (code != 0) fail("exit code " + std::to_string(code));
    }
    deleteProgramKey();

    std::printf(
        "soak: %d presses on %d entries in %lu ms (%.2f ms a press), %d full passes "
        "checked\n",
        presses, entries, static_cast<unsigned long>(elapsed),
        presses ? static_cast<double>(elapsed) / presses : 0.0, passesChecked);
    printFigures("presses", samples);
    if (presses >= 2 * entries && passesChecked < 2) fail("fewer than two full passes checked");
}

// ---- Practice ----

// "A&gain" comes on the word of each ten where word % againEvery == againAt.
const int againEvery = 10;
const int againAt = 3;
const int returnDistance = 6;  // a marked entry comes back as the sixth word after it

bool setPractice() {
    Tregistry store(HKEY_CURRENT_USER, programSubkey, 0);
    return store.setDword("Practice", 1);
}

// The band's text: "word<n>" gives n.
int bandNumber(HWND window) {
    char text[64] = "";
    SendMessageTimeoutA(GetDlgItem(window, IDC_TITLE_BAND), WM_GETTEXT, sizeof text,
                        reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
    const std::string word = text;
    return word.compare(0, 4, "word") == 0 ? std::atoi(word.c_str() + 4) : -1;
}

// The word just brought in: hidden (the pane empty), then shown whole with "&Show"; its entry's
// number, or -1.
int revealWord(HWND window) {
    if (!paneText(window).empty()) fail("a new word came with its definition shown");
    const int inBand = bandNumber(window);
    if (!press(window, IDC_NEXT_WORD)) return -1;
    const int shown = entryNumber(paneText(window));
    if (shown != inBand) fail("the pane's definition is not the band's word's");
    return shown;
}

// Checks one word: a return is the entry marked six words before and leaves the rotation where
// it was; any other word is the rotation's next.
bool practiceWordShown(const TrotationState& before, int shown, int expectedReturn, Tpass& pass,
                       int& passesChecked) {
    if (expectedReturn < 0) return rotationWordShown(before, shown, pass, passesChecked);
    TrotationState after;
    if (shown != expectedReturn)
        fail("word " + std::to_string(shown) + " came where " + std::to_string(expectedReturn) +
             " should have come back");
    else if (!storedState(after) || after.current != before.current || after.start != before.start)
        fail("a word that came back moved the rotation");
    return shown == expectedReturn;
}

// Practice on the same list until two passes have been checked.
void soakPractice() {
    deleteProgramKey();
    if (!setPractice()) return fail("cannot turn practice on");
    int passesChecked = 0, words = 0, returns = 0;
    DWORD elapsed = 0;
    std::vector<Tfigures> samples;
    {
        TsoakFolder folder(numberedWordList(entries));
        if (!folder.ready()) return fail("cannot prepare the scratch folder");
        TsoakProgram program;
        HWND window = program.start(folder.path()) ? program.waitForWordWindow(30000) : nullptr;
        if (!window) return fail("the program did not come up");
        // The first word, shown at start, opens the first pass.
        Tpass pass;
        TrotationState before;  // as stored before the word came
        if (!storedState(before)) return fail("no stored state after the start");
        before.current = before.start;
        std::map<int, int> comesBack;  // word -> the entry due then
        for (int shown = revealWord(window);; ++words) {
            auto due = comesBack.find(words);
            const int expected = due == comesBack.end() ? -1 : due->second;
            returns += expected >= 0;
            if (!practiceWordShown(before, shown, expected, pass, passesChecked)) break;
            if (passesChecked >= 2) break;
            const bool again = words % againEvery == againAt;
            if (again) comesBack[words + returnDistance] = shown;
            const DWORD started = GetTickCount();
            if (!storedStateBefore(before) || !press(window, again ? IDC_AGAIN : IDC_NEXT_WORD))
                break;
            shown = revealWord(window);
            elapsed += GetTickCount() - started;
            if (words + 1 == warmUpPresses || (words + 1) % sampleEvery == 0)
                samples.push_back(measure(program.handle(), program.id(), words + 1));
        }
        samples.push_back(measure(program.handle(), program.id(), words + 1));
        PostMessageA(GetDlgItem(window, IDC_EXIT), BM_CLICK, 0, 0);
        long code = program.waitForExit(10000);
        if (code != 0) fail("exit code " + std::to_string(code));
    }
    deleteProgramKey();
    std::printf(
        "soak, practice: %d words (%d came back) on %d entries in %lu ms (%.2f ms a word, "
        "\"Show\" included), %d full passes checked\n",
        words + 1, returns, entries, static_cast<unsigned long>(elapsed),
        words ? static_cast<double>(elapsed) / words : 0.0, passesChecked);
    printFigures("words", samples);
    if (passesChecked < 2) fail("fewer than two full passes checked");
}

}  // namespace

int main(int argc, char** argv) {
    soakNextWord(argc > 1 ? std::atoi(argv[1]) : 10000);
    soakPractice();
    std::printf(failures ? "soak: FAILED\n" : "soak: passed\n");
    return failures ? 1 : 0;
}
