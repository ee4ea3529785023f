// How the bytes of an entry become characters: which entries are UTF-8 and which are in the
// system's ANSI code page, and the UTF-8 decoder. No platform headers, so the host tests and the
// fuzzers run it too; the code page half is the Windows side's (vocab/displaytext.h).
#pragma once

#include <cstddef>
#include <string>

class TwordDef;

enum class TtextEncoding { codePage, utf8 };

// The byte-order mark that opens a UTF-8 list; it is no part of the first line.
const char* const utf8Mark = "\xEF\xBB\xBF";
const int utf8MarkLength = 3;

// Decodes UTF-8 into UTF-16 (out may be null to check only) and tells whether every byte was
// part of a well-formed character. Each ill-formed sequence, the longest run of bytes that could
// still have begun a character, becomes one U+FFFD. A character whose bytes a long line's piece
// join ("\r\n") cut apart comes out whole, with the line break after it.
bool decodeUtf8(const std::string& bytes, std::u16string* out);

// Every entry of a marked list is UTF-8. In a list without the mark, an entry is UTF-8 when all
// its fields are well-formed UTF-8 and at least one byte is 0x80 or more; any other entry (plain
// ASCII included, where both readings agree) is in the code page, as lists always were.
TtextEncoding entryEncoding(const TwordDef& entry, bool markedList);
