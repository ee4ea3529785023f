// The words that come back: the return queue's waits and order, its limit and stored bytes, and
// the start's choice of the word left unrevealed, at the edges the program's runs
// (tests/mainwindow/practice_tests.cpp) cannot reach cheaply.
#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "vocab/practiceword.h"
#include "vocab/rotation.h"

namespace {

using Tbytes = std::vector<unsigned char>;
using Tpairs = std::vector<TreturnPair>;

Tbytes pairBytes(const std::vector<std::pair<uint32_t, uint32_t>>& pairs) {
    Tbytes bytes;
    for (const auto& pair : pairs)
        for (uint32_t field : {pair.first, pair.second})
            for (int shift = 0; shift < 32; shift += 8) bytes.push_back((field >> shift) & 0xFF);
    return bytes;
}

// Words counted one after another, "Again" pressed on the entry shown at some of them: which
// entry each word brought back (-1: none), and the queue at the end.
struct Tscript {
    const char* name;
    Tbytes stored;                   // the queue to begin with
    std::map<int, int32_t> againOn;  // word -> entry marked at that word
    std::vector<int32_t> returns;    // per word
    Tpairs left;
};

TEST(ReturnQueue, MarkedEntriesComeBackAsTheSixthWordFirstMarkedFirst) {
    const int32_t none = -1;
    // clang-format off
    const Tscript scripts[] = {
        {"one mark: five words between", {}, {{0, 7}},
         {none, none, none, none, none, 7, none}, {}},
        {"two marked on following words", {}, {{0, 7}, {1, 8}},
         {none, none, none, none, none, 7, 8, none}, {}},
        {"due together: the first marked first, the other one word later",
         pairBytes({{3, 1}, {4, 1}, {5, 2}}), {}, {3, 4, 5, none}, {}},
        {"marked again while waiting: the wait starts over, one pair", {}, {{0, 7}, {3, 7}},
         {none, none, none, none, none, none, none, none, 7, none}, {}},
        {"a return marked again comes back once more", {}, {{0, 7}, {6, 7}},
         {none, none, none, none, none, 7, none, none, none, none, none, 7}, {}},
        {"waits below the count stay at 0", pairBytes({{2, 0}, {9, 0}}), {{0, 4}},
         {2, 9, none}, {{4, 3}}},
    };
    // clang-format on
    for (const Tscript& s : scripts) {
        SCOPED_TRACE(s.name);
        TreturnQueue queue;
        ASSERT_TRUE(queue.fromBytes(s.stored.data(), s.stored.size(), 10));
        std::vector<int32_t> returns;
        for (size_t word = 0; word < s.returns.size(); ++word) {
            // The press at word w marks the entry shown and brings word w + 1.
            auto again = s.againOn.find(static_cast<int>(word));
            int32_t marked = -1;
            if (again != s.againOn.end()) {
                marked = again->second;
                EXPECT_NE(TmarkResult::full, queue.mark(marked));
            }
            returns.push_back(queue.countWord(marked));
        }
        EXPECT_EQ(s.returns, returns);
        EXPECT_EQ(s.left, queue.waiting());
    }
}

TEST(ReturnQueue, HoldsFiftyAndRefusesTheFiftyFirstButStillRenews) {
    TreturnQueue queue;
    for (int32_t entry = 0; entry < TreturnQueue::capacity; ++entry)
        ASSERT_EQ(TmarkResult::added, queue.mark(entry));
    queue.countWord();
    const Tbytes full = queue.toBytes();
    EXPECT_EQ(50u * 8, full.size());
    EXPECT_EQ(TmarkResult::full, queue.mark(50));
    EXPECT_EQ(full, queue.toBytes()) << "a refused mark changes nothing";
    EXPECT_EQ(TmarkResult::renewed, queue.mark(20));
    EXPECT_EQ(50u, queue.waiting().size());
    EXPECT_EQ((TreturnPair{20, 5}), queue.waiting()[20]);
}

TEST(ReturnQueue, ADamagedValueOrOneNamingEntriesOutsideTheListIsDroppedWhole) {
    Tbytes fifty, fiftyOne;
    for (uint32_t entry = 0; entry < 51; ++entry) {
        const Tbytes pair = pairBytes({{entry, 5}});
        if (entry < 50) fifty.insert(fifty.end(), pair.begin(), pair.end());
        fiftyOne.insert(fiftyOne.end(), pair.begin(), pair.end());
    }
    const struct {
        const char* name;
        Tbytes bytes;
        bool kept;
    } cases[] = {
        {"empty", {}, true},
        {"waits 0 and 5, entries above 255, the last entry", pairBytes({{0x0F01, 0}, {0xFFF, 5}}),
         true},
        {"fifty pairs", fifty, true},
        {"fifty-one pairs", fiftyOne, false},
        {"half a pair more", Tbytes{7, 0, 0, 0, 5, 0, 0, 0, 1, 0, 0, 0}, false},
        {"one byte short", Tbytes{7, 0, 0, 0, 5, 0, 0}, false},
        {"a wait of 6", pairBytes({{1, 5}, {2, 6}}), false},
        {"a wait below 0", pairBytes({{1, 0xFFFFFFFF}}), false},
        {"an entry past the list", pairBytes({{1, 5}, {0x1000, 5}}), false},
        {"an entry below 0", pairBytes({{0xFFFFFFFF, 5}}), false},
        {"an entry twice", pairBytes({{4, 5}, {4, 3}}), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TreturnQueue queue;
        queue.mark(42);
        // Exactly sized, so the sanitizer sees any read past the value.
        std::vector<unsigned char> copy(c.bytes);
        EXPECT_EQ(c.kept, queue.fromBytes(copy.data(), copy.size(), 0x1000));
        EXPECT_EQ(c.kept ? c.bytes : Tbytes{}, queue.toBytes());
    }
}

// ---- The start's word ----

// A list of count entries named "word<n>" and what the registry holds, in memory.
class TmemorySupply : public TwordSupply {
public:
    explicit TmemorySupply(int32_t entries) : rotation(drawPass(entries, 3, 5)) {}

    bool prepareIndex(int32_t& entries) override {
        entries = rotation.count;
        return true;
    }
    bool rotationEntry(TwordDef& entry, int32_t& number) override {
        number = rotation.current;
        advanceRotation(rotation);
        return numberedEntry(number, entry);
    }
    bool numberedEntry(int32_t number, TwordDef& entry) override {
        if (number < 0 || number >= rotation.count) return false;
        entry.word = "word" + std::to_string(number);
        return true;
    }
    bool readQueue(Tbytes& bytes) override {
        bytes = queue;
        return true;
    }
    bool storeQueue(const Tbytes& bytes) override {
        queue = bytes;
        return true;
    }
    int32_t takeUnrevealed() override { return std::exchange(unrevealed, -1); }

    TrotationState rotation;
    Tbytes queue;
    int32_t unrevealed = -1;
};

// A start shows the word left unrevealed instead of the next one, without counting it: the
// waits and the rotation are as they were. One outside the list is not shown. (A list since
// changed forgets it: wordstore_test.)
TEST(PracticeWords, AStartShowsTheUnrevealedWordUncountedWhenInTheList) {
    const struct {
        int32_t unrevealed;
        bool shown;
    } cases[] = {{6, true}, {0, true}, {19, true}, {20, false}, {-1, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.unrevealed);
        TmemorySupply supply(20);
        supply.unrevealed = c.unrevealed;
        supply.queue = pairBytes({{2, 3}});
        const TrotationState before = supply.rotation;
        TwordDef entry;
        int32_t number = -1;
        ASSERT_TRUE(practiceStartWord(supply, entry, number));
        EXPECT_EQ(c.shown ? c.unrevealed : before.current, number);
        EXPECT_EQ("word" + std::to_string(number), entry.word);
        EXPECT_EQ(c.shown, supply.rotation.current == before.current);
        EXPECT_EQ(pairBytes({{2, c.shown ? 3u : 2u}}), supply.queue);
        EXPECT_EQ(-1, supply.takeUnrevealed());
    }
}

}  // namespace
