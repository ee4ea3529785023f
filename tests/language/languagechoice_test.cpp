// The choice of interface language (the stored tag, the user's display languages, the related
// language, English last), the system's list of language ids, and message texts filled in.
#include <gtest/gtest.h>

#include <algorithm>

#include "language/languagechoice.h"

namespace {

const std::vector<TofferedLanguage> offered = {
    {0x0401, "ar"}, {0x0407, "de"}, {0x0409, "en"}, {0x0C0A, "es"},    {0x040C, "fr"},
    {0x0410, "it"}, {0x0411, "ja"}, {0x0412, "ko"}, {0x0415, "pl"},    {0x0416, "pt-BR"},
    {0x0419, "ru"}, {0x041F, "tr"}, {0x0422, "uk"}, {0x0804, "zh-CN"},
};

// The display languages of the locales the end-to-end runs use (German, Portuguese of Portugal,
// Traditional Chinese of Taiwan ...) and the stored tags "en", "de" and "xx" are checked there.
TEST(LanguageChoice, StoredTagFirstThenTheDisplayLanguagesThenEnglish) {
    const struct {
        const char* name;
        std::string stored;
        std::vector<uint16_t> preferred;
        uint16_t expected;
    } cases[] = {
        {"German of Austria takes German", "", {0x0C07}, 0x0407},
        {"neutral Traditional Chinese", "", {0x7C04}, 0x0409},
        {"Chinese of Singapore reads Simplified", "", {0x1004}, 0x0804},
        {"neutral Simplified Chinese", "", {0x0004}, 0x0804},
        {"Dutch, not carried", "", {0x0413}, 0x0409},
        {"no display language", "", {}, 0x0409},
        {"the next preferred language serves", "", {0x0404, 0x0411}, 0x0411},
        {"a related earlier entry wins over an exact later one", "", {0x0816, 0x0407}, 0x0416},
        {"letter case of the tag", "PT-br", {0x0409}, 0x0416},
        {"a tag names a whole tag only", "pt", {0x0409}, 0x0409},
        {"a longer tag is no match", "de-DE", {0x0411}, 0x0411},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, chooseLanguage(offered, c.stored, c.preferred));
    }
}

// A translator may add a second Portuguese: each country's user then gets that country's.
TEST(LanguageChoice, AnExactLanguageWinsOverARelatedOne) {
    const std::vector<TofferedLanguage> pt = {{0x0409, "en"}, {0x0416, "pt-BR"}, {0x0816, "pt-PT"}};
    EXPECT_EQ(0x0816, chooseLanguage(pt, "", {0x0816}));
    EXPECT_EQ(0x0416, chooseLanguage(pt, "", {0x0416}));
}

// The system's list of ids, "|" standing for each character zero.
TEST(LanguageChoice, ListOfTheSystemGivesItsIds) {
    const struct {
        const char* name;
        std::u16string list;
        std::vector<uint16_t> expected;
    } cases[] = {
        {"two", u"0407|0416||", {0x0407, 0x0416}},
        {"lower case", u"0c0a||", {0x0C0A}},
        {"empty", u"|", {}},
        {"nothing at all", u"", {}},
        {"without the closing zero", u"0411", {0x0411}},
        {"a name, not an id, is skipped", u"de-DE|0407||", {0x0407}},
        {"too long", u"10407||", {}},
        {"what follows the end is not read", u"0407||0411|", {0x0407}},
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.name);
        std::replace(c.list.begin(), c.list.end(), u'|', u'\0');
        EXPECT_EQ(c.expected, languageIdsFromList(c.list));
    }
}

TEST(LanguageChoice, PartsFillTheirPlacesOnce) {
    const struct {
        const char* name;
        std::wstring pattern;
        std::vector<std::wstring> parts;
        std::wstring expected;
    } cases[] = {
        {"a part holding a place", L"(%1) %2", {L"C:\\100%2", L"b"}, L"(C:\\100%2) b"},
        {"in another order", L"%2 %1", {L"a", L"b"}, L"b a"},
        {"three lines", L"\"%1\".\n%2\n%3.", {L"a", L"4", L"5"}, L"\"a\".\n4\n5."},
        {"a place without a part", L"%1 %3", {L"a"}, L"a %3"},
        {"percent signs that are text", L"100% %", {L"a"}, L"100% %"},
        {"no places", L"Unable to createLink.", {}, L"Unable to createLink."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, fillParts(c.pattern, c.parts));
    }
}

// What a caption shows, measured for the room it needs.
TEST(LanguageChoice, CaptionsShowWithoutTheirMnemonicMark) {
    const struct {
        std::wstring caption, shown;
    } cases[] = {
        {L"E&xit", L"Exit"},
        {L"\u7d42\u4e86(&X)", L"\u7d42\u4e86(X)"},
        {L"Fish && Chips", L"Fish & Chips"},
        {L"&&&A", L"&A"},
        {L"Plain", L"Plain"},
        {L"end&", L"end&"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.shown, withoutMnemonic(c.caption));
}

}  // namespace
