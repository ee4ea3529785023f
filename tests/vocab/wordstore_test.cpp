// The vocabulary store end to end against the Wine registry and real files: loadNextWord over a
// scratch word list, with the program key cleared before and after each test. Every "run" of
// the program is just another load, since nothing is carried in memory between loads.
#include <aclapi.h>
#include <gtest/gtest.h>

#include "support/lexoria_driver.h"
#include "vocab/rotation.h"
#include "vocab/wordstore.h"

using namespace lexoria_test;

namespace {

std::vector<std::string> warnings;
void recordWarning(const char* text) { warnings.push_back(text); }

struct Fields {
    int32_t count, current, start, step;
    bool operator==(const Fields& o) const {
        return count == o.count && current == o.current && start == o.start && step == o.step;
    }
};
std::ostream& operator<<(std::ostream& out, const Fields& f) {
    return out << "(" << f.count << ", " << f.current << ", " << f.start << ", " << f.step << ")";
}

std::string listOf(int count) {
    std::string bytes;
    for (int i = 0; i < count; ++i)
        bytes += "word=w" + std::to_string(i) + "\r\ndef=d" + std::to_string(i) + "\r\n";
    return bytes;
}

Fields storedState() {
    std::vector<unsigned char> bytes;
    if (!getProgramValue(stateValue, bytes) || bytes.size() != RotationState::recordSize)
        return {-99, -99, -99, -99};
    RotationState state;
    state.fromBytes(bytes.data());
    return {state.count, state.current, state.start, state.step};
}

void storeState(const Fields& f) {
    RotationState state;
    state.count = f.count, state.current = f.current, state.start = f.start, state.step = f.step;
    unsigned char bytes[RotationState::recordSize];
    state.toBytes(bytes);
    ASSERT_TRUE(setProgramValue(stateValue, REG_BINARY, bytes, sizeof bytes));
}

std::vector<unsigned char> stored(const char* name) {
    std::vector<unsigned char> bytes;
    if (!getProgramValue(name, bytes)) bytes.assign(1, 0xBD);
    return bytes;
}

// Moves the file's last-write time on by a second without touching its bytes.
void touch(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES | GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    FILETIME time;
    GetFileTime(file, nullptr, nullptr, &time);
    uint64_t t = (uint64_t(time.dwHighDateTime) << 32 | time.dwLowDateTime) + 10000000;
    time = {static_cast<DWORD>(t), static_cast<DWORD>(t >> 32)};
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &time));
    CloseHandle(file);
}

// Denies or allows storing values in the program key, as a locked-down account would see it.
void denyStoring(bool deny) {
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, programKey, 0, WRITE_DAC, &key));
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    EXPLICIT_ACCESSA rules[2] = {};
    rules[0].grfAccessPermissions = KEY_SET_VALUE;
    rules[0].grfAccessMode = DENY_ACCESS;
    rules[1].grfAccessPermissions = KEY_ALL_ACCESS;
    rules[1].grfAccessMode = GRANT_ACCESS;
    for (EXPLICIT_ACCESSA& rule : rules) {
        rule.Trustee.TrusteeForm = TRUSTEE_IS_SID;
        rule.Trustee.ptstrName = static_cast<char*>(everyone);
    }
    PACL acl = nullptr;
    SetEntriesInAclA(deny ? 2 : 1, deny ? rules : rules + 1, nullptr, &acl);
    EXPECT_EQ(ERROR_SUCCESS, SetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION,
                                             nullptr, nullptr, acl, nullptr));
    LocalFree(acl);
    FreeSid(everyone);
    RegCloseKey(key);
}

class StoreTest : public testing::Test {
protected:
    void SetUp() override {
        deleteProgramKey();
        warnings.clear();
        setOverLongListWarning(&recordWarning);
    }
    void TearDown() override {
        deleteProgramKey();
        setOverLongListWarning(nullptr);
    }
    // The word shown, or "(failed)".
    std::string load() {
        TwordDef entry;
        return loadNextWord(list, entry) ? entry.word : "(failed)";
    }
    ScratchFolder folder;
    const std::string list = folder.file("lexoria.lst");
};

TEST_F(StoreTest, EveryLoadGoesOnFromTheStateStoredByTheLastOne) {
    ASSERT_TRUE(writeFile(list, listOf(5)));
    std::string first = load();
    Fields pass = storedState();
    EXPECT_EQ("w" + std::to_string(pass.start), first);
    EXPECT_EQ((pass.start + pass.step) % 5, pass.current);

    storeState({5, 3, 3, 2});
    const struct {
        const char* shown;
        Fields after;
    } loads[] = {{"w3", {5, 0, 3, 2}}, {"w0", {5, 2, 3, 2}}, {"w2", {5, 4, 3, 2}},
                 {"w4", {5, 1, 3, 2}}};
    for (const auto& l : loads) {
        EXPECT_EQ(l.shown, load());
        EXPECT_EQ(l.after, storedState());
    }
    EXPECT_EQ("w1", load());
    Fields next = storedState();
    EXPECT_EQ(5, next.count);
    EXPECT_EQ(next.start, next.current) << "the load that ends a pass draws the next one";
    EXPECT_TRUE(warnings.empty());
}

TEST_F(StoreTest, ATouchedFileRebuildsTheIndexAndStartsANewPass) {
    ASSERT_TRUE(writeFile(list, listOf(5)));
    load();
    storeState({5, 4, 3, 2});
    EXPECT_EQ("w4", load()) << "an unchanged file keeps its pass";
    storeState({5, 4, 3, 2});
    std::vector<unsigned char> time = stored(modificationTimeValue);
    touch(list);
    EXPECT_FALSE(isIndexCurrent(list));
    std::string shown = load();
    Fields pass = storedState();
    EXPECT_EQ("w" + std::to_string(pass.start), shown);
    EXPECT_EQ((pass.start + pass.step) % 5, pass.current);
    EXPECT_NE(time, stored(modificationTimeValue));
    EXPECT_TRUE(isIndexCurrent(list));
}

TEST_F(StoreTest, AnUnreadableStateFailsEveryLoadUntilTheFileChanges) {
    const struct {
        const char* name;
        DWORD type;
        size_t size;  // 0: the value is deleted
    } cases[] = {{"deleted", REG_BINARY, 0},
                 {"12 bytes", REG_BINARY, 12},
                 {"20 bytes", REG_BINARY, 20},
                 {"a string", REG_SZ, 16}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        ASSERT_TRUE(writeFile(list, listOf(5)));
        load();
        const std::vector<unsigned char> zeros(c.size, 0);
        ASSERT_TRUE(c.size ? setProgramValue(stateValue, c.type, zeros.data(), zeros.size())
                           : deleteProgramValue(stateValue));
        const std::vector<unsigned char> time = stored(modificationTimeValue);
        EXPECT_EQ("(failed)", load());
        EXPECT_EQ("(failed)", load());
        EXPECT_EQ(time, stored(modificationTimeValue)) << "no rebuild under a current index";
        touch(list);
        EXPECT_NE("(failed)", load());
    }
}

TEST_F(StoreTest, StateFieldsOrOffsetsTheProgramNeverWritesAreRebuilt) {
    const struct {
        Fields state;
        size_t offsetsSize;  // 0: leave "Offsets" as built
    } cases[] = {
        {{4001, 0, 0, 1}, 0}, {{-1, 0, 0, 1}, 0},         {{5, 5, 0, 1}, 0},
        {{5, -1, 0, 1}, 0},   {{5, 0, 7, 1}, 0},          {{5, 0, -7, 1}, 0},
        {{5, 0, 0, 0}, 0},    {{5, 0, 0, -2}, 0},         {{5, 0, 0, 6}, 0},
        {{4000, 3999, 0, 1}, 0}, {{0x7FFFFFFF, 0, 0, 1}, 0}, {{5, 1, 0, 1}, 16},
        {{5, 1, 0, 1}, 24},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.state << " offsets " << c.offsetsSize);
        SetUp();
        ASSERT_TRUE(writeFile(list, listOf(5)));
        load();
        storeState(c.state);
        if (c.offsetsSize) {
            std::vector<unsigned char> offsets(c.offsetsSize, 0);
            ASSERT_TRUE(setProgramValue(offsetsValue, REG_BINARY, offsets.data(), c.offsetsSize));
        }
        std::string shown = load();
        Fields pass = storedState();
        EXPECT_EQ(5, pass.count);
        EXPECT_EQ("w" + std::to_string(pass.start), shown);
        EXPECT_EQ((pass.start + pass.step) % 5, pass.current);
        EXPECT_EQ(20u, stored(offsetsValue).size());
    }
}

TEST_F(StoreTest, AFailedStoreLeavesThePositionWhereItWas) {
    const struct {
        Fields state;
        const char* shownAfter;
    } cases[] = {{{5, 3, 3, 2}, "w3"}, {{5, 1, 3, 2}, "w1"}};  // mid-pass, and its last entry
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.state);
        SetUp();
        ASSERT_TRUE(writeFile(list, listOf(5)));
        load();
        storeState(c.state);
        denyStoring(true);
        EXPECT_EQ("(failed)", load());
        EXPECT_EQ(c.state, storedState());
        denyStoring(false);
        EXPECT_EQ(c.shownAfter, load());
    }
}

TEST_F(StoreTest, AListOver4000EntriesWarnsOncePerBuild) {
    const std::string warning =
        "Lexoria does not currently support more than 4000 words.\n"
        "If this is unacceptable, please write to technical support.";
    for (int count : {4000, 4001}) {
        SCOPED_TRACE(count);
        SetUp();
        ASSERT_TRUE(writeFile(list, listOf(count)));
        load();
        load();
        EXPECT_EQ(16000u, stored(offsetsValue).size());
        storeState({4000, 3999, 5, 1});
        EXPECT_EQ("w3999", load());
        EXPECT_EQ("w0", load());
        touch(list);
        load();
        EXPECT_EQ(std::vector<std::string>(count > 4000 ? 2 : 0, warning), warnings);
    }
}

TEST_F(StoreTest, EdgeFilesThroughTheStore) {
    // A list without entries builds an empty index; every load then fails.
    ASSERT_TRUE(writeFile(list, "no entries\r\n"));
    EXPECT_EQ("(failed)", load());
    EXPECT_EQ("(failed)", load());
    EXPECT_TRUE(stored(offsetsValue).empty());
    EXPECT_EQ((Fields{0, 0, 0, 1}), storedState());

    // Binary mode: CR LF stays as it is and 0x1A is an ordinary byte.
    SetUp();
    ASSERT_TRUE(writeFile(list, "word=a\x1a\r\ndef=x\r\n\r\nword=b\r\n"));
    ASSERT_TRUE(buildIndex(list));
    EXPECT_EQ((std::vector<unsigned char>{0, 0, 0, 0, 18, 0, 0, 0}), stored(offsetsValue));
    TwordDef entry;
    ASSERT_TRUE(readEntry(list, 0, entry));
    EXPECT_EQ("a\x1a", entry.word);
    EXPECT_EQ("x\r\n", entry.definition);

    // A missing file fails the load and stores nothing.
    SetUp();
    DeleteFileA(list.c_str());
    EXPECT_EQ("(failed)", load());
    EXPECT_FALSE(isIndexCurrent(list));
    EXPECT_EQ(std::vector<unsigned char>{0xBD}, stored(offsetsValue));
}

}  // namespace
