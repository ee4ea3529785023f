// Code pages on Windows: the system converts, into the ANSI code page by default, so that the list
// holds the bytes Lexoria's window shows as the letters meant.
#include <windows.h>

#include "codepage.h"

TcodePage::TcodePage(int number) : page(number == 0 ? static_cast<int>(GetACP()) : number) {}

// The UTF and ISO-2022 pages and Symbol refuse WC_NO_BEST_FIT_CHARS, so they are left out.
bool TcodePage::usable() const {
    return page != CP_SYMBOL && page < 50000 && IsValidCodePage(static_cast<UINT>(page));
}

// Without a best fit, a character the page lacks is not quietly written as a look-alike ("L" for
// "Ł") but reported.
bool TcodePage::appendCharacter(unsigned code, std::string& text) const {
    wchar_t units[2] = {static_cast<wchar_t>(code), 0};
    int count = 1;
    if (code >= 0x10000) {
        units[0] = static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
        units[1] = static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
        count = 2;
    }
    char bytes[8];
    BOOL usedDefault = FALSE;
    int written = WideCharToMultiByte(static_cast<UINT>(page), WC_NO_BEST_FIT_CHARS, units, count,
                                      bytes, sizeof bytes, nullptr, &usedDefault);
    if (written <= 0 || usedDefault) return false;
    text.append(bytes, static_cast<size_t>(written));
    return true;
}

std::string TcodePage::toUtf8(const std::string& text) const {
    if (text.empty()) return text;
    int size = static_cast<int>(text.size());
    int units = MultiByteToWideChar(static_cast<UINT>(page), 0, text.data(), size, nullptr, 0);
    if (units <= 0) return text;
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(static_cast<UINT>(page), 0, text.data(), size, &wide[0], units);
    int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return text;
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, &utf8[0], bytes, nullptr, nullptr);
    return utf8;
}

bool TcodePage::isLeadByte(unsigned char value) const {
    return IsDBCSLeadByteEx(static_cast<UINT>(page), value) != FALSE;
}
