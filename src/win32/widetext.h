// Text between UTF-16, which the wide API takes, and the byte code pages (the ANSI code page,
// UTF-8, any other page a word list is written in). The one place the program, its tools and
// its tests convert, so that every caller handles a character a page lacks the same way.
#pragma once

#include <windows.h>

#include <string>

// The bytes read in the code page. False, with `wide` empty, when a byte sequence is not valid
// in it: with MB_ERR_INVALID_CHARS among the flags, say, which tells UTF-8 from other text.
bool wideFrom(const std::string& text, UINT codePage, std::wstring& wide, DWORD flags = 0);
// The same, for text that is known to be valid (the program's own strings); "" when it is not.
std::wstring wideFrom(const std::string& text, UINT codePage);

// The text in the code page, a character it lacks written as its best fit ("L" for "Ł") or the
// page's default character: for messages, which should show something rather than nothing.
std::string bytesFrom(const std::wstring& wide, UINT codePage);
// The text in the code page only when the page spells every character as it is; false otherwise.
// Any page, UTF-8 included, by number or as CP_ACP: where the ANSI code page is UTF-8 every
// character is spelt, and only a lone surrogate is refused.
bool exactBytesFrom(const std::wstring& wide, UINT codePage, std::string& text);
