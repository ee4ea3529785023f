// The interface language: the carried languages, the choice for the user, and texts, templates
// and message boxes looked up under that language in the program's resources.
#include "language/interfacetext.h"

#include <utility>

#include "language/languagechoice.h"
#include "resources/resource.h"
#include "win32/systemlibrary.h"

namespace {

// RT_STRING and RT_DIALOG, as the wide calls take them.
const LPCWSTR stringTables = MAKEINTRESOURCEW(6);
const LPCWSTR dialogTemplates = MAKEINTRESOURCEW(5);

LANGID currentLanguage = englishLanguageId;
bool currentRightToLeft = false;

HMODULE programModule() { return GetModuleHandleW(nullptr); }

// A string table holds its texts in blocks of 16, each text its length and its characters.
const WCHAR* findText(LANGID language, UINT id, int& length) {
    HRSRC found =
        FindResourceExW(programModule(), stringTables, MAKEINTRESOURCEW(id / 16 + 1), language);
    HGLOBAL loaded = found ? LoadResource(programModule(), found) : nullptr;
    const WCHAR* text = loaded ? static_cast<const WCHAR*>(LockResource(loaded)) : nullptr;
    if (!text) return nullptr;
    const WCHAR* end = text + SizeofResource(programModule(), found) / sizeof(WCHAR);
    for (UINT skip = id % 16; skip > 0 && text < end; --skip) text += 1 + *text;
    if (text >= end || text + 1 + *text > end) return nullptr;
    length = *text;
    return text + 1;
}

BOOL CALLBACK addLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param) {
    reinterpret_cast<std::vector<LANGID>*>(param)->push_back(language);
    return TRUE;
}

std::string narrowTag(const std::wstring& tag) { return std::string(tag.begin(), tag.end()); }

// The user's display languages, most wanted first: the list where the system keeps one
// (Windows Vista and later), else the one display language.
std::vector<uint16_t> displayLanguages() {
    using TgetPreferred = BOOL(WINAPI*)(DWORD, PULONG, PZZWSTR, PULONG);
    const DWORD byId = 0x4;  // MUI_LANGUAGE_ID: "0407" rather than "de-DE"
    const auto getPreferred = libraryEntry<TgetPreferred>(GetModuleHandleW(L"kernel32.dll"),
                                                          "GetUserPreferredUILanguages");
    ULONG count = 0, size = 0;
    if (getPreferred && getPreferred(byId, &count, nullptr, &size) && size > 0) {
        std::u16string list(size, u'\0');
        if (getPreferred(byId, &count, reinterpret_cast<PZZWSTR>(&list[0]), &size)) {
            std::vector<uint16_t> ids = languageIdsFromList(list);
            if (!ids.empty()) return ids;
        }
    }
    return {GetUserDefaultUILanguage()};
}

}  // namespace

std::wstring languageText(LANGID language, UINT id) {
    int length = 0;
    const WCHAR* text = findText(language, id, length);
    return text ? std::wstring(text, length) : std::wstring();
}

// In the order of their tags, each put in its place as it is found: a handful of languages,
// where a general sort would cost the program more than it saves.
std::vector<TcarriedLanguage> carriedLanguages() {
    std::vector<LANGID> ids;
    EnumResourceLanguagesW(programModule(), stringTables,
                           MAKEINTRESOURCEW(IDS_LANGUAGE_TAG / 16 + 1), addLanguage,
                           reinterpret_cast<LONG_PTR>(&ids));
    std::vector<TcarriedLanguage> languages;
    for (LANGID id : ids) {
        const std::wstring tag = languageText(id, IDS_LANGUAGE_TAG);
        if (tag.empty()) continue;
        TcarriedLanguage language{id, narrowTag(tag), languageText(id, IDS_LANGUAGE_NAME)};
        auto place = languages.begin();
        while (place != languages.end() && place->tag < language.tag) ++place;
        languages.insert(place, std::move(language));
    }
    return languages;
}

LANGID chooseInterfaceLanguage(const std::string& storedTag) {
    std::vector<TofferedLanguage> offered;
    for (const TcarriedLanguage& language : carriedLanguages())
        offered.push_back({language.id, language.tag});
    return chooseLanguage(offered, storedTag, displayLanguages());
}

void useInterfaceLanguage(LANGID language) {
    currentLanguage = language;
    currentRightToLeft = languageText(language, IDS_READING_ORDER) == L"rtl";
}

LANGID interfaceLanguage() { return currentLanguage; }

bool interfaceReadsRightToLeft() { return currentRightToLeft; }

std::wstring interfaceText(UINT id, const std::vector<std::wstring>& parts) {
    std::wstring text = languageText(currentLanguage, id);
    if (text.empty()) text = languageText(englishLanguageId, id);
    return fillParts(text, parts);
}

std::wstring decimal(unsigned long value) {
    std::wstring digits;
    do {
        digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + value % 10));
        value /= 10;
    } while (value != 0);
    return digits;
}

int showMessage(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
    if (currentRightToLeft) type |= MB_RTLREADING | MB_RIGHT;
    return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

INT_PTR interfaceDialogBox(HWND owner, WORD templateId, DLGPROC procedure) {
    HRSRC found = nullptr;
    for (LANGID language : {currentLanguage, englishLanguageId})
        if (!found)
            found = FindResourceExW(programModule(), dialogTemplates, MAKEINTRESOURCEW(templateId),
                                    language);
    HGLOBAL loaded = found ? LoadResource(programModule(), found) : nullptr;
    auto dialog = loaded ? static_cast<LPCDLGTEMPLATEW>(LockResource(loaded)) : nullptr;
    if (!dialog) return -1;
    return DialogBoxIndirectParamW(programModule(), dialog, owner, procedure, 0);
}
