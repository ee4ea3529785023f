// Checking a word list: one walk over its line pieces for the traps that belong to lines, then the
// reader's own offset scan and entry reading for the traps that belong to entries.
#include "checker.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "encoding.h"
#include "fileio.h"
#include "keys.h"
#include "pieces.h"
#include "vocab/wordlist.h"

namespace {

const char* const byteOrderMark = "\xEF\xBB\xBF";

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
    explicit TlistChecker(TcheckReport& result) : report(result) {}
    void takePiece(const TpieceReader& piece);
    void finishWalk();
    bool stopped() const { return unreadable; }
    const TwalkedEntries& entries() const { return walked; }

private:
    void startLine(const TpieceReader& piece, const std::string& text);
    void reportHiddenKey(const std::string& text);
    void noteKeyInLaterPiece(TlineKind kind, const TpieceReader& piece);
    void finishLine();
    void takeKey(TlineKind kind, const TpieceReader& piece);
    bool beforeFirstEntry() const { return walked.offsets.empty(); }

    TcheckReport& report;
    TwalkedEntries walked;
    bool unreadable = false;
    // The physical line being read.
    int line = 0;
    long lineStart = 0;
    long lineBytes = 0;
    int pieces = 0;
    long zeroByteAt = -1;
    bool loneCarriageReturn = false;
    std::string keysInLaterPieces;
    std::string letters;  // the line's text, to tell UTF-8 text by
    // Lines ahead of the first entry that carry text.
    int firstStrayLine = 0;
    int lastStrayLine = 0;
    // Lines of UTF-8 text beyond ASCII.
    int firstUtf8Line = 0;
    int utf8Lines = 0;
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
        letters.clear();
        startLine(piece, text);
    }
    // The byte-order mark at the start of the file has a warning of its own.
    bool markFirst = line == 1 && piece.piece() == 0 && text.compare(0, 3, byteOrderMark) == 0;
    letters += markFirst ? text.substr(3) : text;
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
    bool markFirst = line == 1 && text.compare(0, 3, byteOrderMark) == 0;
    ThiddenKey hidden;
    if (findHiddenKey(text, hidden)) {
        reportHiddenKey(text);
    } else if (markFirst) {
        report.add(line, Tseverity::warning,
                   "the file begins with a UTF-8 byte-order mark; Lexoria reads ANSI bytes, so "
                   "letters outside ASCII show as other characters");
    }
    std::string content = markFirst ? text.substr(3) : text;
    if (beforeFirstEntry() && lineKind(piece.text()) != TlineKind::word && !isBlank(content)) {
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
    if (lettersOf(letters) == Tletters::utf8) {
        if (!firstUtf8Line) firstUtf8Line = line;
        ++utf8Lines;
    }
    if (loneCarriageReturn) {
        report.add(line, Tseverity::warning,
                   "carriage return without a line feed inside the line: Lexoria does not start a "
                   "new line there");
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
    if (firstUtf8Line) {
        std::string more = counted(utf8Lines - 1, "more line", "more lines");
        more = utf8Lines == 1 ? "" : ", here and on " + more;
        report.add(
            firstUtf8Line, Tseverity::warning,
            "UTF-8 text beyond ASCII" + more +
                ": Lexoria shows each such letter as two or "
                "three characters of the ANSI code page; convert the list with \"lexoria-list "
                "export\" to a CSV file and \"lexoria-list import\" back",
            true);
    }
}

// The entries as the program reads them: its own offset scan, then each entry from its offset.
void checkEntries(std::FILE* file, const TwalkedEntries& walked, TcheckReport& report) {
    std::vector<int32_t> offsets;
    bool overLong = false;
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

void TcheckReport::add(int line, Tseverity severity, const std::string& text, bool aboutLetters) {
    findings.push_back(Tfinding{line, severity, text, aboutLetters});
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

void checkList(std::FILE* file, TcheckReport& report) {
    TlistChecker walk(report);
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

void checkListFile(const std::string& path, TcheckReport& report) {
    TfileHolder file = openFile(path, "rb");
    if (!file) {
        report.add(0, Tseverity::error, "cannot open the file");
        return;
    }
    checkList(file.get(), report);
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
