// UTF-8, in which Anki and most spreadsheets export: reading and writing its characters, and
// telling UTF-8 text from text in a single-byte code page.
#pragma once

#include <cstddef>
#include <string>

// Decodes the character at `at` and moves past it; false for a malformed, overlong or surrogate
// sequence, with `at` unchanged.
bool decodeUtf8(const std::string& text, size_t& at, unsigned& code);
void appendUtf8(std::string& text, unsigned code);

enum class Tletters {
    ascii,  // nothing beyond ASCII
    utf8,   // UTF-8 throughout, with characters beyond ASCII
    other,  // bytes beyond ASCII that are not UTF-8: text in some code page
};
Tletters lettersOf(const std::string& text);
