// The word list reader over real streams: where entries begin and what each one reads as, byte
// for byte, for awkward files with LF and CR LF line ends alike.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
// io.h and fcntl.h after windows.h, for _open_osfhandle.
#include <fcntl.h>
#include <io.h>
#endif

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
    {"a character across a piece boundary comes out whole, the break after it",
     "word=j\ndef=" + std::string(2042, 'a') + "\xE6\x97\xA5" + "\n",
     {{"j", std::string(2042, 'a') + "\xE6\x97\xA5\r\n", "", utf8}}},
    {"a four-byte character cut after its first byte in a word line, and a marked list",
     "\xEF\xBB\xBFword=" + std::string(2041, 'w') + "\xF0\x9F\x98\x80" + "z\n",
     {{std::string(2041, 'w') + "\xF0\x9F\x98\x80\r\nz", "", "", utf8}}},
    {"a real line break inside a character is no piece join: an old code-page entry",
     "word=gru\ndef=Gru\xDF\n\x96 informal\n",
     {{"gru", "Gru\xDF\r\n\x96 informal", ""}}},
    {"a real line break inside a character is no piece join: a marked list",
     "\xEF\xBB\xBFword=m\ndef=abc\xC3\n\xA9"
     "def\n",
     {{"m",
       "abc\xC3\r\n\xA9"
       "def",
       "", utf8}}},
    {"a piece that ends in a blank is trimmed, so no character is made across its join",
     "word=s\ndef=" + std::string(2041, 'a') + "\xE6 \x97\xA5\n",
     {{"s", std::string(2041, 'a') + "\xE6\r\n\x97\xA5", ""}}},
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
                TwordDef entry = sentinel, indexed = sentinel;
                ASSERT_TRUE(readEntryAt(stream.get(), offsets[i], entry));
                EXPECT_EQ(fields(c.entries[i]), fields(entry));
                ASSERT_EQ(TentryRead::read, readIndexedEntryAt(stream.get(), offsets[i], indexed));
                EXPECT_EQ(fields(c.entries[i]), fields(indexed));
            }
        }
    }
}

const std::string piecesList = "word=abate\r\ndef=x word=y\r\n" + std::string(2047, 'a') +
                               "word=p" + std::string(1000, 'a') + "word=q\r\n";
const long secondPiece = 26 + 2047;  // "word=p"

// Where an index made for another file under the same time may point: only a "word=" at the
// start of a line, or of a piece of a long line, begins an entry; anywhere else is stale.
TEST(WordList, AnOffsetWhereNoEntryBeginsIsStaleAndLeavesTheRecord) {
    TfileHolder stream = temporaryFile(piecesList);
    TwordDef read = sentinel;
    EXPECT_EQ(TentryRead::read, readIndexedEntryAt(stream.get(), secondPiece, read));
    EXPECT_EQ("p" + std::string(1000, 'a') + "word=q", read.word);
    // A key inside a line and inside a piece; a definition, inside a key, the end, before the
    // start, far past the end.
    for (long offset :
         {18L, secondPiece + 1006, 12L, 1L, long(piecesList.size()), -1L, 0x7FFFFFFFL}) {
        SCOPED_TRACE(offset);
        TwordDef entry = sentinel;
        EXPECT_EQ(TentryRead::stale, readIndexedEntryAt(stream.get(), offset, entry));
        EXPECT_EQ(fields(sentinel), fields(entry));
    }
}

// A stream open for reading whose every read the system refuses. The C library on Windows takes
// a read from a stream opened only for appending as the end of the file, so there the stream
// reads through a handle that may only write.
TfileHolder streamWhoseReadsFail(const std::string& path) {
#ifdef _WIN32
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return TfileHolder(nullptr);
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDONLY);
    if (descriptor < 0) CloseHandle(file);
    return TfileHolder(descriptor < 0 ? nullptr : _fdopen(descriptor, "rb"));
#else
    return TfileHolder(std::fopen(path.c_str(), "ab"));
#endif
}

// A stream that lets its reads down is a failed read wherever the offset points: a new index
// would not mend it, and must not be built.
TEST(WordList, AReadErrorIsAFailureNotAStaleIndex) {
    TscratchFolder folder;
    const std::string path = folder.file("lexoria.lst");
    ASSERT_TRUE(writeFile(path, piecesList));
    TfileHolder stream = streamWhoseReadsFail(path);
    ASSERT_TRUE(stream);
    for (long offset : {0L, 12L, secondPiece, secondPiece + 1006}) {
        SCOPED_TRACE(offset);
        TwordDef entry = sentinel;
        EXPECT_EQ(TentryRead::failed, readIndexedEntryAt(stream.get(), offset, entry));
        EXPECT_EQ(fields(sentinel), fields(entry));
    }
}

}  // namespace
