// Group information reader. Every look at a byte is bounded by the line it sits in, and every
// line by the delivered length, so no input can make it read further.
#include "options/groupitem.h"

#include <cstring>

#include "base/textcompare.h"

namespace {
struct Tspan {
    const char* begin;
    const char* end;
    std::size_t size() const { return static_cast<std::size_t>(end - begin); }
};

// Hands out the non-empty lines one by one; a carriage return stays part of its line.
class TlineReader {
public:
    TlineReader(const char* text, std::size_t length) : next(text), last(text + length) {}
    bool nextLine(Tspan& line) {
        while (next < last) {
            const char* end = static_cast<const char*>(std::memchr(next, '\n', last - next));
            if (!end) end = last;
            line = {next, end};
            next = end < last ? end + 1 : last;
            if (line.size() > 0) return true;
        }
        return false;
    }

private:
    const char* next;
    const char* last;
};

// The quoted field that starts at 'from' within the line; false when the line has no opening
// mark there or no closing mark after it.
bool quotedField(const Tspan& line, const char* from, Tspan& field) {
    if (from >= line.end || *from != '"') return false;
    const char* close = static_cast<const char*>(std::memchr(from + 1, '"', line.end - from - 1));
    if (!close) return false;
    field = {from + 1, close};
    return true;
}

bool sameBytes(const Tspan& field, const char* text) {
    const std::size_t length = std::strlen(text);
    return field.size() == length && std::memcmp(field.begin, text, length) == 0;
}

// The command line follows the name as ,"command" with nothing in between.
TgroupItemStatus matchCommandLine(const Tspan& line, const Tspan& name, const char* programPath) {
    if (!programPath) return TgroupItemStatus::noProgramPath;
    const char* comma = name.end + 1;
    if (comma >= line.end || *comma != ',') return TgroupItemStatus::unreadable;
    Tspan command;
    if (!quotedField(line, comma + 1, command)) return TgroupItemStatus::unreadable;
    return sameIgnoringAsciiCase(command.begin, command.size(), programPath,
                                 std::strlen(programPath))
               ? TgroupItemStatus::present
               : TgroupItemStatus::absent;
}
}  // namespace

TgroupItemStatus findGroupItem(const char* info, std::size_t length, const char* groupName,
                               const char* itemName, const char* programPath) {
    if (!info) length = 0;
    // Text in the clipboard's text format ends at its terminating zero.
    if (length > 0) {
        const void* zero = std::memchr(info, '\0', length);
        if (zero) length = static_cast<std::size_t>(static_cast<const char*>(zero) - info);
    }
    TlineReader lines(info, length);
    Tspan line, name;
    if (!lines.nextLine(line) || !quotedField(line, line.begin, name) ||
        !sameBytes(name, groupName))
        return TgroupItemStatus::unreadable;
    while (lines.nextLine(line)) {
        if (!quotedField(line, line.begin, name)) return TgroupItemStatus::unreadable;
        if (sameBytes(name, itemName)) return matchCommandLine(line, name, programPath);
    }
    return TgroupItemStatus::absent;
}
