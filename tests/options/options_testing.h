// Test support for the options dialog: registry values put back after each test, the stand-in
// Program Manager, and running the dialog on the test's thread while a second thread drives it
// through window messages, as a user would, with a time-out on every wait.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "support/lexoria_driver.h"

namespace options_test {

// The major version the platform reports to this program (3 under the win31 override).
DWORD shellMajorVersion();
// This test program's full path.
std::string thisProgram();

// One registry value under HKEY_CURRENT_USER, changed by a test and put back as it was (with any
// key levels the test created removed) when the guard goes.
class RegistryValueGuard {
public:
    RegistryValueGuard(const char* subkey, const char* name);
    ~RegistryValueGuard();
    RegistryValueGuard(const RegistryValueGuard&) = delete;
    RegistryValueGuard& operator=(const RegistryValueGuard&) = delete;

    bool set(DWORD type, const void* data, DWORD size);
    bool setString(const std::string& text);
    bool remove();
    const std::string& original() const { return before; }  // the bytes it held, if it existed

private:
    std::string subkey, name, before;
    DWORD beforeType = 0;
    bool existed = false;
    std::vector<std::string> createdLevels;  // deepest last
};

extern const char* const shellFoldersKey;
extern const char* const programManagerKey;

// The stand-in Program Manager (progman_standin.exe beside this program), running while the
// object lives.
class ProgmanStandIn {
public:
    ProgmanStandIn();
    ~ProgmanStandIn();
    ProgmanStandIn(const ProgmanStandIn&) = delete;
    ProgmanStandIn& operator=(const ProgmanStandIn&) = delete;

    bool running() const { return window != nullptr; }
    void reply(const std::string& bytes);  // the answer to every request
    void noReply();
    void refuse(const std::string& prefixes);  // command prefixes, one a line
    std::vector<std::string> log() const;      // CONNECT, EXECUTE ..., REQUEST ..., DISCONNECT
    void clearLog();

private:
    lexoria_test::ScratchFolder folder;
    PROCESS_INFORMATION process = {};
    HWND window = nullptr;
};

struct MessageBoxSeen {
    std::string text, caption;
    enum Icon { none, error, information, other } icon = none;
    bool seen() const { return !caption.empty(); }
};

// Drives the options dialog from the second thread. Every call waits with a time-out.
class OptionsDialogDriver {
public:
    OptionsDialogDriver(HWND owner, DWORD dialogThread);

    HWND owner() const { return ownerWindow; }
    HWND dialog();  // the visible options dialog, or null after five seconds
    // Waits until the dialog's thread has dealt with everything posted so far, or shows a box.
    bool settle();
    // Reads the next message box and closes it with OK; nothing seen after the time-out.
    MessageBoxSeen takeBox(DWORD timeoutMs = 5000);
    bool boxShown();  // after settling
    void click(int id);  // posts a click and settles
    std::string text(int id);
    bool checked(int id);
    void setChecked(int id, bool on);
    int focusId();  // the control id of the focus window on the dialog's thread
    bool ended();   // the dialog has gone
    // Closes every box and cancels the dialog if still open; called after every script.
    void finish();

private:
    HWND control(int id);
    HWND visibleBox();

    HWND ownerWindow;
    HWND dialogWindow = nullptr;
    DWORD thread;
    LONG serial = 0;
};

// Opens the options dialog over an owner window at ownerRect on this thread and runs the script
// on a second thread. Returns DialogBoxParam's result (-2 when the script did not finish in time).
INT_PTR runOptionsDialog(const RECT& ownerRect, const std::function<void(OptionsDialogDriver&)>& script);
INT_PTR runOptionsDialog(const std::function<void(OptionsDialogDriver&)>& script);

}  // namespace options_test
