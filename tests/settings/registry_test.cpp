// Tregistry against the real registry, under the program's key, which every case clears:
// results, outputs and every message text, through a wrapper that records what reportError
// receives.
#include <gtest/gtest.h>
#include <shlwapi.h>

#include <functional>

#include "settings/registry.h"
#include "support/lexoria_driver.h"

using namespace lexoriaTest;
using namespace std::string_literals;

namespace {

const std::string scratch = programKey;
const std::string longName(300, 'n');
const char* const hkcu = "HKEY_CURRENT_USER";

std::vector<std::string> logged;  // the messages of every recorder in the current case

class Trecorder : public Tregistry {
public:
    template <typename Root>
    Trecorder(Root root, const std::string& subkey, int readOnly) {
        construct(root, subkey.c_str(), readOnly);
    }

protected:
    void reportError(const char* message) override { logged.push_back(message); }
};

bool rawSet(const char* name, DWORD type, const std::string& bytes) {
    return setProgramValue(name, type, bytes.data(), static_cast<DWORD>(bytes.size()));
}

std::string text(const char* read) { return read ? read : "(null)"; }

// The cases make subkeys, which the driver's deleteProgramKey leaves in place.
void clearScratch() { SHDeleteKeyA(HKEY_CURRENT_USER, programKey); }

TEST(TregistryTest, ResultsAndEveryMessageText) {
    const std::string noKey = "Error: no key open.";
    // clang-format off
    const struct { const char* name; std::function<bool()> action; bool result;
                   std::vector<std::string> messages; } cases[] = {  // action: the result checked
        {"a root name in other case gives no root; a null or empty one fails silently",
         [] {
             Trecorder key("HKEY_Current_User", scratch, 0);
             return key.setDword("d", 1) || key.openKey(scratch.c_str(), 0) ||
                    key.deleteKey(scratch.c_str()) || key.setRootKey(nullptr) || key.setRootKey("");
         },
         false,
         {"Error: Invalid Root Key specified (HKEY_Current_User).", noKey,
          "Error: no root key set.", "Error: no root key set."}},
        // Opened to read, a missing key is not created: the message says so.
        {"a missing key opened to read, and no value operation runs without a key",
         [] {
             Trecorder key(hkcu, scratch + "\\missing", 1);
             DWORD value = 0, size = 4;
             return key.getString("s") || key.setString("s", "t") || key.getDword("d", &value) ||
                    key.setDword("d", 1) || key.getBinary("b", &value, &size) ||
                    key.setBinary("b", &value, 4) || key.deleteValue("b");
         },
         false,
         {"Error: Unable to open key (" + scratch + "\\missing).", noKey, noKey, noKey, noKey,
          noKey, noKey, noKey}},
        // An empty subkey closes the open key and opens none, silently.
        {"writing creates the whole path; deleteKey takes its path from the root",
         [] {
             Trecorder(HKEY_CURRENT_USER, scratch + "\\a\\b", 0);
             Trecorder key(hkcu, scratch + "\\a", 0);
             return !key.deleteKey("b") && key.deleteKey((scratch + "\\a\\b").c_str()) &&
                    !key.openKey("", 0) && !key.deleteValue("v");
         },
         true,
         {"Error: Unable to delete key (b).", noKey}},
        {"a 300-character key name is cut at 255 in its message",
         [] { return Trecorder(hkcu, scratch + "\\" + longName, 0).setDword("d", 1); },
         false,
         {("Error: Unable to create or open key (" + scratch + "\\" + longName).substr(0, 255),
          noKey}},
        // "short" has no zero of its own and lands on the bytes of the longer text before it.
        {"strings: stored with their zero, read back whole past 512 bytes, and no other type",
         [] {
             rawSet("600", REG_SZ, std::string(600, 'x') + '\0');
             rawSet("short", REG_SZ, "ab");
             rawSet("b", REG_BINARY, "1");
             Trecorder key(hkcu, scratch, 0);
             std::vector<unsigned char> bytes;
             DWORD type = 0;
             EXPECT_TRUE(key.setString("s", "text") && getProgramValue("s", bytes, &type) &&
                         type == REG_SZ);
             EXPECT_EQ("text"s + '\0', std::string(bytes.begin(), bytes.end()));
             EXPECT_EQ(std::string(600, 'x'), text(key.getString("600")));
             EXPECT_EQ("ab", text(key.getString("short")));
             return key.getString("missing") || key.getString("b");
         },
         false,
         {"Error: Unable to get value (String:missing).", "Error: Value is not a string."}},
        // "odd" is five bytes without a zero: the half character goes, the text still ends.
        {"wide strings: every character, expandable ones as stored, past 512 bytes, no other type",
         [] {
             const std::wstring key = wideOf(programKey), polish = L"\u0141ukasz %x%";
             const std::wstring big(600, L'\u65e5');
             SHSetValueW(HKEY_CURRENT_USER, key.c_str(), L"big", REG_SZ, big.c_str(), 1202);
             SHSetValueW(HKEY_CURRENT_USER, key.c_str(), L"pl", REG_EXPAND_SZ, polish.c_str(), 22);
             SHSetValueW(HKEY_CURRENT_USER, key.c_str(), L"odd", REG_SZ, L"abc", 5);
             rawSet("b", REG_BINARY, "1");
             Trecorder wrapper(hkcu, scratch, 1);
             auto read = [&](const char* name) -> std::wstring {
                 const wchar_t* text = wrapper.getWideString(name);
                 return text ? text : L"(null)";
             };
             EXPECT_EQ(big, read("big"));
             EXPECT_EQ(polish, read("pl"));
             EXPECT_EQ(L"ab", read("odd"));
             return wrapper.getWideString("missing") || wrapper.getWideString("b");
         },
         false,
         {"Error: Unable to get value (String:missing).", "Error: Value is not a string."}},
        {"getBinary into too small a destination gives the size it needs; types are checked",
         [] {
             char bytes[8];
             DWORD size = 4, value = 0;
             rawSet("b", REG_BINARY, "12345678");
             rawSet("four", REG_BINARY, "1234");
             rawSet("s", REG_SZ, "x");
             Trecorder key(hkcu, scratch, 0);
             EXPECT_FALSE(key.getBinary("b", bytes, &size));
             EXPECT_EQ(8u, size);
             return key.getBinary("s", bytes, &size) || key.getDword("four", &value) ||
                    key.getDword("missing", &value);
         },
         false,
         {"\nError: Unable to get value (Binary:b).\n", "Error: Value is not Binary.",
          "Error: Value is not a DWORD.", "\nError: Unable to get value (DWORD:missing).\n"}},
        {"a read-only key stores and deletes nothing",
         [] {
             rawSet("b", REG_BINARY, "1");
             Trecorder key(hkcu, scratch, 1);
             return key.setString("s", "text") || key.setDword("d", 0xFFFFFFFF) ||
                    key.setBinary("b", "2", 1) || key.deleteValue("b");
         },
         false,
         {"Error: Unable to set value (value: s  setting: text).",
          "Error: Unable to set value (value: d  setting: -1).",
          "Error: Unable to set value (value: b  Binary).", "Error: Unable to delete value (b)."}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clearScratch();
        logged.clear();
        EXPECT_EQ(c.result, c.action());
        EXPECT_EQ(c.messages, logged);
    }
    clearScratch();
}

}  // namespace
