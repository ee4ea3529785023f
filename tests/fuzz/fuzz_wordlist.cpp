// Fuzz target for the word list reader: the offset scan and entry reading over any bytes.
// Input: four bytes that choose one more offset to read an entry at, then the file itself.
// An odd choice is taken as it is (any 32-bit offset: negative, far past the end); an even one
// is folded into the file's length plus a little, so most of those land inside the file.
//
// The scan is checked against a plain model of how the file splits into lines: a line ends
// after a LF or after 2047 bytes, whichever comes first, and an entry begins at every line
// whose first five bytes are "word=".
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "vocab/wordlist.h"

namespace {

const char wordKey[] = "word=";
const size_t wordKeyLength = 5;

struct Bytes {
    const uint8_t* data;
    size_t size;

    bool wordKeyAt(size_t at) const {
        return at + wordKeyLength <= size && std::memcmp(data + at, wordKey, wordKeyLength) == 0;
    }
    // Where the line that begins at `at` ends (one past its last byte).
    size_t lineEnd(size_t at) const {
        size_t limit = at + (lineBufferSize - 1) < size ? at + (lineBufferSize - 1) : size;
        const void* lf = std::memchr(data + at, '\n', limit - at);
        return lf ? static_cast<const uint8_t*>(lf) - data + 1 : limit;
    }
    // The word of a "word=" line at `at`: the text up to a zero byte, trailing CR, LF and
    // spaces removed.
    std::string wordAt(size_t at) const {
        size_t end = lineEnd(at);
        const void* zero = std::memchr(data + at, '\0', end - at);
        if (zero) end = static_cast<const uint8_t*>(zero) - data;
        while (end > at && (data[end - 1] == '\r' || data[end - 1] == '\n' || data[end - 1] == ' '))
            --end;
        return std::string(reinterpret_cast<const char*>(data) + at + wordKeyLength,
                           reinterpret_cast<const char*>(data) + end);
    }
};

std::vector<int32_t> modelOffsets(const Bytes& file, bool& overLong) {
    std::vector<int32_t> offsets;
    overLong = false;
    for (size_t at = 0; at < file.size; at = file.lineEnd(at)) {
        if (!file.wordKeyAt(at)) continue;
        if (offsets.size() == static_cast<size_t>(maxEntries)) {
            overLong = true;
            break;
        }
        offsets.push_back(static_cast<int32_t>(at));
    }
    return offsets;
}

// A field holds trimmed lines joined with CR LF, so a LF never stands alone.
bool linesJoinedWithCrLf(const std::string& field) {
    for (size_t i = 0; i < field.size(); ++i)
        if (field[i] == '\n' && (i == 0 || field[i - 1] != '\r')) return false;
    return true;
}

// The entry's word field begins with the text of its "word=" line; continuation lines follow
// after CR LF.
bool wordStartsWith(const TwordDef& entry, const std::string& firstLine) {
    const std::string& word = entry.word;
    return word.compare(0, firstLine.size(), firstLine) == 0 &&
           (word.size() == firstLine.size() || word[firstLine.size()] == '\r');
}

void checkEntry(const Bytes& file, size_t at, const TwordDef& entry) {
    FUZZ_CHECK(wordStartsWith(entry, file.wordAt(at)));
    FUZZ_CHECK(linesJoinedWithCrLf(entry.word));
    FUZZ_CHECK(linesJoinedWithCrLf(entry.definition));
    FUZZ_CHECK(linesJoinedWithCrLf(entry.example));
}

long chosenOffset(const uint8_t* data, size_t fileSize) {
    uint32_t raw = data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<uint32_t>(data[3]) << 24);
    if (raw & 1) return static_cast<int32_t>(raw);
    return static_cast<long>((raw >> 1) % (fileSize + 16));
}

void checkScan(std::FILE* stream, const Bytes& file) {
    std::vector<int32_t> offsets{-7};
    bool overLong = true;
    FUZZ_CHECK(scanEntryOffsets(stream, offsets, overLong));
    bool modelOverLong = false;
    FUZZ_CHECK(offsets == modelOffsets(file, modelOverLong));
    FUZZ_CHECK(overLong == modelOverLong);

    // Every entry of a short list, the first and last ones of a long list: each read seeks and
    // refills the stream's buffer, and reading all 4000 would slow the run a hundredfold.
    const size_t ends = 32;
    for (size_t i = 0; i < offsets.size(); ++i) {
        if (i == ends && offsets.size() > 2 * ends) i = offsets.size() - ends;
        TwordDef entry;
        FUZZ_CHECK(readEntryAt(stream, offsets[i], entry));
        checkEntry(file, static_cast<size_t>(offsets[i]), entry);
    }
}

void checkChosenOffset(std::FILE* stream, const Bytes& file, long offset) {
    TwordDef entry;
    entry.word = "sentinel word";
    entry.definition = "sentinel definition";
    entry.example = "sentinel example";
    bool expected = offset >= 0 && file.wordKeyAt(static_cast<size_t>(offset));
    FUZZ_CHECK(readEntryAt(stream, offset, entry) == expected);
    if (expected) {
        checkEntry(file, static_cast<size_t>(offset), entry);
    } else {
        FUZZ_CHECK(entry.word == "sentinel word");
        FUZZ_CHECK(entry.definition == "sentinel definition");
        FUZZ_CHECK(entry.example == "sentinel example");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const Bytes file{data + 4, size - 4};
    std::FILE* stream = scratchStreamWith(file.data, file.size);
    checkScan(stream, file);
    checkChosenOffset(stream, file, chosenOffset(data, file.size));
    return 0;
}
