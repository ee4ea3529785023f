// Tregistry against the real registry, under the program's key, which every case clears: results
// and outputs of what the program uses. (The messages the wrapper formats reach no one: the
// program never listens. The key's path is made by every end-to-end run that starts without it.)
#include <gtest/gtest.h>
#include <windows.h>
#include <sddl.h>  // after windows.h
#include <shlwapi.h>

#include <functional>
#include <memory>

#include "settings/registry.h"
#include "support/lexoria_driver.h"

using namespace lexoriaTest;
using namespace std::string_literals;

namespace {

const std::string scratch = programKey;
const char* const hkcu = "HKEY_CURRENT_USER";

bool rawSet(const char* name, DWORD type, const std::string& bytes) {
    return setProgramValue(name, type, bytes.data(), static_cast<DWORD>(bytes.size()));
}

std::string text(const char* read) { return read ? read : "(null)"; }

// The wrapper on a subkey given as a string.
class TscratchKey : public Tregistry {
public:
    template <typename Root>
    TscratchKey(Root root, const std::string& subkey, int readOnly)
        : Tregistry(root, subkey.c_str(), readOnly) {}
};

// The cases make subkeys, which the driver's deleteProgramKey leaves in place.
void clearScratch() { SHDeleteKeyA(HKEY_CURRENT_USER, programKey); }

TEST(TregistryTest, ResultsAndOutputs) {
    // clang-format off
    const struct { const char* name; std::function<bool()> action; bool result; } cases[] = {
        {"a missing key opened to read is not made, and no value operation runs without a key",
         [] {
             TscratchKey key(hkcu, scratch + "\\missing", 1);
             DWORD value = 0, size = 4;
             const bool any = key.getString("s") || key.setString("s", "t") ||
                              key.getDword("d", &value) || key.setDword("d", 1) ||
                              key.getBinary("b", &value, &size) || key.setBinary("b", &value, 4) ||
                              key.deleteValue("b");
             HKEY made = nullptr;
             const bool exists = RegOpenKeyExA(HKEY_CURRENT_USER, (scratch + "\\missing").c_str(),
                                               0, KEY_READ, &made) == ERROR_SUCCESS;
             if (exists) RegCloseKey(made);
             return any || exists;
         },
         false},
        // "short" has no zero of its own and lands on the bytes of the longer text before it.
        {"strings: stored with their zero, read back whole past 512 bytes, and no other type",
         [] {
             rawSet("600", REG_SZ, std::string(600, 'x') + '\0');
             rawSet("short", REG_SZ, "ab");
             rawSet("b", REG_BINARY, "1");
             TscratchKey key(hkcu, scratch, 0);
             std::vector<unsigned char> bytes;
             DWORD type = 0;
             EXPECT_TRUE(key.setString("s", "text") && getProgramValue("s", bytes, &type) &&
                         type == REG_SZ);
             EXPECT_EQ("text"s + '\0', std::string(bytes.begin(), bytes.end()));
             EXPECT_EQ(std::string(600, 'x'), text(key.getString("600")));
             EXPECT_EQ("ab", text(key.getString("short")));
             return key.getString("missing") || key.getString("b");
         },
         false},
        // "odd" is five bytes without a zero: the half character goes, the text still ends.
        {"wide strings: every character, expandable ones as stored, past 512 bytes, no other type",
         [] {
             const std::wstring key = wideOf(programKey), polish = L"\u0141ukasz %x%";
             const std::wstring big(600, L'\u65e5');
             SHSetValueW(HKEY_CURRENT_USER, key.c_str(), L"big", REG_SZ, big.c_str(), 1202);
             SHSetValueW(HKEY_CURRENT_USER, key.c_str(), L"pl", REG_EXPAND_SZ, polish.c_str(), 22);
             SHSetValueW(HKEY_CURRENT_USER, key.c_str(), L"odd", REG_SZ, L"abc", 5);
             rawSet("b", REG_BINARY, "1");
             TscratchKey wrapper(hkcu, scratch, 1);
             auto read = [&](const char* name) -> std::wstring {
                 const wchar_t* text = wrapper.getWideString(name);
                 return text ? text : L"(null)";
             };
             EXPECT_EQ(big, read("big"));
             EXPECT_EQ(polish, read("pl"));
             EXPECT_EQ(L"ab", read("odd"));
             return wrapper.getWideString("missing") || wrapper.getWideString("b");
         },
         false},
        {"getBinary into too small a destination gives the size it needs; types are checked",
         [] {
             char bytes[8];
             DWORD size = 4, value = 0;
             rawSet("b", REG_BINARY, "12345678");
             rawSet("four", REG_BINARY, "1234");
             rawSet("s", REG_SZ, "x");
             TscratchKey key(hkcu, scratch, 0);
             EXPECT_FALSE(key.getBinary("b", bytes, &size));
             EXPECT_EQ(8u, size);
             return key.getBinary("s", bytes, &size) || key.getDword("four", &value) ||
                    key.getDword("missing", &value);
         },
         false},
        {"a read-only key stores and deletes nothing",
         [] {
             rawSet("b", REG_BINARY, "1");
             TscratchKey key(hkcu, scratch, 1);
             const bool changed = key.setString("s", "text") || key.setDword("d", 0xFFFFFFFF) ||
                                  key.setBinary("b", "2", 1) || key.deleteValue("b");
             std::vector<unsigned char> bytes;
             EXPECT_TRUE(getProgramValue("b", bytes));
             EXPECT_EQ("1", std::string(bytes.begin(), bytes.end()));
             return changed || getProgramValue("s", bytes);
         },
         false},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clearScratch();
        EXPECT_EQ(c.result, c.action());
    }
    clearScratch();
}

// Gives the program's key, made if missing, the access rights an SDDL string describes.
bool secureProgramKey(const char* sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    HKEY key = nullptr;
    const bool done =
        ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor,
                                                             nullptr) &&
        RegCreateKeyExA(HKEY_CURRENT_USER, programKey, 0, nullptr, 0, WRITE_DAC, nullptr, &key,
                        nullptr) == ERROR_SUCCESS &&
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
    if (key) RegCloseKey(key);
    LocalFree(descriptor);
    return done;
}

// The program's key as an administrator may leave it: the user may read and write its values, but
// not change who may, nor delete it. The program must still keep its values there.
TEST(TregistryTest, AKeyTheUserMayOnlyReadAndWriteStillTakesTheProgramsValues) {
    clearScratch();
    // The owner may always give everyone every right again, and then delete the key.
    std::shared_ptr<void> restore(nullptr, [](void*) {
        secureProgramKey("D:NO_ACCESS_CONTROL");
        clearScratch();
    });
    ASSERT_TRUE(secureProgramKey("D:P(A;;KRKW;;;WD)"));
    HKEY probe = nullptr;
    ASSERT_EQ(ERROR_ACCESS_DENIED,
              RegOpenKeyExA(HKEY_CURRENT_USER, programKey, 0, KEY_ALL_ACCESS, &probe))
        << "the key's permissions are checked";
    TscratchKey key(hkcu, scratch, 0);
    EXPECT_TRUE(key.setBinary("State", "0123456789abcdef", 16));
    char bytes[16] = {};
    DWORD size = sizeof bytes;
    EXPECT_TRUE(key.getBinary("State", bytes, &size));
    EXPECT_EQ("0123456789abcdef", std::string(bytes, size));
}

}  // namespace
