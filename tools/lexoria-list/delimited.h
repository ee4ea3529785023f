// Reading delimited text: CSV as RFC 4180 writes it, tab-separated text, and the notes of an
// Anki plain-text export with the "#key:value" lines at its top.
#pragma once

#include <string>
#include <vector>

class Trecord {
public:
    int line = 0;  // where the record begins
    std::vector<std::string> fields;
    std::string problem;  // why the record cannot be used; empty when it can
};

// Splits text into records. A field that begins with a double quote runs to its closing quote, may
// hold separators and line breaks, and writes a quote as two; any other field runs to the next
// separator or line break and is taken as it is, quotes included. A record ends at a line break
// (CR LF, LF or CR) outside quotes; empty lines are skipped. Line numbers count from firstLine.
std::vector<Trecord> splitRecords(const std::string& text, char separator, int firstLine = 1);

class TankiHeader {
public:
    char separator = '\t';
    bool html = true;
    std::vector<int> metadataColumns;  // the guid, notetype, deck and tags columns, from 1
    size_t dataStart = 0;              // where the notes begin
    int dataLine = 1;
};

// True when the text begins with a "#key:value" line whose key an Anki export writes.
bool hasAnkiHeader(const std::string& text);
// Reads the header lines; false, with the reason, for a separator it does not know.
bool readAnkiHeader(const std::string& text, TankiHeader& header, std::string& problem);
