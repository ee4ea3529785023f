// Writing word lists and CSV: how a field becomes lines that Lexoria reads back as meant, and how
// entries become CSV records for the export.
#pragma once

#include <string>
#include <vector>

#include "codepage.h"
#include "vocab/wordlist.h"

// Longest line the importer writes, its CR LF included: one read of the reader takes it whole.
const size_t longestWrittenLine = lineBufferSize - 1;

// The lines that carry a field after a key of keyLength bytes. Line breaks (CR LF, LF or CR)
// separate lines; trailing spaces go, as the reader would drop them; a line that would begin
// with a key, or that hides one behind blanks or other letter case, gets a space before its '='
// ("word =", "Def ="); a line too long for one read is broken at its last space that fits, or
// where it must, between two whole characters: of UTF-8, or of the code page when one is given.
std::vector<std::string> fieldLines(const std::string& field, size_t keyLength,
                                    const TcodePage* page = nullptr);

// Appends an entry as list lines with CR LF ends ("ex=" only when there is an example) and returns
// the entry as the program's reader will give it back. The page as for fieldLines.
TwordDef appendEntry(std::string& list, const TwordDef& fields, const TcodePage* page = nullptr);

// One CSV record of the word, definition and example, quoted where needed, ending in CR LF.
std::string csvRecord(const TwordDef& entry);
