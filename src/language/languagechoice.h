// Which of the program's interface languages to use, from the "Language" value and the user's
// display languages, and the message texts filled in with their parts. No platform headers: the
// languages come in as Windows language ids (primary language in the low 10 bits, sublanguage
// above) and as the tags the "Language" value holds ("de", "pt-BR").
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The language whose texts are the program's own and that every other one falls back on.
const uint16_t englishLanguageId = 0x0409;

// A language the program carries texts for.
struct TofferedLanguage {
    uint16_t id = 0;
    std::string tag;
};

// Whether the program's texts in the offered language serve a user of the wanted one: the same
// language id, or the same primary language written in the same script (Portuguese of Portugal
// reads Portuguese of Brazil; Traditional Chinese does not read Simplified).
bool servesLanguage(uint16_t offered, uint16_t wanted);

// The language to use: the one the stored tag names (letter case aside); else, when the tag is
// empty or names none of the offered, the first of the user's preferred languages that one of
// them serves, an exact match before a related one; else English.
uint16_t chooseLanguage(const std::vector<TofferedLanguage>& offered, const std::string& storedTag,
                        const std::vector<uint16_t>& preferred);

// The language ids of a list as the system gives it: hexadecimal ids ("0407"), each ended by a
// zero character, the list by an empty one. What is not a 16-bit hexadecimal id is skipped.
std::vector<uint16_t> languageIdsFromList(const std::u16string& list);

// The pattern with %1, %2 ... replaced by the parts, in one pass, so that a part that itself
// holds "%2" (a folder's name, say) stays as it is. A number without a part stays as written.
std::wstring fillParts(const std::wstring& pattern, const std::vector<std::wstring>& parts);

// A caption as it shows: the & that marks its mnemonic left out, && written as one &.
std::wstring withoutMnemonic(const std::wstring& caption);
