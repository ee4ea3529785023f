// The checker against lists with each trap: line, severity, exit status and entries shown.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "checker.h"
#include "stats.h"
#include "support/test_files.h"

namespace {

using namespace std::string_literals;

// "3 W phrase|5 N phrase" split into its findings.
std::vector<std::string> parseFindings(const std::string& all) {
    std::vector<std::string> findings;
    for (size_t at = 0, end; at < all.size(); at = end + 1) {
        end = std::min(all.find('|', at), all.size());
        findings.push_back(all.substr(at, end - at));
    }
    return findings;
}

// A finding as "3 W text": its line, severity (E, W or N) and message.
std::string shortForm(const Tfinding& found) {
    const char severity = found.severity == Tseverity::error     ? 'E'
                          : found.severity == Tseverity::warning ? 'W'
                                                                 : 'N';
    return std::to_string(found.line) + " " + severity + " " + found.text;
}

struct TrapCase {
    const char* name;
    std::string list;
    int exitCode;
    int entries;
    std::string findings;  // "line severity phrase", joined by |
    int codePage = 0;      // of the entries that are not UTF-8; 0 for the default
};

std::string entries(int count) {
    std::string list;
    for (int i = 1; i <= count; ++i) list += "word=w" + std::to_string(i) + "\r\ndef=d\r\n";
    return list;
}

const std::string bom = "\xEF\xBB\xBF";
const std::string oneEntry = "word=a\r\ndef=b\r\n";
// "日本" in Shift-JIS (code page 932): a lead byte, then a trail byte, for each character.
const std::string nihon = "\x93\xFA\x96\x7B";

const TrapCase trapCases[] = {
    {"clean CR LF list", "word=a\r\ndef=b\r\nmore\r\nex=c\r\n\r\nword=d\r\ndef=e\r\n", 0, 2, ""},
    {"blank lines ahead of the first entry", "\r\n  \r\n" + oneEntry, 0, 1, ""},
    {"byte-order mark before word=", bom + oneEntry + "word=c\r\ndef=d\r\n", 0, 2, ""},
    {"byte-order mark on a line of its own", bom + "\r\n" + oneEntry, 0, 1, ""},
    {"a second byte-order mark before word=", bom + bom + oneEntry + "word=c\r\ndef=d\r\n", 1, 1,
     "1 W byte-order mark before \"word=\"|1 W lines 1-2 come before"},
    {"marked list, bytes that are not UTF-8",
     bom + "word=caf\xC3\xA9\r\ndef=na\xEFve\r\nword=c\r\ndef=\xC3\r\n", 1, 2,
     "2 W byte 7 is not UTF-8|4 W byte 5 is not UTF-8"},
    {"blank before word=", oneEntry + " word=c\r\ndef=d\r\n", 1, 1,
     "3 W a blank before \"word=\" makes it no key: no entry starts here"},
    {"tab before def=", "word=a\r\n\tdef=b\r\n", 1, 1,
     "1 W has no \"def=\" line|2 W a blank before \"def=\""},
    {"no-break space before ex=", oneEntry + "\xA0"s + "ex=c\r\n", 1, 1,
     "3 W a no-break space before \"ex=\""},
    {"keys in other letter case", "word=a\r\nDEF=b\r\nEx=c\r\nWord=d\r\n", 1, 1,
     "1 W has no \"def=\" line|2 W \"DEF=\" is no key|3 W \"Ex=\" is no key|4 W \"Word=\" is no key"},
    {"line of 5000 bytes", "word=a\r\ndef=" + std::string(4996, 'x') + "\r\n", 1, 1,
     "2 W line of 5002 bytes with its line end: Lexoria reads it as 3 separate lines"},
    {"line of 2047 bytes with its line end", "word=a\r\ndef=" + std::string(2041, 'x') + "\r\n", 0,
     1, ""},
    {"line of 2048 bytes with its line end", "word=a\r\ndef=" + std::string(2042, 'x') + "\r\n", 1,
     1, "2 W line of 2048 bytes"},
    {"piece of a long line that begins with word=",
     "word=a\r\ndef=" + std::string(2043, 'x') + "word=hidden\r\ndef=b\r\n", 1, 2,
     "2 W the piece at byte 2048 begins with \"word=\" and starts an entry of its own"},
    {"zero byte", oneEntry + "word=c\r\ndef=d\0e\r\n"s, 1, 2, "4 W zero byte at byte 6"},
    {"UTF-8 entries without the mark", oneEntry + "word=caf\xC3\xA9\r\ndef=d\xC3\xA9j\xC3\xA0\r\n",
     0, 2, ""},
    {"UTF-8 and code-page entries mixed without the mark",
     "word=caf\xC3\xA9\r\ndef=x\r\n" + oneEntry +
         "word=na\xEFve\r\ndef=y\r\nword=\xC3\xA0\r\ndef=z\r\n",
     1, 4, "1 W entries in UTF-8 (at lines 1, 7) and in the ANSI code page (at lines 5) are mixed"},
    {"two-byte character cut by the line end", oneEntry + "word=" + nihon + "\r\ndef=\x93\r\n", 1,
     2, "4 W byte 5 begins a two-byte character of code page 932, but the line ends", 932},
    {"two-byte character cut by a read of 2047 bytes",
     "word=a\r\ndef=" + std::string(2042, 'x') + nihon + "\r\n", 1, 1,
     "2 W line of 2052 bytes|2 W byte 2047 begins a two-byte character of code page 932, but "
     "Lexoria's read",
     932},
    {"two-byte characters kept whole", "word=a\r\ndef=" + std::string(2041, 'x') + nihon + "\r\n",
     1, 1, "2 W line of 2051 bytes", 932},
    {"carriage return inside a line", "word=a\r\ndef=b\rc\r\n", 1, 1,
     "2 W carriage return without a line feed"},
    {"lines ahead of the first entry", "my words\r\n\r\n# notes\r\n" + oneEntry, 1, 1,
     "1 W lines 1-3 come before the first \"word=\" line and are never read"},
    {"entry without def=", "word=x\r\nex=b\r\n" + oneEntry, 1, 2,
     "1 W entry \"x\" has no \"def=\" line"},
    {"empty word", "word=\r\ndef=b\r\n", 1, 1, "1 W empty word"},
    {"duplicate word", oneEntry + "word=c\r\ndef=d\r\n" + oneEntry, 0, 3,
     "5 N \"a\" is also at line 1"},
    {"4000 entries", entries(4000), 0, 4000, ""},
    {"4002 entries", entries(4002), 1, 4000,
     "8001 W this entry and the 1 after it are never shown"},
    {"empty file", "", 2, 0, "0 E no line begins with \"word=\""},
    {"no entries", "def=a\r\nex=b\r\n", 2, 0, "0 E no line begins with|1 W lines 1-2 come before"},
    {"UTF-16 text", "\xFF\xFEw\0o\0r\0d\0=\0a\0\r\0\n\0"s, 2, 0, "1 E UTF-16"},
};

TEST(CheckTest, ReportsEachTrapAtItsLine) {
    for (const TrapCase& test : trapCases) {
        SCOPED_TRACE(test.name);
        TfileHolder file = temporaryFile(test.list);
        TcheckReport report;
        checkList(file.get(), report, TcodePage(test.codePage));
        const std::vector<std::string> findings = parseFindings(test.findings);
        EXPECT_EQ(report.findings.size(), findings.size()) << formatReport("list", report);
        for (size_t i = 0; i < findings.size() && i < report.findings.size(); ++i) {
            const std::string found = shortForm(report.findings[i]);
            const size_t text = findings[i].find(' ', findings[i].find(' ') + 1) + 1;
            EXPECT_EQ(found.substr(0, text), findings[i].substr(0, text)) << found;
            EXPECT_NE(found.find(findings[i].substr(text), text), std::string::npos) << found;
        }
        EXPECT_EQ(report.exitCode(), test.exitCode);
        EXPECT_EQ(report.entries, test.entries);
    }
}

TEST(CheckTest, FormatsFindingsAndSummary) {
    TfileHolder file = temporaryFile("word=a\r\nword=b\r\ndef=c\r\nword=a\r\n");
    TcheckReport report;
    checkList(file.get(), report);
    EXPECT_EQ(formatReport("my.lst", report),
              "my.lst:1: warning: entry \"a\" has no \"def=\" line, so its definition is empty\n"
              "my.lst:4: warning: entry \"a\" has no \"def=\" line, so its definition is empty\n"
              "my.lst:4: note: the word \"a\" is also at line 1\n"
              "my.lst: 3 entries, 2 without \"def=\", 1 duplicate word; 2 warnings\n");
}

// The longest definition counted in the characters the window shows.
TEST(StatsTest, MeasuresDefinitionsInCharacters) {
    const struct {
        const char* name;
        std::string list;
        int codePage;
        const char* longest;  // the "longest definition:" line
    } cases[] = {
        {"marked list",
         bom + "word=a\r\ndef=\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\r\nword=b\r\ndef=abcd\r\n", 0,
         "4 characters in 1 line (\"b\", line 3)"},
        {"UTF-8 entry without the mark",
         "word=a\r\ndef=\xC3\xA9\xC3\xA9\xC3\xA9\r\nword=b\r\ndef=abcd\r\n", 0,
         "4 characters in 1 line (\"b\", line 3)"},
        {"two-byte code page", "word=a\r\ndef=" + nihon + "\r\nword=b\r\ndef=abc\r\n", 932,
         "3 characters in 1 line (\"b\", line 3)"},
        {"lines joined by CR LF", "word=a\r\ndef=na\xEFve\r\nb\r\n", 0,
         "8 characters in 2 lines (\"a\", line 1)"},
        {"a character cut by a 2047-byte read counts once",
         "word=a\r\ndef=" + std::string(2042, 'x') + "\xE6\x97\xA5\r\n", 0,
         "2045 characters in 2 lines (\"a\", line 1)"},
        {"ill-formed runs count once each, as the window shows them",
         bom + "word=a\r\ndef=\xE6\x97z\xF0\x9F\x98\r\n", 0,
         "3 characters in 1 line (\"a\", line 1)"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        TfileHolder file = temporaryFile(test.list);
        TlistStats stats;
        EXPECT_TRUE(collectStats(file.get(), stats, TcodePage(test.codePage)));
        EXPECT_NE(formatStats(stats).find(std::string("longest definition: ") + test.longest),
                  std::string::npos)
            << formatStats(stats);
    }
}

}  // namespace
