// Program Manager's Startup group, through which shells before major version 4 start the program
// at log-on: the group's name, and one DDE client conversation with the service "progman" at a
// time (open, send a command, request an item's text, close).
#pragma once

#include <windows.h>

#include <string>

// Program Manager's Startup group name from the current user's registry; false when not there.
bool getStartupGroup(std::string& groupName);

// Opens the conversation. Fails, changing nothing, while an instance or conversation is left
// from before; a failure after the instance was made leaves it for ddeUninitProgman.
bool ddeInitProgman();
// Closes whatever is open; harmless when nothing is.
void ddeUninitProgman();
// Sends a command; true when Program Manager accepted it.
bool ddeExecuteString(const char* command);
// Requests an item's text. size: in, the buffer's capacity; out, the size of the data, also when
// it did not fit (then false, and the buffer is untouched).
bool ddeRequestString(const char* item, char* buffer, DWORD& size);

// The conversation for one operation: opened on construction, closed on every way out.
class TprogmanConversation {
public:
    TprogmanConversation() : opened(ddeInitProgman()) {}
    ~TprogmanConversation() { ddeUninitProgman(); }
    TprogmanConversation(const TprogmanConversation&) = delete;
    TprogmanConversation& operator=(const TprogmanConversation&) = delete;

    bool isOpen() const { return opened; }

private:
    bool opened;
};
