// Included ahead of GoogleTest and every test program of the Windows trees (see
// cmake/LexoriaTesting.cmake): GoogleTest's Notification, the one piece of it written on
// std::mutex and std::condition_variable, which GCC 12's win32 thread model does not have. The
// rest of GoogleTest already uses its own Windows locks and thread-local slots. This one is an
// event: set once, waited on by the threads GoogleTest's thread helper starts.
#pragma once

#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
public:
    Notification() : event(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { CloseHandle(event); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;
    void Notify() { SetEvent(event); }
    void WaitForNotification() { WaitForSingleObject(event, INFINITE); }

private:
    HANDLE event;
};

}  // namespace internal
}  // namespace testing
