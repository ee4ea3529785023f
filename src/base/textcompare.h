// ASCII-only case handling: comparing paths the way the shell treats them here and lower-casing
// keys and names. Only the letters A to Z fold; every other byte stays as it is. Locale-free on
// purpose, so it behaves the same on every code page. No platform headers.
#pragma once

#include <cstddef>
#include <string>

inline char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline wchar_t lowerAscii(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// The text with A to Z lowered.
std::string loweredAscii(std::string text);

bool sameIgnoringAsciiCase(const char* a, std::size_t aLength, const char* b, std::size_t bLength);
bool sameIgnoringAsciiCase(const char* a, const char* b);
// The same for wide text, where only the letters A to Z fold as well.
bool sameIgnoringAsciiCase(const wchar_t* a, const wchar_t* b);
