// The word list file: its entries (TwordDef), how lines are read and trimmed, the scan that finds
// where each entry begins, and the reader that assembles one entry from its offset.
// Works on any C stdio stream; no platform headers, so it also builds for the host and fuzzers.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "vocab/entrylimit.h"
#include "vocab/entrytext.h"

class TwordDef {
public:
    std::string word;
    std::string definition;
    std::string example;
    // How the three strings' bytes are read as characters; the reader decides it per entry.
    TtextEncoding encoding = TtextEncoding::codePage;
};

// Lines are read through one buffer of this size: a read stops after a LF or after
// lineBufferSize - 1 bytes, so a longer physical line arrives as several lines.
const int lineBufferSize = 2048;

// Removes every trailing CR, LF and space byte, in place.
void trimLineEnd(char* line);

// True when the line begins, at its very first byte, with the key ("word=", "def=", "ex=").
bool beginsWithKey(const char* line, const char* key);

// Reads the next line (or piece of a long line) into buffer; false at the end of the stream.
bool readLine(std::FILE* file, char (&buffer)[lineBufferSize]);

// True when the stream begins with the UTF-8 byte-order mark; the mark is no part of the first
// line, so an entry whose "word=" line follows it begins at offset utf8MarkLength.
bool beginsWithUtf8Mark(std::FILE* file);

// Scans the stream from its start (just past a byte-order mark), recording the offset of every "word=" line, at most
// maxEntries of them; overLong tells whether a further entry was left out. False on a read or
// position failure.
bool scanEntryOffsets(std::FILE* file, std::vector<int32_t>& offsets, bool& overLong);

// Reads the entry whose "word=" line begins at offset, and decides its encoding: the reader knows
// which of the CR LF it puts between lines join two pieces of one long line, and mends a character
// cut there (settleEntryText). On failure, running out of memory for a huge entry included, the
// record is left untouched.
bool readEntryAt(std::FILE* file, long offset, TwordDef& entry);

// What reading an entry through a stored index came to. Stale: no entry begins at the offset,
// which a new index mends; an index built for another file of the same time may point anywhere,
// even past the end. An entry begins where a line read starts (the start of the file, just after
// a LF, or a whole number of full pieces into a long line) with "word=". Failed: the stream or
// the memory let the read down, and a new index would not help.
enum class TentryRead { read, stale, failed };
// readEntryAt for an offset from a stored index, which first makes sure that an entry begins
// there; the record is left untouched unless the result is read.
TentryRead readIndexedEntryAt(std::FILE* file, long offset, TwordDef& entry);
