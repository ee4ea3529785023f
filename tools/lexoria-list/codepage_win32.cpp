// Code pages on Windows: the system converts, into the ANSI code page by default, so that the list
// holds the bytes Lexoria's window shows as the letters meant.
#include <windows.h>

#include "codepage.h"
#include "win32/widetext.h"

TcodePage::TcodePage(int number) : page(number == 0 ? static_cast<int>(GetACP()) : number) {}

// The pages from 50000 on (UTF-7, ISO-2022, ISCII, GB18030) and Symbol are left out; UTF-8 is
// the ANSI code page of a system set to use it, its text exact whenever it is valid.
bool TcodePage::usable() const {
    const bool kept = page != CP_SYMBOL && (page < 50000 || isUtf8());
    return kept && IsValidCodePage(static_cast<UINT>(page));
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
