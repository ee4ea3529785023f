// Which word practice shows next: the rotation's, with the entries marked "Again" mixed in as
// they come due, and at a start the word left unrevealed at the last exit. What is stored (the
// offset index, the rotation, the return queue) is reached through TwordSupply: the registry on
// Windows (wordstore.h), memory in the host tests. No platform headers.
#pragma once

#include <cstdint>
#include <vector>

#include "vocab/returnqueue.h"
#include "vocab/wordlist.h"

class TwordSupply {
public:
    virtual ~TwordSupply() = default;
    // Makes the offset index fit the list and gives its entry count. Building it anew empties the
    // stored queue and forgets an unrevealed word: their numbers belonged to the old list.
    virtual bool prepareIndex(int32_t& count) = 0;
    // The entry at the rotation's position, the rotation moved on; number is its place in the
    // index. May build the index anew as prepareIndex does.
    virtual bool rotationEntry(TwordDef& entry, int32_t& number) = 0;
    // The entry at that place of the index; the rotation stays where it is.
    virtual bool numberedEntry(int32_t number, TwordDef& entry) = 0;
    // The stored queue's bytes; false when there is no usable value (missing, of another type, too
    // long).
    virtual bool readQueue(std::vector<unsigned char>& bytes) = 0;
    virtual bool storeQueue(const std::vector<unsigned char>& bytes) = 0;
    // The number of the word left unrevealed at the last exit, which is then forgotten; -1 when
    // there is none.
    virtual int32_t takeUnrevealed() = 0;
};

// A start: the word left unrevealed, uncounted and in place of the next entry; else a counted word.
bool practiceStartWord(TwordSupply& supply, TwordDef& entry, int32_t& number);
// "Next Word": one counted word, a due return or else the rotation's next entry.
bool practiceNextWord(TwordSupply& supply, TwordDef& entry, int32_t& number);

// "Again": marks the current entry to come back and moves on as "Next Word" does. A full queue
// changes nothing, neither the queue nor the word shown.
enum class TagainResult { moved, full, failed };
TagainResult practiceAgain(TwordSupply& supply, int32_t current, TwordDef& entry, int32_t& number);
