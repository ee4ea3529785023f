// Fuzz target for the reader of Program Manager's group information (findGroupItem).
// Input: one byte that picks the group name asked for and the program's path (or none), then
// the group information itself, copied into a heap block of exactly its size so that reading a
// byte past it stops the run. The result is compared with a plain reading of the format on
// std::string: lines split at LF (empty ones skipped, the text ends at a zero byte), the first
// line opening with the quoted group name, each further line with a quoted item name and, for
// the program's item, a comma and its quoted command line.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "options/groupitem.h"

namespace {

const char* const itemName = "Lexoria";
const char* const groupNames[] = {"Startup", "StartUp", "", "Start\"up"};
const char* const programPaths[] = {"C:\\Program Files\\Lexoria\\Lexoria.exe", "c:\\lexoria.exe",
                                    "", "C:\\a,b \"c\"\\Lexoria.exe"};

bool quoted(const std::string& line, size_t from, std::string& field, size_t& close) {
    if (from >= line.size() || line[from] != '"') return false;
    close = line.find('"', from + 1);
    if (close == std::string::npos) return false;
    field = line.substr(from + 1, close - from - 1);
    return true;
}

bool sameIgnoringAsciiCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

std::vector<std::string> nonEmptyLines(std::string text) {
    text = text.substr(0, text.find('\0'));
    std::vector<std::string> lines;
    size_t from = 0;
    while (from <= text.size()) {
        size_t end = text.find('\n', from);
        if (end == std::string::npos) end = text.size();
        if (end > from) lines.push_back(text.substr(from, end - from));
        from = end + 1;
    }
    return lines;
}

GroupItemStatus modelResult(const std::string& text, const std::string& group, const char* path) {
    std::vector<std::string> lines = nonEmptyLines(text);
    std::string name, command;
    size_t close = 0;
    if (lines.empty() || !quoted(lines[0], 0, name, close) || name != group)
        return GroupItemStatus::unreadable;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (!quoted(line, 0, name, close)) return GroupItemStatus::unreadable;
        if (name != itemName) continue;
        if (!path) return GroupItemStatus::noProgramPath;
        size_t comma = close + 1;
        if (comma >= line.size() || line[comma] != ',' || !quoted(line, comma + 1, command, close))
            return GroupItemStatus::unreadable;
        return sameIgnoringAsciiCase(command, path) ? GroupItemStatus::present
                                                    : GroupItemStatus::absent;
    }
    return GroupItemStatus::absent;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const uint8_t choice = data[0];
    const char* group = groupNames[choice & 3];
    const char* path = (choice & 0x10) ? nullptr : programPaths[(choice >> 2) & 3];
    const size_t length = size - 1;
    // An exact-size block: the address sanitizer guards the byte right after it.
    std::unique_ptr<char[]> info(new char[length ? length : 1]);
    if (length) std::memcpy(info.get(), data + 1, length);

    GroupItemStatus found = findGroupItem(info.get(), length, group, itemName, path);
    std::string text(info.get(), length);
    FUZZ_CHECK(found == modelResult(text, group, path));
    // After a failed request there is no information at all, whatever length is passed.
    FUZZ_CHECK(findGroupItem(nullptr, length, group, itemName, path) == GroupItemStatus::unreadable);
    return 0;
}
