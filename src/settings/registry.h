// Tregistry: one open registry key for the span of one operation. Every value the program keeps
// or reads from the shell goes through it. Failures come back as false or null results, each with
// one English message handed to reportError, which is silent unless a derived class listens.
#pragma once

#include <windows.h>

class Tregistry {
public:
    Tregistry(HKEY root, const char* subkey, int readOnly);
    Tregistry(const char* rootName, const char* subkey, int readOnly);
    virtual ~Tregistry();

    Tregistry(const Tregistry&) = delete;
    Tregistry& operator=(const Tregistry&) = delete;

    bool setRootKey(const char* rootName);
    bool openKey(const char* subkey, int readOnly);
    void closeKey();

    // The text stays valid until the next string read on this wrapper or its destruction.
    const char* getString(const char* name);
    // The same in wide characters, for paths the ANSI code page cannot spell; the name is ANSI.
    // An expandable string counts too and comes back as stored, its variables not expanded.
    const wchar_t* getWideString(const char* name);
    bool setString(const char* name, const char* text);
    bool getDword(const char* name, DWORD* value);
    bool setDword(const char* name, DWORD value);
    // count: in, the destination's capacity; out, the bytes stored (or needed, when too small).
    bool getBinary(const char* name, void* data, DWORD* count);
    bool setBinary(const char* name, const void* data, DWORD count);
    bool deleteKey(const char* subkey);
    bool deleteValue(const char* name);

protected:
    // A base constructor cannot reach a derived reportError, so a class that listens to the
    // messages starts empty (no root, no key, no buffer) and calls construct from its own
    // constructor: it then hears the messages of construction too.
    Tregistry() = default;
    void construct(HKEY root, const char* subkey, int readOnly);
    void construct(const char* rootName, const char* subkey, int readOnly);

    virtual void reportError(const char* message);

private:
    void initialise(const char* subkey, int readOnly);
    void replaceBuffer(DWORD size);
    bool readString(const char* name, const WCHAR* wideName);
    bool requireOpenKey();
    void report(const char* format, ...);

    HKEY rootKey = nullptr;
    HKEY key = nullptr;
    DWORD valueType = 0;
    DWORD valueSize = 0;
    DWORD bufferSize = 0;
    char* buffer = nullptr;
};

// The program's own key under HKEY_CURRENT_USER.
extern const char* const programRootName;
extern const char* const programSubkey;
