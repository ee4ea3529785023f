// Locale-free comparison and lower-casing that fold only the letters A to Z.
#include "base/textcompare.h"

#include <cstring>
#include <cwchar>

std::string loweredAscii(std::string text) {
    for (char& c : text) c = lowerAscii(c);
    return text;
}

bool sameIgnoringAsciiCase(const char* a, std::size_t aLength, const char* b, std::size_t bLength) {
    if (aLength != bLength) return false;
    for (std::size_t i = 0; i < aLength; ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

bool sameIgnoringAsciiCase(const char* a, const char* b) {
    return sameIgnoringAsciiCase(a, std::strlen(a), b, std::strlen(b));
}

bool sameIgnoringAsciiCase(const wchar_t* a, const wchar_t* b) {
    for (; *a && lowerAscii(*a) == lowerAscii(*b); ++a, ++b) {}
    return *a == *b;
}
