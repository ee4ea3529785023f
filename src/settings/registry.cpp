// Tregistry: the registry key wrapper. Messages are formatted into a fixed text of at most 255
// characters so no argument length can overflow it; longer texts are cut there.
#include "settings/registry.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>

const char* const programRootName = "HKEY_CURRENT_USER";
const char* const programSubkey = "SOFTWARE\\Fennwick Systems\\Lexoria";

namespace {
struct TrootName {
    const char* name;
    HKEY key;
};
const TrootName rootNames[] = {
    {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {"HKEY_USERS", HKEY_USERS},
    {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
};
const DWORD initialBufferSize = 512;
const size_t maxMessageLength = 255;
// Value names the program reads in wide characters are its own and short.
const int maxWideNameLength = 255;
}  // namespace

Tregistry::Tregistry(HKEY root, const char* subkey, int readOnly) {
    construct(root, subkey, readOnly);
}

Tregistry::Tregistry(const char* rootName, const char* subkey, int readOnly) {
    construct(rootName, subkey, readOnly);
}

void Tregistry::construct(HKEY root, const char* subkey, int readOnly) {
    rootKey = root;
    initialise(subkey, readOnly);
}

void Tregistry::construct(const char* rootName, const char* subkey, int readOnly) {
    setRootKey(rootName);
    initialise(subkey, readOnly);
}

Tregistry::~Tregistry() {
    closeKey();
    delete[] buffer;
}

void Tregistry::initialise(const char* subkey, int readOnly) {
    replaceBuffer(initialBufferSize);
    if (rootKey) openKey(subkey, readOnly);
}

void Tregistry::reportError(const char*) {}

void Tregistry::report(const char* format, ...) {
    char message[maxMessageLength + 1] = {};
    va_list args;
    va_start(args, format);
    // The C runtime's own _vsnprintf: the standard name would bring a second formatter of about
    // 30 KB into the program. It leaves a cut text without its terminating zero.
    _vsnprintf(message, sizeof message, format, args);
    va_end(args);
    message[maxMessageLength] = '\0';
    reportError(message);
}

bool Tregistry::setRootKey(const char* rootName) {
    rootKey = nullptr;
    if (!rootName || !*rootName) return false;
    for (const TrootName& root : rootNames) {
        if (strcmp(root.name, rootName) == 0) {
            rootKey = root.key;
            return true;
        }
    }
    report("Error: Invalid Root Key specified (%s).", rootName);
    return false;
}

bool Tregistry::openKey(const char* subkey, int readOnly) {
    closeKey();
    if (!rootKey) {
        report("Error: no root key set.");
        return false;
    }
    if (!subkey || !*subkey) return false;
    if (readOnly) {
        if (RegOpenKeyExA(rootKey, subkey, 0, KEY_READ, &key) == ERROR_SUCCESS) return true;
        key = nullptr;
        report("Error: Unable to open key (%s).", subkey);
        return false;
    }
    // Reading and writing values is all the program does with a key: full access would also ask
    // for the rights to delete it and change its permissions, which a key may rightly withhold.
    char emptyClass[] = "";
    if (RegCreateKeyExA(rootKey, subkey, 0, emptyClass, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS)
        return true;
    key = nullptr;
    report("Error: Unable to create or open key (%s).", subkey);
    return false;
}

void Tregistry::closeKey() {
    if (!key) return;
    if (RegCloseKey(key) == ERROR_SUCCESS) key = nullptr;
    else report("Error: Unable to close key.");
}

bool Tregistry::requireOpenKey() {
    if (key) return true;
    report("Error: no key open.");
    return false;
}

void Tregistry::replaceBuffer(DWORD size) {
    delete[] buffer;
    buffer = nullptr;
    bufferSize = 0;
    buffer = new (std::nothrow) char[size];
    if (buffer) bufferSize = size;
    else report("Error: Unable to allocate memory (%d).", static_cast<int>(size));
}

// Reads a string value into the buffer, through the wide API when a wide name is given, and
// checks its type. The buffer grows once when the value does not fit. One character is held back
// so the text is terminated even when it was stored without its zero.
bool Tregistry::readString(const char* name, const WCHAR* wideName) {
    const DWORD heldBack = wideName ? sizeof(WCHAR) : 1;
    auto query = [&] {
        valueSize = bufferSize > heldBack ? bufferSize - heldBack : 0;
        BYTE* data = reinterpret_cast<BYTE*>(buffer);
        return wideName ? RegQueryValueExW(key, wideName, nullptr, &valueType, data, &valueSize)
                        : RegQueryValueExA(key, name, nullptr, &valueType, data, &valueSize);
    };
    LONG result = buffer ? query() : ERROR_OUTOFMEMORY;
    if (result == ERROR_MORE_DATA) {
        replaceBuffer(valueSize + heldBack);
        result = buffer ? query() : ERROR_OUTOFMEMORY;
    }
    if (result != ERROR_SUCCESS) {
        report("Error: Unable to get value (String:%s).", name);
        return false;
    }
    if (valueType != REG_SZ && !(wideName && valueType == REG_EXPAND_SZ)) {
        report("Error: Value is not a string.");
        return false;
    }
    return true;
}

const char* Tregistry::getString(const char* name) {
    if (!requireOpenKey() || !readString(name, nullptr)) return nullptr;
    buffer[valueSize] = '\0';
    return buffer;
}

const wchar_t* Tregistry::getWideString(const char* name) {
    if (!requireOpenKey()) return nullptr;
    // A fixed buffer and the one direct conversion outside widetext, on purpose: the registry
    // wrapper stands on the platform alone (settings does not link the Win32 layer), and a
    // value name is one of the program's own, short and ASCII.
    WCHAR wideName[maxWideNameLength + 1];
    if (!name || !MultiByteToWideChar(CP_ACP, 0, name, -1, wideName, maxWideNameLength + 1)) {
        report("Error: Unable to get value (String:%s).", name);
        return nullptr;
    }
    if (!readString(name, wideName)) return nullptr;
    // The buffer came from new, so it is aligned for any character type. A stored odd byte
    // count loses its last half character.
    WCHAR* text = reinterpret_cast<WCHAR*>(buffer);
    text[valueSize / sizeof(WCHAR)] = L'\0';
    return text;
}

bool Tregistry::setString(const char* name, const char* text) {
    if (!requireOpenKey()) return false;
    LONG result = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                 static_cast<DWORD>(strlen(text) + 1));
    if (result == ERROR_SUCCESS) return true;
    report("Error: Unable to set value (value: %s  setting: %s).", name, text);
    return false;
}

bool Tregistry::getDword(const char* name, DWORD* value) {
    if (!requireOpenKey()) return false;
    valueSize = sizeof(DWORD);
    if (RegQueryValueExA(key, name, nullptr, &valueType, reinterpret_cast<BYTE*>(value),
                         &valueSize) != ERROR_SUCCESS) {
        report("\nError: Unable to get value (DWORD:%s).\n", name);
        return false;
    }
    if (valueType != REG_DWORD) {
        report("Error: Value is not a DWORD.");
        return false;
    }
    return true;
}

bool Tregistry::setDword(const char* name, DWORD value) {
    if (!requireOpenKey()) return false;
    if (RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof value) == ERROR_SUCCESS)
        return true;
    report("Error: Unable to set value (value: %s  setting: %d).", name, static_cast<int>(value));
    return false;
}

bool Tregistry::getBinary(const char* name, void* data, DWORD* count) {
    if (!requireOpenKey()) return false;
    if (RegQueryValueExA(key, name, nullptr, &valueType, static_cast<BYTE*>(data), count) !=
        ERROR_SUCCESS) {
        report("\nError: Unable to get value (Binary:%s).\n", name);
        return false;
    }
    if (valueType != REG_BINARY) {
        report("Error: Value is not Binary.");
        return false;
    }
    return true;
}

bool Tregistry::setBinary(const char* name, const void* data, DWORD count) {
    if (!requireOpenKey()) return false;
    if (RegSetValueExA(key, name, 0, REG_BINARY, static_cast<const BYTE*>(data), count) ==
        ERROR_SUCCESS)
        return true;
    report("Error: Unable to set value (value: %s  Binary).", name);
    return false;
}

bool Tregistry::deleteKey(const char* subkey) {
    if (!rootKey) {
        report("Error: no root key set.");
        return false;
    }
    if (RegDeleteKeyA(rootKey, subkey) == ERROR_SUCCESS) return true;
    report("Error: Unable to delete key (%s).", subkey);
    return false;
}

bool Tregistry::deleteValue(const char* name) {
    if (!requireOpenKey()) return false;
    if (RegDeleteValueA(key, name) == ERROR_SUCCESS) return true;
    report("Error: Unable to delete value (%s).", name);
    return false;
}
