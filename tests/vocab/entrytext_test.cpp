// Turning an entry's bytes into characters: the UTF-8 decoder on ill-formed bytes and beyond the
// basic plane (the program's runs show each script); characters a long line's piece join cut
// apart, put back together while a real line break never is (the reader's cases of that:
// wordlist_test); and which entries count as UTF-8 when a list has no mark.
#include <gtest/gtest.h>

#include "vocab/entrytext.h"
#include "vocab/wordlist.h"

namespace {

const struct {
    const char* name;
    std::string bytes;
    std::u16string text;
    bool wellFormed;
} decodeCases[] = {
    {"Polish", "\xC5\x81\xC3\xB3\x64\xC5\xBA", u"\u0141\u00F3d\u017A", true},
    {"Japanese", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", u"\u65E5\u672C\u8A9E", true},
    {"beyond the basic plane, as a surrogate pair", "\xF0\x9F\x98\x80!", u"\U0001F600!", true},
    {"line breaks and rich-text braces stay", "{\\rtf1}\r\nx", u"{\\rtf1}\r\nx", true},
    {"a lone continuation byte", "a\x80z", u"a\uFFFDz", false},
    {"bytes that never occur", "\xC0\xC1\xF5\xFF", u"\uFFFD\uFFFD\uFFFD\uFFFD", false},
    {"an overlong slash", "\xC0\xAF/", u"\uFFFD\uFFFD/", false},
    {"an encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", false},
    {"past U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD", false},
    {"a character cut short by the next one", "\xE6\x97\xE6\x9C\xAC", u"\uFFFD\u672C", false},
    {"a character cut short by the end", "x\xF0\x9F\x98", u"x\uFFFD", false},
    // Only the reader knows which CR LF joins pieces of one line; to the decoder each is a break.
    {"a line break inside a character",
     "abc\xC3\r\n\xA9"
     "def",
     u"abc\uFFFD\r\n\uFFFDdef", false},
    {"a line break inside a four-byte character", "\xF0\x9F\r\n\x98\x80", u"\uFFFD\r\n\uFFFD\uFFFD",
     false},
};

TEST(EntryText, DecodesEveryScriptAndMarksIllFormedBytes) {
    for (const auto& c : decodeCases) {
        SCOPED_TRACE(c.name);
        std::u16string text = u"sentinel:";
        EXPECT_EQ(c.wellFormed, decodeUtf8(c.bytes, &text));
        EXPECT_EQ(u"sentinel:" + c.text, text);
        EXPECT_EQ(c.wellFormed, decodeUtf8(c.bytes, nullptr));
    }
}

TEST(EntryText, AnUnmarkedEntryIsUtf8OnlyWhenWellFormedWithAHighByte) {
    const TtextEncoding utf8 = TtextEncoding::utf8, codePage = TtextEncoding::codePage;
    const struct {
        const char* name;
        TwordDef entry;
        TtextEncoding unmarked;
    } cases[] = {
        {"ASCII only", {"plain", "words", "here"}, codePage},
        {"UTF-8 in the example alone", {"a", "b", "\xC3\xA9"}, utf8},
        {"code page 1252", {"caf\xE9", "", ""}, codePage},
        {"UTF-8 word, code page definition", {"\xC3\xA9t\xC3\xA9", "\xE9t\xE9", ""}, codePage},
        {"a character across a line break", {"j", "\xE6\r\n\x97\xA5", ""}, codePage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.unmarked, entryEncoding(c.entry, false));
        EXPECT_EQ(utf8, entryEncoding(c.entry, true));
    }
}

// The reader hands over where it joined the pieces of a long line; a character cut there comes
// out whole with the break after it, and nothing else is ever joined.
TEST(EntryText, OnlyAPieceJoinIsReadAcrossAndACodePageEntryKeepsItsBytes) {
    const TtextEncoding utf8 = TtextEncoding::utf8, codePage = TtextEncoding::codePage;
    const struct {
        const char* name;
        TwordDef read;  // as the reader put it together
        TpieceJoins joins;
        bool marked;
        TwordDef settled;           // its encoding included
        std::u16string definition;  // as a UTF-8 entry shows it; "" for a code-page entry
    } cases[] = {
        {"a two-byte character cut after its first byte",
         {"w", "a\xD0\r\n\xB4z", ""},
         {{}, {2}, {}},
         false,
         {"w", "a\xD0\xB4\r\nz", "", utf8},
         u"a\u0434\r\nz"},
        {"a three-byte character cut after one byte, in the word",
         {"\xE6\r\n\x97\xA5", "d", ""},
         {{1}, {}, {}},
         false,
         {"\xE6\x97\xA5\r\n", "d", "", utf8},
         u"d"},
        {"a three-byte character cut after two bytes, in the example",
         {"w", "d", "\xE6\x97\r\n\xA5"},
         {{}, {}, {2}},
         false,
         {"w", "d", "\xE6\x97\xA5\r\n", utf8},
         u"d"},
        {"a four-byte character cut after one, two and three bytes",
         {"w",
          "\xF0\r\n\x9F\x98\x80"
          "a\xF0\x9F\r\n\x98\x80"
          "b\xF0\x9F\x98\r\n\x80",
          ""},
         {{}, {1, 9, 17}, {}},
         true,
         {"w", "\xF0\x9F\x98\x80\r\na\xF0\x9F\x98\x80\r\nb\xF0\x9F\x98\x80\r\n", "", utf8},
         u"\U0001F600\r\na\U0001F600\r\nb\U0001F600\r\n"},
        {"a piece join that the bytes after it do not complete",
         {"w", "\xE6\x97\r\nz", ""},
         {{}, {2}, {}},
         false,
         {"w", "\xE6\x97\r\nz", "", codePage},
         u""},
        {"a piece join after a whole character",
         {"w", "\xC3\xA9\r\n\xA9", ""},
         {{}, {2}, {}},
         true,
         {"w", "\xC3\xA9\r\n\xA9", "", utf8},
         u"\u00E9\r\n\uFFFD"},
        {"a mended character moved back when another field is in the code page",
         {"caf\xE9", "\xE6\r\n\x97\xA5", ""},
         {{}, {1}, {}},
         false,
         {"caf\xE9", "\xE6\r\n\x97\xA5", "", codePage},
         u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TwordDef entry = c.read;
        settleEntryText(entry, c.joins, c.marked);
        EXPECT_EQ(c.settled.word, entry.word);
        EXPECT_EQ(c.settled.definition, entry.definition);
        EXPECT_EQ(c.settled.example, entry.example);
        EXPECT_EQ(c.settled.encoding, entry.encoding);
        std::u16string shown;
        if (entry.encoding == utf8) decodeUtf8(entry.definition, &shown);
        EXPECT_EQ(c.definition, shown);
    }
}

}  // namespace
