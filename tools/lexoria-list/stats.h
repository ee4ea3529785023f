// The "stats" command: the size of a word list as Lexoria reads it, and how long one pass over
// it lasts when Lexoria shows one word a day.
#pragma once

#include <cstdio>
#include <string>

#include "codepage.h"

class TlistStats {
public:
    long long bytes = 0;
    int lines = 0;                 // physical lines
    int entries = 0;               // entries Lexoria shows
    int ignoredEntries = 0;        // "word=" lines past the limit
    size_t longestDefinition = 0;  // characters, as read (lines joined by CR LF, two characters)
    int longestDefinitionLines = 0;
    std::string longestDefinitionWord;
    int longestDefinitionLine = 0;
};

// False when the file cannot be read. The page is that of the entries that are not UTF-8.
bool collectStats(std::FILE* file, TlistStats& stats, const TcodePage& page = TcodePage());

// "476 days (about 1 year and 4 months)".
std::string describePass(int days);

std::string formatStats(const TlistStats& stats);
