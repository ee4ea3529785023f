// Owners for the DDE client library's handles: a string handle, a data handle received from a
// transaction, and access to a data handle's bytes. Each gives its handle back on every path.
#pragma once

#include <windows.h>
#include <ddeml.h>

class DdeStringHandle {
public:
    DdeStringHandle(DWORD ddeInstance, const char* text)
        : instance(ddeInstance), handle(DdeCreateStringHandleA(ddeInstance, text, CP_WINANSI)) {}
    ~DdeStringHandle() {
        if (handle) DdeFreeStringHandle(instance, handle);
    }
    DdeStringHandle(const DdeStringHandle&) = delete;
    DdeStringHandle& operator=(const DdeStringHandle&) = delete;

    explicit operator bool() const { return handle != nullptr; }
    HSZ get() const { return handle; }

private:
    DWORD instance;
    HSZ handle;
};

// A data handle the client owns (the answer to a request transaction).
class DdeDataHandle {
public:
    explicit DdeDataHandle(HDDEDATA received) : handle(received) {}
    ~DdeDataHandle() {
        if (handle) DdeFreeDataHandle(handle);
    }
    DdeDataHandle(const DdeDataHandle&) = delete;
    DdeDataHandle& operator=(const DdeDataHandle&) = delete;

    explicit operator bool() const { return handle != nullptr; }
    HDDEDATA get() const { return handle; }

private:
    HDDEDATA handle;
};

// The bytes of a data handle, readable while this object lives.
class DdeDataAccess {
public:
    explicit DdeDataAccess(const DdeDataHandle& data)
        : handle(data.get()), bytes(DdeAccessData(handle, &length)) {}
    ~DdeDataAccess() {
        if (bytes) DdeUnaccessData(handle);
    }
    DdeDataAccess(const DdeDataAccess&) = delete;
    DdeDataAccess& operator=(const DdeDataAccess&) = delete;

    explicit operator bool() const { return bytes != nullptr; }
    const BYTE* data() const { return bytes; }
    DWORD size() const { return length; }

private:
    HDDEDATA handle;
    DWORD length = 0;
    BYTE* bytes;
};
