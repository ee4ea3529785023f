// The DDE client side of Program Manager. The program has one thread and at most one options
// dialog, so one conversation state serves it; every transaction waits up to a second.
#include "options/progman.h"

#include <ddeml.h>

#include <cstring>

#include "settings/registry.h"
#include "win32/ddeholders.h"

namespace {
const char* const programManagerKey =
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\Program Manager\\Settings";
const char* const programManagerService = "progman";
const DWORD transactionTimeoutMs = 1000;

DWORD ddeInstance = 0;
HCONV conversation = nullptr;

bool connected() { return ddeInstance != 0 && conversation != nullptr; }

// The client instance serves nothing, so every transaction and notification is answered with 0.
HDDEDATA CALLBACK ddeCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}
}  // namespace

bool getStartupGroup(std::string& groupName) {
    Tregistry key(HKEY_CURRENT_USER, programManagerKey, 1);
    const char* text = key.getString("Startup");
    if (!text) return false;
    groupName = text;
    return true;
}

bool ddeInitProgman() {
    if (ddeInstance != 0 || conversation != nullptr) return false;
    DWORD instance = 0;
    if (DdeInitializeA(&instance, ddeCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
        return false;
    ddeInstance = instance;
    // The service and the topic have the same name.
    TddeStringHandle service(ddeInstance, programManagerService);
    if (!service) return false;
    conversation = DdeConnect(ddeInstance, service.get(), service.get(), nullptr);
    return conversation != nullptr;
}

void ddeUninitProgman() {
    if (conversation) DdeDisconnect(conversation);
    conversation = nullptr;
    if (ddeInstance) DdeUninitialize(ddeInstance);
    ddeInstance = 0;
}

bool ddeExecuteString(const char* command) {
    if (!connected()) return false;
    const DWORD length = static_cast<DWORD>(std::strlen(command) + 1);
    HDDEDATA data =
        DdeCreateDataHandle(ddeInstance, reinterpret_cast<BYTE*>(const_cast<char*>(command)),
                            length, 0, nullptr, CF_TEXT, 0);
    if (!data) return false;
    // The transaction takes the handle over: the library frees an unowned handle it is given.
    return DdeClientTransaction(reinterpret_cast<BYTE*>(data), static_cast<DWORD>(-1), conversation,
                                nullptr, CF_TEXT, XTYP_EXECUTE, transactionTimeoutMs,
                                nullptr) != nullptr;
}

bool ddeRequestString(const char* item, char* buffer, DWORD& size) {
    if (!connected()) return false;
    HDDEDATA reply = nullptr;
    {
        TddeStringHandle itemName(ddeInstance, item);
        if (!itemName) return false;
        reply = DdeClientTransaction(nullptr, 0, conversation, itemName.get(), CF_TEXT,
                                     XTYP_REQUEST, transactionTimeoutMs, nullptr);
    }
    TddeDataHandle data(reply);
    if (!data) return false;
    TddeDataAccess bytes(data);
    if (!bytes) return false;
    if (bytes.size() > size) {
        size = bytes.size();
        return false;
    }
    std::memcpy(buffer, bytes.data(), bytes.size());
    size = bytes.size();
    return true;
}
