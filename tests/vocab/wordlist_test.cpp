// The word list reader over real streams: where entries begin and what each one reads as, byte
// for byte, for awkward files with LF and CR LF line ends alike.
#include <gtest/gtest.h>

#include "support/test_files.h"
#include "vocab/wordlist.h"

using namespace std::string_literals;

namespace {

// The bytes with every LF written as the line end given.
std::string withLineEnds(const std::string& lfBytes, const std::string& lineEnd) {
    std::string out;
    for (char c : lfBytes) out += c == '\n' ? lineEnd : std::string(1, c);
    return out;
}

std::vector<std::string> fields(const TwordDef& e) {
    return {e.word, e.definition, e.example,
            e.encoding == TtextEncoding::utf8 ? "(UTF-8)" : "(code page)"};
}

const TtextEncoding utf8 = TtextEncoding::utf8;

// What a record holds before a read; a read must replace all of it.
const TwordDef sentinel{"old word", "old definition", "old example"};

// A physical line of 5000 bytes: pieces of 2047, 2047 and 906 bytes, the second a key line.
const std::string longLine =
    "def=" + std::string(2043, 'a') + "word=" + std::string(2042, 'b') + std::string(906, 'c');

const struct {
    const char* name;
    std::string lfBytes;
    std::vector<TwordDef> entries;  // each begins at the first "word=" line of its word
} fileCases[] = {
    {"continuations join with CR LF; a repeated key replaces the field",
     "word=abate\ndef=one\nmore\ndef=to lessen\nor intensity\nex=The storm abated.\nword=candid\n",
     {{"abate", "to lessen\r\nor intensity", "The storm abated."}, {"candid", "", ""}}},
    {"keys in other case or after a blank are continuations",
     "word=k\nWord=W\nDEF=D\n ex=E\ndef=d\n\tex=t\nex=e\n",
     {{"k\r\nWord=W\r\nDEF=D\r\n ex=E", "d\r\n\tex=t", "e"}}},
    {"trailing spaces go, tabs and spaces after a key stay",
     "word=t  \ndef= big \t \nex=\t\n",
     {{"t", " big \t", "\t"}}},
    {"an empty line before the next entry",
     "word=a\ndef=x\n\nword=b\n",
     {{"a", "x\r\n", ""}, {"b", "", ""}}},
    {"after a byte-order mark the first entry is found, and every entry is UTF-8",
     "\xEF\xBB\xBFword=bom\ndef=shown\nword=real\xFF\n",
     {{"bom", "shown", "", utf8}, {"real\xFF", "", "", utf8}}},
    {"without the mark each entry is UTF-8 or in the code page on its own",
     "word=caf\xC3\xA9\nword=caf\xE9\nword=plain\nword=w\nex=\xE6\x97\xA5\xE6\x9C\n",
     {{"caf\xC3\xA9", "", "", utf8},
      {"caf\xE9", "", ""},
      {"plain", "", ""},
      {"w", "", "\xE6\x97\xA5\xE6\x9C"}}},
    {"a mark further on is no mark",
     "word=a\n\xEF\xBB\xBFword=b\n",
     {{"a\r\n\xEF\xBB\xBFword=b", "", "", utf8}}},
    {"a character across a piece boundary leaves the entry UTF-8",
     "word=j\ndef=" + std::string(2042, 'a') + "\xE6\x97\xA5" + "\n",
     {{"j", std::string(2042, 'a') + "\xE6\r\n\x97\xA5", "", utf8}}},
    {"a zero byte ends its line's text",
     "word=ze\0ro\ndef=a\0b\nword=next\n"s,
     {{"ze", "a", ""}, {"next", "", ""}}},
    {"a 5000-byte line splits into pieces, one of them an entry",
     "word=long\n" + longLine + "\nex=e\n",
     {{"long", std::string(2043, 'a'), ""},
      {std::string(2042, 'b') + "\r\n" + std::string(906, 'c'), "", "e"}}},
    {"a zero byte inside a long line",
     "word=z\n" + std::string(100, 'a') + '\0' + std::string(2900, 'b') + "\nword=after\n",
     {{"z\r\n" + std::string(100, 'a') + "\r\n" + std::string(954, 'b'), "", ""},
      {"after", "", ""}}},
};

TEST(WordList, OffsetsAndEntriesAreByteExactInLfAndCrLfFiles) {
    for (const auto& c : fileCases) {
        for (const std::string lineEnd : {"\n", "\r\n"}) {
            const std::string bytes = withLineEnds(c.lfBytes, lineEnd);
            SCOPED_TRACE(std::string(c.name) + (lineEnd == "\n" ? " (LF)" : " (CR LF)"));
            TfileHolder stream = temporaryFile(bytes);
            std::vector<int32_t> offsets;
            bool overLong = false;
            ASSERT_TRUE(scanEntryOffsets(stream.get(), offsets, overLong));
            std::vector<int32_t> expected;
            for (const TwordDef& e : c.entries)
                expected.push_back(
                    int32_t(bytes.find("word=" + e.word.substr(0, e.word.find('\r')))));
            ASSERT_EQ(expected, offsets);
            for (size_t i = 0; i < offsets.size(); ++i) {
                TwordDef entry = sentinel;
                EXPECT_TRUE(entryBeginsAt(stream.get(), offsets[i]));
                ASSERT_TRUE(readEntryAt(stream.get(), offsets[i], entry));
                EXPECT_EQ(fields(c.entries[i]), fields(entry));
            }
        }
    }
}

// Where an index made for another file under the same time may point: only a "word=" at the
// start of a line, or of a piece of a long line, begins an entry.
TEST(WordList, AnOffsetWhereNoEntryBeginsFailsAndLeavesTheRecord) {
    const std::string bytes = "word=abate\r\ndef=x word=y\r\n" + std::string(2047, 'a') + "word=p" +
                              std::string(1000, 'a') + "word=q\r\n";
    TfileHolder stream = temporaryFile(bytes);
    const long secondPiece = 26 + 2047;  // "word=p"
    EXPECT_TRUE(entryBeginsAt(stream.get(), secondPiece));
    for (long inside : {18L, secondPiece + 1006})  // a key inside a line, and inside a piece
        EXPECT_FALSE(entryBeginsAt(stream.get(), inside)) << inside;
    // A definition, inside a key, the end, before the start.
    for (long offset : {12L, 1L, long(bytes.size()), -1L}) {
        SCOPED_TRACE(offset);
        EXPECT_FALSE(entryBeginsAt(stream.get(), offset));
        TwordDef entry = sentinel;
        EXPECT_FALSE(readEntryAt(stream.get(), offset, entry));
        EXPECT_EQ(fields(sentinel), fields(entry));
    }
}

}  // namespace
