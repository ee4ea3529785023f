// The container level of a help file: its header, its internal directory and the internal
// files it lists. A parsed file can be changed file by file and written out again.
#pragma once

#include "btree.h"
#include "bytes.h"

#include <cstdint>
#include <string>
#include <vector>

struct TinternalFile {
    std::string name;
    std::uint8_t flags = 0;  // the FILEHEADER flag byte, kept as found
    Tbytes content;          // the used bytes, without the FILEHEADER
};

struct ThelpFile {
    TbtreeLayout directoryLayout;      // page size, flags and format letters of the directory
    std::uint8_t directoryFlags = 0;   // flag byte of the directory's own FILEHEADER
    std::vector<TinternalFile> files;  // sorted by name, as the directory orders them
};

// Parses a whole help file image. Fails, with a message, on anything that would make a
// viewer read outside the file or read two internal files from the same bytes.
bool parseHelpFile(const Tbytes& image, ThelpFile& help, std::string& error);

// Lays the internal files out one after another, then the directory, then the header. Free
// space of the original is not carried over, so the free list is empty.
bool buildHelpFile(const ThelpFile& help, Tbytes& image, std::string& error);

const TinternalFile* findInternalFile(const ThelpFile& help, const std::string& name);

// Replaces the internal file of the same name, or adds it in name order.
void putInternalFile(ThelpFile& help, TinternalFile file);
