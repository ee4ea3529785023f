// Checking a word list: one walk over its line pieces for the traps that belong to lines, then the
// reader's own offset scan and entry reading for the traps that belong to entries.
#include "checker.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "fileio.h"
#include "keys.h"
#include "listtext.h"
#include "pieces.h"
#include "utf8text.h"
#include "vocab/wordlist.h"

namespace {

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::string counted(int count, const std::string& what, const std::string& plural) {
    return std::to_string(count) + " " + (count == 1 ? what : plural);
}

std::string keyName(const char* key) { return quoted(key); }

bool isBlank(const std::string& text) { return text.find_first_not_of(" \t") == std::string::npos; }

// Where a word appears in messages: its first line only, and not too long.
std::string shownWord(const std::string& word) {
    std::string first = word.substr(0, word.find('\r'));
    return quoted(first.size() > 40 ? first.substr(0, 40) + "..." : first);
}

// The entries the walk found, in file order: where each begins and whether it has a "def=" line.
class TwalkedEntries {
public:
    std::vector<long> offsets;
    std::vector<int> lines;
    std::vector<bool> hasDefinition;
    int firstIgnoredLine = 0;  // the first "word=" line past the limit; 0 when there is none
};

class TlistChecker {
public:
    TlistChecker(TcheckReport& result, const TcodePage& listPage)
        : report(result), page(listPage) {}
    void takePiece(const TpieceReader& piece);
    void finishWalk();
    bool stopped() const { return unreadable; }
    const TwalkedEntries& entries() const { return walked; }

private:
    void startLine(const TpieceReader& piece, const std::string& text);
    void reportHiddenKey(const std::string& text);
    void noteKeyInLaterPiece(TlineKind kind, const TpieceReader& piece);
    void finishLine();
    void checkLetters();
    void checkTwoByteCharacters();
    void takeKey(TlineKind kind, const TpieceReader& piece);
    bool beforeFirstEntry() const { return walked.offsets.empty(); }

    TcheckReport& report;
    const TcodePage& page;
    TwalkedEntries walked;
    bool marked = false;
    bool unreadable = false;
    // The physical line being read.
    int line = 0;
    long lineStart = 0;
    long lineBytes = 0;
    int pieces = 0;
    long zeroByteAt = -1;
    bool loneCarriageReturn = false;
    std::string keysInLaterPieces;
    std::string bytes;              // the line's bytes, its line end included
    std::vector<size_t> pieceEnds;  // where in them each piece ends
    // Lines ahead of the first entry that carry text.
    int firstStrayLine = 0;
    int lastStrayLine = 0;
};

void TlistChecker::takePiece(const TpieceReader& piece) {
    std::string text = piece.trimmed();
    if (piece.piece() == 0) {
        finishLine();
        line = piece.line();
        lineStart = piece.offset();
        lineBytes = 0;
        pieces = 0;
        zeroByteAt = -1;
        loneCarriageReturn = false;
        keysInLaterPieces.clear();
        bytes.clear();
        pieceEnds.clear();
        marked = piece.markedList();
        startLine(piece, text);
    }
    bytes += piece.bytes();
    pieceEnds.push_back(bytes.size());
    ++pieces;
    lineBytes += piece.size();
    if (zeroByteAt < 0 && piece.hasZeroByte()) {
        zeroByteAt = piece.offset() - lineStart + static_cast<long>(std::strlen(piece.text()));
    }
    if (text.find('\r') != std::string::npos) loneCarriageReturn = true;
    if (unreadable) return;
    TlineKind kind = lineKind(piece.text());
    if (piece.piece() > 0 && kind != TlineKind::continuation) noteKeyInLaterPiece(kind, piece);
    takeKey(kind, piece);
}

// A piece of a long line that begins with a key: the reader takes it as a key line of its own.
void TlistChecker::noteKeyInLaterPiece(TlineKind kind, const TpieceReader& piece) {
    static const char* const effects[] = {" and starts an entry of its own",
                                          " and sets the definition", " and sets the example"};
    static const char* const keys[] = {wordKey, definitionKey, exampleKey};
    int index = kind == TlineKind::word ? 0 : kind == TlineKind::definition ? 1 : 2;
    keysInLaterPieces += "; the piece at byte " + std::to_string(piece.offset() - lineStart + 1) +
                         " begins with " + keyName(keys[index]) + effects[index];
}

void TlistChecker::startLine(const TpieceReader& piece, const std::string& text) {
    if (walked.firstIgnoredLine) return;  // nothing past the limit is ever read
    if (line == 1 && (text.compare(0, 2, "\xFF\xFE") == 0 || text.compare(0, 2, "\xFE\xFF") == 0)) {
        report.add(line, Tseverity::error,
                   "the file is UTF-16 text; Lexoria reads single bytes and finds no entries in it "
                   "(save it as ANSI text)");
        unreadable = true;
        return;
    }
    ThiddenKey hidden;
    if (findHiddenKey(text, hidden)) reportHiddenKey(text);
    if (beforeFirstEntry() && lineKind(piece.text()) != TlineKind::word && !isBlank(text)) {
        if (!firstStrayLine) firstStrayLine = line;
        lastStrayLine = line;
    }
}

void TlistChecker::reportHiddenKey(const std::string& text) {
    ThiddenKey hidden;
    findHiddenKey(text, hidden);
    std::string seen = text.substr(hidden.prefixLength, std::strlen(hidden.key));
    std::string cause = hidden.prefixLength > 0 ? describePrefix(text, hidden.prefixLength) +
                                                      " before " + quoted(seen) + " makes it no key"
                                                : quoted(seen) + " is no key (keys are lower case)";
    std::string effect;
    if (beforeFirstEntry()) {
        effect = hidden.key == wordKey ? "no entry starts here, and its lines are never read"
                                       : "the line is never read";
    } else if (hidden.key == wordKey) {
        effect = "no entry starts here, and its lines join the entry above";
    } else {
        effect = "the line joins the field above it instead of setting " +
                 std::string(hidden.key == definitionKey ? "the definition" : "the example");
    }
    report.add(line, Tseverity::warning, cause + ": " + effect);
}

void TlistChecker::finishLine() {
    if (line == 0 || walked.firstIgnoredLine || unreadable) return;
    if (pieces > 1) {
        report.add(line, Tseverity::warning,
                   "line of " + std::to_string(lineBytes) +
                       " bytes with its line end: Lexoria reads it as " + std::to_string(pieces) +
                       " separate lines of at most " + std::to_string(lineBufferSize - 1) +
                       " bytes" + keysInLaterPieces);
    }
    if (zeroByteAt >= 0) {
        report.add(line, Tseverity::warning,
                   "zero byte at byte " + std::to_string(zeroByteAt + 1) +
                       ": Lexoria ignores the rest of the line after it");
    }
    checkLetters();
    if (loneCarriageReturn) {
        report.add(line, Tseverity::warning,
                   "carriage return without a line feed inside the line: Lexoria does not start a "
                   "new line there");
    }
}

// A list marked as UTF-8 shows each byte that is not UTF-8 as U+FFFD; a list in a code page with
// two-byte characters must not have one cut by a line or piece end.
void TlistChecker::checkLetters() {
    size_t invalid = firstInvalidUtf8(bytes);
    if (marked && invalid != std::string::npos) {
        report.add(line, Tseverity::warning,
                   "byte " + std::to_string(invalid + 1) +
                       " is not UTF-8: Lexoria shows it as U+FFFD, the replacement character, "
                       "since the byte-order mark makes the list UTF-8");
    }
    if (!marked && invalid != std::string::npos) checkTwoByteCharacters();
}

void TlistChecker::checkTwoByteCharacters() {
    size_t textEnd = bytes.find_last_not_of("\r\n");
    textEnd = textEnd == std::string::npos ? 0 : textEnd + 1;
    size_t nextEnd = 0;
    for (size_t at = 0; at < textEnd;) {
        size_t length = page.characterLength(bytes, at);
        bool cut = at + 1 == textEnd && page.isLeadByte(static_cast<unsigned char>(bytes[at]));
        while (nextEnd < pieceEnds.size() && pieceEnds[nextEnd] <= at) ++nextEnd;
        if (length == 2 && nextEnd < pieceEnds.size() && pieceEnds[nextEnd] == at + 1) cut = true;
        if (cut) {
            report.add(line, Tseverity::warning,
                       "byte " + std::to_string(at + 1) +
                           " begins a two-byte character of code page " +
                           std::to_string(page.number()) + ", but " +
                           (at + 1 == textEnd ? "the line ends"
                                              : "Lexoria's read of the line ends") +
                           " after it: the character is cut in two");
            return;
        }
        at += length;
    }
}

void TlistChecker::takeKey(TlineKind kind, const TpieceReader& piece) {
    if (kind == TlineKind::word) {
        if (walked.firstIgnoredLine == 0 && static_cast<int>(walked.offsets.size()) == maxEntries) {
            // The pieces of this line ahead of this one are still read; nothing after it is.
            if (piece.piece() > 0) finishLine();
            walked.firstIgnoredLine = piece.line();
        }
        if (walked.firstIgnoredLine) {
            ++report.ignoredEntries;
            return;
        }
        walked.offsets.push_back(piece.offset());
        walked.lines.push_back(piece.line());
        walked.hasDefinition.push_back(false);
    } else if (kind == TlineKind::definition && !beforeFirstEntry() && !walked.firstIgnoredLine) {
        walked.hasDefinition.back() = true;
    }
}

void TlistChecker::finishWalk() {
    finishLine();
    if (firstStrayLine) {
        report.add(firstStrayLine, Tseverity::warning,
                   (firstStrayLine == lastStrayLine
                        ? "line " + std::to_string(firstStrayLine) + " comes"
                        : "lines " + std::to_string(firstStrayLine) + "-" +
                              std::to_string(lastStrayLine) + " come") +
                       " before the first " + keyName(wordKey) + " line and " +
                       (firstStrayLine == lastStrayLine ? "is" : "are") + " never read");
    }
}

// "1, 4, 9 and 3 more".
std::string lineList(const std::vector<int>& lines) {
    const size_t shown = 8;
    std::string text;
    for (size_t i = 0; i < lines.size() && i < shown; ++i) {
        text += (i == 0 ? "" : ", ") + std::to_string(lines[i]);
    }
    if (lines.size() > shown) text += " and " + std::to_string(lines.size() - shown) + " more";
    return text;
}

// Without the mark, each entry's letters are told from its bytes alone: a code-page entry that
// happens to be valid UTF-8 shows other letters. The mark settles it for the whole list.
void reportMixedLetters(const std::vector<int>& utf8Lines, const std::vector<int>& codePageLines,
                        TcheckReport& report) {
    if (utf8Lines.empty() || codePageLines.empty()) return;
    report.add(std::min(utf8Lines.front(), codePageLines.front()), Tseverity::warning,
               "entries in UTF-8 (at lines " + lineList(utf8Lines) +
                   ") and in the ANSI code page (at lines " + lineList(codePageLines) +
                   ") are mixed in a list without a byte-order mark; \"lexoria-list export\" to "
                   "a CSV file and \"lexoria-list import\" back writes them all as UTF-8, marked");
}

// The entries as the program reads them: its own offset scan, then each entry from its offset.
void checkEntries(std::FILE* file, const TwalkedEntries& walked, TcheckReport& report) {
    std::vector<int32_t> offsets;
    bool overLong = false;
    std::vector<int> utf8Lines;
    std::vector<int> codePageLines;
    if (!scanEntryOffsets(file, offsets, overLong)) {
        report.add(0, Tseverity::error, "the file cannot be read to its end");
        return;
    }
    if (!std::equal(offsets.begin(), offsets.end(), walked.offsets.begin(), walked.offsets.end()) ||
        overLong != (walked.firstIgnoredLine != 0)) {
        report.add(0, Tseverity::error, "the entries changed while the file was being checked");
        return;
    }
    report.entries = static_cast<int>(offsets.size());
    std::map<std::string, int> firstLineOfWord;
    for (size_t i = 0; i < offsets.size(); ++i) {
        TwordDef entry;
        int line = walked.lines[i];
        if (!readEntryAt(file, offsets[i], entry)) {
            report.add(line, Tseverity::error, "the entry here cannot be read");
            continue;
        }
        if (entry.word.empty()) report.add(line, Tseverity::warning, "the entry has an empty word");
        // The reader's own verdict: a marked list has no code-page entries to mix.
        const TentryLetters kind = entryLetters(entry);
        if (kind == TentryLetters::utf8) utf8Lines.push_back(line);
        if (kind == TentryLetters::codePage) codePageLines.push_back(line);
        if (!walked.hasDefinition[i]) {
            ++report.withoutDefinition;
            report.add(line, Tseverity::warning,
                       "entry " + shownWord(entry.word) + " has no " + keyName(definitionKey) +
                           " line, so its definition is empty");
        }
        auto seen = firstLineOfWord.emplace(entry.word, line);
        if (!seen.second) {
            ++report.duplicateWords;
            report.add(line, Tseverity::note,
                       "the word " + shownWord(entry.word) + " is also at line " +
                           std::to_string(seen.first->second));
        }
    }
    reportMixedLetters(utf8Lines, codePageLines, report);
    if (overLong) {
        report.add(walked.firstIgnoredLine, Tseverity::warning,
                   "this entry and the " + std::to_string(report.ignoredEntries - 1) +
                       " after it are never shown: Lexoria reads at most " +
                       std::to_string(maxEntries) + " entries");
    }
    if (offsets.empty()) {
        report.add(0, Tseverity::error,
                   "no line begins with " + keyName(wordKey) + ": Lexoria has no entry to show");
    }
}

const char* severityName(Tseverity severity) {
    switch (severity) {
    case Tseverity::note: return "note";
    case Tseverity::warning: return "warning";
    case Tseverity::error: return "error";
    }
    return "";
}

}  // namespace

void TcheckReport::add(int line, Tseverity severity, const std::string& text) {
    findings.push_back(Tfinding{line, severity, text});
}

int TcheckReport::count(Tseverity severity) const {
    return static_cast<int>(std::count_if(findings.begin(), findings.end(), [&](const Tfinding& f) {
        return f.severity == severity;
    }));
}

int TcheckReport::exitCode() const {
    if (count(Tseverity::error) > 0) return 2;
    return count(Tseverity::warning) > 0 ? 1 : 0;
}

void checkList(std::FILE* file, TcheckReport& report, const TcodePage& page) {
    TlistChecker walk(report, page);
    TpieceReader reader(file);
    while (!walk.stopped() && reader.next()) walk.takePiece(reader);
    walk.finishWalk();
    if (reader.failed()) {
        report.add(0, Tseverity::error, "the file cannot be read to its end");
    } else if (report.count(Tseverity::error) == 0) {
        checkEntries(file, walk.entries(), report);
    }
    std::stable_sort(report.findings.begin(), report.findings.end(),
                     [](const Tfinding& a, const Tfinding& b) { return a.line < b.line; });
}

void checkListFile(const std::string& path, TcheckReport& report, const TcodePage& page) {
    TfileHolder file = openFile(path, "rb");
    if (!file) {
        report.add(0, Tseverity::error, "cannot open the file");
        return;
    }
    checkList(file.get(), report, page);
}

std::string formatReport(const std::string& name, const TcheckReport& report) {
    std::string text;
    for (const Tfinding& finding : report.findings) {
        text += name;
        if (finding.line > 0) text += ":" + std::to_string(finding.line);
        text += std::string(": ") + severityName(finding.severity) + ": " + finding.text + "\n";
    }
    int warnings = report.count(Tseverity::warning);
    text += name + ": " + counted(report.entries, "entry", "entries") + ", " +
            std::to_string(report.withoutDefinition) + " without " + keyName(definitionKey) + ", " +
            counted(report.duplicateWords, "duplicate word", "duplicate words") + "; " +
            counted(warnings, "warning", "warnings") + "\n";
    return text;
}
