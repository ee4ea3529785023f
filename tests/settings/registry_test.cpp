// Tregistry and the "Startup" record against the real registry, under a scratch key that each
// test creates and removes: results, outputs and every message, through a wrapper that records
// what reportError receives.
#include <gtest/gtest.h>
#include <shlwapi.h>

#include <functional>

#include "settings/registry.h"
#include "settings/settingsstore.h"

namespace {

const std::string scratch = "Software\\Lexoria Registry Test";
const std::string longName(300, 'n');
const char* const hkcu = "HKEY_CURRENT_USER";

std::vector<std::string> logged;  // the messages of every recorder in the current case

class Recorder : public Tregistry {
public:
    template <typename Root>
    Recorder(Root root, const std::string& subkey, int readOnly) {
        construct(root, subkey.c_str(), readOnly);
    }

protected:
    void reportError(const char* message) override { logged.push_back(message); }
};

bool rawSet(const std::string& name, DWORD type, const std::string& bytes) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, scratch.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExA(key, name.c_str(), 0, type,
                                 reinterpret_cast<const BYTE*>(bytes.data()), bytes.size());
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

std::string rawGet(const std::string& name, DWORD* type) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, scratch.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "(missing)";
    char bytes[1024];
    DWORD size = sizeof bytes;
    LONG result = RegQueryValueExA(key, name.c_str(), nullptr, type,
                                   reinterpret_cast<BYTE*>(bytes), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? std::string(bytes, size) : "(missing)";
}

std::string text(const char* read) { return read ? read : "(null)"; }

bool keyExists(const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

struct Case {
    const char* name;
    std::function<bool()> action;  // the result of the operation under test
    bool result;
    std::vector<std::string> messages;
};

class RegistryTest : public testing::Test {
protected:
    void SetUp() override { SHDeleteKeyA(HKEY_CURRENT_USER, scratch.c_str()); }
    void TearDown() override { SHDeleteKeyA(HKEY_CURRENT_USER, scratch.c_str()); }
    void run(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            SetUp();
            logged.clear();
            EXPECT_EQ(c.result, c.action());
            EXPECT_EQ(c.messages, logged);
        }
    }
};

TEST_F(RegistryTest, RootsKeysAndTheirMessages) {
    run({
        {"a root name in other case gives no root and no key",
         [] { return Recorder("HKEY_Current_User", scratch, 0).setDword("d", 1); }, false,
         {"Error: Invalid Root Key specified (HKEY_Current_User).", "Error: no key open."}},
        {"without a root nothing opens or is deleted",
         [] {
             Recorder key("HKEY_NOWHERE", scratch, 0);
             return key.openKey(scratch.c_str(), 0) || key.deleteKey(scratch.c_str());
         },
         false,
         {"Error: Invalid Root Key specified (HKEY_NOWHERE).", "Error: no root key set.",
          "Error: no root key set."}},
        {"a null or empty root name fails silently",
         [] { return Recorder(static_cast<const char*>(nullptr), scratch, 0).setRootKey(""); },
         false, {}},
        {"reading a missing key creates nothing",
         [] {
             Recorder key(hkcu, scratch + "\\missing", 1);
             return keyExists(scratch + "\\missing");
         },
         false, {"Error: Unable to open key (" + scratch + "\\missing)."}},
        {"writing creates every missing key of the path",
         [] {
             Recorder key(hkcu, scratch + "\\a\\b", 0);
             return keyExists(scratch + "\\a\\b");
         },
         true, {}},
        {"a 300-character name is cut at 255 in its message",
         [] { return Recorder(hkcu, scratch + "\\" + longName, 0).setDword("d", 1); }, false,
         {("Error: Unable to create or open key (" + scratch + "\\" + longName).substr(0, 255),
          "Error: no key open."}},
        {"an empty subkey closes the open key and opens none, silently",
         [] {
             Recorder key(HKEY_CURRENT_USER, scratch, 0);
             return key.openKey("", 0) || key.deleteValue("v");
         },
         false, {"Error: no key open."}},
        {"deleteKey takes its path from the root, not from the open key",
         [] {
             Recorder(hkcu, scratch + "\\a\\b", 0);
             Recorder key(hkcu, scratch + "\\a", 0);
             return !key.deleteKey("b") && key.deleteKey((scratch + "\\a\\b").c_str()) &&
                    !keyExists(scratch + "\\a\\b");
         },
         true, {"Error: Unable to delete key (b)."}},
        {"every value operation needs an open key",
         [] {
             Recorder key(hkcu, scratch + "\\missing", 1);
             DWORD value = 0, size = 4;
             return key.getString("s") || key.setString("s", "t") || key.getDword("d", &value) ||
                    key.setDword("d", 1) || key.getBinary("b", &value, &size) ||
                    key.setBinary("b", &value, 4) || key.deleteValue("b");
         },
         false,
         {"Error: Unable to open key (" + scratch + "\\missing).", "Error: no key open.",
          "Error: no key open.", "Error: no key open.", "Error: no key open.",
          "Error: no key open.", "Error: no key open.", "Error: no key open."}},
    });
}

// A string stored with n bytes of text and no terminating zero reads back as exactly that text,
// also into a buffer that a longer string has filled before.
Case stringWithoutZero(size_t n) {
    return {"a string stored without its zero", [n] {
                const std::string stored(n, 'z');
                rawSet("s", REG_SZ, stored);
                rawSet("x", REG_SZ, std::string(1000, 'x'));
                Recorder key(hkcu, scratch, 1);
                return text(key.getString("x")).size() == 1000 &&
                       text(key.getString("s")) == stored;
            },
            true, {}};
}

TEST_F(RegistryTest, ValuesAndTheirMessages) {
    run({
        {"setString stores the text and its zero",
         [] {
             DWORD type = 0;
             return Recorder(hkcu, scratch, 0).setString("s", "text") &&
                    rawGet("s", &type) == std::string("text", 5) && type == REG_SZ;
         },
         true, {}},
        {"strings longer than the first buffer come back whole, and shorter ones after them",
         [] {
             Recorder key(hkcu, scratch, 0);
             const std::string stored(600, 'x');
             rawSet("long", REG_SZ, stored + '\0');
             rawSet("short", REG_SZ, std::string("ab", 3));
             return text(key.getString("long")) == stored && text(key.getString("short")) == "ab";
         },
         true, {}},
        stringWithoutZero(3), stringWithoutZero(512), stringWithoutZero(1500),
        {"a missing string", [] { return Recorder(hkcu, scratch, 0).getString("missing"); },
         false, {"Error: Unable to get value (String:missing)."}},
        {"a binary value is no string",
         [] { return rawSet("b", REG_BINARY, "1") && Recorder(hkcu, scratch, 0).getString("b"); },
         false, {"Error: Value is not a string."}},
        {"a DWORD goes straight into the destination",
         [] {
             DWORD value = 0xDEADBEEF;
             Recorder key(hkcu, scratch, 0);
             return key.setDword("d", 0x12345678) && key.getDword("d", &value) &&
                    value == 0x12345678;
         },
         true, {}},
        {"a missing DWORD",
         [] {
             DWORD value;
             return Recorder(hkcu, scratch, 0).getDword("missing", &value);
         },
         false, {"\nError: Unable to get value (DWORD:missing).\n"}},
        {"a four-byte binary value is no DWORD",
         [] {
             DWORD value;
             rawSet("b", REG_BINARY, "1234");
             return Recorder(hkcu, scratch, 0).getDword("b", &value);
         },
         false, {"Error: Value is not a DWORD."}},
        {"getBinary fills only the bytes stored and counts them",
         [] {
             unsigned char bytes[16];
             std::fill(std::begin(bytes), std::end(bytes), 0xBD);
             DWORD size = sizeof bytes;
             rawSet("b", REG_BINARY, "12345678");
             return Recorder(hkcu, scratch, 0).getBinary("b", bytes, &size) && size == 8 &&
                    std::string(reinterpret_cast<char*>(bytes), 9) == "12345678\xBD";
         },
         true, {}},
        {"getBinary into too small a destination gives the size it needs",
         [] {
             unsigned char bytes[4];
             DWORD size = sizeof bytes;
             rawSet("b", REG_BINARY, "12345678");
             bool read = Recorder(hkcu, scratch, 0).getBinary("b", bytes, &size);
             EXPECT_EQ(8u, size);
             return read;
         },
         false, {"\nError: Unable to get value (Binary:b).\n"}},
        {"a string value is not binary",
         [] {
             char bytes[16];
             DWORD size = sizeof bytes;
             rawSet("s", REG_SZ, std::string("x", 2));
             return Recorder(hkcu, scratch, 0).getBinary("s", bytes, &size);
         },
         false, {"Error: Value is not Binary."}},
        {"a 300-character value name is cut at 255 in its message",
         [] {
             char bytes[4];
             DWORD size = sizeof bytes;
             return Recorder(hkcu, scratch, 0).getBinary(longName.c_str(), bytes, &size);
         },
         false, {("\nError: Unable to get value (Binary:" + longName).substr(0, 255)}},
        {"a read-only key stores and deletes nothing",
         [] {
             rawSet("b", REG_BINARY, "1");
             Recorder key(hkcu, scratch, 1);
             return key.setString("s", "text") || key.setDword("d", 0xFFFFFFFF) ||
                    key.setBinary("b", "2", 1) || key.deleteValue("b") ||
                    key.setString("s", longName.c_str());
         },
         false,
         {"Error: Unable to set value (value: s  setting: text).",
          "Error: Unable to set value (value: d  setting: -1).",
          "Error: Unable to set value (value: b  Binary).", "Error: Unable to delete value (b).",
          ("Error: Unable to set value (value: s  setting: " + longName).substr(0, 255)}},
        {"deleteValue removes a value and reports a missing one",
         [] {
             rawSet("b", REG_BINARY, "1");
             Recorder key(hkcu, scratch, 0);
             DWORD type;
             return key.deleteValue("b") && rawGet("b", &type) == "(missing)" &&
                    key.deleteValue("missing");
         },
         false, {"Error: Unable to delete value (missing)."}},
    });
}

TEST_F(RegistryTest, StartupRecordCountsOnlyWhenEightBinaryBytes) {
    const struct {
        const char* name;
        DWORD type;
        std::string bytes;  // empty: no value stored
        bool valid;
        int choice;
    } cases[] = {
        {"eight bytes", REG_BINARY, std::string("\x04\0\x02\0\x9C\xFF\x01\0", 8), true, 4},
        {"missing", REG_BINARY, "", false, 1},
        {"seven bytes", REG_BINARY, std::string(7, '\0'), false, 1},
        {"nine bytes", REG_BINARY, std::string(9, '\0'), false, 1},
        {"a string", REG_SZ, std::string("\x04\0\x02\0\x9C\xFF\x01", 8), false, 1},
        {"a number", REG_DWORD, std::string(4, '\0'), false, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        if (!c.bytes.empty()) {
            ASSERT_TRUE(rawSet("Startup", c.type, c.bytes));
        }
        Tregistry key(hkcu, scratch.c_str(), 0);
        TwindowSettings settings;
        settings.positionChoice = 0;
        settings.alwaysOnTop = 7;
        EXPECT_EQ(c.valid, readWindowSettings(key, settings));
        EXPECT_EQ(c.choice, settings.positionChoice);
        EXPECT_EQ(c.valid ? 2 : 0, settings.alwaysOnTop);
    }
    TwindowSettings settings;
    settings.savedLeft = -100;
    Tregistry key(hkcu, scratch.c_str(), 0);
    ASSERT_TRUE(writeWindowSettings(key, settings));
    DWORD type = 0;
    EXPECT_EQ(std::string("\x01\0\0\0\x9C\xFF\0\0", 8), rawGet("Startup", &type));
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
}

}  // namespace
