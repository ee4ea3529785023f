// Key recognition for the checker and the importer, on top of the reader's beginsWithKey.
#include "keys.h"

#include <cstring>

#include "base/textcompare.h"
#include "vocab/wordlist.h"

const char* const wordKey = "word=";
const char* const definitionKey = "def=";
const char* const exampleKey = "ex=";

namespace {

const char* const allKeys[] = {wordKey, definitionKey, exampleKey};

// Byte sequences that show as nothing or as white space in most editors.
const char* const invisibleSequences[] = {
    "\xEF\xBB\xBF",  // byte-order mark in UTF-8
    "\xE2\x80\x8B",  // zero-width space in UTF-8
    "\xC2\xA0",      // no-break space in UTF-8
    "\xA0",          // no-break space in the ANSI code page
};

size_t invisibleAt(const std::string& line, size_t at) {
    unsigned char byte = static_cast<unsigned char>(line[at]);
    if (byte == ' ' || byte == '\t' || (byte > 0 && byte < 0x20)) return 1;
    for (const char* sequence : invisibleSequences) {
        size_t length = std::strlen(sequence);
        if (line.compare(at, length, sequence) == 0) return length;
    }
    return 0;
}

bool matchesIgnoringCase(const std::string& line, size_t at, const char* key, bool& exact) {
    size_t length = std::strlen(key);
    if (line.size() - at < length) return false;
    exact = true;
    for (size_t i = 0; i < length; ++i) {
        if (lowerAscii(line[at + i]) != key[i]) return false;
        if (line[at + i] != key[i]) exact = false;
    }
    return true;
}

}  // namespace

TlineKind lineKind(const char* line) {
    if (beginsWithKey(line, wordKey)) return TlineKind::word;
    if (beginsWithKey(line, definitionKey)) return TlineKind::definition;
    if (beginsWithKey(line, exampleKey)) return TlineKind::example;
    return TlineKind::continuation;
}

size_t ThiddenKey::equalsAt() const { return key ? prefixLength + std::strlen(key) - 1 : 0; }

bool findHiddenKey(const std::string& line, ThiddenKey& hidden) {
    hidden = ThiddenKey();
    size_t at = 0;
    while (at < line.size()) {
        size_t length = invisibleAt(line, at);
        if (length == 0) break;
        at += length;
    }
    for (const char* key : allKeys) {
        bool exact = false;
        if (!matchesIgnoringCase(line, at, key, exact)) continue;
        if (at == 0 && exact) return false;  // a real key
        hidden.key = key;
        hidden.prefixLength = at;
        hidden.otherCase = !exact;
        return true;
    }
    return false;
}

std::string describePrefix(const std::string& line, size_t prefixLength) {
    if (line.compare(0, 3, "\xEF\xBB\xBF") == 0) return "a byte-order mark";
    if (line[0] == ' ' || line[0] == '\t') return "a blank";
    if (line.compare(0, 2, "\xC2\xA0") == 0 || line[0] == '\xA0') return "a no-break space";
    return prefixLength == 1 ? "an invisible byte" : "invisible bytes";
}
