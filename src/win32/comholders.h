// Small owners for the component object library: the library's initialisation on this thread,
// and one interface pointer, each released when its owner goes out of scope.
#pragma once

#include <objbase.h>

// Initialises the library on the calling thread for the life of the object. Wine's shell link
// object cannot be created until this is done; nesting is fine, every successful call is paired.
class TcomLibrary {
public:
    TcomLibrary() : result(CoInitialize(nullptr)) {}
    ~TcomLibrary() {
        if (SUCCEEDED(result)) CoUninitialize();
    }
    TcomLibrary(const TcomLibrary&) = delete;
    TcomLibrary& operator=(const TcomLibrary&) = delete;

private:
    HRESULT result;
};

template <typename Interface>
class TcomInterface {
public:
    TcomInterface() = default;
    ~TcomInterface() { release(); }
    TcomInterface(const TcomInterface&) = delete;
    TcomInterface& operator=(const TcomInterface&) = delete;

    // Where a creating or querying call stores the new pointer. A pointer still held is released
    // first, so that filling the holder again does not leak the object it held.
    void** out() {
        release();
        return reinterpret_cast<void**>(&pointer);
    }
    Interface* operator->() const { return pointer; }

private:
    void release() {
        if (pointer) pointer->Release();
        pointer = nullptr;
    }

    Interface* pointer = nullptr;
};
