// Lexoria.exe's string tables read as data, and its dialog templates built by the dialog manager.
#include "programtexts.h"

#include <algorithm>
#include <cstdlib>

#include "resources/resource.h"
#include "support/lexoria_driver.h"

namespace languageTest {

namespace {

std::wstring textOf(HWND window) {
    wchar_t text[1024] = L"";
    GetWindowTextW(window, text, 1024);
    return text;
}

INT_PTR CALLBACK ignoreMessages(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

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
    Tdialog dialog;
    HRSRC found = FindResourceExW(module, MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(id), language);
    if (!found) return dialog;
    const BYTE* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    // Built hidden: the style sits first in a DIALOG template, after 12 bytes in a DIALOGEX one.
    std::vector<BYTE> form(bytes, bytes + SizeofResource(module, found));
    const bool extended = reinterpret_cast<const WORD*>(form.data())[1] == 0xFFFF;
    reinterpret_cast<DWORD*>(form.data() + (extended ? 12 : 0))[0] &= ~WS_VISIBLE;
    HWND window =
        CreateDialogIndirectParamW(module, reinterpret_cast<const DLGTEMPLATE*>(form.data()),
                                   nullptr, ignoreMessages, 0);
    if (!window) return dialog;
    dialog.caption = textOf(window);
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof dialog.font,
               &dialog.font);
    HDC screen = GetDC(nullptr);
    dialog.pointSize =
        MulDiv(std::abs(dialog.font.lfHeight), 72, GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        dialog.controls.push_back({static_cast<short>(GetDlgCtrlID(child)), textOf(child)});
    DestroyWindow(window);
    return dialog;
}

}  // namespace languageTest
