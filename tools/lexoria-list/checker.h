// The "check" command's engine: reads a word list exactly as Lexoria does and reports what would
// make it show something other than its author meant, each finding with its line number.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

enum class Tseverity { note, warning, error };

class Tfinding {
public:
    int line = 0;  // physical line from 1; 0 for the file as a whole
    Tseverity severity = Tseverity::warning;
    std::string text;
    bool aboutLetters = false;  // about how the letters show, not about how the list reads
};

class TcheckReport {
public:
    std::vector<Tfinding> findings;  // in line order once the check is done
    int entries = 0;                 // entries Lexoria shows
    int ignoredEntries = 0;          // "word=" lines past the limit, never shown
    int withoutDefinition = 0;
    int duplicateWords = 0;

    void add(int line, Tseverity severity, const std::string& text, bool aboutLetters = false);
    int count(Tseverity severity) const;
    // 0 when the list reads as meant (notes allowed), 1 with warnings, 2 when it cannot be read.
    int exitCode() const;
};

// Checks an open file (binary mode); the report collects everything found.
void checkList(std::FILE* file, TcheckReport& report);
void checkListFile(const std::string& path, TcheckReport& report);

// The findings as "NAME:LINE: warning: text" lines and a closing summary line.
std::string formatReport(const std::string& name, const TcheckReport& report);
