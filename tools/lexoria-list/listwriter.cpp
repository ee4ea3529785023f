// Field lines, list entries and CSV records.
#include "listwriter.h"

#include <algorithm>
#include <cstring>

#include "keys.h"

namespace {

const char* const lineEnd = "\r\n";

std::vector<std::string> splitAtLineBreaks(const std::string& text) {
    std::vector<std::string> lines(1);
    for (size_t at = 0; at < text.size(); ++at) {
        char c = text[at];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ++at;
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

// The reader's own trimming, so that what is written is what is read back.
void trimAsRead(std::string& line) {
    line.push_back('\0');
    trimLineEnd(&line[0]);
    line.resize(std::strlen(line.c_str()));
}

// Where a space goes to defuse the key the rest of the line (from `from`) begins with or hides;
// npos when it needs none. Only the first bytes are looked at: a key hidden further on is found
// when the rest reaches it, and looking no further keeps a long line linear.
size_t defusingSpace(const std::string& line, size_t from) {
    if (lineKind(line.c_str() + from) != TlineKind::continuation) return line.find('=', from);
    ThiddenKey hidden;
    if (!findHiddenKey(line.substr(from, longestWrittenLine), hidden)) return std::string::npos;
    return from + hidden.equalsAt();
}

// Puts a space before the '=' of such a key. Once a piece has been taken off the front, the bytes
// ahead of the '=' move one place forward into it instead of the whole rest moving back.
void defuseKey(std::string& line, size_t& from) {
    size_t equals = defusingSpace(line, from);
    if (equals == std::string::npos) return;
    if (from == 0) {
        line.insert(equals, 1, ' ');
        return;
    }
    std::memmove(&line[from - 1], &line[from], equals - from);
    --from;
    line[equals - 1] = ' ';
}

size_t characterLength(const std::string& line, size_t at, const TcodePage* page) {
    if (page) return page->characterLength(line, at);
    return utf8StepAt(line, at).next - at;
}

// Where to break the rest of a line (from `from`) longer than room: after its last space that
// fits (a space is never part of another character, in UTF-8 or a code page), else at the last
// character boundary that fits. Boundaries are found walking forward, since a trail byte of a
// two-byte code page can look like a lead byte.
size_t breakPoint(const std::string& line, size_t from, size_t room, const TcodePage* page) {
    for (size_t space = from + room; space >= from + room / 2; --space) {
        if (line[space] == ' ') return space;
    }
    size_t at = from;
    for (;;) {
        size_t next = at + characterLength(line, at, page);
        if (next > from + room) return at > from ? at : from + room;
        at = next;
    }
}

void appendLines(std::string& list, const char* key, const std::vector<std::string>& lines) {
    list += key;
    for (size_t i = 0; i < lines.size(); ++i) {
        list += lines[i];
        list += lineEnd;
    }
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += lineEnd;
        text += lines[i];
    }
    return text;
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string field = "\"";
    for (char c : text) {
        if (c == '"') field += '"';
        field += c;
    }
    return field + "\"";
}

}  // namespace

std::vector<std::string> fieldLines(const std::string& field, size_t keyLength,
                                    const TcodePage* page) {
    std::vector<std::string> lines;
    for (std::string line : splitAtLineBreaks(field)) {
        trimAsRead(line);
        size_t from = 0;  // where the part not yet written begins
        for (;;) {
            if (!lines.empty()) defuseKey(line, from);
            size_t key = lines.empty() ? keyLength : 0;
            size_t room = longestWrittenLine - std::strlen(lineEnd) - key;
            if (line.size() - from <= room) break;
            size_t cut = breakPoint(line, from, room, page);
            std::string head = line.substr(from, cut - from);
            trimAsRead(head);
            lines.push_back(head);
            from = std::min(line.size(), line.find_first_not_of(' ', cut));
        }
        lines.push_back(line.substr(from));
    }
    return lines;
}

TwordDef appendEntry(std::string& list, const TwordDef& fields, const TcodePage* page) {
    TwordDef read;
    std::vector<std::string> word = fieldLines(fields.word, std::strlen(wordKey), page);
    std::vector<std::string> definition =
        fieldLines(fields.definition, std::strlen(definitionKey), page);
    std::vector<std::string> example = fieldLines(fields.example, std::strlen(exampleKey), page);
    appendLines(list, wordKey, word);
    appendLines(list, definitionKey, definition);
    read.word = joined(word);
    read.definition = joined(definition);
    read.example = joined(example);
    if (!read.example.empty()) appendLines(list, exampleKey, example);
    return read;
}

std::string csvRecord(const TwordDef& entry) {
    return csvField(entry.word) + "," + csvField(entry.definition) + "," + csvField(entry.example) +
           lineEnd;
}
