// The letters of a word list as Lexoria reads them. A list that begins with the UTF-8 byte-order
// mark is UTF-8 throughout, and the mark is no part of its first line. In a list without it, an
// entry whose bytes are valid UTF-8 and hold a byte of 0x80 or more is UTF-8, and every other
// entry is text in the ANSI code page.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "codepage.h"
#include "vocab/wordlist.h"

extern const char* const byteOrderMark;  // EF BB BF
const long byteOrderMarkSize = 3;

// Whether the stream begins with the mark; the position is left at the start.
bool beginsWithMark(std::FILE* file);

enum class TentryLetters { ascii, utf8, codePage };

class TlistLetters {
public:
    bool marked = false;  // the list begins with the mark
    TcodePage page;       // the page of entries that are not UTF-8

    TentryLetters of(const TwordDef& entry) const;
    // A field of an entry with those letters in UTF-8, as the program shows it: bytes of a marked
    // list that are not UTF-8 as U+FFFD, code-page text converted from the page.
    std::string asUtf8(const std::string& field, TentryLetters letters) const;
    // The characters the field shows.
    size_t characters(const std::string& field, TentryLetters letters) const;
};
