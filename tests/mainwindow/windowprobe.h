// What the main window's Windows tests share: a run that Exit ends, keys posted to it, this
// thread's messages handled, a child's place, and what a screen reader reads and hears of it.
#pragma once

#include <windows.h>
// oleacc.h needs windows.h before it.
#include <oleacc.h>

#include <algorithm>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "support/lexoria_driver.h"

namespace windowProbe {

inline void postKey(HWND target, UINT key) {
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 1 | (3u << 30));
}

// Handles this thread's messages; a test that owns a window or a hook calls it while it waits.
inline void pumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

// A child's rectangle in its parent's client coordinates.
inline RECT childRect(HWND parent, int id) {
    RECT at = {};
    GetWindowRect(GetDlgItem(parent, id), &at);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&at), 2);
    return at;
}

// A run whose main window, once shown (window set), Exit closes with exit code 0 at exit() or
// when the run goes, unless the test has failed fatally: then the process is killed.
struct TexitingRun : lexoriaTest::TlexoriaProcess {
    HWND window = nullptr;
    void exit() { lexoriaTest::exitThroughButton(*this, std::exchange(window, nullptr)); }
    ~TexitingRun() {
        if (window && !testing::Test::HasFatalFailure()) exit();
    }
};

// The object's name as a screen reader reads it; the object is released.
inline std::wstring nameOf(IAccessible* object, VARIANT child) {
    BSTR name = nullptr;
    std::wstring text = SUCCEEDED(object->get_accName(child, &name)) && name ? name : L"<no name>";
    SysFreeString(name);
    object->Release();
    return text;
}

// The name a screen reader finds at the centre of the window on the screen (COM initialised).
inline std::wstring accessibleName(HWND window) {
    RECT at = {};
    GetWindowRect(window, &at);
    IAccessible* object = nullptr;
    VARIANT child = {};
    const POINT centre = {(at.left + at.right) / 2, (at.top + at.bottom) / 2};
    const bool found = SUCCEEDED(AccessibleObjectFromPoint(centre, &object, &child)) && object;
    return found ? nameOf(object, child) : L"<no object>";
}

// The names that a process's name-change events carry while this lives, read as a screen reader
// reads them when the event arrives.
class TnameChanges {
public:
    explicit TnameChanges(DWORD process)
        : hook(SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, onEvent,
                               process, 0, WINEVENT_OUTOFCONTEXT),
               &UnhookWinEvent) {}

    bool hooked() const { return hook != nullptr; }
    void clear() { names().clear(); }
    // Whether the name is heard within the wait, this thread's messages handled meanwhile.
    bool heard(const std::wstring& name) const {
        return lexoriaTest::waitUntil([&] {
            pumpMessages();
            return std::count(names().begin(), names().end(), name) > 0;
        });
    }
    static std::vector<std::wstring>& names() {
        static std::vector<std::wstring> heardNames;
        return heardNames;
    }

private:
    static void CALLBACK onEvent(HWINEVENTHOOK, DWORD, HWND source, LONG object, LONG child, DWORD,
                                 DWORD) {
        IAccessible* accessible = nullptr;
        VARIANT item = {};
        if (SUCCEEDED(AccessibleObjectFromEvent(source, object, child, &accessible, &item)))
            names().push_back(nameOf(accessible, item));
    }
    std::unique_ptr<std::remove_pointer_t<HWINEVENTHOOK>, decltype(&UnhookWinEvent)> hook;
};

}  // namespace windowProbe
