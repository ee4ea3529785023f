// The importer and exporter: splitting CSV, tab-separated text and Anki exports into rows, HTML to
// text, fields made safe for the list, and whole imports of real files read back through the
// program's own reader.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "checker.h"
#include "commands.h"
#include "delimited.h"
#include "encoding.h"
#include "html.h"
#include "listwriter.h"
#include "vocab/wordlist.h"
#include "wordlist/list_test_support.h"

namespace {

using namespace std::string_literals;
using Fields = std::vector<std::string>;

struct Row {
    int line;
    Fields fields;
    const char* problem;  // a part of the message; "" for a good row
};

TEST(RecordsTest, SplitsAsRfc4180WritesThem) {
    const struct {
        const char* name;
        std::string text;
        char separator;
        std::vector<Row> rows;
    } cases[] = {
        {"plain rows, CR LF, LF and CR ends", "a,b\r\nc,d\ne,f\rg", ',',
         {{1, {"a", "b"}, ""}, {2, {"c", "d"}, ""}, {3, {"e", "f"}, ""}, {4, {"g"}, ""}}},
        {"doubled quotes", "\"say \"\"hi\"\"\",\"\"\"\"\n", ',', {{1, {"say \"hi\"", "\""}, ""}}},
        {"quoted line breaks move the line count on", "\"one\r\ntwo\",x\r\n\"3\n4\n5\",y\nz,w\n", ',',
         {{1, {"one\r\ntwo", "x"}, ""}, {3, {"3\n4\n5", "y"}, ""}, {6, {"z", "w"}, ""}}},
        {"separators inside quotes", "\"a,b\",c\n", ',', {{1, {"a,b", "c"}, ""}}},
        {"empty lines skipped, empty fields kept", "\n\na,,\n\n,\n", ',',
         {{3, {"a", "", ""}, ""}, {5, {"", ""}, ""}}},
        {"an empty quoted field is a row", "\"\"\n", ',', {{1, {""}, ""}}},
        {"quotes inside a plain field stay", "5\" tall,ok\n", ',', {{1, {"5\" tall", "ok"}, ""}}},
        {"tabs", "a\tb,c\t\"d\te\"\n", '\t', {{1, {"a", "b,c", "d\te"}, ""}}},
        {"text after a closing quote", "\"a\"b,c\nd,e\n", ',', {{1, {}, "after the closing quote"}, {2, {"d", "e"}, ""}}},
        {"a quote that never closes", "x,y\n\"open,\nnext,row\n", ',',
         {{1, {"x", "y"}, ""}, {2, {}, "opens on line 2 never closes"}, {3, {"next", "row"}, ""}}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        std::vector<Trecord> records = splitRecords(test.text, test.separator);
        ASSERT_EQ(records.size(), test.rows.size());
        for (size_t i = 0; i < records.size(); ++i) {
            EXPECT_EQ(records[i].line, test.rows[i].line);
            if (*test.rows[i].problem) {
                EXPECT_NE(records[i].problem.find(test.rows[i].problem), std::string::npos) << records[i].problem;
            } else {
                EXPECT_EQ(records[i].problem, "");
                EXPECT_EQ(records[i].fields, test.rows[i].fields);
            }
        }
    }
}

TEST(AnkiHeaderTest, ReadsTheHeaderLines) {
    const struct {
        std::string text;
        bool valid;
        char separator;
        bool html;
        std::vector<int> metadata;
        int dataLine;
    } cases[] = {
        {"#separator:tab\n#html:true\nx\ty\n", true, '\t', true, {}, 3},
        {"#separator:Comma\r\n#html:false\r\nx,y\r\n", true, ',', false, {}, 3},
        {"#separator: semicolon\n#guid column:1\n#tags column:4\n#deck:Words\nx", true, ';', true, {1, 4}, 5},
        {"#separator:|\nx|y", true, '|', true, {}, 2},
        {"no header\tat all\n", true, '\t', true, {}, 1},
        {"#separator:slash\nx", false, '\t', true, {}, 1},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.text);
        TankiHeader header;
        std::string problem;
        ASSERT_EQ(readAnkiHeader(test.text, header, problem), test.valid) << problem;
        if (!test.valid) continue;
        EXPECT_EQ(header.separator, test.separator);
        EXPECT_EQ(header.html, test.html);
        EXPECT_EQ(header.metadataColumns, test.metadata);
        EXPECT_EQ(header.dataLine, test.dataLine);
        EXPECT_EQ(test.text.substr(header.dataStart, 1), test.dataLine == 1 ? "n" : "x");
    }
}

TEST(HtmlTest, TurnsFieldsIntoPlainText) {
    const struct {
        const char* html;
        const char* text;
    } cases[] = {
        {"one<br>two<BR/>three<br />four", "one\ntwo\nthree\nfour"},
        {"a<br><br>b", "a\n\nb"},
        {"first<div>second</div><div>third</div>", "first\nsecond\nthird"},
        {"<p>para</p><p>graph</p>", "para\ngraph"},
        {"<b>bold</b> and <span style=\"x\">span</span>", "bold and span"},
        {"  lots \n of\t  space  ", "lots of space"},
        {"caf&eacute; &amp; &lt;tea&gt; &quot;q&quot; &#39;s&#x27;", "caf\xC3\xA9 & <tea> \"q\" 's'"},
        {"&ndash;&euro;&#8230;", "\xE2\x80\x93\xE2\x82\xAC\xE2\x80\xA6"},
        {"a&nbsp;&nbsp;b", "a  b"},
        {"&unknown; &amp &#0; &", "&unknown; &amp &#0; &"},
        {"1 < 2 and 3 > 2", "1 < 2 and 3 > 2"},
        {"x<!-- hidden <br> -->y", "xy"},
        {"<style>b { color: red }</style>text", "text"},
        {"word[sound:word.mp3]", "word"},
        {"<br>trimmed<br>", "trimmed"},
    };
    for (const auto& test : cases) EXPECT_EQ(htmlToText(test.html), test.text) << test.html;
}

// Written lines, and the entry read back through the program's reader, for one field each.
TEST(FieldLinesTest, MakesEveryLineReadBackAsMeant) {
    const std::string longWords = std::string(2030, 'a') + " " + std::string(30, 'b');
    const struct {
        const char* name;
        std::string field;
        std::vector<std::string> lines;
    } cases[] = {
        {"one line", "plain", {"plain"}},
        {"line breaks of every kind", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"trailing spaces go, tabs and leading blanks stay", " a  \n\tb\t \n", {" a", "\tb\t", ""}},
        {"empty lines inside stay", "a\n\nb", {"a", "", "b"}},
        {"a line that is a key", "a\nword=b\ndef=c\nex=d", {"a", "word =b", "def =c", "ex =d"}},
        {"keys hidden by case or blanks", "a\nWord=b\n  DEF=c\n\xEF\xBB\xBF" "ex=d",
         {"a", "Word =b", "  DEF =c", "\xEF\xBB\xBF" "ex =d"}},
        {"a key on the first line needs nothing", "word=x", {"word=x"}},
        {"a long line breaks at its last space", longWords, {std::string(2030, 'a'), std::string(30, 'b')}},
        {"a long line without spaces breaks at the limit", std::string(5000, 'c'),
         {std::string(2041, 'c'), std::string(2045, 'c'), std::string(914, 'c')}},
        {"a long line does not split a UTF-8 character", std::string(2040, 'd') + "\xC3\xA9\xC3\xA9\xC3\xA9",
         {std::string(2040, 'd'), "\xC3\xA9\xC3\xA9\xC3\xA9"}},
        {"a broken-off part that would begin with a key", std::string(2038, 'e') + " def=" + std::string(10, 'f'),
         {std::string(2038, 'e'), "def =" + std::string(10, 'f')}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(fieldLines(test.field, 4), test.lines);

        TwordDef fields{"w", test.field, test.field};
        std::string list;
        TwordDef meant = appendEntry(list, fields);
        TemporaryFile file(list + list);
        TwordDef read;
        std::vector<int32_t> offsets;
        bool overLong = false;
        ASSERT_TRUE(scanEntryOffsets(file.get(), offsets, overLong));
        ASSERT_EQ(offsets.size(), 2u);
        ASSERT_TRUE(readEntryAt(file.get(), offsets[1], read));
        EXPECT_EQ(read.word, meant.word);
        EXPECT_EQ(read.definition, meant.definition);
        EXPECT_EQ(read.example, meant.example);
        TcheckReport report;
        checkList(file.get(), report);
        EXPECT_EQ(report.count(Tseverity::warning) + report.count(Tseverity::error), 0)
            << formatReport("list", report);
    }
}

TEST(EncodingTest, ConvertsUtf8ToWindows1252) {
    const struct {
        std::string utf8;
        bool converts;
        std::string result;  // the bytes, or a part of the problem
    } cases[] = {
        {"plain ASCII", true, "plain ASCII"},
        {"caf\xC3\xA9 \xC3\xBF\xC2\xA0", true, "caf\xE9 \xFF\xA0"},
        {"\xE2\x82\xAC \xE2\x80\x99 \xC5\xB8 \xE2\x84\xA2", true, "\x80 \x92 \x9F \x99"},
        {"\xE4\xB8\x80", false, "U+4E00 is not in Windows-1252"},
        {"\xC2\x81", false, "U+0081 is not in Windows-1252"},
        {"ok\xE9", false, "byte 3 is not UTF-8"},
        {"\xC3", false, "byte 1 is not UTF-8"},
        {"\xC0\x80", false, "byte 1 is not UTF-8"},
        {"\xE0\x80\xAF", false, "byte 1 is not UTF-8"},
        {"\xED\xA0\x80", false, "byte 1 is not UTF-8"},
        {"\xF4\x90\x80\x80", false, "byte 1 is not UTF-8"},
    };
    for (const auto& test : cases) {
        std::string ansi;
        std::string problem;
        ASSERT_EQ(utf8ToWindows1252(test.utf8, ansi, problem), test.converts) << test.utf8;
        if (test.converts) {
            EXPECT_EQ(ansi, test.result);
        } else {
            EXPECT_NE(problem.find(test.result), std::string::npos) << problem;
        }
    }
}

class ImportTest : public ::testing::Test {
protected:
    int run(std::vector<std::string> arguments) {
        out.clear();
        err.clear();
        return runCommand(arguments, out, err);
    }
    std::vector<TwordDef> readBack(const std::string& path) {
        std::vector<TwordDef> entries;
        TemporaryFile file(readBytes(path));
        std::vector<int32_t> offsets;
        bool overLong = false;
        EXPECT_TRUE(scanEntryOffsets(file.get(), offsets, overLong));
        for (int32_t offset : offsets) {
            entries.emplace_back();
            EXPECT_TRUE(readEntryAt(file.get(), offset, entries.back()));
        }
        return entries;
    }
    void expectEntries(const std::string& path, const std::vector<TwordDef>& expected) {
        std::vector<TwordDef> read = readBack(path);
        ASSERT_EQ(read.size(), expected.size());
        for (size_t i = 0; i < read.size(); ++i) {
            EXPECT_EQ(read[i].word, expected[i].word) << i;
            EXPECT_EQ(read[i].definition, expected[i].definition) << i;
            EXPECT_EQ(read[i].example, expected[i].example) << i;
        }
        EXPECT_EQ(run({"check", path}), 0) << out;
    }
    ScratchFolder folder;
    std::string out;
    std::string err;
};

TEST_F(ImportTest, SpreadsheetCsvWithMultiLineFieldsAndDoubledQuotes) {
    std::string list = folder.file("lexoria.lst");
    ASSERT_EQ(run({"import", "--header", sourceFile("tests/wordlist/data/spreadsheet.csv"), list}), 0) << err;
    expectEntries(list, {
        {"candid", "truthful and direct; frank", "\"I'll be candid,\" she said."},
        {"laconic", "using very few words;\r\nbrief to the point of seeming rude", "His reply was laconic: no."},
        {"ephemeral", "lasting a very short time", "Fame on the internet is ephemeral.\r\nIt fades within days."},
        {"quixotic", "wildly idealistic;\r\n\r\nnot practical", "A \"quixotic\" plan, doomed from the start."},
    });
    std::string head = "word=candid\r\ndef=truthful and direct; frank\r\nex=\"I'll be candid,\" she said.\r\n";
    EXPECT_EQ(readBytes(list).substr(0, head.size()), head);
}

TEST_F(ImportTest, AnkiExportWithHeadersAndHtml) {
    std::string list = folder.file("anki.lst");
    ASSERT_EQ(run({"import", sourceFile("tests/wordlist/data/anki-export.txt"), list}), 0) << err;
    expectEntries(list, {
        {"ubiquitous", "present, appearing or found everywhere", "Mobile phones are ubiquitous."},
        {"sanguine", "optimistic, especially in a bad situation\r\nalso: blood-red", "She is sanguine about the future."},
        {"caf\xC3\xA9 society", "people who spend time in fashionable caf\xC3\xA9s\r\n& restaurants",
         "They moved in caf\xC3\xA9 society."},
        {"gregarious", "fond of company; sociable\r\n\r\nof animals: living in flocks", "He was \"gregarious\" and lively."},
        {"terse", "sparing in words <abrupt>", "A terse reply."},
    });
}

TEST_F(ImportTest, AnkiExportInTheAnsiCodePage) {
    std::string list = folder.file("anki.lst");
    ASSERT_EQ(run({"import", "--ansi", sourceFile("tests/wordlist/data/anki-export.txt"), list}), 0) << err;
    std::vector<TwordDef> read = readBack(list);
    ASSERT_EQ(read.size(), 5u);
    EXPECT_EQ(read[2].word, "caf\xE9 society");

    std::string input = folder.file("cjk.csv");
    ASSERT_TRUE(writeBytes(input, "a,b\n\xE4\xB8\x80,one\n"));
    EXPECT_EQ(run({"import", "--ansi", input, list}), 2);
    EXPECT_NE(err.find("cjk.csv:2: bad row: in the word, the character U+4E00 is not in Windows-1252"),
              std::string::npos)
        << err;
}

TEST_F(ImportTest, TsvWithMissingColumnsWritesNothingUnlessBadRowsAreSkipped) {
    std::string input = sourceFile("tests/wordlist/data/missing-column.tsv");
    std::string list = folder.file("out.lst");
    ASSERT_TRUE(writeBytes(list, "word=keep\r\ndef=me\r\n"));
    EXPECT_EQ(run({"import", input, list}), 2);
    EXPECT_NE(err.find("missing-column.tsv:2: bad row: the row has 2 fields, but the example is field 3"), std::string::npos) << err;
    EXPECT_NE(err.find("missing-column.tsv:4: bad row: the row has 1 field, but the definition is field 2"), std::string::npos) << err;
    EXPECT_EQ(readBytes(list), "word=keep\r\ndef=me\r\n");
    EXPECT_FALSE(fileExists(list + ".tmp"));

    EXPECT_EQ(run({"import", "--skip-bad", input, list}), 1) << err;
    std::vector<TwordDef> read = readBack(list);
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[2].word, "wary");

    // Without examples only the row that lacks its definition is bad.
    EXPECT_EQ(run({"import", "--ex", "0", "--skip-bad", input, list}), 1) << err;
    EXPECT_EQ(readBack(list).size(), 4u);
    EXPECT_EQ(readBack(list)[1].example, "");
}

TEST_F(ImportTest, RowsThatCannotBecomeEntries) {
    const struct {
        const char* name;
        std::string csv;
        std::vector<std::string> options;
        const char* problem;
    } cases[] = {
        {"empty word", "a,b\n  ,c\n", {}, "2: bad row: the word is empty"},
        {"zero byte", "a,b\nc,d\0e\n"s, {}, "2: bad row: zero byte in the definition"},
        {"unclosed quote", "a,b\n\"c,d\n", {}, "2: bad row: the quoted field that opens on line 2 never closes"},
        {"column past the row", "a,b\n", {"--def", "3"}, "1: bad row: the row has 2 fields, but the definition is field 3"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        std::string input = folder.file("rows.csv");
        ASSERT_TRUE(writeBytes(input, test.csv));
        std::vector<std::string> arguments = {"import"};
        arguments.insert(arguments.end(), test.options.begin(), test.options.end());
        arguments.insert(arguments.end(), {input, folder.file("rows.lst")});
        EXPECT_EQ(run(arguments), 2);
        EXPECT_NE(err.find(test.problem), std::string::npos) << err;
        EXPECT_FALSE(fileExists(folder.file("rows.lst")));
    }
}

TEST_F(ImportTest, MoreRowsThanLexoriaShowsAreBadRows) {
    std::string csv;
    for (int i = 1; i <= 4001; ++i) csv += "w" + std::to_string(i) + ",d\n";
    std::string input = folder.file("many.csv");
    ASSERT_TRUE(writeBytes(input, csv));
    EXPECT_EQ(run({"import", input, folder.file("many.lst")}), 2);
    EXPECT_NE(err.find("many.csv:4001: bad row: Lexoria shows at most 4000 entries"), std::string::npos) << err;
    EXPECT_EQ(run({"import", "--skip-bad", input, folder.file("many.lst")}), 1);
    EXPECT_EQ(readBack(folder.file("many.lst")).size(), 4000u);
}

TEST_F(ImportTest, ColumnsCanBeChosen) {
    std::string input = folder.file("cols.tsv");
    ASSERT_TRUE(writeBytes(input, "tag\tdefinition\tword\texample\n"));
    std::string list = folder.file("cols.lst");
    EXPECT_EQ(run({"import", "--word", "3", "--def", "2", "--ex", "4", input, list}), 0) << err;
    expectEntries(list, {{"word", "definition", "example"}});
    // Columns not given take the remaining ones in order.
    EXPECT_EQ(run({"import", "--word", "3", input, list}), 0) << err;
    expectEntries(list, {{"word", "tag", "definition"}});
}

TEST_F(ImportTest, NeverOverwritesItsInput) {
    std::string input = folder.file("words.csv");
    ASSERT_TRUE(writeBytes(input, "a,b\n"));
    EXPECT_EQ(run({"import", input, input}), 2);
    EXPECT_NE(err.find("is the input file"), std::string::npos) << err;
    std::string input2 = folder.file("words.csv.tmp");
    ASSERT_TRUE(writeBytes(input2, "a,b\n"));
    EXPECT_EQ(run({"import", input2, folder.file("words.csv")}), 2);
    EXPECT_EQ(readBytes(input), "a,b\n");
    EXPECT_EQ(readBytes(input2), "a,b\n");
}

TEST_F(ImportTest, RoundTripThroughCsvKeepsTheBundledListByteForByte) {
    std::string bundled = sourceFile("data/lexoria.lst");
    std::string csv = folder.file("bundled.csv");
    std::string list = folder.file("lexoria.lst");
    ASSERT_EQ(run({"export", bundled, csv}), 0) << err;
    ASSERT_EQ(run({"import", csv, list}), 0) << err;
    EXPECT_TRUE(readBytes(list) == readBytes(bundled)) << "the re-imported list differs";
}

TEST(CommandLineTest, RefusesCommandLinesItCannotUse) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"check"},
        {"check", "a", "b"},
        {"import", "in.csv"},
        {"import", "--format", "xml", "in.csv", "out.lst"},
        {"import", "--word", "x", "in.csv", "out.lst"},
        {"import", "--word"},
        {"import", "--verbose", "in.csv", "out.lst"},
        {"export", "list"},
    };
    for (const auto& arguments : cases) {
        std::string out;
        std::string err;
        EXPECT_EQ(runCommand(arguments, out, err), 3) << (arguments.empty() ? "" : arguments[0]);
        EXPECT_NE(err.find("usage: lexoria-list check FILE"), std::string::npos);
    }
}

}  // namespace
