// Code pages on Windows: the system converts, into the ANSI code page by default, so that the list
// holds the bytes Lexoria's window shows as the letters meant.
#include <windows.h>

#include "codepage.h"
#include "win32/widetext.h"

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
    std::string bytes;
    if (!exactBytesFrom(std::wstring(units, count), static_cast<UINT>(page), bytes)) return false;
    text += bytes;
    return true;
}

std::string TcodePage::toUtf8(const std::string& text) const {
    const std::string utf8 = bytesFrom(wideFrom(text, static_cast<UINT>(page)), CP_UTF8);
    return utf8.empty() ? text : utf8;
}

bool TcodePage::isLeadByte(unsigned char value) const {
    return IsDBCSLeadByteEx(static_cast<UINT>(page), value) != FALSE;
}
