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

// Where the first byte that is not UTF-8 lies; npos when the text is valid UTF-8 throughout.
size_t firstInvalidUtf8(const std::string& text);

// The text with every byte that is not UTF-8 replaced by U+FFFD, as Lexoria shows such bytes in a
// list marked as UTF-8.
std::string withReplacementCharacters(const std::string& text);

// Characters in valid UTF-8 text, each byte that is not UTF-8 counting as one.
size_t utf8Characters(const std::string& text);
