// The "check" command's engine: reads a word list exactly as Lexoria does and reports what would
// make it show something other than its author meant, each finding with its line number.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "codepage.h"

enum class Tseverity { note, warning, error };

class Tfinding {
public:
    int line = 0;  // physical line from 1; 0 for the file as a whole
    Tseverity severity = Tseverity::warning;
    std::string text;
};

class TcheckReport {
public:
    std::vector<Tfinding> findings;  // in line order once the check is done
    int entries = 0;                 // entries Lexoria shows
    int ignoredEntries = 0;          // "word=" lines past the limit, never shown
    int withoutDefinition = 0;
    int duplicateWords = 0;

    void add(int line, Tseverity severity, const std::string& text);
    int count(Tseverity severity) const;
    // 0 when the list reads as meant (notes allowed), 1 with warnings, 2 when it cannot be read.
    int exitCode() const;
};

// Checks an open file (binary mode); the report collects everything found. The page is the one
// Lexoria shows the list's entries in that are not UTF-8.
void checkList(std::FILE* file, TcheckReport& report, const TcodePage& page = TcodePage());
void checkListFile(const std::string& path, TcheckReport& report,
                   const TcodePage& page = TcodePage());

// The findings as "NAME:LINE: warning: text" lines and a closing summary line.
std::string formatReport(const std::string& name, const TcheckReport& report);
