// The record splitter and the Anki header reader.
#include "delimited.h"

#include <cstdlib>

#include "base/textcompare.h"

namespace {

bool isLineBreak(char c) { return c == '\r' || c == '\n'; }

class TrecordSplitter {
public:
    TrecordSplitter(const std::string& source, char fieldSeparator, int firstLine)
        : text(source), separator(fieldSeparator), line(firstLine) {}
    bool atEnd() const { return at >= text.size(); }
    // Reads one record; onlyEmpty tells that it was an empty line.
    Trecord readRecord(bool& onlyEmpty);

private:
    bool readQuoted(std::string& field, std::string& problem);
    void readPlain(std::string& field);
    size_t lineBreakLength(size_t where) const;
    void skipLineBreak();
    void skipToNextLine(size_t from, int lineAtFrom);

    const std::string& text;
    char separator;
    size_t at = 0;
    int line;
};

size_t TrecordSplitter::lineBreakLength(size_t where) const {
    if (where >= text.size() || !isLineBreak(text[where])) return 0;
    return text.compare(where, 2, "\r\n") == 0 ? 2 : 1;
}

void TrecordSplitter::skipLineBreak() {
    size_t length = lineBreakLength(at);
    if (length == 0) return;
    at += length;
    ++line;
}

// After a broken record: go on at the line after the one where the trouble began.
void TrecordSplitter::skipToNextLine(size_t from, int lineAtFrom) {
    at = from;
    line = lineAtFrom;
    while (!atEnd() && !isLineBreak(text[at])) ++at;
    skipLineBreak();
}

void TrecordSplitter::readPlain(std::string& field) {
    size_t end = at;
    while (end < text.size() && text[end] != separator && !isLineBreak(text[end])) ++end;
    field.assign(text, at, end - at);
    at = end;
}

bool TrecordSplitter::readQuoted(std::string& field, std::string& problem) {
    size_t opening = at++;
    int openingLine = line;
    while (!atEnd()) {
        char c = text[at];
        if (c == '"' && text.compare(at, 2, "\"\"") == 0) {
            field += '"';
            at += 2;
        } else if (c == '"') {
            ++at;
            if (atEnd() || text[at] == separator || isLineBreak(text[at])) return true;
            problem = "text after the closing quote of a field";
            skipToNextLine(at, line);
            return false;
        } else if (size_t length = lineBreakLength(at)) {
            field.append(text, at, length);
            at += length;
            ++line;
        } else {
            field += c;
            ++at;
        }
    }
    problem =
        "the quoted field that opens on line " + std::to_string(openingLine) + " never closes";
    skipToNextLine(opening, openingLine);
    return false;
}

Trecord TrecordSplitter::readRecord(bool& onlyEmpty) {
    Trecord record;
    record.line = line;
    bool anyQuoted = false;
    for (;;) {
        std::string field;
        if (!atEnd() && text[at] == '"') {
            anyQuoted = true;
            if (!readQuoted(field, record.problem)) break;
        } else {
            readPlain(field);
        }
        record.fields.push_back(field);
        if (!atEnd() && text[at] == separator) {
            ++at;
            continue;
        }
        skipLineBreak();
        break;
    }
    onlyEmpty = !anyQuoted && record.problem.empty() && record.fields.size() == 1 &&
                record.fields[0].empty();
    return record;
}

std::string trimmedBlanks(const std::string& text) {
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool separatorNamed(const std::string& value, char& separator) {
    static const struct {
        const char* name;
        char separator;
    } names[] = {{"tab", '\t'},  {"comma", ','}, {"semicolon", ';'},
                 {"space", ' '}, {"pipe", '|'},  {"colon", ':'}};
    for (const auto& entry : names) {
        if (loweredAscii(value) == entry.name) {
            separator = entry.separator;
            return true;
        }
    }
    if (value.size() != 1 || value[0] == '"') return false;
    separator = value[0];
    return true;
}

// One "#key:value" line; false when the line is no header line.
bool takeHeaderLine(const std::string& content, TankiHeader& header, std::string& problem) {
    size_t colon = content.find(':');
    if (content.empty() || content[0] != '#' || colon == std::string::npos) return false;
    std::string key = loweredAscii(trimmedBlanks(content.substr(1, colon - 1)));
    std::string value = trimmedBlanks(content.substr(colon + 1));
    if (key == "separator") {
        if (!separatorNamed(value, header.separator))
            problem = "unknown separator \"" + value + "\"";
    } else if (key == "html") {
        header.html = loweredAscii(value) == "true";
    } else if (key == "guid column" || key == "notetype column" || key == "deck column" ||
               key == "tags column") {
        int column = std::atoi(value.c_str());
        if (column > 0) header.metadataColumns.push_back(column);
    }
    return true;
}

}  // namespace

std::vector<Trecord> splitRecords(const std::string& text, char separator, int firstLine) {
    std::vector<Trecord> records;
    TrecordSplitter splitter(text, separator, firstLine);
    while (!splitter.atEnd()) {
        bool onlyEmpty = false;
        Trecord record = splitter.readRecord(onlyEmpty);
        if (!onlyEmpty) records.push_back(std::move(record));
    }
    return records;
}

// A CSV may begin with a "#" line that holds a colon ("# 2024: my words"); only a key that an
// Anki export writes makes the file one.
bool hasAnkiHeader(const std::string& text) {
    static const char* const ankiKeys[] = {"separator",   "html",
                                           "tags",        "columns",
                                           "notetype",    "deck",
                                           "guid column", "notetype column",
                                           "deck column", "tags column"};
    std::string line = text.substr(0, text.find_first_of("\r\n"));
    size_t colon = line.find(':');
    if (line.empty() || line[0] != '#' || colon == std::string::npos) return false;
    std::string key = loweredAscii(trimmedBlanks(line.substr(1, colon - 1)));
    for (const char* known : ankiKeys) {
        if (key == known) return true;
    }
    return false;
}

bool readAnkiHeader(const std::string& text, TankiHeader& header, std::string& problem) {
    header = TankiHeader();
    problem.clear();
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find_first_of("\r\n", at);
        if (end == std::string::npos) end = text.size();
        if (!takeHeaderLine(text.substr(at, end - at), header, problem)) break;
        if (!problem.empty()) return false;
        at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : end < text.size() ? 1 : 0);
        ++header.dataLine;
    }
    header.dataStart = at;
    return true;
}
