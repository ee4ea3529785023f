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
    void reset(HANDLE owned = nullptr) {
        if (handle && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
        handle = owned;
    }

private:
    HANDLE handle = nullptr;
};
