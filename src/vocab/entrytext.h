// How the bytes of an entry become characters: which entries are UTF-8 and which are in the
// system's ANSI code page, the UTF-8 decoder, and characters that a long line's piece join cut
// apart put back together. No platform headers, so the host tests, the fuzzers and the list tool
// run it too; the code page half is the Windows side's (vocab/displaytext.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TwordDef;

enum class TtextEncoding { codePage, utf8 };

// The byte-order mark that opens a UTF-8 list; it is no part of the first line.
const char* const utf8Mark = "\xEF\xBB\xBF";
const int utf8MarkLength = 3;

// One step of decoding UTF-8 from `at` (which must lie inside the bytes): a well-formed
// character, or an ill-formed run, the longest run of bytes that could still have begun a
// character, which shows as one U+FFFD.
class Tutf8Step {
public:
    bool wellFormed = false;
    uint32_t codePoint = 0;  // U+FFFD for an ill-formed run
    size_t next = 0;         // where the following step begins
};
Tutf8Step utf8StepAt(const std::string& bytes, size_t at);

// Decodes UTF-8 into UTF-16 (out may be null to check only) and tells whether every byte was
// part of a well-formed character; each ill-formed run becomes one U+FFFD. A line break is a line
// break: no character is ever made of bytes on both sides of one (settleEntryText puts back
// together what the reader's own piece joins cut apart).
bool decodeUtf8(const std::string& bytes, std::u16string* out);

// Every entry of a marked list is UTF-8. In a list without the mark, an entry is UTF-8 when all
// its fields are well-formed UTF-8 and at least one byte is 0x80 or more; any other entry (plain
// ASCII included, where both readings agree) is in the code page, as lists always were.
TtextEncoding entryEncoding(const TwordDef& entry, bool markedList);

// Where the reader joined two pieces of one long line whose bytes lay side by side in the file:
// for each field, the offsets of the CR LF it put between them, in ascending order.
class TpieceJoins {
public:
    std::vector<size_t> word, definition, example;
};

// Decides the entry's encoding as entryEncoding does, reading a character that a piece join cut
// apart as the whole character its bytes make in the file. In a UTF-8 entry the rest of such a
// character is moved ahead of the join's CR LF, so that its bytes stand together and the line
// break follows it; a code-page entry keeps its bytes exactly as read.
void settleEntryText(TwordDef& entry, const TpieceJoins& joins, bool markedList);
