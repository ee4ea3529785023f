// The importer and exporter on real files, read back through the program's own reader, and
// fields that would mislead the reader written so that it reads them as meant.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "checker.h"
#include "codepage932_cases.h"
#include "commands.h"
#include "listwriter.h"
#include "vocab/wordlist.h"
#include "support/test_files.h"

namespace {

using namespace std::string_literals;

std::vector<TwordDef> readBack(const std::string& list) {
    std::vector<TwordDef> entries;
    TfileHolder file = temporaryFile(list);
    std::vector<int32_t> offsets;
    bool overLong = false;
    EXPECT_TRUE(scanEntryOffsets(file.get(), offsets, overLong));
    for (int32_t offset : offsets) {
        entries.emplace_back();
        EXPECT_TRUE(readEntryAt(file.get(), offset, entries.back()));
    }
    return entries;
}

std::vector<std::vector<std::string>> fieldsOf(const std::vector<TwordDef>& entries) {
    std::vector<std::vector<std::string>> all;
    for (const TwordDef& e : entries) all.push_back({e.word, e.definition, e.example});
    return all;
}

// Sorted, so that a temporary file left behind shows.
std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class TimportTest : public ::testing::Test {
protected:
    int run(const std::vector<std::string>& arguments) {
        out.clear();
        err.clear();
        return runCommand(arguments, out, err);
    }
    void expectImport(const char* file, const std::vector<TwordDef>& expected) {
        ASSERT_EQ(run({"import", sourceFile("tests/lexoria-list/data/"s + file), list}), 0) << err;
        EXPECT_EQ(fieldsOf(readBack(readBytes(list))), fieldsOf(expected));
        EXPECT_EQ(run({"check", list}), 0) << out;
    }
    TscratchFolder folder;
    const std::string list = folder.file("lexoria.lst");
    std::string out, err;
};

TEST_F(TimportTest, SpreadsheetCsvWithMultiLineFieldsAndDoubledQuotes) {
    expectImport("spreadsheet.csv",
                 {
                     {"candid", "truthful and direct; frank", "\"I'll be candid,\" she said."},
                     {"laconic", "using very few words;\r\nbrief to the point of seeming rude",
                      "His reply was laconic: no."},
                     {"ephemeral", "lasting a very short time",
                      "Fame on the internet is ephemeral.\r\nIt fades within days."},
                     {"quixotic", "wildly idealistic;\r\n\r\nnot practical",
                      "A \"quixotic\" plan, doomed from the start."},
                 });
}

TEST_F(TimportTest, AnkiExportWithHeadersAndHtml) {
    expectImport("anki-export.txt",
                 {
                     {"ubiquitous", "present, appearing or found everywhere",
                      "Mobile phones are ubiquitous."},
                     {"sanguine", "optimistic, especially in a bad situation\r\nalso: blood-red",
                      "She is sanguine about the future."},
                     {"caf\xE9 society",
                      "people who spend time in fashionable caf\xE9s\r\n& restaurants",
                      "They moved in caf\xE9 society."},
                     {"gregarious", "fond of company; sociable\r\n\r\nof animals: living in flocks",
                      "He was \"gregarious\" and lively."},
                     {"terse", "sparing in words <abrupt>", "A terse reply."},
                     {"euro",
                      "\x80"
                      "5 &# 65; &#+65;",
                      "\x80"},
                 });
}

// Header rows and letters as meant (UTF-8 kept, or put in a code page field by field); a failed
// import leaves the list as it was; code page 932 refuses what Linux's CP932 would write wrongly.
TEST_F(TimportTest, ReadsHeaderRowsAndLettersAsMeant) {
    const std::string lodz = "\xC5\x81\xC3\xB3"s + "d\xC5\xBA,city\r\n";
    const std::string mixed = "caf\xC3\xA9,x\r\nna\xEFve,y\r\n";  // UTF-8, then Windows-1252
    struct Tcase {
        const char* name;
        const char* options;  // separated by spaces
        std::string input;
        int status;
        std::string listOrError;
    };
    std::vector<Tcase> cases = {
        {"names in another order, UTF-8 with a mark", "",
         "\xEF\xBB\xBF Meaning ,TERM,usage\r\nwith milk,caf\xC3\xA9,Un caf\xC3\xA9.\r\n", 0,
         "\xEF\xBB\xBFword=caf\xC3\xA9\r\ndef=with milk\r\nex=Un caf\xC3\xA9.\r\n"},
        {"a first word that names the definition column", "",
         "back,the rear surface of the body,\r\nabate,to lessen,\r\nzeal,great energy,\r\n", 0,
         "word=back\r\ndef=the rear surface of the body\r\nword=abate\r\ndef=to lessen\r\n"
         "word=zeal\r\ndef=great energy\r\n"},
        {"a first line of # with a colon in a CSV", "", "#1: my words,mine\r\nb,c\r\n", 0,
         "word=#1: my words\r\ndef=mine\r\nword=b\r\ndef=c\r\n"},
        {"a row without names is data", "", "word list,meanings\r\n", 0,
         "word=word list\r\ndef=meanings\r\n"},
        {"--header skips a row without names", "--header", "a,b\r\nc,d\r\n", 0,
         "word=c\r\ndef=d\r\n"},
        {"--no-header reads names as data", "--no-header", "Term,Meaning\r\n", 0,
         "word=Term\r\ndef=Meaning\r\n"},
        {"UTF-8 kept in a marked list", "", lodz, 0,
         "\xEF\xBB\xBFword=" + lodz.substr(0, 7) + "\r\ndef=city\r\n"},
        {"a letter code page 1252 lacks", "--codepage 1252", lodz, 2,
         "in.csv:1: bad row: in the word, the character U+0141"},
        {"code page 1250 has it", "--codepage 1250", lodz, 0,
         "word=\xA3\xF3"s + "d\x9F\r\ndef=city\r\n"},
        {"bytes that are not UTF-8 are kept", "", "na\xEFve\x81,x\r\n", 0,
         "word=na\xEFve\x81\r\ndef=x\r\n"},
        {"Anki: entities in the code page, a note no names", "",
         "#html:true\r\nna\xEFve\x81 &amp; caf&eacute;\tusage\r\n", 0,
         "word=na\xEFve\x81 & caf\xE9\r\ndef=usage\r\n"},
        {"a field not in UTF-8 beside UTF-8 ones", "", mixed, 0,
         "\xEF\xBB\xBFword=caf\xC3\xA9\r\ndef=x\r\nword=na\xC3\xAFve\r\ndef=y\r\n"},
        {"the same put in a code page", "--codepage 1252", mixed, 0,
         "word=caf\xE9\r\ndef=x\r\nword=na\xEFve\r\ndef=y\r\n"},
        {"code-page bytes that read as UTF-8", "--ansi", "\xC3\x83\xC2\xA9,x\r\n", 2,
         "in.csv:1: bad row: its bytes in code page 1252 read as UTF-8 too"},
        {"into the UTF-8 page, the ANSI code page of a system set to it", "--codepage 65001",
         lodz + "\xE6\x97\xA5,Japan\r\n", 0,
         "word=" + lodz.substr(0, 7) + "\r\ndef=city\r\nword=\xE6\x97\xA5\r\ndef=Japan\r\n"},
    };
    for (const codePage932::Tcase& c : codePage932::cases)
        cases.push_back({c.name, "--codepage 932", "w,"s + c.utf8 + "\r\n", c.bytes ? 0 : 2,
                         c.bytes ? "word=w\r\ndef="s + c.bytes + "\r\n"
                                 : "in.csv:1: bad row: in the definition, the character "s +
                                       c.lacking + " is not in code page 932"});
    const std::string input = folder.file("in.csv"), old = "word=old\r\ndef=list\r\n";
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        ASSERT_TRUE(writeFile(input, test.input) && writeFile(list, old));
        std::istringstream options(test.options);
        std::vector<std::string> arguments = {"import"};
        arguments.insert(arguments.end(), std::istream_iterator<std::string>(options), {});
        arguments.insert(arguments.end(), {input, list});
        EXPECT_EQ(run(arguments), test.status) << err;
        EXPECT_EQ(readBytes(list), test.status == 0 ? test.listOrError : old);
        if (test.status != 0) {
            EXPECT_NE(err.find(test.listOrError), std::string::npos) << err;
        }
    }
}

TEST_F(TimportTest, TsvWithMissingColumnsWritesNothingUnlessBadRowsAreSkipped) {
    std::string input = sourceFile("tests/lexoria-list/data/missing-column.tsv");
    ASSERT_TRUE(writeFile(list, "word=keep\r\ndef=me\r\n"));
    auto reported = [&](const char* message) { return err.find(message) != std::string::npos; };
    EXPECT_EQ(run({"import", input, list}), 2);
    EXPECT_TRUE(reported("column.tsv:2: bad row: the row has 2 fields, but the example is field 3"))
        << err;
    EXPECT_TRUE(
        reported("column.tsv:4: bad row: the row has 1 field, but the definition is field 2"))
        << err;
    EXPECT_EQ(readBytes(list), "word=keep\r\ndef=me\r\n");
    EXPECT_EQ(filesIn(folder.path()), std::vector<std::string>{"lexoria.lst"});
    ASSERT_TRUE(writeFile(folder.file("one.csv"), "a\nb\n"));
    EXPECT_EQ(run({"import", folder.file("one.csv"), list}), 2);
    EXPECT_TRUE(reported("one.csv:1: bad row: the row has 1 field, but the definition is field 2"))
        << err;
    // Written, then refused its place: the written file goes too.
    std::filesystem::create_directory(folder.file("taken.lst"));
    EXPECT_EQ(run({"import", "--skip-bad", input, folder.file("taken.lst")}), 2);
    EXPECT_TRUE(reported("cannot replace")) << err;
    EXPECT_EQ(filesIn(folder.path()),
              (std::vector<std::string>{"lexoria.lst", "one.csv", "taken.lst"}));

    EXPECT_EQ(run({"import", "--skip-bad", input, list}), 1) << err;
    std::vector<TwordDef> read = readBack(readBytes(list));
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[0].word, "obdurate");
    EXPECT_EQ(read[2].word, "wary");
}

// A temporary name that fits whatever the target's name; the replaced file's permission bits kept.
TEST_F(TimportTest, WritesOutputsOfEveryNameAndMode) {
    const struct {
        const char* name;
        std::string output;
        int modeBefore;  // -1 for no file there before
        int modeAfter;
    } cases[] = {
        {"a name of 235 bytes", std::string(231, 'n') + ".lst", -1, 0644},
        {"a name of 255 bytes", std::string(251, 'n') + ".lst", -1, 0644},
        {"a name of 255 bytes in UTF-8",
         std::string(233, 'n') +
             "\xC5\x81\xC5\x81\xC5\x81\xC5\x81\xC5\x81\xC5\x81\xC5\x81\xC5\x81\xC5\x81.lst",
         -1, 0644},
        {"a private list", "private.lst", 0600, 0600},
        {"a list for the group", "group.lst", 0640, 0640},
    };
    const std::string input = folder.file("in.csv");
    ASSERT_TRUE(writeFile(input, "a,b\r\n"));
    const mode_t oldMask = umask(022);
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        const std::string output = folder.file(test.output);
        if (test.modeBefore >= 0) {
            ASSERT_TRUE(writeFile(output, "word=old\r\ndef=list\r\n"));
            ASSERT_EQ(chmod(output.c_str(), static_cast<mode_t>(test.modeBefore)), 0);
        }
        EXPECT_EQ(run({"import", input, output}), 0) << err;
        EXPECT_EQ(readBytes(output), "word=a\r\ndef=b\r\n");
        struct stat written = {};
        EXPECT_EQ(stat(output.c_str(), &written), 0);
        EXPECT_EQ(written.st_mode & 07777, static_cast<mode_t>(test.modeAfter));
        std::vector<std::string> expected = {"in.csv", test.output};
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(filesIn(folder.path()), expected);
        std::filesystem::remove(output);
    }
    umask(oldMask);
}

const std::string mark = "\xEF\xBB\xBF";
const std::string csvHead = mark + "word,definition,example\r\n";

// Export converts a code-page list from the page named; UTF-8 and U+FFFD in every cell are
// TreadingTest.ExportHoldsInEveryCellWhatTheWindowShows's.
TEST_F(TimportTest, ExportsACodePageListFromItsPage) {
    ASSERT_TRUE(writeFile(list, "word=\xEC\xE8\xF0\r\ndef=peace\r\n"));
    const std::string csv = folder.file("out.csv");
    EXPECT_EQ(run({"export", "--codepage", "1251", list, csv}), 0) << err;
    EXPECT_EQ(readBytes(csv), csvHead + "\xD0\xBC\xD0\xB8\xD1\x80,peace,\r\n");
}

// Export then import gives the list back byte for byte (also when its first word is a column
// name); a UTF-8 CSV imports into a marked list that checks clean and exports to the same cells.
TEST_F(TimportTest, RoundTripThroughCsvKeepsTheListAndEveryScript) {
    const std::string csv = folder.file("in.csv"), back = folder.file("back.csv");
    const std::string namedFirst = folder.file("named.lst");
    ASSERT_TRUE(writeFile(namedFirst, "word=back\r\ndef=the rear\r\n"));
    for (const std::string& original : {sourceFile("data/lexoria.lst"), namedFirst}) {
        ASSERT_EQ(run({"export", original, back}), 0) << err;
        ASSERT_EQ(run({"import", back, list}), 0) << err;
        EXPECT_TRUE(readBytes(list) == readBytes(original)) << original;
    }
    const std::string sixScripts = csvHead +
                                   "Łódź,miasto w Polsce,\r\n"
                                   "Москва,столица России,\r\n"
                                   "θάλασσα,the sea,\"Η θάλασσα, γαλάζια.\"\r\n"
                                   "日本語,Japanese,\r\n"
                                   "مرحبا,hello,\r\n"
                                   "café,coffee,\r\n";
    ASSERT_TRUE(writeFile(csv, sixScripts));
    ASSERT_EQ(run({"import", csv, list}), 0) << err;
    EXPECT_EQ(readBytes(list).substr(0, 3), mark);
    EXPECT_EQ(run({"check", list}), 0) << out;
    ASSERT_EQ(run({"export", list, back}), 0) << err;
    EXPECT_EQ(readBytes(back), sixScripts);
}

TEST(FieldLinesTest, MakesEveryLineReadBackAsMeant) {
    const std::string nihon = "\x93\xFA\x96\x7B";  // two two-byte characters of code page 932
    const struct {
        const char* name;
        std::string field;
        std::vector<std::string> lines;
        int codePage = 0;  // the list's, when it is not UTF-8
    } cases[] = {
        {"line breaks of every kind", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"trailing spaces go, tabs and leading blanks stay", " a  \n\tb\t \n", {" a", "\tb\t", ""}},
        {"a line that is a key", "a\nword=b\ndef=c\nex=d", {"a", "word =b", "def =c", "ex =d"}},
        {"keys hidden by case, blanks or a byte-order mark",
         "a\nWord=b\n  DEF=c\n\xEF\xBB\xBF"
         "ex=d",
         {"a", "Word =b", "  DEF =c",
          "\xEF\xBB\xBF"
          "ex =d"}},
        {"a key on the first line needs nothing", "word=x", {"word=x"}},
        {"a long line breaks at its last space",
         std::string(2030, 'a') + " " + std::string(30, 'b'),
         {std::string(2030, 'a'), std::string(30, 'b')}},
        {"a long line without spaces breaks at the limit",
         std::string(5000, 'c'),
         {std::string(2041, 'c'), std::string(2045, 'c'), std::string(914, 'c')}},
        {"a long line does not split a UTF-8 character",
         std::string(2040, 'd') + "\xC3\xA9\xC3\xA9\xC3\xA9",
         {std::string(2040, 'd'), "\xC3\xA9\xC3\xA9\xC3\xA9"}},
        {"a long line does not split a two-byte character of code page 932",
         std::string(2040, 'd') + nihon + nihon,
         {std::string(2040, 'd'), nihon + nihon},
         932},
        {"trail bytes that look like lead bytes",
         std::string(2039, 'd') + "\x93\x93\x93\x93",
         {std::string(2039, 'd') + "\x93\x93", "\x93\x93"},
         932},
        {"a broken-off part that would begin with a key",
         std::string(2038, 'e') + " def=" + std::string(10, 'f'),
         {std::string(2038, 'e'), "def =" + std::string(10, 'f')}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        TcodePage page(test.codePage);
        const TcodePage* listPage = test.codePage ? &page : nullptr;
        EXPECT_EQ(fieldLines(test.field, 4, listPage), test.lines);
        // Twice, so that the first entry's end shows in where the second starts.
        std::string list;
        TwordDef meant = appendEntry(list, {"w", test.field, test.field}, listPage);
        appendEntry(list, {"w", test.field, test.field}, listPage);
        EXPECT_EQ(fieldsOf(readBack(list)), fieldsOf({meant, meant}));
        TfileHolder file = temporaryFile(list);
        TcheckReport report;
        checkList(file.get(), report, page);
        for (const Tfinding& found : report.findings)
            EXPECT_EQ(found.severity, Tseverity::note) << found.text;
    }
}

}  // namespace
