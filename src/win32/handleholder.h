// An owned kernel handle (a process, thread, file or event), closed when its holder goes out of
// scope.
#pragma once

#include <windows.h>

class ThandleHolder {
public:
    ThandleHolder() = default;
    explicit ThandleHolder(HANDLE owned) : handle(owned) {}
    ~ThandleHolder() { reset(); }
    ThandleHolder(const ThandleHolder&) = delete;
    ThandleHolder& operator=(const ThandleHolder&) = delete;
    HANDLE get() const { return handle; }
    // Hands the handle to a new owner, which closes it from now on.
    HANDLE release() {
        HANDLE kept = handle;
        handle = nullptr;
        return kept;
    }
    void reset(HANDLE owned = nullptr) {
        if (handle && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
        handle = owned;
    }

private:
    HANDLE handle = nullptr;
};
