// The reading rule for the letters of a list, for the checker, the exporter and the counter.
#include "listtext.h"

#include "encoding.h"

const char* const byteOrderMark = "\xEF\xBB\xBF";

bool beginsWithMark(std::FILE* file) {
    char start[byteOrderMarkSize] = {};
    bool marked = std::fseek(file, 0, SEEK_SET) == 0 &&
                  std::fread(start, 1, sizeof start, file) == sizeof start &&
                  std::string(start, sizeof start) == byteOrderMark;
    std::fseek(file, 0, SEEK_SET);
    return marked;
}

// A reader that takes the mark for part of the first line misses an entry right after it; one
// that skips the mark already has it at offset 3. Either way the list has it once.
bool scanListOffsets(std::FILE* file, std::vector<int32_t>& offsets, bool& overLong) {
    if (!scanEntryOffsets(file, offsets, overLong)) return false;
    if (!beginsWithMark(file) || (!offsets.empty() && offsets.front() == byteOrderMarkSize)) {
        return true;
    }
    char line[lineBufferSize];
    if (std::fseek(file, byteOrderMarkSize, SEEK_SET) != 0) return false;
    if (!readLine(file, line) || !beginsWithKey(line, "word=")) return !std::ferror(file);
    offsets.insert(offsets.begin(), byteOrderMarkSize);
    if (static_cast<int>(offsets.size()) > maxEntries) {
        offsets.pop_back();
        overLong = true;
    }
    return true;
}

TentryLetters TlistLetters::of(const TwordDef& entry) const {
    if (marked) return TentryLetters::utf8;
    switch (lettersOf(entry.word + "\n" + entry.definition + "\n" + entry.example)) {
    case Tletters::ascii: return TentryLetters::ascii;
    case Tletters::utf8: return TentryLetters::utf8;
    case Tletters::other: break;
    }
    return TentryLetters::codePage;
}

std::string TlistLetters::asUtf8(const std::string& field, TentryLetters letters) const {
    switch (letters) {
    case TentryLetters::ascii: return field;
    case TentryLetters::utf8: return withReplacementCharacters(field);
    case TentryLetters::codePage: break;
    }
    return page.toUtf8(field);
}

size_t TlistLetters::characters(const std::string& field, TentryLetters letters) const {
    if (letters != TentryLetters::codePage) return utf8Characters(field);
    size_t count = 0;
    for (size_t at = 0; at < field.size(); at += page.characterLength(field, at)) ++count;
    return count;
}
