// GoogleTest's Notification on a Windows event; see gtest-notification.h.
#include "gtest-notification.h"

#include <windows.h>

namespace testing {
namespace internal {

Notification::Notification() : event(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

Notification::~Notification() { CloseHandle(event); }

void Notification::Notify() { SetEvent(event); }

void Notification::WaitForNotification() { WaitForSingleObject(event, INFINITE); }

}  // namespace internal
}  // namespace testing
