// The reading rule for the letters of a list, for the checker, the exporter and the counter.
#include "listtext.h"

#include "encoding.h"

const char* const byteOrderMark = "\xEF\xBB\xBF";

bool beginsWithMark(std::FILE* file) {
    const bool marked = beginsWithUtf8Mark(file);
    std::fseek(file, 0, SEEK_SET);
    return marked;
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
