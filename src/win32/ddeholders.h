// Owners for the DDE client library's handles: a string handle, a data handle received from a
// transaction, and access to a data handle's bytes. Each gives its handle back on every path.
#pragma once

#include <windows.h>
#include <ddeml.h>

class TddeStringHandle {
public:
    TddeStringHandle(DWORD ddeInstance, const char* text)
        : instance(ddeInstance), handle(DdeCreateStringHandleA(ddeInstance, text, CP_WINANSI)) {}
    ~TddeStringHandle() {
        if (handle) DdeFreeStringHandle(instance, handle);
    }
    TddeStringHandle(const TddeStringHandle&) = delete;
    TddeStringHandle& operator=(const TddeStringHandle&) = delete;

    explicit operator bool() const { return handle != nullptr; }
    HSZ get() const { return handle; }

private:
    DWORD instance;
    HSZ handle;
};

// A data handle the client owns (the answer to a request transaction).
class TddeDataHandle {
public:
    explicit TddeDataHandle(HDDEDATA received) : handle(received) {}
    ~TddeDataHandle() {
        if (handle) DdeFreeDataHandle(handle);
    }
    TddeDataHandle(const TddeDataHandle&) = delete;
    TddeDataHandle& operator=(const TddeDataHandle&) = delete;

    explicit operator bool() const { return handle != nullptr; }
    HDDEDATA get() const { return handle; }

private:
    HDDEDATA handle;
};

// The bytes of a data handle, readable while this object lives.
class TddeDataAccess {
public:
    explicit TddeDataAccess(const TddeDataHandle& data)
        : handle(data.get()), bytes(DdeAccessData(handle, &length)) {}
    ~TddeDataAccess() {
        if (bytes) DdeUnaccessData(handle);
    }
    TddeDataAccess(const TddeDataAccess&) = delete;
    TddeDataAccess& operator=(const TddeDataAccess&) = delete;

    explicit operator bool() const { return bytes != nullptr; }
    const BYTE* data() const { return bytes; }
    DWORD size() const { return length; }

private:
    HDDEDATA handle;
    DWORD length = 0;
    BYTE* bytes;
};
