// Small owners for GDI resources held within one message or one drawing: the screen's
// device context, a paint session, an object selected into a DC (put back on scope exit, so a
// font or pen is never left selected when its DC is released or the object deleted), and an
// owned GDI object such as a pen or font.
#pragma once

#include <windows.h>

// The device context of a window (or, with no window, of the whole screen), released on exit.
class TwindowDC {
public:
    explicit TwindowDC(HWND window) : owner(window), dc(GetWindowDC(window)) {}
    ~TwindowDC() {
        if (dc) ReleaseDC(owner, dc);
    }
    TwindowDC(const TwindowDC&) = delete;
    TwindowDC& operator=(const TwindowDC&) = delete;
    HDC get() const { return dc; }

private:
    HWND owner;
    HDC dc;
};

// BeginPaint to EndPaint.
class TpaintSession {
public:
    explicit TpaintSession(HWND window) : owner(window) { dc = BeginPaint(window, &paint); }
    ~TpaintSession() { EndPaint(owner, &paint); }
    TpaintSession(const TpaintSession&) = delete;
    TpaintSession& operator=(const TpaintSession&) = delete;
    HDC get() const { return dc; }

private:
    HWND owner;
    PAINTSTRUCT paint = {};
    HDC dc = nullptr;
};

// Selects an object into a DC and puts the DC's original object of that kind back on exit.
// select() swaps in another object of the same kind without losing the original.
class TselectedObject {
public:
    TselectedObject(HDC dc, HGDIOBJ object) : target(dc), original(SelectObject(dc, object)) {}
    ~TselectedObject() {
        if (original && original != HGDI_ERROR) SelectObject(target, original);
    }
    TselectedObject(const TselectedObject&) = delete;
    TselectedObject& operator=(const TselectedObject&) = delete;
    void select(HGDIOBJ object) { SelectObject(target, object); }

private:
    HDC target;
    HGDIOBJ original;
};

// A GDI object that this code created and deletes: reset() deletes it early.
template <typename Handle>
class TgdiObject {
public:
    TgdiObject() = default;
    explicit TgdiObject(Handle handle) : object(handle) {}
    ~TgdiObject() { reset(); }
    TgdiObject(const TgdiObject&) = delete;
    TgdiObject& operator=(const TgdiObject&) = delete;
    Handle get() const { return object; }
    void reset(Handle handle = nullptr) {
        if (object) DeleteObject(object);
        object = handle;
    }
    // Hands the object over to the caller, who then deletes it.
    Handle release() {
        Handle handle = object;
        object = nullptr;
        return handle;
    }

private:
    Handle object = nullptr;
};
