// UTF-8 decoding and the Windows-1252 table: Latin-1 as it is, plus the 27 characters at 0x80-0x9F.
#include "encoding.h"

#include <cstdio>

namespace {

// The characters of the bytes 0x80 to 0x9F; 0 where the code page has none.
const unsigned highControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// Decodes the character at `at`; false for a malformed, overlong or surrogate sequence.
bool decodeUtf8(const std::string& text, size_t& at, unsigned& code) {
    unsigned char lead = static_cast<unsigned char>(text[at]);
    int extra = lead < 0x80 ? 0 : lead < 0xC2 ? -1 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : lead < 0xF5 ? 3 : -1;
    if (extra < 0) return false;
    code = extra == 0 ? lead : lead & (0x3F >> extra);
    if (text.size() - at <= static_cast<size_t>(extra)) return false;
    for (int i = 1; i <= extra; ++i) {
        unsigned char next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) return false;
        code = (code << 6) | (next & 0x3F);
    }
    const unsigned smallest[] = {0, 0x80, 0x800, 0x10000};
    if (code < smallest[extra] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return false;
    at += extra + 1;
    return true;
}

bool toWindows1252(unsigned code, char& byte) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
        byte = static_cast<char>(code);
        return true;
    }
    for (unsigned i = 0; i < 32; ++i) {
        if (highControls[i] == code && code != 0) {
            byte = static_cast<char>(0x80 + i);
            return true;
        }
    }
    return false;
}

}  // namespace

bool utf8ToWindows1252(const std::string& utf8, std::string& ansi, std::string& problem) {
    ansi.clear();
    for (size_t at = 0; at < utf8.size();) {
        size_t start = at;
        unsigned code = 0;
        char byte = 0;
        if (!decodeUtf8(utf8, at, code)) {
            problem = "byte " + std::to_string(start + 1) + " is not UTF-8 text";
            return false;
        }
        if (!toWindows1252(code, byte)) {
            char name[16];
            std::snprintf(name, sizeof name, "U+%04X", code);
            problem = std::string("the character ") + name + " is not in Windows-1252";
            return false;
        }
        ansi += byte;
    }
    return true;
}
