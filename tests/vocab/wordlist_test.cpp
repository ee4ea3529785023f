// The word list reader over real streams: where entries begin and what each one reads as, byte
// for byte, for awkward files in LF and CR LF alike.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "vocab/wordlist.h"

using namespace std::string_literals;

namespace {

// A stream holding the bytes, positioned at the start, closed on destruction.
struct Stream {
    explicit Stream(const std::string& bytes) {
        std::fwrite(bytes.data(), 1, bytes.size(), file.get());
        std::rewind(file.get());
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file{std::tmpfile(), &std::fclose};
};

std::string crlf(const std::string& lf) {
    std::string out;
    for (char c : lf) out += c == '\n' ? "\r\n"s : std::string(1, c);
    return out;
}

const TwordDef sentinel{"sentinel word", "sentinel definition", "sentinel example"};

void expectEntry(const TwordDef& expected, const TwordDef& actual) {
    EXPECT_EQ(expected.word, actual.word);
    EXPECT_EQ(expected.definition, actual.definition);
    EXPECT_EQ(expected.example, actual.example);
}

// A physical line of 5000 bytes: pieces of 2047, 2047 and 906 bytes, the second a key line.
const std::string longLine = "def=" + std::string(2043, 'a') + "word=" + std::string(2042, 'b') +
                             std::string(906, 'c');

struct FileCase {
    const char* name;
    std::string lfBytes;
    std::vector<std::string> entryLines;  // each entry's "word=" line, to find its offset
    std::vector<TwordDef> entries;
};

const FileCase fileCases[] = {
    {"two entries with a continuation",
     "word=abate\ndef=to lessen in force\nor intensity\nex=The storm abated.\nword=candid\n",
     {"word=abate", "word=candid"},
     {{"abate", "to lessen in force\r\nor intensity", "The storm abated."}, {"candid", "", ""}}},
    {"keys in other case or after a blank are continuations",
     "word=k\nWord=W\nDEF=D\n ex=E\ndef=d\n\tex=t\nex=e\n", {"word=k"},
     {{"k\r\nWord=W\r\nDEF=D\r\n ex=E", "d\r\n\tex=t", "e"}}},
    {"trailing spaces go, tabs and spaces after a key stay", "word=t  \ndef= big \t \nex=\t\n",
     {"word=t"}, {{"t", " big \t", "\t"}}},
    {"an empty line before the next entry", "word=a\ndef=x\n\nword=b\n", {"word=a", "word=b"},
     {{"a", "x\r\n", ""}, {"b", "", ""}}},
    {"a byte-order mark hides the first entry", "\xEF\xBB\xBFword=bom\ndef=hidden\nword=real\n",
     {"word=real"}, {{"real", "", ""}}},
    {"a zero byte ends its line's text", "word=ze\0ro\ndef=a\0b\nword=next\n"s,
     {"word=ze", "word=next"}, {{"ze", "a", ""}, {"next", "", ""}}},
    {"a repeated key replaces the field and its continuations",
     "word=r\ndef=one\nmore\ndef=two\nex=e1\nex=e2\n", {"word=r"}, {{"r", "two", "e2"}}},
    {"lines ahead of the first entry are skipped", "junk\n\nword=a\n", {"word=a"},
     {{"a", "", ""}}},
    {"no entry at all", "just text\n", {}, {}},
    {"control bytes stay as they are", "word=z\x1a\ndef=q\rr\n", {"word=z"},
     {{"z\x1a", "q\rr", ""}}},
    {"a 5000-byte line splits into pieces, one of them an entry",
     "word=long\n" + longLine + "\nex=e\n", {"word=long", "word=b"},
     {{"long", std::string(2043, 'a'), ""},
      {std::string(2042, 'b') + "\r\n" + std::string(906, 'c'), "", "e"}}},
    {"a zero byte inside a long line",
     "word=z\n" + std::string(100, 'a') + '\0' + std::string(2900, 'b') + "\nword=after\n",
     {"word=z", "word=after"},
     {{"z\r\n" + std::string(100, 'a') + "\r\n" + std::string(954, 'b'), "", ""},
      {"after", "", ""}}},
};

TEST(WordList, OffsetsAndEntriesAreByteExactInLfAndCrLfFiles) {
    for (const FileCase& c : fileCases) {
        for (const std::string& bytes : {c.lfBytes, crlf(c.lfBytes)}) {
            SCOPED_TRACE(std::string(c.name) + (bytes == c.lfBytes ? " (LF)" : " (CR LF)"));
            Stream stream(bytes);
            std::vector<int32_t> offsets{-7};
            bool overLong = true;
            ASSERT_TRUE(scanEntryOffsets(stream.file.get(), offsets, overLong));
            EXPECT_FALSE(overLong);
            std::vector<int32_t> expected;
            for (const std::string& line : c.entryLines)
                expected.push_back(static_cast<int32_t>(bytes.find(line)));
            ASSERT_EQ(expected, offsets);
            for (size_t i = 0; i < offsets.size(); ++i) {
                TwordDef entry = sentinel;
                ASSERT_TRUE(readEntryAt(stream.file.get(), offsets[i], entry));
                expectEntry(c.entries[i], entry);
            }
        }
    }
}

TEST(WordList, EntryReadFailsAndLeavesTheRecordWhenNoEntryBeginsThere) {
    const std::string bytes = "word=abate\r\ndef=x\r\n";
    const struct {
        const char* name;
        std::string bytes;
        long offset;
    } cases[] = {
        {"a definition line", bytes, static_cast<long>(bytes.find("def="))},
        {"inside the key", bytes, 1},
        {"the end of the file", bytes, static_cast<long>(bytes.size())},
        {"before the start", bytes, -1},
        {"an empty file", "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Stream stream(c.bytes);
        TwordDef entry = sentinel;
        EXPECT_FALSE(readEntryAt(stream.file.get(), c.offset, entry));
        expectEntry(sentinel, entry);
    }
}

TEST(WordList, AtMost4000EntriesAreIndexed) {
    for (int count : {4000, 4001}) {
        SCOPED_TRACE(count);
        std::string bytes;
        std::vector<int32_t> expected;
        for (int i = 0; i < count; ++i) {
            if (i < maxEntries) expected.push_back(static_cast<int32_t>(bytes.size()));
            bytes += "word=w" + std::to_string(i) + "\r\ndef=d\r\n";
        }
        Stream stream(bytes);
        std::vector<int32_t> offsets;
        bool overLong = false;
        ASSERT_TRUE(scanEntryOffsets(stream.file.get(), offsets, overLong));
        EXPECT_EQ(count > maxEntries, overLong);
        EXPECT_EQ(expected, offsets);
    }
}

TEST(WordList, TrimRemovesOnlyTrailingCrLfAndSpaces) {
    const struct {
        std::string line, trimmed;
    } cases[] = {
        {"abc \r\n", "abc"}, {"a\t \n", "a\t"},  {" \r \n\r", ""},
        {"", ""},            {"  x", "  x"},     {"x\r\r\n \n", "x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        // Exactly sized on the heap, so a look before the first byte shows under the sanitizer.
        std::unique_ptr<char[]> line(new char[c.line.size() + 1]);
        std::copy(c.line.c_str(), c.line.c_str() + c.line.size() + 1, line.get());
        trimLineEnd(line.get());
        EXPECT_EQ(c.trimmed, line.get());
    }
}

}  // namespace
