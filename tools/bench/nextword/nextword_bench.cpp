// Times "Next Word" as a user feels it: from the click to the new text in the pane and the
// window idle again, every part it invalidated painted (so the band's drawing counts). Lexoria.exe
// and the floor program (nextword_floor.exe, which does only what a press needs) take turns in
// rounds, so that a drift in the machine's speed falls on both alike; an earlier Lexoria.exe, when
// given, takes its turn too. Each program is started once a round, shows its first entry, takes
// one click that is not counted and then the counted ones, and is closed. All read the same
// marked UTF-8 list of entries in three scripts, which this program writes.
// Usage: nextword_bench <Lexoria.exe> <nextword_floor.exe> <rounds> <clicks> [earlier Lexoria.exe]
// (the list is written as lexoria.lst beside Lexoria.exe; an earlier program must lie there too)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

const char* const programKey = "SOFTWARE\\Fennwick Systems\\Lexoria";

struct Tprogram {
    std::wstring path;
    std::wstring arguments;
    const wchar_t* windowClass;
    const char* label;
    std::vector<double> times;
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

BOOL CALLBACK noteUpdate(HWND child, LPARAM pending) {
    if (GetUpdateRect(child, nullptr, FALSE)) *reinterpret_cast<bool*>(pending) = true;
    return TRUE;
}

// Some part of the window or a child still waits to be painted.
bool paintPending(HWND window) {
    bool pending = GetUpdateRect(window, nullptr, FALSE) != 0;
    EnumChildWindows(window, noteUpdate, reinterpret_cast<LPARAM>(&pending));
    return pending;
}

// One press of "Next Word": the time in milliseconds, or a negative value on failure.
double timeOneClick(HWND window) {
    HWND pane = GetDlgItem(window, IDC_DEFINITION);
    HWND button = GetDlgItem(window, IDC_NEXT_WORD);
    const std::wstring before = paneText(pane);
    const double started = nowMs();
    PostMessageW(button, BM_CLICK, 0, 0);
    while (paneText(pane) == before)
        if (nowMs() - started > 10000) return -1;
    // The handler (or the paint that fills the pane) has returned once the window answers, and
    // the window is idle once nothing waits to be painted.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    while (paintPending(window)) {
        if (nowMs() - started > 10000) return -1;
        Sleep(0);
    }
    return nowMs() - started;
}

// The program's window once it is visible with its first entry in the pane; null on time-out.
HWND waitForWindow(const Tprogram& program, HANDLE process) {
    const double started = nowMs();
    while (nowMs() - started < 20000) {
        HWND window = FindWindowW(program.windowClass, nullptr);
        if (window && IsWindowVisible(window) &&
            !paneText(GetDlgItem(window, IDC_DEFINITION)).empty())
            return window;
        if (WaitForSingleObject(process, 5) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

// One turn: the program started, one uncounted press, `clicks` counted ones, closed again.
bool takeTurn(Tprogram& program, int clicks) {
    std::wstring commandLine = L"\"" + program.path + L"\" " + program.arguments;
    const std::wstring folder = program.path.substr(0, program.path.find_last_of(L'\\'));
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process))
        return false;
    HWND window = waitForWindow(program, process.hProcess);
    bool ok = window && timeOneClick(window) >= 0;
    for (int i = 0; ok && i < clicks; ++i) {
        const double ms = timeOneClick(window);
        ok = ms >= 0;
        if (ok) program.times.push_back(ms);
    }
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ok;
}

double quantile(std::vector<double> values, double q) {
    std::sort(values.begin(), values.end());
    const double at = q * (values.size() - 1);
    const size_t below = size_t(at);
    const double above = below + 1 < values.size() ? values[below + 1] : values[below];
    return values[below] + (above - values[below]) * (at - below);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 5) {
        std::fprintf(stderr,
                     "usage: nextword_bench <Lexoria.exe> <nextword_floor.exe> <rounds> "
                     "<clicks> [earlier Lexoria.exe]\n");
        return 2;
    }
    const std::wstring program = argv[1];
    const std::wstring list = program.substr(0, program.find_last_of(L'\\')) + L"\\lexoria.lst";
    const int rounds = std::max(1, _wtoi(argv[3])), clicks = std::max(1, _wtoi(argv[4]));
    if (!writeList(list, threeScriptList(30))) {
        std::fprintf(stderr, "cannot write the word list\n");
        return 1;
    }
    std::vector<Tprogram> programs = {{program, L"", L"Lexoria", "Lexoria.exe", {}},
                                      {argv[2], list, L"LexoriaNextWordFloor", "floor", {}}};
    if (argc > 5) programs.push_back({argv[5], L"", L"Lexoria", "earlier Lexoria.exe", {}});

    RegDeleteKeyA(HKEY_CURRENT_USER, programKey);
    for (int round = 0; round < rounds; ++round) {
        // Every other round the other way round, so that neither always follows the other.
        for (size_t i = 0; i < programs.size(); ++i) {
            Tprogram& turn = programs[round % 2 ? programs.size() - 1 - i : i];
            if (!takeTurn(turn, clicks)) {
                std::fprintf(stderr, "%s did not take its turn\n", turn.label);
                RegDeleteKeyA(HKEY_CURRENT_USER, programKey);
                return 1;
            }
        }
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, programKey);

    std::printf(
        "\"Next Word\", from the click to the new text in the pane and the window idle\n"
        "(median and quartiles of %d presses in %d rounds):\n",
        rounds * clicks, rounds);
    for (const Tprogram& p : programs)
        std::printf("  %-20s%8.2f ms  (%.2f to %.2f)\n", p.label, quantile(p.times, 0.5),
                    quantile(p.times, 0.25), quantile(p.times, 0.75));
    const double lexoria = quantile(programs[0].times, 0.5);
    std::printf("  ratio to the floor  %8.2f\n", lexoria / quantile(programs[1].times, 0.5));
    if (programs.size() > 2)
        std::printf("  against earlier     %8.2f\n", lexoria / quantile(programs[2].times, 0.5));
    return 0;
}
