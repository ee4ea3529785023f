// UTF-8 for the tool: writing characters as UTF-8, the export's and the spreadsheets' encoding,
// and telling UTF-8 text from text in a code page. Reading it is always the program's own decoder
// (vocab/entrytext.h), so that the tool sees every byte as the window does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

void appendUtf8(std::string& text, uint32_t code);
// UTF-16 as UTF-8; a surrogate without its partner becomes U+FFFD.
std::string utf8From(const std::u16string& text);

enum class Tletters {
    ascii,  // nothing beyond ASCII
    utf8,   // UTF-8 throughout, with characters beyond ASCII
    other,  // bytes beyond ASCII that are not UTF-8: text in some code page
};
Tletters lettersOf(const std::string& text);

// Where the first byte that is not part of a well-formed character lies; npos when there is none.
size_t firstInvalidUtf8(const std::string& text);
