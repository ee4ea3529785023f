// Turning an entry's bytes into characters: the UTF-8 decoder on every script the learners use,
// on ill-formed bytes, and on characters a long line's piece join cut apart; and which entries
// count as UTF-8 when a list has no mark.
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
    {"Russian", "\xD1\x81\xD0\xBB\xD0\xBE\xD0\xB2\xD0\xBE", u"\u0441\u043B\u043E\u0432\u043E",
     true},
    {"Greek", "\xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82", u"\u03BB\u03CC\u03B3\u03BF\u03C2", true},
    {"Japanese", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", u"\u65E5\u672C\u8A9E", true},
    {"Arabic", "\xD9\x83\xD9\x84\xD9\x85\xD8\xA9", u"\u0643\u0644\u0645\u0629", true},
    {"beyond the basic plane, as a surrogate pair", "\xF0\x9F\x98\x80!", u"\U0001F600!", true},
    {"line breaks and rich-text braces stay", "{\\rtf1}\r\nx", u"{\\rtf1}\r\nx", true},
    {"a lone continuation byte", "a\x80z", u"a\uFFFDz", false},
    {"bytes that never occur", "\xC0\xC1\xF5\xFF", u"\uFFFD\uFFFD\uFFFD\uFFFD", false},
    {"an overlong slash", "\xC0\xAF/", u"\uFFFD\uFFFD/", false},
    {"an encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", false},
    {"past U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD", false},
    {"a character cut short by the next one", "\xE6\x97\xE6\x9C\xAC", u"\uFFFD\u672C", false},
    {"a character cut short by the end", "x\xF0\x9F\x98", u"x\uFFFD", false},
    // A 2047-byte piece may end inside a character; the reader joins pieces with CR LF.
    {"cut after its first byte by a piece join", "\xE6\r\n\x97\xA5z", u"\u65E5\r\nz", true},
    {"cut after its second byte", "\xE6\x97\r\n\xA5", u"\u65E5\r\n", true},
    {"a four-byte character cut in half", "\xF0\x9F\r\n\x98\x80", u"\U0001F600\r\n", true},
    {"a real line end after a cut character", "\xE6\x97\r\nz", u"\uFFFD\r\nz", false},
    {"a join and then too few bytes", "\xF0\x9F\r\n\x98z", u"\uFFFD\r\n\uFFFDz", false},
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
        {"a character across a piece join", {"j", "\xE6\r\n\x97\xA5", ""}, utf8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.unmarked, entryEncoding(c.entry, false));
        EXPECT_EQ(utf8, entryEncoding(c.entry, true));
    }
}

}  // namespace
