// The soak run's copy of Lexoria.exe: a folder under the temporary folder holding the program
// and a word list, and one run of the program there, watched from outside as a user would.
#pragma once

#include <windows.h>

#include <string>

#include "win32/handleholder.h"

// Entry i of count: "word=word<i>", "def=definition <i>", "ex=example <i>".
std::string numberedWordList(int count);

// Removes the program's key under HKEY_CURRENT_USER, so that a run starts as a first start.
void deleteProgramKey();

// A fresh folder with the built Lexoria.exe and the given list; removed on destruction.
class TsoakFolder {
public:
    explicit TsoakFolder(const std::string& listBytes);
    ~TsoakFolder();
    TsoakFolder(const TsoakFolder&) = delete;
    TsoakFolder& operator=(const TsoakFolder&) = delete;
    bool ready() const { return prepared; }
    const std::string& path() const { return folder; }

private:
    std::string folder;
    bool prepared = false;
};

// One run of the program; a run still going on destruction is ended.
class TsoakProgram {
public:
    TsoakProgram() = default;
    ~TsoakProgram();
    TsoakProgram(const TsoakProgram&) = delete;
    TsoakProgram& operator=(const TsoakProgram&) = delete;

    bool start(const std::string& folder);
    // The visible main window once its pane shows a definition; null on time-out.
    HWND waitForMainWindow(DWORD timeoutMs);
    // The visible main window once its band shows a word, the pane maybe empty (a word hidden in
    // practice); null on time-out.
    HWND waitForWordWindow(DWORD timeoutMs);
    // The exit code, or -1 on time-out.
    long waitForExit(DWORD timeoutMs);
    HANDLE handle() const { return process.get(); }
    DWORD id() const { return processId; }

private:
    template <typename Tready>
    HWND waitFor(DWORD timeoutMs, Tready ready);

    ThandleHolder process;
    DWORD processId = 0;
};
