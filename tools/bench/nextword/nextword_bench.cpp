// Times "Next Word" as a user feels it: from the click to the new text in the pane and the
// window idle again, every part it invalidated painted (so the band's drawing counts). The floor
// program (nextword_floor.exe, which does only what a press needs) runs throughout, beside the
// window; Lexoria.exe is started once a round and the two take turns press by press, so that a
// drift in the machine's speed falls on both alike. An earlier Lexoria.exe, when given, takes its
// own turn in each round the same way (two copies of Lexoria cannot run at once). Each program
// takes one press that is not counted after it starts. All read the same marked UTF-8 list of
// entries in three scripts, which this program writes beside Lexoria.exe.
// Usage: nextword_bench <Lexoria.exe> <nextword_floor.exe> <rounds> <presses> [earlier Lexoria.exe]
// (an earlier program must lie beside Lexoria.exe, to read the same list)
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
    std::wstring path;
    std::wstring arguments;
    const wchar_t* windowClass;
    const char* label;
    std::vector<double> times;       // its own presses
    std::vector<double> floorTimes;  // the floor's presses taken in turn with them
};

// A started program and its window.
struct Trunning {
    PROCESS_INFORMATION process = {};
    HWND window = nullptr;
};

// Entries in Latin, Cyrillic and Japanese script, each word and definition its own.
std::string threeScriptList(int entriesPerScript) {
    const struct {
        const char* word;
        const char* definition;
    } scripts[] = {
        {"lucid",
         "expressed clearly and easy to understand; bright or luminous; "
         "thinking clearly, especially in intervals between confusion"},
        {"ясный",
         "понятный и чёткий, без неясностей; светлый, безоблачный; "
         "спокойный и уверенный, как ясный взгляд или ясная мысль"},
        {"明快",
         "筋道がはっきりしていて分かりやすいこと。曖昧なところがなく、"
         "すっきりとしている様子。明快な説明、明快な答え"},
    };
    std::string list = "\xEF\xBB\xBF";
    for (int i = 0; i < entriesPerScript; ++i) {
        for (const auto& script : scripts) {
            const std::string n = std::to_string(i);
            list += std::string("word=") + script.word + " " + n + "\r\n";
            list += std::string("def=") + n + ". " + script.definition + "; " + script.definition +
                    "\r\n";
            list += "ex=" + n + "\r\n";
        }
    }
    return list;
}

bool writeList(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, 0);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool whole = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
                       written == bytes.size();
    CloseHandle(file);
    return whole;
}

std::wstring paneText(HWND pane) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(pane, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return L"";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(pane, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&text[0]),
                        SMTO_ABORTIFHUNG, 5000, &copied);
    text.resize(copied);
    return text;
}

// One press of "Next Word": the time in milliseconds, or a negative value on failure.
double timeOneClick(HWND window) {
    HWND pane = GetDlgItem(window, IDC_DEFINITION);
    HWND button = GetDlgItem(window, IDC_NEXT_WORD);
    const std::wstring before = paneText(pane);
    const double started = millisecondsNow();
    PostMessageW(button, BM_CLICK, 0, 0);
    while (paneText(pane) == before)
        if (millisecondsNow() - started > 10000) return -1;
    // The handler (or the paint that fills the pane) has returned once the window answers, and
    // the window is idle once nothing waits to be painted.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    while (paintPending(window)) {
        if (millisecondsNow() - started > 10000) return -1;
        Sleep(0);
    }
    return millisecondsNow() - started;
}

// The program's window once it is visible with its first entry in the pane; null on time-out.
HWND waitForWindow(const Tprogram& program, HANDLE process) {
    const double started = millisecondsNow();
    while (millisecondsNow() - started < 20000) {
        HWND window = FindWindowW(program.windowClass, nullptr);
        if (window && IsWindowVisible(window) &&
            !paneText(GetDlgItem(window, IDC_DEFINITION)).empty())
            return window;
        if (WaitForSingleObject(process, 5) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

// The program started and showing its first entry, after one press that is not counted.
bool start(const Tprogram& program, Trunning& running) {
    std::wstring commandLine = L"\"" + program.path + L"\" " + program.arguments;
    const std::wstring folder = program.path.substr(0, program.path.find_last_of(L'\\'));
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessW(program.path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &running.process))
        return false;
    running.window = waitForWindow(program, running.process.hProcess);
    return running.window && timeOneClick(running.window) >= 0;
}

void stop(Trunning& running) {
    if (!running.process.hProcess) return;
    if (running.window) PostMessageW(running.window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(running.process.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(running.process.hProcess, 1);
        WaitForSingleObject(running.process.hProcess, 5000);
    }
    CloseHandle(running.process.hThread);
    CloseHandle(running.process.hProcess);
    running = Trunning{};
}

// Lexoria's window and the floor's must not cover each other, or one would paint less.
bool apart(HWND one, HWND other) {
    RECT a = {}, b = {}, common = {};
    GetWindowRect(one, &a);
    GetWindowRect(other, &b);
    return !IntersectRect(&common, &a, &b);
}

// One turn of a round: the program started, `presses` of its own and as many of the floor's,
// taken alternately and each time the other way round, and the program closed again.
bool takeTurn(Tprogram& program, HWND floorWindow, int presses) {
    Trunning running;
    bool ok = start(program, running) && apart(running.window, floorWindow);
    for (int i = 0; ok && i < presses; ++i) {
        for (int half = 0; ok && half < 2; ++half) {
            const bool own = (i + half) % 2 == 0;
            const double ms = timeOneClick(own ? running.window : floorWindow);
            ok = ms >= 0;
            (own ? program.times : program.floorTimes).push_back(ms);
        }
    }
    stop(running);
    return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 5) {
        std::fprintf(stderr,
                     "usage: nextword_bench <Lexoria.exe> <nextword_floor.exe> <rounds> "
                     "<presses> [earlier Lexoria.exe]\n");
        return 2;
    }
    const std::wstring program = argv[1];
    const std::wstring list = program.substr(0, program.find_last_of(L'\\')) + L"\\lexoria.lst";
    const int rounds = std::max(1, _wtoi(argv[3])), presses = std::max(1, _wtoi(argv[4]));
    if (!writeList(list, threeScriptList(30))) {
        std::fprintf(stderr, "cannot write the word list\n");
        return 1;
    }
    std::vector<Tprogram> programs = {{program, L"", L"Lexoria", "Lexoria.exe", {}, {}}};
    if (argc > 5) programs.push_back({argv[5], L"", L"Lexoria", "earlier Lexoria.exe", {}, {}});
    const Tprogram floor = {argv[2], list, L"LexoriaNextWordFloor", "floor", {}, {}};

    RegDeleteKeyA(HKEY_CURRENT_USER, programKey);
    Trunning floorRun;
    bool ok = start(floor, floorRun);
    // The floor keeps the screen's top-left corner; Lexoria opens centred.
    if (ok) SetWindowPos(floorRun.window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    for (int round = 0; ok && round < rounds; ++round) {
        // Every other round the other way round, so that neither always follows the other.
        for (size_t i = 0; ok && i < programs.size(); ++i) {
            Tprogram& turn = programs[round % 2 ? programs.size() - 1 - i : i];
            ok = takeTurn(turn, floorRun.window, presses);
            if (!ok) std::fprintf(stderr, "%s did not take its turn\n", turn.label);
        }
    }
    stop(floorRun);
    RegDeleteKeyA(HKEY_CURRENT_USER, programKey);
    if (!ok) return 1;

    // Each against the floor taken in turn with it, so that a drift between the turns cancels.
    auto toFloor = [](const Tprogram& p) {
        return quantile(p.times, 0.5) / quantile(p.floorTimes, 0.5);
    };
    std::printf(
        "\"Next Word\", from the click to the new text in the pane and the window idle\n"
        "(median and quartiles of %d presses each in %d rounds, and of the floor's taken in turn):\n",
        rounds * presses, rounds);
    for (const Tprogram& p : programs) {
        std::printf("  %-20s%8.2f ms  (%.2f to %.2f)\n", p.label, quantile(p.times, 0.5),
                    quantile(p.times, 0.25), quantile(p.times, 0.75));
        std::printf("    floor beside it   %8.2f ms  (%.2f to %.2f)\n", quantile(p.floorTimes, 0.5),
                    quantile(p.floorTimes, 0.25), quantile(p.floorTimes, 0.75));
        std::printf("    ratio to the floor%8.2f\n", toFloor(p));
    }
    if (programs.size() > 1)
        std::printf("  against earlier     %8.2f  (each to its floor)\n",
                    toFloor(programs[0]) / toFloor(programs[1]));
    return 0;
}
