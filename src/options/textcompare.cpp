// Locale-free comparison that folds only the letters a to z.
#include "options/textcompare.h"

#include <cstring>
#include <cwchar>

namespace {
template <typename Char>
Char foldAscii(Char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<Char>(c - 'A' + 'a') : c;
}
}  // namespace

bool sameIgnoringAsciiCase(const char* a, std::size_t aLength, const char* b, std::size_t bLength) {
    if (aLength != bLength) return false;
    for (std::size_t i = 0; i < aLength; ++i)
        if (foldAscii(a[i]) != foldAscii(b[i])) return false;
    return true;
}

bool sameIgnoringAsciiCase(const char* a, const char* b) {
    return sameIgnoringAsciiCase(a, std::strlen(a), b, std::strlen(b));
}

bool sameIgnoringAsciiCase(const wchar_t* a, const wchar_t* b) {
    for (; *a && foldAscii(*a) == foldAscii(*b); ++a, ++b) {
    }
    return *a == *b;
}
