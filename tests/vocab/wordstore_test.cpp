// The vocabulary store against the Wine registry and real files, for what the program's own runs
// cannot show: a store the account may not write, the over-long list's warning, the list read in
// binary mode, and an index built anew forgetting practice's stored words. The program key is
// cleared before and after each case.
#include <gtest/gtest.h>
#include <windows.h>
// sddl.h needs windows.h before it.
#include <sddl.h>

#include <array>

#include "support/lexoria_driver.h"
#include "vocab/rotation.h"
#include "vocab/wordstore.h"
#include "win32/handleholder.h"

using namespace lexoriaTest;

namespace {

using Tfields = std::array<int32_t, 4>;  // count, current, start, step

std::vector<std::string> warnings;

// The value's bytes, or the single byte 0xBD when there is no such value.
std::vector<unsigned char> stored(const char* name) {
    std::vector<unsigned char> bytes;
    if (!getProgramValue(name, bytes)) bytes.assign(1, 0xBD);
    return bytes;
}

Tfields storedState() {
    const std::vector<unsigned char> bytes = stored(stateValue);
    TrotationState state{-99, -99, -99, -99};
    if (bytes.size() == TrotationState::recordSize) state.fromBytes(bytes.data());
    return {state.count, state.current, state.start, state.step};
}

void storeState(const Tfields& f) {
    unsigned char bytes[TrotationState::recordSize];
    TrotationState{f[0], f[1], f[2], f[3]}.toBytes(bytes);
    ASSERT_TRUE(setProgramValue(stateValue, REG_BINARY, bytes, sizeof bytes));
}

// Sets the file's last-write time to a day long past without touching its bytes.
void touch(const std::string& path) {
    ThandleHolder file(
        CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    const FILETIME past = {0, 0x01C00000};
    EXPECT_TRUE(SetFileTime(file.get(), nullptr, nullptr, &past));
}

// Denies storing values (the right 2, KEY_SET_VALUE) in the program key, as a locked-down
// account would see it, until the key is cleared.
void denyStoring() {
    PSECURITY_DESCRIPTOR denial = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(D;;0x2;;;WD)(A;;KA;;;WD)",
                                                                     SDDL_REVISION_1, &denial,
                                                                     nullptr));
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, programKey, 0, WRITE_DAC, &key) == ERROR_SUCCESS) {
        EXPECT_EQ(ERROR_SUCCESS, RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, denial));
        RegCloseKey(key);
    }
    LocalFree(denial);
}

// Reserves every free block of a megabyte or more of the address space until destruction, so
// that any larger allocation fails as it would in a 32-bit process that has run out.
struct TaddressSpaceHog {
    std::vector<void*> blocks;
    TaddressSpaceHog() {
        blocks.reserve(8192);
        for (SIZE_T size = SIZE_T(1) << 30; size >= (SIZE_T(1) << 20); size /= 2)
            while (void* block = VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS))
                blocks.push_back(block);
    }
    ~TaddressSpaceHog() {
        for (void* block : blocks) VirtualFree(block, 0, MEM_RELEASE);
    }
};

class TstoreTest : public TwithoutProgramKey<> {
protected:
    // The warning sink stays set: no load in this program may block on a message box.
    void SetUp() override {
        clear();
        setOverLongListWarning([](const char* text) { warnings.push_back(text); });
    }
    void clear() {
        deleteProgramKey();
        warnings.clear();
    }
    // A cleared key and a list of count entries, loaded once: the index is current.
    void startWith(int count) {
        clear();
        ASSERT_TRUE(writeFile(list, wordList(count)));
        load();
    }
    // The word shown, or "(failed)".
    std::string load() {
        TwordDef entry;
        return loadNextWord(wideOf(list), entry) ? entry.word : "(failed)";
    }
    TscratchFolder folder;
    const std::string list = folder.file("lexoria.lst");
};

TEST_F(TstoreTest, AFailedStoreLeavesThePositionWhereItWas) {
    for (const Tfields state : {Tfields{5, 3, 3, 2}, Tfields{5, 1, 3, 2}}) {  // mid-pass, its end
        SCOPED_TRACE(testing::PrintToString(state));
        startWith(5);
        storeState(state);
        denyStoring();
        EXPECT_EQ("(failed)", load());
        EXPECT_EQ(state, storedState());
    }
}

TEST_F(TstoreTest, AListOver4000EntriesWarnsOncePerBuild) {
    const std::string warning =
        "Lexoria does not currently support more than 4000 words.\n"
        "If this is unacceptable, please write to technical support.";
    for (int count : {4000, 4001}) {
        SCOPED_TRACE(count);
        startWith(count);
        load();
        EXPECT_EQ(16000u, stored(offsetsValue).size());
        storeState({4000, 3999, 5, 1});
        EXPECT_EQ("word3999", load());
        touch(list);
        load();
        EXPECT_EQ(std::vector<std::string>(count > 4000 ? 2 : 0, warning), warnings);
    }
}

TEST_F(TstoreTest, AnEntryTooBigForTheMemoryLeftFailsTheLoadAndThrowsNothing) {
    // Only a 32-bit process's address space can be filled up in a test's time.
    if (sizeof(void*) > 4) GTEST_SKIP() << "a 64-bit build of the test";
    ASSERT_TRUE(writeFile(list, "word=huge\r\ndef=" + std::string(8 << 20, 'x') + "\r\n"));
    {
        TaddressSpaceHog hog;
        EXPECT_EQ("(failed)", load());
    }
    EXPECT_EQ("huge", load());
}

// CR LF stays as it is and 0x1A is an ordinary byte.
TEST_F(TstoreTest, TheListIsReadInBinaryMode) {
    ASSERT_TRUE(writeFile(list, "word=a\x1a\r\ndef=x\r\n\r\nword=b\r\n"));
    ASSERT_TRUE(buildIndex(wideOf(list)));
    EXPECT_EQ((std::vector<unsigned char>{0, 0, 0, 0, 18, 0, 0, 0}), stored(offsetsValue));
    TwordDef entry;
    ASSERT_TRUE(readEntry(wideOf(list), 0, entry));
    EXPECT_EQ("a\x1a", entry.word);
    EXPECT_EQ("x\r\n", entry.definition);
}

// The first entry of a UTF-8 list lies just past the byte-order mark, and the stored index's
// check takes offset 3 as the start of a line: the load reads it without building again.
TEST_F(TstoreTest, AMarkedListIsIndexedPastItsMarkAndLoadsFromTheStoredIndex) {
    ASSERT_TRUE(writeFile(list, "\xEF\xBB\xBFword=\xC3\xA9t\xC3\xA9\r\nword=b\r\n"));
    ASSERT_TRUE(buildIndex(wideOf(list)));
    EXPECT_EQ((std::vector<unsigned char>{3, 0, 0, 0, 15, 0, 0, 0}), stored(offsetsValue));
    // The entries in the other order: a new index would put them back.
    const std::vector<unsigned char> swapped = {15, 0, 0, 0, 3, 0, 0, 0};
    ASSERT_TRUE(setProgramValue(offsetsValue, REG_BINARY, swapped.data(), 8));
    storeState({2, 1, 0, 1});
    TwordDef entry;
    ASSERT_TRUE(loadNextWord(wideOf(list), entry));
    EXPECT_EQ("\xC3\xA9t\xC3\xA9", entry.word);
    EXPECT_EQ(TtextEncoding::utf8, entry.encoding);
    EXPECT_EQ(swapped, stored(offsetsValue));
}

// The return queue and the word left unrevealed name entries of the list they were made for: an
// index built anew (the list saved again, or the stored index unusable) empties the one and
// forgets the other, whichever load builds it; an unchanged list keeps both.
TEST_F(TstoreTest, AnIndexBuiltAnewEmptiesTheQueueAndForgetsTheUnrevealedWord) {
    const std::vector<unsigned char> queue = {3, 0, 0, 0, 5, 0, 0, 0};
    const DWORD unrevealed = 4;
    const struct {
        const char* name;
        bool touched, practice, stateDamaged;
    } cases[] = {{"unchanged", false, false, false},
                 {"saved again, Next Word", true, false, false},
                 {"saved again, practice", true, true, false},
                 {"an unusable State, practice", false, true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        startWith(8);
        ASSERT_TRUE(setProgramValue(returnQueueValue, REG_BINARY, queue.data(), 8));
        ASSERT_TRUE(setProgramValue(unrevealedValue, REG_DWORD, &unrevealed, 4));
        if (c.touched) touch(list);
        if (c.stateDamaged) {
            ASSERT_TRUE(setProgramValue(stateValue, REG_BINARY, "abc", 3));
        }
        TwordDef entry;
        int32_t number = -1;
        if (c.practice) ASSERT_TRUE(loadPracticeNextWord(wideOf(list), entry, number));
        else ASSERT_TRUE(loadNextWord(wideOf(list), entry, number));
        const bool rebuilt = c.touched || c.stateDamaged;
        EXPECT_EQ(rebuilt ? std::vector<unsigned char>(1, 0xBD) : queue, stored(returnQueueValue));
        EXPECT_EQ(rebuilt ? 1u : 4u, stored(unrevealedValue).size());
    }
}

}  // namespace
