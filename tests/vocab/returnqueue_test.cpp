// The words that come back: the return queue's waits and order, its limit and stored bytes, and
// practice's word choice over a stored rotation and queue kept in memory, across passes,
// damaged values and a list that changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

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

// After "Again" on entry 7 the value holds entry 7 and five words to wait.
TEST(ReturnQueue, StoresPairsOfLittleEndianEntryAndWait) {
    TreturnQueue queue;
    queue.mark(7);
    queue.countWord(7);
    EXPECT_EQ((Tbytes{7, 0, 0, 0, 5, 0, 0, 0}), queue.toBytes());
    queue.mark(0x0F01);
    EXPECT_EQ((Tbytes{7, 0, 0, 0, 5, 0, 0, 0, 1, 0x0F, 0, 0, 5, 0, 0, 0}), queue.toBytes());
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
        {"waits 0 and 5, the last entry", pairBytes({{0, 0}, {99, 5}}), true},
        {"fifty pairs", fifty, true},
        {"fifty-one pairs", fiftyOne, false},
        {"half a pair more", Tbytes{7, 0, 0, 0, 5, 0, 0, 0, 1, 0, 0, 0}, false},
        {"one byte short", Tbytes{7, 0, 0, 0, 5, 0, 0}, false},
        {"a wait of 6", pairBytes({{1, 5}, {2, 6}}), false},
        {"a wait below 0", pairBytes({{1, 0xFFFFFFFF}}), false},
        {"an entry past the list", pairBytes({{1, 5}, {100, 5}}), false},
        {"an entry below 0", pairBytes({{0xFFFFFFFF, 5}}), false},
        {"an entry twice", pairBytes({{4, 5}, {4, 3}}), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TreturnQueue queue;
        queue.mark(42);
        // Exactly sized, so the sanitizer sees any read past the value.
        std::vector<unsigned char> copy(c.bytes);
        EXPECT_EQ(c.kept, queue.fromBytes(copy.data(), copy.size(), 100));
        EXPECT_EQ(c.kept ? c.bytes : Tbytes{}, queue.toBytes());
    }
}

// ---- Practice's words over a stored rotation and queue ----

// What the registry and the list hold, in memory: count entries named "word<n>", the rotation
// drawn from a fixed sequence, the "Again" value and the word left unrevealed. Building the index
// anew (the list changed) empties the queue and forgets that word, as the store does.
class TmemorySupply : public TwordSupply {
public:
    explicit TmemorySupply(int32_t entries) { build(entries); }

    bool prepareIndex(int32_t& entries) override {
        if (changedCount) build(changedCount);
        changedCount = 0;
        entries = rotation.count;
        return true;
    }
    bool rotationEntry(TwordDef& entry, int32_t& number) override {
        if (staleOnRead) build(rotation.count);
        staleOnRead = false;
        number = rotation.current;
        entry.word = "word" + std::to_string(number);
        if (advanceRotation(rotation)) newPass();
        return true;
    }
    bool numberedEntry(int32_t number, TwordDef& entry) override {
        if (number < 0 || number >= rotation.count) return false;
        entry.word = "word" + std::to_string(number);
        ++numberedReads;
        return true;
    }
    bool readQueue(Tbytes& bytes) override {
        bytes = queue;
        return hasQueue;
    }
    bool storeQueue(const Tbytes& bytes) override {
        queue = bytes;
        hasQueue = true;
        ++queueWrites;
        return true;
    }
    int32_t takeUnrevealed() override {
        const int32_t number = unrevealed;
        unrevealed = -1;
        return number;
    }

    void build(int32_t entries) {
        rotation.count = entries;
        newPass();
        queue.clear();
        hasQueue = false;
        unrevealed = -1;
    }
    void newPass() { rotation = drawPass(rotation.count, draws[passes++ % 3], 5); }

    TrotationState rotation;
    Tbytes queue;
    bool hasQueue = false;
    int32_t unrevealed = -1;
    int32_t changedCount = 0;  // the list changes to this many entries before the next word
    bool staleOnRead = false;  // the stored index turns out unusable while a rotation entry is read
    int queueWrites = 0, numberedReads = 0;

private:
    const uint32_t draws[3] = {3, 11, 6};
    int passes = 0;
};

int32_t numberOf(const TwordDef& entry) { return std::stoi(entry.word.substr(4)); }

// Shows words and presses "Again" where asked; the entries shown, the first one included.
std::vector<int32_t> practise(TmemorySupply& supply, int words, const std::vector<int>& againAt) {
    TwordDef entry;
    int32_t number = -1;
    std::vector<int32_t> shown;
    EXPECT_TRUE(practiceStartWord(supply, entry, number));
    shown.push_back(number);
    for (int word = 1; word < words; ++word) {
        const bool again = std::count(againAt.begin(), againAt.end(), word - 1) > 0;
        if (again) EXPECT_EQ(TagainResult::moved, practiceAgain(supply, number, entry, number));
        else EXPECT_TRUE(practiceNextWord(supply, entry, number));
        EXPECT_EQ(number, numberOf(entry));
        shown.push_back(number);
    }
    return shown;
}

// Seven entries, so passes end among the waits: every mark comes back as the sixth word after
// it, and with the returns taken out the words are the rotation's passes, whole and in order.
TEST(PracticeWords, ReturnsComeBackAcrossNewPassesWhichStayWholeAndInOrder) {
    const std::vector<int> againAt = {4, 5, 12, 20};
    TmemorySupply supply(7);
    std::vector<int32_t> rotationOrder;
    {
        TmemorySupply plain(7);
        rotationOrder = practise(plain, 30, {});
    }
    const std::vector<int32_t> shown = practise(supply, 30, againAt);
    std::vector<int32_t> withoutReturns;
    for (int word = 0; word < 30; ++word) {
        const bool isReturn = std::count(againAt.begin(), againAt.end(), word - 6) > 0;
        if (isReturn) EXPECT_EQ(shown[word - 6], shown[word]) << "word " << word;
        else withoutReturns.push_back(shown[word]);
    }
    rotationOrder.resize(withoutReturns.size());
    EXPECT_EQ(rotationOrder, withoutReturns);
    for (size_t pass = 0; pass + 7 <= withoutReturns.size(); pass += 7) {
        std::vector<int32_t> entries(withoutReturns.begin() + pass,
                                     withoutReturns.begin() + pass + 7);
        std::sort(entries.begin(), entries.end());
        EXPECT_EQ((std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6}), entries) << "pass from " << pass;
    }
}

// A list that changed empties the queue whether the change is found before the word (the stored
// time differs) or while the rotation's entry is read (the stored index is unusable); the queue
// read before must not be written back.
TEST(PracticeWords, AListBuiltAnewForgetsTheQueue) {
    struct Tcase {
        const char* name;
        int32_t changedCount;
        bool staleOnRead;
    } cases[] = {{"the list changed", 9, false}, {"the stored index unusable", 0, true}};
    for (const Tcase& c : cases) {
        SCOPED_TRACE(c.name);
        TmemorySupply supply(20);
        practise(supply, 3, {1});
        ASSERT_FALSE(supply.queue.empty());
        supply.changedCount = c.changedCount;
        supply.staleOnRead = c.staleOnRead;
        TwordDef entry;
        int32_t number = -1;
        ASSERT_TRUE(practiceNextWord(supply, entry, number));
        for (int word = 0; word < 8; ++word) {
            ASSERT_TRUE(practiceNextWord(supply, entry, number));
            EXPECT_EQ(0, supply.numberedReads) << "a return came back at word " << word;
        }
        EXPECT_TRUE(supply.queue.empty());
    }
}

// A damaged value is dropped without being written until the queue changes; the rotation goes
// on meanwhile. Then it is written afresh.
TEST(PracticeWords, ADamagedQueueIsWrittenAfreshAtTheNextChangeOnly) {
    const Tbytes damaged[] = {Tbytes{7, 0, 0}, pairBytes({{3, 9}}), pairBytes({{30, 2}})};
    for (const Tbytes& bytes : damaged) {
        SCOPED_TRACE(testing::PrintToString(bytes));
        TmemorySupply supply(20);
        supply.storeQueue(bytes);
        supply.queueWrites = 0;
        TmemorySupply plain(20);
        EXPECT_EQ(practise(plain, 4, {}), practise(supply, 4, {}));
        EXPECT_EQ(0, supply.queueWrites);
        EXPECT_EQ(bytes, supply.queue);
        practise(supply, 2, {0});
        EXPECT_EQ(8u, supply.queue.size());
        EXPECT_EQ(5, supply.queue[4]);
    }
}

// A start shows the word left unrevealed instead of the next one, without counting it: the
// waits and the rotation are as they were. One outside the list, or of a list since changed, is
// not shown.
TEST(PracticeWords, AStartShowsTheUnrevealedWordUncounted) {
    const struct {
        int32_t unrevealed;
        bool listChanged, shown;
    } cases[] = {{6, false, true},
                 {0, false, true},
                 {20, false, false},
                 {-1, false, false},
                 {6, true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.unrevealed << (c.listChanged ? " changed" : ""));
        TmemorySupply supply(20);
        supply.unrevealed = c.unrevealed;
        if (c.listChanged) supply.changedCount = 20;
        supply.storeQueue(pairBytes({{2, 3}}));
        const TrotationState before = supply.rotation;
        TwordDef entry;
        int32_t number = -1;
        ASSERT_TRUE(practiceStartWord(supply, entry, number));
        EXPECT_EQ(c.shown, number == c.unrevealed);
        if (c.listChanged) continue;  // a new pass, and no queue
        EXPECT_EQ(c.shown, supply.rotation.current == before.current);
        EXPECT_EQ(c.shown ? c.unrevealed : before.current, number);
        EXPECT_EQ(pairBytes({{2, c.shown ? 3u : 2u}}), supply.queue);
        EXPECT_EQ(-1, supply.takeUnrevealed());
    }
}

// "Again" with fifty waiting changes neither the queue nor the word.
TEST(PracticeWords, AgainOnAFullQueueChangesNothing) {
    TmemorySupply supply(100);
    Tbytes full;
    for (uint32_t entry = 50; entry < 100; ++entry) {
        const Tbytes pair = pairBytes({{entry, 5}});
        full.insert(full.end(), pair.begin(), pair.end());
    }
    supply.storeQueue(full);
    const TrotationState before = supply.rotation;
    TwordDef entry;
    entry.word = "word3";
    int32_t number = 3;
    EXPECT_EQ(TagainResult::full, practiceAgain(supply, 3, entry, number));
    EXPECT_EQ(3, number);
    EXPECT_EQ("word3", entry.word);
    EXPECT_EQ(full, supply.queue);
    EXPECT_EQ(before.current, supply.rotation.current);
    EXPECT_EQ(TagainResult::moved, practiceAgain(supply, 60, entry, number)) << "renewing fits";
}

}  // namespace
