// Included ahead of GoogleTest and every test program of the Windows trees (see
// cmake/LexoriaTesting.cmake): GoogleTest's Notification, the one piece of it written on
// std::mutex and std::condition_variable, which GCC 12's win32 thread model does not have. The
// rest of GoogleTest already uses its own Windows locks and thread-local slots. This one is an
// event (gtest-notification.cpp, built into GoogleTest), set once and waited on by the threads
// that GoogleTest's thread helper starts. No <windows.h> here: every test would see its macros.
#pragma once

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
public:
    Notification();
    ~Notification();
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;
    void Notify();
    void WaitForNotification();

private:
    void* event;
};

}  // namespace internal
}  // namespace testing
