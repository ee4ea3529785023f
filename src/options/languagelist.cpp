// The "Language" drop-down: its items, the choice's tag, and each item drawn shaped.
#include "options/languagelist.h"

#include <vector>

#include "language/interfacetext.h"
#include "resources/resource.h"
#include "win32/gdiholders.h"
#include "win32/shapedtext.h"

namespace {
const int itemMargin = 2;

std::wstring itemText(HWND list, UINT item) {
    const LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, item, 0);
    if (length == CB_ERR) return std::wstring();
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1);
    SendMessageW(list, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}
}  // namespace

void showLanguageList(HWND list, const std::string& storedTag) {
    SendMessageW(list, CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(interfaceText(IDS_WINDOWS_DEFAULT).c_str()));
    WPARAM chosen = 0;
    for (const TcarriedLanguage& language : carriedLanguages()) {
        const LRESULT item =
            SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(language.name.c_str()));
        if (item != CB_ERR && language.tag == storedTag) chosen = static_cast<WPARAM>(item);
    }
    SendMessageW(list, CB_SETCURSEL, chosen, 0);
}

// The items follow the carried languages' order, after "Windows default".
std::string chosenLanguageTag(HWND list) {
    const LRESULT item = SendMessageW(list, CB_GETCURSEL, 0, 0);
    const std::vector<TcarriedLanguage> languages = carriedLanguages();
    if (item <= 0 || static_cast<size_t>(item) > languages.size()) return std::string();
    return languages[static_cast<size_t>(item) - 1].tag;
}

void measureLanguageItem(HWND dialog, MEASUREITEMSTRUCT& item) {
    TwindowDC dc(dialog);
    TselectedObject font(dc.get(),
                         reinterpret_cast<HGDIOBJ>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc.get(), &metrics);
    item.itemHeight = static_cast<UINT>(metrics.tmHeight + itemMargin);
}

// In the list's font, which the system has selected into the DC; glyphs it lacks come from
// another face, and a name written right to left runs right to left.
void drawLanguageItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1)) return;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    SetBkMode(item.hDC, TRANSPARENT);
    const std::wstring name = itemText(item.hwndItem, item.itemID);
    const int x = item.rcItem.left + itemMargin, y = item.rcItem.top + itemMargin / 2;
    TshapedText shaped(item.hDC, name);
    if (shaped.valid()) shaped.draw(x, y);
    else TextOutW(item.hDC, x, y, name.c_str(), static_cast<int>(name.size()));
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}
