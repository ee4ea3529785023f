// The choice of interface language and the filling of message texts.
#include "language/languagechoice.h"

#include "base/textcompare.h"

namespace {

uint16_t primaryLanguage(uint16_t id) { return id & 0x3FF; }
uint16_t sublanguage(uint16_t id) { return id >> 10; }

const uint16_t chineseLanguage = 0x04;

// Chinese is one primary language in two scripts: Simplified for the People's Republic and
// Singapore (and the neutral zh-Hans), Traditional for Taiwan, Hong Kong and Macao (zh-Hant).
// Every other language the program may carry is written in one script.
int scriptOf(uint16_t id) {
    if (primaryLanguage(id) != chineseLanguage) return 0;
    switch (sublanguage(id)) {
    case 0x00:
    case 0x02:
    case 0x04: return 1;
    default: return 2;
    }
}

const TofferedLanguage* byTag(const std::vector<TofferedLanguage>& offered,
                              const std::string& tag) {
    if (tag.empty()) return nullptr;
    for (const TofferedLanguage& language : offered)
        if (sameIgnoringAsciiCase(language.tag.c_str(), tag.c_str())) return &language;
    return nullptr;
}

int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

}  // namespace

bool servesLanguage(uint16_t offered, uint16_t wanted) {
    if (offered == wanted) return true;
    return primaryLanguage(offered) == primaryLanguage(wanted) &&
           scriptOf(offered) == scriptOf(wanted);
}

uint16_t chooseLanguage(const std::vector<TofferedLanguage>& offered, const std::string& storedTag,
                        const std::vector<uint16_t>& preferred) {
    if (const TofferedLanguage* named = byTag(offered, storedTag)) return named->id;
    for (uint16_t wanted : preferred) {
        for (const TofferedLanguage& language : offered)
            if (language.id == wanted) return language.id;
        for (const TofferedLanguage& language : offered)
            if (servesLanguage(language.id, wanted)) return language.id;
    }
    return englishLanguageId;
}

std::vector<uint16_t> languageIdsFromList(const std::u16string& list) {
    std::vector<uint16_t> ids;
    size_t start = 0;
    while (start < list.size() && list[start] != u'\0') {
        size_t end = list.find(u'\0', start);
        if (end == std::u16string::npos) end = list.size();
        unsigned value = 0;
        bool valid = end - start >= 1 && end - start <= 4;
        for (size_t i = start; valid && i < end; ++i) {
            const int digit = hexDigit(list[i]);
            valid = digit >= 0;
            value = value * 16 + static_cast<unsigned>(digit);
        }
        if (valid) ids.push_back(static_cast<uint16_t>(value));
        start = end + 1;
    }
    return ids;
}

std::wstring fillParts(const std::wstring& pattern, const std::vector<std::wstring>& parts) {
    std::wstring text;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const wchar_t next = i + 1 < pattern.size() ? pattern[i + 1] : L'\0';
        const size_t part = static_cast<size_t>(next - L'1');
        if (pattern[i] == L'%' && next >= L'1' && next <= L'9' && part < parts.size()) {
            text += parts[part];
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

std::wstring withoutMnemonic(const std::wstring& caption) {
    std::wstring text;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
        text += caption[i];
    }
    return text;
}
