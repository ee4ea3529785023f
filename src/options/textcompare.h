// Comparing paths the way the shell treats them here: the letters a to z match regardless of
// case, every other byte must be equal. Locale-free on purpose, so it behaves the same on every
// code page. No platform headers.
#pragma once

#include <cstddef>

bool sameIgnoringAsciiCase(const char* a, std::size_t aLength, const char* b, std::size_t bLength);
bool sameIgnoringAsciiCase(const char* a, const char* b);
// The same for wide text, where only the letters a to z fold as well.
bool sameIgnoringAsciiCase(const wchar_t* a, const wchar_t* b);
