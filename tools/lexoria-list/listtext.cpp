// The letters of a list's entries, for the checker, the exporter and the counter.
#include "listtext.h"

#include "utf8text.h"

const char* const byteOrderMark = "\xEF\xBB\xBF";

bool beginsWithMark(std::FILE* file) {
    const bool marked = beginsWithUtf8Mark(file);
    std::fseek(file, 0, SEEK_SET);
    return marked;
}

TentryLetters entryLetters(const TwordDef& entry) {
    if (entry.encoding == TtextEncoding::utf8) return TentryLetters::utf8;
    for (const std::string* field : {&entry.word, &entry.definition, &entry.example})
        if (lettersOf(*field) != Tletters::ascii) return TentryLetters::codePage;
    return TentryLetters::ascii;
}

std::string TlistLetters::asUtf8(const std::string& field, TtextEncoding encoding) const {
    if (encoding == TtextEncoding::codePage) return page.toUtf8(field);
    std::u16string text;
    decodeUtf8(field, &text);
    return utf8From(text);
}

size_t TlistLetters::characters(const std::string& field, TtextEncoding encoding) const {
    size_t count = 0;
    if (encoding == TtextEncoding::codePage) {
        for (size_t at = 0; at < field.size(); at += page.characterLength(field, at)) ++count;
        return count;
    }
    for (size_t at = 0; at < field.size(); at = utf8StepAt(field, at).next) ++count;
    return count;
}
