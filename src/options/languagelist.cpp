// The "Language" drop-down: its items, the choice's tag, and each item drawn shaped.
#include "options/languagelist.h"

#include <algorithm>
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
        if (item == CB_ERR) continue;
        SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(item), language.id);
        if (language.tag == storedTag) chosen = static_cast<WPARAM>(item);
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

namespace {

// The list's font (selected into the DC) in the face of the language whose name the item is, one
// that has its letters; null for "Windows default", which keeps the list's font.
HFONT nameFont(HDC dc, LANGID language) {
    if (language == 0) return nullptr;
    LOGFONTW font = {};
    if (!GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font)) return nullptr;
    const std::wstring face = languageText(language, IDS_BUTTON_FACE);
    face.copy(font.lfFaceName, LF_FACESIZE - 1);
    font.lfFaceName[std::min<size_t>(face.size(), LF_FACESIZE - 1)] = L'\0';
    return CreateFontIndirectW(&font);
}

// The item's rectangle as the DC draws without mirroring: a list mirrored for a language read right
// to left is drawn unmirrored, so that the shaped name stands at the item's right edge and reads
// right to left.
RECT unmirrored(HDC dc, const RECT& item) {
    RECT client = {};
    GetClientRect(WindowFromDC(dc), &client);
    return RECT{client.right - item.right, item.top, client.right - item.left, item.bottom};
}

void drawName(HDC dc, const RECT& item, const std::wstring& name, bool mirrored) {
    RECT place = mirrored ? unmirrored(dc, item) : item;
    // Within what the list lets it draw on.
    RECT clip = {};
    if (GetClipBox(dc, &clip) != ERROR) IntersectRect(&place, &place, &clip);
    TshapedText shaped(dc, name, mirrored);
    const int width = shaped.valid() ? shaped.width() : 0;
    const int x = mirrored ? place.right - itemMargin - width : place.left + itemMargin;
    const int y = place.top + itemMargin / 2;
    if (shaped.valid()) shaped.draw(x, y);
    else TextOutW(dc, x, y, name.c_str(), static_cast<int>(name.size()));
}

}  // namespace

void drawLanguageItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1)) return;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    SetBkMode(item.hDC, TRANSPARENT);
    {
        TgdiObject<HFONT> face(nameFont(item.hDC, static_cast<LANGID>(item.itemData)));
        TselectedObject font(item.hDC,
                             face.get() ? face.get() : GetCurrentObject(item.hDC, OBJ_FONT));
        const DWORD layout = GetLayout(item.hDC);
        const bool mirrored = layout != GDI_ERROR && (layout & LAYOUT_RTL);
        if (mirrored) SetLayout(item.hDC, 0);
        drawName(item.hDC, item.rcItem, itemText(item.hwndItem, item.itemID), mirrored);
        if (mirrored) SetLayout(item.hDC, layout);
    }
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}
