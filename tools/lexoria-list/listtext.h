// The letters of a word list as Lexoria shows them. Its reader decides for each entry whether it
// is UTF-8 or text in the ANSI code page (vocab/entrytext.h: a list that begins with the UTF-8
// byte-order mark is UTF-8 throughout; without it, an entry whose bytes are valid UTF-8 and hold a
// byte of 0x80 or more is UTF-8). This turns either into UTF-8 for the tool's output, with the
// program's own decoder, and counts the characters the window shows.
#pragma once

#include <cstdio>
#include <string>

#include "codepage.h"
#include "vocab/wordlist.h"

extern const char* const byteOrderMark;  // EF BB BF
const long byteOrderMarkSize = 3;

// Whether the stream begins with the mark; the position is left at the start.
bool beginsWithMark(std::FILE* file);

// What an entry, as read, shows beyond ASCII.
enum class TentryLetters { ascii, utf8, codePage };
TentryLetters entryLetters(const TwordDef& entry);

class TlistLetters {
public:
    TcodePage page;  // the page of entries that are not UTF-8

    // A field of an entry in UTF-8, as the window shows it: each ill-formed run of a UTF-8 entry
    // as one U+FFFD, code-page text converted from the page.
    std::string asUtf8(const std::string& field, TtextEncoding encoding) const;
    // The characters the field shows.
    size_t characters(const std::string& field, TtextEncoding encoding) const;
};
