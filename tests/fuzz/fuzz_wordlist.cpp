// Fuzz target for the word list reader: the offset scan and entry reading over any bytes. How an
// entry's lines are put together (pieces, continuations, cut characters) is held byte for byte by
// wordlist_test and the list tool's reading_test; here any bytes must be read safely.
// Input: four bytes that choose one more offset to read an entry at, then the file itself.
// An odd choice is taken as it is (any 32-bit offset: negative, far past the end); an even one
// is folded into the file's length plus a little, so most of those land inside the file.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "vocab/wordlist.h"

namespace {

// The input as a real file, so that seeking past its end behaves as on a word list on disk:
// one temporary file for the whole run, emptied and refilled per input.
std::FILE* scratchStreamWith(const uint8_t* data, size_t size) {
    static std::FILE* file = std::tmpfile();
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(ftruncate(fileno(file), 0) == 0);
    std::rewind(file);
    FUZZ_CHECK(std::fwrite(data, 1, size, file) == size);
    FUZZ_CHECK(std::fflush(file) == 0);
    std::rewind(file);
    return file;
}

bool wordKeyAt(const uint8_t* data, size_t size, size_t at) {
    return at <= size && size - at >= 5 && std::memcmp(data + at, "word=", 5) == 0;
}

// Where every line read starts: a line ends after a LF or after lineBufferSize - 1 bytes,
// whichever comes first. A UTF-8 byte-order mark at the start is no part of the first line.
std::vector<size_t> lineStarts(const uint8_t* data, size_t size) {
    std::vector<size_t> starts;
    const bool marked = size >= 3 && std::memcmp(data, utf8Mark, 3) == 0;
    for (size_t at = marked ? 3 : 0; at < size;) {
        starts.push_back(at);
        const size_t limit = std::min(size, at + lineBufferSize - 1);
        const void* lf = std::memchr(data + at, '\n', limit - at);
        at = lf ? static_cast<const uint8_t*>(lf) - data + 1 : limit;
    }
    return starts;
}

// Where entries begin: at every line that opens with "word=", at most maxEntries of them.
std::vector<int32_t> entryLineStarts(const std::vector<size_t>& starts, const uint8_t* data,
                                     size_t size, bool& overLong) {
    std::vector<int32_t> offsets;
    overLong = false;
    for (size_t at : starts) {
        if (!wordKeyAt(data, size, at)) continue;
        overLong = offsets.size() == static_cast<size_t>(maxEntries);
        if (overLong) break;
        offsets.push_back(static_cast<int32_t>(at));
    }
    return offsets;
}

long chosenOffset(const uint8_t* data, size_t fileSize) {
    uint32_t raw = data[0] | (data[1] << 8) | (data[2] << 16) | (uint32_t{data[3]} << 24);
    if (raw & 1) return static_cast<int32_t>(raw);
    return static_cast<long>((raw >> 1) % (fileSize + 16));
}

bool sameEntry(const TwordDef& a, const TwordDef& b) {
    return a.word == b.word && a.definition == b.definition && a.example == b.example;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t inputSize) {
    if (inputSize < 4) return 0;
    const uint8_t* data = input + 4;
    const size_t size = inputSize - 4;
    std::FILE* stream = scratchStreamWith(data, size);

    std::vector<int32_t> offsets{-7};
    bool overLong = true, expectedOverLong = false;
    const std::vector<size_t> starts = lineStarts(data, size);
    FUZZ_CHECK(scanEntryOffsets(stream, offsets, overLong));
    FUZZ_CHECK(offsets == entryLineStarts(starts, data, size, expectedOverLong));
    FUZZ_CHECK(overLong == expectedOverLong);
    const bool marked = size >= 3 && std::memcmp(data, utf8Mark, 3) == 0;
    // The first and last entries only: each read refills the stream's buffer, and reading all
    // 4000 would slow the run a hundredfold.
    for (size_t i = 0; i < offsets.size(); ++i) {
        if (i == 32 && offsets.size() > 64) i = offsets.size() - 32;
        TwordDef entry;
        FUZZ_CHECK(readEntryAt(stream, offsets[i], entry));
        // Decoding never reads past a field, and a field is UTF-8 in a list without the mark
        // only when it decodes cleanly.
        std::u16string text;
        const bool wellFormed = decodeUtf8(entry.definition, &text);
        FUZZ_CHECK(text.size() <= entry.definition.size());
        if (!wellFormed) FUZZ_CHECK((entry.encoding == TtextEncoding::utf8) == marked);
    }

    // Any "word=" begins an entry, even inside a line; a failed read leaves the record alone.
    const long offset = chosenOffset(input, size);
    const TwordDef before{"sentinel word", "sentinel definition", "sentinel example"};
    TwordDef entry = before;
    const bool expected = offset >= 0 && wordKeyAt(data, size, static_cast<size_t>(offset));
    FUZZ_CHECK(readEntryAt(stream, offset, entry) == expected);
    FUZZ_CHECK(expected || sameEntry(entry, before));

    // Through a stored index only a "word=" at a line start is an entry; anything else is
    // stale, never a failure, since the stream itself never fails here.
    const bool atLineStart =
        expected && std::binary_search(starts.begin(), starts.end(), static_cast<size_t>(offset));
    TwordDef indexed = before;
    const TentryRead verdict = readIndexedEntryAt(stream, offset, indexed);
    FUZZ_CHECK(verdict == (atLineStart ? TentryRead::read : TentryRead::stale));
    FUZZ_CHECK(atLineStart ? sameEntry(indexed, entry) : sameEntry(indexed, before));
    return 0;
}
