// Test support for driving the real Lexoria.exe from a test program, as a user would: a scratch
// folder holding a copy of the program and a word list, the process started and watched with
// time-outs, its windows and message boxes found and read, and the program's registry key
// cleared around each test.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "processwindows/processwindows.h"
#include "support/test_files.h"
#include "win32/widetext.h"

namespace lexoriaTest {

// The folder of the running test program; Lexoria.exe and lexoria.lst are built beside it.
std::string buildFolder();

using ::readBytes;
using ::TscratchFolder;  // a fresh folder under the temporary folder
using ::writeFile;

// Lexoria.exe of the build folder loaded for its resources only, freed with the holder.
using TmoduleHolder = std::unique_ptr<std::remove_pointer_t<HMODULE>, decltype(&FreeLibrary)>;
TmoduleHolder programResources();

// The ANSI path in wide characters, for the calls that take folders the code page cannot spell.
inline std::wstring wideOf(const std::string& text, UINT codePage = CP_ACP) {
    return wideFrom(text, codePage);
}
// Removes the folder with everything in it.
void removeTree(const std::wstring& folder);
// Folders nested under the folder until the innermost, which is returned, has the length given.
std::wstring deepFolder(std::wstring folder, size_t length);

// The file written under a name the ANSI code page may not spell.
bool writeFile(const std::wstring& path, const std::string& bytes);
// A file of the build folder copied into the folder, under its own name or the one given.
bool copyBuilt(const TscratchFolder& folder, const std::string& built, std::string as = "");
inline bool copyProgram(const TscratchFolder& folder) { return copyBuilt(folder, "Lexoria.exe"); }
// The same into a folder the ANSI code page may not spell, made if it is not there.
bool copyBuilt(const std::wstring& folder, const std::string& built, const std::wstring& as);

inline std::string definitionOf(int number) { return "definition " + std::to_string(number); }
// Entry i: "word=word<i>", "def=definition <i>", "ex=example <i>", numbered from first on.
// Entry i of wordList(n) therefore begins at offset wordList(i).size().
inline std::string wordList(int entries, int first = 0) {
    std::string text;
    for (int i = first; i < first + entries; ++i) {
        const std::string n = std::to_string(i);
        text += "word=word" + n + "\ndef=" + definitionOf(i) + "\nex=example " + n + "\n";
    }
    return text;
}
// The "Startup" record: four 16-bit little-endian fields.
std::vector<unsigned char> startupRecord(int choice, int onTop, int left, int top);

// The program's key under HKEY_CURRENT_USER, read and changed directly through the API.
extern const char* const programKey;
void deleteProgramKey();
// A test that begins and ends without the program's key.
template <typename Tbase = testing::Test>
class TwithoutProgramKey : public Tbase {
protected:
    void SetUp() override { deleteProgramKey(); }
    void TearDown() override { deleteProgramKey(); }
};
bool setProgramValue(const char* name, DWORD type, const void* data, DWORD size);
bool getProgramValue(const char* name, std::vector<unsigned char>& bytes, DWORD* type = nullptr);

// A string value under HKEY_CURRENT_USER, set for a test and deleted afterwards, with its key
// when that is left empty. (The private test prefix holds these values only while a test runs.)
class TregistryString {
public:
    TregistryString(const char* key, const char* value, const char* text);
    ~TregistryString();
    TregistryString(const TregistryString&) = delete;
    TregistryString& operator=(const TregistryString&) = delete;

private:
    const char *subkey, *name;
};

// The display's DPI (HKCU\Control Panel\Desktop\LogPixels), set for the programs started while
// this lives and put back afterwards (deleted when there was none): Wine gives every process
// started after the change that DPI.
class TlogPixels {
public:
    explicit TlogPixels(DWORD dpi);
    ~TlogPixels();
    TlogPixels(const TlogPixels&) = delete;
    TlogPixels& operator=(const TlogPixels&) = delete;

private:
    DWORD previous = 0;
    bool hadValue = false;
};

// One run of the program in a folder.
class TlexoriaProcess {
public:
    TlexoriaProcess() = default;
    ~TlexoriaProcess();  // kills a process still running
    TlexoriaProcess(const TlexoriaProcess&) = delete;
    TlexoriaProcess& operator=(const TlexoriaProcess&) = delete;

    // The program in the folder, which is also its current folder; arguments follow its name.
    bool start(const std::string& folder, const std::string& exeName = "Lexoria.exe",
               const std::string& arguments = "");
    bool start(const std::wstring& folder, const std::wstring& exeName = L"Lexoria.exe",
               const std::wstring& arguments = L"");
    // The main window once it is visible with its pane text set; null on time-out.
    HWND waitForMainWindow(DWORD timeoutMs = 10000);
    // The main window once it is visible with a word in its band, its pane maybe empty (a word
    // hidden in practice); null on time-out.
    HWND waitForWordWindow(DWORD timeoutMs = 10000);
    // A top-level dialog (#32770) of this process, e.g. a message box; null on time-out.
    HWND waitForDialog(DWORD timeoutMs = 10000);
    // The exit code, or -1 on time-out.
    long waitForExit(DWORD timeoutMs = 10000);
    bool running() const;
    DWORD id() const { return info.dwProcessId; }
    HANDLE handle() const { return info.hProcess; }

private:
    bool create(const wchar_t* exe, std::wstring commandLine, const wchar_t* folder);
    PROCESS_INFORMATION info = {};
};

// All top-level dialogs (#32770 windows) that belong to the process.
std::vector<HWND> dialogsOf(DWORD processId);
// The window that has the keyboard focus in the thread of the window.
HWND focusOf(HWND window);
// The controls a message box is made of: the static holding its text and the one showing its icon.
const int messageBoxTextId = 0xFFFF;
const int messageBoxIconId = 0x440;
// A message box's text, narrow or wide, its caption, and the icon it shows (null for none).
std::string messageBoxText(HWND box);
std::wstring messageBoxTextW(HWND box);
std::string windowText(HWND window);
std::wstring windowTextW(HWND window);
// The word the main window's title band shows, as a screen reader reads its name.
std::wstring bandText(HWND mainWindow);
HICON messageBoxIcon(HWND box);
// Closes a message box or dialog as its OK button would.
void pressOk(HWND dialog);
// Clicks a button of a window by control id (BM_CLICK, posted) and lets the program act on it.
void clickButton(HWND parent, int id);
// Presses the main window's Exit button and expects the program to end with exit code 0.
void exitThroughButton(TlexoriaProcess& run, HWND window);
// Returns once the program has handled everything posted to it before, modal loops included;
// false on time-out.
bool drainPosted(HWND mainWindow);
// Waits until the condition holds, polling; false on time-out.
template <typename Condition>
bool waitUntil(Condition condition, DWORD timeoutMs = 5000) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(10);
    }
    return true;
}

// A visible top-level dialog of the process that accept takes; null on time-out.
template <typename Accept>
HWND waitForDialogOf(DWORD processId, Accept accept, DWORD timeoutMs = 10000) {
    HWND found = nullptr;
    waitUntil(
        [&] {
            for (HWND dialog : dialogsOf(processId))
                if (IsWindowVisible(dialog) && accept(dialog)) found = dialog;
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

// A test with a copy of the program in a scratch folder, started there on the list it is given,
// and without the program's key before and after.
template <typename Tbase = testing::Test>
class TprogramRun : public TwithoutProgramKey<Tbase> {
protected:
    void SetUp() override {
        TwithoutProgramKey<Tbase>::SetUp();
        ASSERT_TRUE(copyProgram(folder));
    }
    std::string listFile() const { return folder.file("lexoria.lst"); }
    void useList(const std::string& bytes) { ASSERT_TRUE(writeFile(listFile(), bytes)); }
    // The main window of the run started, or null.
    HWND start(TlexoriaProcess& run) {
        return run.start(folder.path()) ? run.waitForMainWindow() : nullptr;
    }

    TscratchFolder folder;
};

}  // namespace lexoriaTest
