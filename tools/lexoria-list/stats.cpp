// Counting a word list: lines and bytes from the line walk, entries from the program's own reader,
// lengths in the characters the window shows for them.
#include "stats.h"

#include <map>
#include <vector>

#include "keys.h"
#include "listtext.h"
#include "pieces.h"
#include "vocab/wordlist.h"

namespace {

std::string plural(int count, const char* unit) {
    return std::to_string(count) + " " + unit + (count == 1 ? "" : "s");
}

int countLines(const std::string& text) {
    int lines = 1;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
        ++lines;
    return lines;
}

}  // namespace

bool collectStats(std::FILE* file, TlistStats& stats, const TcodePage& page) {
    stats = TlistStats();
    TlistLetters letters;
    letters.page = page;
    std::map<long, int> lineOfOffset;
    TpieceReader reader(file);
    while (reader.next()) {
        stats.lines = reader.line();
        stats.bytes = reader.offset() + reader.size();
        if (lineKind(reader.text()) == TlineKind::word)
            lineOfOffset[reader.offset()] = reader.line();
    }
    std::vector<int32_t> offsets;
    bool overLong = false;
    if (reader.failed() || !scanEntryOffsets(file, offsets, overLong)) return false;
    stats.entries = static_cast<int>(offsets.size());
    stats.ignoredEntries = static_cast<int>(lineOfOffset.size()) - stats.entries;
    for (int32_t offset : offsets) {
        TwordDef entry;
        if (!readEntryAt(file, offset, entry)) return false;
        size_t length = letters.characters(entry.definition, entry.encoding);
        if (length <= stats.longestDefinition && stats.longestDefinitionLine) continue;
        stats.longestDefinition = length;
        stats.longestDefinitionLines = countLines(entry.definition);
        stats.longestDefinitionWord = entry.word.substr(0, entry.word.find('\r'));
        stats.longestDefinitionLine = lineOfOffset[offset];
    }
    return true;
}

std::string describePass(int days) {
    const double daysPerMonth = 365.0 / 12.0;
    std::string text = plural(days, "day");
    if (days < 45) return text;
    int years = days / 365;
    int months = static_cast<int>((days - years * 365) / daysPerMonth + 0.5);
    if (months == 12) {
        ++years;
        months = 0;
    }
    std::string about = years == 0    ? plural(months, "month")
                        : months == 0 ? plural(years, "year")
                                      : plural(years, "year") + " and " + plural(months, "month");
    return text + " (about " + about + ")";
}

std::string formatStats(const TlistStats& stats) {
    std::string text;
    text += "entries:            " + std::to_string(stats.entries);
    if (stats.ignoredEntries > 0) {
        text += " (and " + std::to_string(stats.ignoredEntries) + " past the limit of " +
                std::to_string(maxEntries) + ", never shown)";
    }
    text += "\nlines:              " + std::to_string(stats.lines);
    text += "\nbytes:              " + std::to_string(stats.bytes);
    text += "\nlongest definition: ";
    if (stats.entries == 0) {
        text += "none";
    } else {
        text += plural(static_cast<int>(stats.longestDefinition), "character") + " in " +
                plural(stats.longestDefinitionLines, "line") + " (\"" +
                stats.longestDefinitionWord + "\", line " +
                std::to_string(stats.longestDefinitionLine) + ")";
    }
    text += "\nfull pass:          " + describePass(stats.entries) + " at one word a day\n";
    return text;
}
