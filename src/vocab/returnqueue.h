// The words that come back: entries the learner marked "Again", each waiting a few counted words
// before it is shown once more, beside the rotation and without moving it. Kept as the "Again"
// value: pairs of 32-bit little-endian integers (the entry's number in the offset index, the
// words still to wait), in the order they were marked. No platform headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct TreturnPair {
    int32_t entry = 0;
    int32_t wait = 0;
    bool operator==(const TreturnPair& other) const {
        return entry == other.entry && wait == other.wait;
    }
};

enum class TmarkResult { added, renewed, full };

class TreturnQueue {
public:
    // At most this many entries wait at once.
    static const int capacity = 50;
    // A marked entry comes back as the sixth word after it: five other words come between.
    static const int32_t markedWait = 5;
    static const unsigned pairSize = 8;

    // Queues the entry with the full wait; an entry already waiting gets its wait back instead,
    // keeping its place. A full queue takes nothing and says so.
    TmarkResult mark(int32_t entry);

    // One counted word: every wait but the spared entry's drops by one (never below 0), then the
    // first entry in marking order whose wait is 0 leaves the queue and is the word shown. -1
    // when none is due; another due with it stays at 0 and comes with the next word. A word that
    // "Again" brings spares the entry just marked, which so keeps its whole wait.
    int32_t countWord(int32_t spared = -1);

    // Takes the stored bytes. A value that is no whole number of pairs, holds more than
    // capacity of them, a wait outside 0 to markedWait, an entry outside 0 to entryCount - 1, or
    // an entry twice is damaged: the queue is then empty and the result false.
    bool fromBytes(const unsigned char* bytes, size_t size, int32_t entryCount);
    std::vector<unsigned char> toBytes() const;

    void clear() { pairs.clear(); }
    bool empty() const { return pairs.empty(); }
    const std::vector<TreturnPair>& waiting() const { return pairs; }

private:
    std::vector<TreturnPair> pairs;
};
