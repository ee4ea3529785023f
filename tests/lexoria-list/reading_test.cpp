// The list tool reads a list as the window does (lists cut every way by a 2047-byte read, cut
// sequences): export holds what the window shows, and check's advised fix keeps it. Host and Windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands.h"
#include "delimited.h"
#include "support/test_files.h"
#include "vocab/wordlist.h"
#ifdef _WIN32
#include "vocab/displaytext.h"
#else
#include "codepage.h"
#endif

namespace {

const std::string mark = "\xEF\xBB\xBF";

std::string cutLine(const std::string& key, const std::string& character, size_t keep) {
    return key + std::string(lineBufferSize - 1 - key.size() - keep, 'x') + character +
           " after\r\n";
}

// Characters of two, three and four bytes cut after each byte, in "word=" or "def=" lines.
std::string cutEntries(const std::string& key) {
    const std::string characters[] = {"\xD0\xB4", "\xE6\x97\xA5", "\xF0\x9F\x98\x80"};
    std::string list;
    int number = 0;
    for (const std::string& character : characters) {
        for (size_t keep = 1; keep < character.size(); ++keep) {
            const std::string name = "w" + std::to_string(++number);
            if (key == "word=") list += cutLine(key, character, keep) + "def=d\r\n";
            else list += "word=" + name + "\r\n" + cutLine(key, character, keep);
        }
    }
    return list;
}

// Sequences cut short (at a piece join, a line break, a field's end) and a lone continuation byte.
const std::string truncatedEntries =
    "word=caf\xC3\xA9\r\ndef=coffee\r\n"
    "word=t1\r\ndef=" +
    std::string(lineBufferSize - 1 - 4 - 2, 'x') +
    "\xE6\x97z\r\n"
    "word=t2\r\ndef=Gru\xDF\r\n\x96 informal\r\n"
    "word=t3\r\ndef=abc\xC3\r\n\xA9"
    "def\r\n"
    "word=t4\r\ndef=end\xF0\x9F\x98\r\n"
    "word=t5\r\ndef=a\x80z\r\nex=\xE9t\xE9\r\n";

// Russian, unmarked, a 3527-byte line whose first read ends inside a letter.
std::string russianList() {
    std::string definition = "(";
    for (int i = 0; i < 320; ++i) definition += "\xD1\x81\xD0\xBB\xD0\xBE\xD0\xB2\xD0\xBE ";
    return "word=\xD0\xBA\xD0\xBE\xD1\x82\r\ndef=\xD0\xB4\xD0\xBE\xD0\xBC\r\n"
           "word=\xD1\x81\xD0\xBB\xD0\xBE\xD0\xB2\xD0\xBE\r\ndef=" +
           definition + "\r\n";
}

struct TlistCase {
    std::string name;
    std::string bytes;
};

std::vector<TlistCase> listCases() {
    std::vector<TlistCase> cases;
    for (const bool marked : {false, true}) {
        const std::string head = marked ? mark : "";
        const std::string how = marked ? ", marked" : ", unmarked";
        cases.push_back({"cut in word= lines" + how, head + cutEntries("word=")});
        cases.push_back({"cut in def= lines" + how, head + cutEntries("def=")});
        cases.push_back({"sequences cut short" + how, head + truncatedEntries});
    }
    cases.push_back({"Russian with a 3527-byte line", russianList()});
    return cases;
}

std::u16string utf16Of(const std::string& utf8) {
    std::u16string text;
    decodeUtf8(utf8, &text);
    return text;
}

// A field as the window shows it; on the host Windows-1252 stands in for the ANSI code page.
std::u16string shownInWindow(const std::string& field, TtextEncoding encoding) {
#ifdef _WIN32
    const std::wstring shown = displayText(field, encoding);
    return std::u16string(shown.begin(), shown.end());
#else
    if (encoding == TtextEncoding::codePage) return utf16Of(TcodePage().toUtf8(field));
    return utf16Of(field);
#endif
}

using Tshown = std::vector<std::u16string>;  // word, definition and example of each entry

Tshown shownEntries(const std::string& path) {
    Tshown shown;
    TfileHolder file(std::fopen(path.c_str(), "rb"));
    std::vector<int32_t> offsets;
    bool overLong = false;
    EXPECT_TRUE(file && scanEntryOffsets(file.get(), offsets, overLong));
    for (int32_t offset : offsets) {
        TwordDef entry;
        EXPECT_TRUE(readEntryAt(file.get(), offset, entry));
        for (const std::string* field : {&entry.word, &entry.definition, &entry.example})
            shown.push_back(shownInWindow(*field, entry.encoding));
    }
    return shown;
}

Tshown exportedCells(const std::string& csv) {
    Tshown cells;
    EXPECT_EQ(mark, csv.substr(0, mark.size()));
    const std::vector<Trecord> records = splitRecords(csv.substr(mark.size()), ',');
    for (size_t i = 1; i < records.size(); ++i) {
        EXPECT_EQ(3u, records[i].fields.size()) << "record " << i;
        for (const std::string& cell : records[i].fields) cells.push_back(utf16Of(cell));
    }
    return cells;
}

// `before` with line breaks added, alone or for a blank (import splits lines too long for one read).
bool sameButForAddedLineBreaks(const std::u16string& before, const std::u16string& after) {
    size_t i = 0;
    for (size_t j = 0; j < after.size();) {
        if (i < before.size() && after[j] == before[i]) {
            ++i, ++j;
        } else if (after.compare(j, 2, u"\r\n") == 0) {
            j += 2;
            if (i < before.size() && before[i] == u' ') ++i;
        } else {
            return false;
        }
    }
    return i == before.size();
}

class TreadingTest : public testing::Test {
protected:
    int run(const std::vector<std::string>& arguments) {
        out.clear();
        err.clear();
        return runCommand(arguments, out, err);
    }
    TscratchFolder folder;
    const std::string list = folder.file("lexoria.lst");
    const std::string csv = folder.file("words.csv");
    std::string out, err;
};

TEST_F(TreadingTest, ExportHoldsInEveryCellWhatTheWindowShows) {
    for (const TlistCase& c : listCases()) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(writeFile(list, c.bytes));
        ASSERT_EQ(0, run({"export", list, csv})) << err;
        const Tshown window = shownEntries(list);
        const Tshown cells = exportedCells(readBytes(csv));
        ASSERT_EQ(window.size(), cells.size());
        for (size_t i = 0; i < cells.size(); ++i)
            EXPECT_TRUE(cells[i] == window[i]) << "entry " << i / 3 + 1 << ", field " << i % 3;
    }
}

// Check's advice for a mixed list, an export and import back, leaves the window showing the same.
TEST_F(TreadingTest, CheckAdviceCarriedOutLeavesWhatTheWindowShows) {
    const std::string advice =
        "\"lexoria-list export\" to a CSV file and \"lexoria-list import\" back";
    const std::string fixed = folder.file("fixed.lst");
    int advised = 0;
    for (const TlistCase& c : listCases()) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(writeFile(list, c.bytes));
        run({"check", list});
        if (out.find(advice) == std::string::npos) continue;
        ++advised;
        ASSERT_EQ(0, run({"export", list, csv})) << err;
        ASSERT_EQ(0, run({"import", csv, fixed})) << err;
        EXPECT_EQ(0, run({"check", fixed})) << out;
        const Tshown before = shownEntries(list), after = shownEntries(fixed);
        ASSERT_EQ(before.size(), after.size());
        for (size_t i = 0; i < before.size(); ++i)
            EXPECT_TRUE(sameButForAddedLineBreaks(before[i], after[i]))
                << "entry " << i / 3 + 1 << ", field " << i % 3;
    }
    EXPECT_GT(advised, 0);  // the unmarked list of cut sequences mixes the two
}

}  // namespace
