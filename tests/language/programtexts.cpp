// Lexoria.exe's string tables and dialog templates (DIALOG and DIALOGEX) read as data.
#include "programtexts.h"

#include <algorithm>

#include "resources/resource.h"
#include "support/lexoria_driver.h"

namespace languageTest {

namespace {

// Reads a dialog template: words, double words, strings, and "a string or an ordinal" fields.
class TtemplateReader {
public:
    TtemplateReader(const BYTE* bytes, DWORD size) : at(bytes), end(bytes + size) {}
    WORD word() { return read<WORD>(); }
    DWORD doubleWord() { return read<DWORD>(); }
    short coordinate() { return static_cast<short>(read<WORD>()); }
    BYTE byte() { return read<BYTE>(); }
    std::wstring string() {
        std::wstring text;
        for (WORD c = word(); c != 0 && at <= end; c = word()) text += static_cast<wchar_t>(c);
        return text;
    }
    // A class, menu or title field: nothing, an ordinal after 0xFFFF, or a string.
    std::wstring stringOrOrdinal(WORD& ordinal) {
        ordinal = 0;
        const WORD first = peek();
        if (first == 0xFFFF) {
            word();
            ordinal = word();
            return L"";
        }
        return string();
    }
    void alignToDoubleWord(const BYTE* start) {
        while ((at - start) % 4 != 0) ++at;
    }
    void skip(size_t bytes) { at += bytes; }
    const BYTE* position() const { return at; }

private:
    WORD peek() const { return at + sizeof(WORD) <= end ? *reinterpret_cast<const WORD*>(at) : 0; }
    template <typename T>
    T read() {
        if (at + sizeof(T) > end) {
            at = end + 1;
            return T();
        }
        T value;
        memcpy(&value, at, sizeof value);
        at += sizeof value;
        return value;
    }
    const BYTE* at;
    const BYTE* end;
};

std::wstring classFromOrdinal(WORD ordinal) {
    switch (ordinal) {
    case 0x80: return L"Button";
    case 0x81: return L"Edit";
    case 0x82: return L"Static";
    case 0x83: return L"ListBox";
    case 0x84: return L"ScrollBar";
    case 0x85: return L"ComboBox";
    default: return L"?";
    }
}

TprogramTexts::Tdialog parseTemplate(const BYTE* bytes, DWORD size) {
    TprogramTexts::Tdialog dialog;
    TtemplateReader in(bytes, size);
    const bool extended = reinterpret_cast<const WORD*>(bytes)[1] == 0xFFFF;
    if (extended) {
        in.skip(2 * sizeof(WORD) + sizeof(DWORD));  // version, signature, help id
        dialog.extendedStyle = in.doubleWord();
        dialog.style = in.doubleWord();
    } else {
        dialog.style = in.doubleWord();
        dialog.extendedStyle = in.doubleWord();
    }
    const WORD count = in.word();
    in.skip(4 * sizeof(short));
    WORD ordinal = 0;
    in.stringOrOrdinal(ordinal);  // menu
    in.stringOrOrdinal(ordinal);  // class
    dialog.caption = in.string();
    if (dialog.style & DS_SETFONT) {
        dialog.pointSize = in.word();
        if (extended) {
            dialog.weight = in.word();
            in.skip(2);  // italic, character set
        }
        dialog.face = in.string();
    }
    for (WORD i = 0; i < count; ++i) {
        in.alignToDoubleWord(bytes);
        TprogramTexts::Tcontrol control;
        if (extended) {
            in.skip(sizeof(DWORD) * 2);  // help id, extended style
            control.style = in.doubleWord();
        } else {
            control.style = in.doubleWord();
            in.skip(sizeof(DWORD));
        }
        in.skip(4 * sizeof(short));
        control.id = extended ? static_cast<int>(in.doubleWord()) : static_cast<short>(in.word());
        control.className = in.stringOrOrdinal(ordinal);
        if (ordinal) control.className = classFromOrdinal(ordinal);
        control.text = in.stringOrOrdinal(ordinal);
        in.skip(in.word());  // creation data
        dialog.controls.push_back(control);
    }
    return dialog;
}

BOOL CALLBACK addLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
    reinterpret_cast<std::vector<LANGID>*>(languages)->push_back(language);
    return TRUE;
}

}  // namespace

TprogramTexts::TprogramTexts()
    : module(LoadLibraryExA((lexoriaTest::buildFolder() + "\\Lexoria.exe").c_str(), nullptr,
                            LOAD_LIBRARY_AS_DATAFILE)) {}

TprogramTexts::~TprogramTexts() {
    if (module) FreeLibrary(module);
}

std::wstring TprogramTexts::text(LANGID language, UINT id) const {
    HRSRC found =
        FindResourceExW(module, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(id / 16 + 1), language);
    if (!found) return L"";
    const WCHAR* entry = static_cast<const WCHAR*>(LockResource(LoadResource(module, found)));
    const WCHAR* end = entry + SizeofResource(module, found) / sizeof(WCHAR);
    for (UINT skip = id % 16; skip > 0 && entry < end; --skip) entry += 1 + *entry;
    if (entry >= end) return L"";
    return std::wstring(entry + 1, *entry);
}

std::vector<LANGID> TprogramTexts::languagesByTag() const {
    std::vector<LANGID> languages;
    EnumResourceLanguagesW(module, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(IDS_LANGUAGE_TAG / 16 + 1),
                           addLanguage, reinterpret_cast<LONG_PTR>(&languages));
    std::sort(languages.begin(), languages.end(), [&](LANGID a, LANGID b) {
        return text(a, IDS_LANGUAGE_TAG) < text(b, IDS_LANGUAGE_TAG);
    });
    return languages;
}

LANGID TprogramTexts::languageOf(const std::string& tag) const {
    for (LANGID language : languagesByTag())
        if (text(language, IDS_LANGUAGE_TAG) == std::wstring(tag.begin(), tag.end()))
            return language;
    return 0;
}

TprogramTexts::Tdialog TprogramTexts::dialog(LANGID language, int id) const {
    HRSRC found = FindResourceExW(module, MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(id), language);
    if (!found) return Tdialog();
    const BYTE* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    return parseTemplate(bytes, SizeofResource(module, found));
}

}  // namespace languageTest
