// Practice's next word from the stored rotation and return queue; see practiceword.h.
#include "vocab/practiceword.h"

namespace {

// The stored queue as far as it is usable: a damaged value, or one naming entries the list does
// not have, is dropped whole and written afresh at the next change.
TreturnQueue storedQueue(TwordSupply& supply, int32_t count) {
    TreturnQueue queue;
    std::vector<unsigned char> bytes;
    if (supply.readQueue(bytes)) queue.fromBytes(bytes.data(), bytes.size(), count);
    return queue;
}

// One counted word on an index of count entries, marking the entry "Again" was pressed on first
// (none: -1). The queue is stored before the entry is read, so that an index built anew while
// reading it (the list changed) empties the queue for good rather than having the old one
// written back.
TagainResult countedWord(TwordSupply& supply, int32_t count, int32_t marked, TwordDef& entry,
                         int32_t& number) {
    TreturnQueue queue = storedQueue(supply, count);
    const std::vector<unsigned char> before = queue.toBytes();
    if (marked >= 0 && queue.mark(marked) == TmarkResult::full) return TagainResult::full;
    const int32_t due = queue.countWord(marked);
    const std::vector<unsigned char> after = queue.toBytes();
    if (after != before && !supply.storeQueue(after)) return TagainResult::failed;
    // A return whose entry cannot be read after all gives way to the rotation's next entry.
    if (due >= 0 && supply.numberedEntry(due, entry)) {
        number = due;
        return TagainResult::moved;
    }
    return supply.rotationEntry(entry, number) ? TagainResult::moved : TagainResult::failed;
}

}  // namespace

bool practiceStartWord(TwordSupply& supply, TwordDef& entry, int32_t& number) {
    int32_t count = 0;
    if (!supply.prepareIndex(count)) return false;
    const int32_t unrevealed = supply.takeUnrevealed();
    if (unrevealed >= 0 && unrevealed < count && supply.numberedEntry(unrevealed, entry)) {
        number = unrevealed;
        return true;
    }
    return countedWord(supply, count, -1, entry, number) == TagainResult::moved;
}

bool practiceNextWord(TwordSupply& supply, TwordDef& entry, int32_t& number) {
    return practiceAgain(supply, -1, entry, number) == TagainResult::moved;
}

TagainResult practiceAgain(TwordSupply& supply, int32_t current, TwordDef& entry, int32_t& number) {
    int32_t count = 0;
    if (!supply.prepareIndex(count)) return TagainResult::failed;
    return countedWord(supply, count, current, entry, number);
}
