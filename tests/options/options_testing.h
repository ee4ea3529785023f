// Test support for the options dialog: Lexoria.exe with its dialog open, and the stand-in
// Program Manager.
#pragma once

#include <windows.h>
#include <shlwapi.h>

#include <sstream>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "support/lexoria_driver.h"

namespace optionsTest {
using namespace lexoriaTest;

// The stand-in Program Manager, run from a scratch folder of its files while the object lives.
class TprogmanStandIn {
public:
    TprogmanStandIn() {
        if (!copyBuilt(folder, "progman_standin.exe", "standin.exe") ||
            !process.start(folder.path(), "standin.exe"))
            return;
        waitUntil([&] {
            return (window = FindWindowA("LexoriaProgmanStandIn", nullptr)) || !process.running();
        });
    }
    ~TprogmanStandIn() {
        PostMessageA(window, WM_CLOSE, 0, 0);
        process.waitForExit(5000);
    }

    bool running() const { return window != nullptr; }
    // The answer to every request; "" for none.
    void reply(const std::string& bytes) { writeFile(folder.file("reply.txt"), bytes); }
    void refuse(const std::string& prefix) { writeFile(folder.file("refuse.txt"), prefix); }
    void clearLog() { DeleteFileA(folder.file("log.txt").c_str()); }
    // The logged events (CONNECT, EXECUTE ..., REQUEST ..., DISCONNECT) once a DISCONNECT ends them.
    std::vector<std::string> conversation() {
        std::vector<std::string> lines;
        waitUntil([&] {
            std::istringstream log(readBytes(folder.file("log.txt")));
            lines.clear();
            for (std::string line; std::getline(log, line);) lines.push_back(line);
            return !lines.empty() && lines.back() == "DISCONNECT";
        });
        return lines;
    }

private:
    TscratchFolder folder;
    TlexoriaProcess process;
    HWND window = nullptr;
};

// Lexoria.exe copied under the name with the list, started, its options dialog opened; killed at
// the end, since a program that ends normally stores its window settings.
class ToptionsSession {
public:
    explicit ToptionsSession(const TscratchFolder& folder, const char* exeName = "Lexoria.exe") {
        if (copyBuilt(folder, "Lexoria.exe", exeName) && copyBuilt(folder, "lexoria.lst") &&
            process.start(folder.path(), exeName) && (main = process.waitForWordWindow()))
            clickButton(main, IDC_OPTIONS);
    }
    ~ToptionsSession() {
        if (process.running()) TerminateProcess(process.handle(), 99);
        process.waitForExit(5000);
    }

    // The visible options dialog; null after five seconds.
    HWND dialog() { return waitForDialogOf(process.id(), isOptions, 5000); }
    // The next message box as "text | caption", closed with OK; "" when none comes in time.
    std::string takeBox(DWORD timeoutMs = 5000) {
        HWND box = waitForDialogOf(
            process.id(), [](HWND w) { return !isOptions(w); }, timeoutMs);
        if (!box) return "";
        const std::string seen = messageBoxText(box) + " | " + windowText(box);
        pressOk(box);
        waitUntil([&] { return !IsWindow(box); });
        return seen;
    }
    // No box is open nor will open for what was done: one would exist once a marker posted behind
    // the message comes through.
    bool noBox() {
        if (!drainPosted(main)) return false;
        for (HWND window : dialogsOf(process.id()))
            if (!isOptions(window)) return false;
        return true;
    }
    std::string startupCaption() { return windowText(GetDlgItem(dialog(), IDC_STARTUP)); }
    // A message to a control of the dialog, returning once the dialog has dealt with it.
    DWORD_PTR send(int id, UINT message, WPARAM wParam = 0) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(GetDlgItem(dialog(), id), message, wParam, 0, SMTO_ABORTIFHUNG, 2000,
                            &result);
        return result;
    }
    void post(int id) { clickButton(dialog(), id); }  // a press that may show a box
    bool checked(int id) { return send(id, BM_GETCHECK) == BST_CHECKED; }
    void setCheck(int id, bool on) { send(id, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED); }
    int focusId() { return GetDlgCtrlID(focusOf(dialog())); }
    bool closeWith(int id) {
        HWND window = dialog();
        clickButton(window, id);
        return waitUntil([&] { return !IsWindow(window); });
    }

    HWND main = nullptr;

private:
    static bool isOptions(HWND window) { return GetDlgItem(window, IDC_STARTUP) != nullptr; }

    TlexoriaProcess process;
};

}  // namespace optionsTest
