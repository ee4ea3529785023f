// The return queue's arithmetic and its byte layout; see returnqueue.h.
#include "vocab/returnqueue.h"

#include <algorithm>

#include "base/littleendian.h"

namespace {

bool validPair(const TreturnPair& pair, int32_t entryCount) {
    return pair.entry >= 0 && pair.entry < entryCount && pair.wait >= 0 &&
           pair.wait <= TreturnQueue::markedWait;
}

}  // namespace

TmarkResult TreturnQueue::mark(int32_t entry) {
    for (TreturnPair& pair : pairs) {
        if (pair.entry != entry) continue;
        pair.wait = markedWait;
        return TmarkResult::renewed;
    }
    if (pairs.size() >= static_cast<size_t>(capacity)) return TmarkResult::full;
    pairs.push_back(TreturnPair{entry, markedWait});
    return TmarkResult::added;
}

int32_t TreturnQueue::countWord(int32_t spared) {
    for (TreturnPair& pair : pairs)
        if (pair.wait > 0 && pair.entry != spared) --pair.wait;
    auto due = std::find_if(pairs.begin(), pairs.end(),
                            [](const TreturnPair& pair) { return pair.wait == 0; });
    if (due == pairs.end()) return -1;
    const int32_t entry = due->entry;
    pairs.erase(due);
    return entry;
}

bool TreturnQueue::fromBytes(const unsigned char* bytes, size_t size, int32_t entryCount) {
    pairs.clear();
    if (size % pairSize != 0 || size / pairSize > static_cast<size_t>(capacity)) return false;
    std::vector<TreturnPair> read;
    for (size_t at = 0; at < size; at += pairSize) {
        const TreturnPair pair{static_cast<int32_t>(getLittleEndian32(bytes + at)),
                               static_cast<int32_t>(getLittleEndian32(bytes + at + 4))};
        const bool twice = std::any_of(read.begin(), read.end(), [&](const TreturnPair& earlier) {
            return earlier.entry == pair.entry;
        });
        if (!validPair(pair, entryCount) || twice) return false;
        read.push_back(pair);
    }
    pairs = std::move(read);
    return true;
}

std::vector<unsigned char> TreturnQueue::toBytes() const {
    std::vector<unsigned char> bytes(pairs.size() * pairSize);
    for (size_t i = 0; i < pairs.size(); ++i) {
        putLittleEndian32(&bytes[i * pairSize], static_cast<uint32_t>(pairs[i].entry));
        putLittleEndian32(&bytes[i * pairSize + 4], static_cast<uint32_t>(pairs[i].wait));
    }
    return bytes;
}
