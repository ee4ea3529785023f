// The "import" and "export" commands: rows of CSV, tab-separated text or an Anki export into a
// word list, and a word list's entries, as Lexoria reads them, out to CSV.
#pragma once

#include <string>

enum class TinputFormat { guess, csv, tsv, anki };

class TimportOptions {
public:
    TinputFormat format = TinputFormat::guess;
    int wordColumn = -1;  // columns count from 1; -1 when not given
    int definitionColumn = -1;
    int exampleColumn = -1;  // 0 for no examples
    bool header = false;     // the first row is column names, whatever it holds
    bool noHeader = false;   // the first row is data, whatever it holds
    bool skipBad = false;
    bool convert = false;  // write the list in a code page rather than UTF-8
    int codePage = 0;      // that page, and the page of text that is not UTF-8; 0 for the default
    std::string input;
    std::string output;
};

// Exit status: 0 when every row went into the output, 1 when bad rows were left out (skipBad),
// 2 when nothing was written. Messages for the user go to out, problems to err.
int runImport(const TimportOptions& options, std::string& out, std::string& err);

class TexportOptions {
public:
    int codePage = 0;  // the page of the list's entries that are not UTF-8; 0 for the default
    std::string list;
    std::string output;
};

// Writes the entries as UTF-8 CSV with a byte-order mark. Exit status 0 when written, 2 when not.
int runExport(const TexportOptions& options, std::string& out, std::string& err);
