// Converting UTF-8 text into a code page one character at a time, so that a character the page
// lacks can be named; and stepping over the page's characters, one or two bytes each.
#include "codepage.h"

#include <cstdio>

#include "encoding.h"

bool TcodePage::fromUtf8(const std::string& utf8, std::string& text, std::string& problem) const {
    text.clear();
    for (size_t at = 0; at < utf8.size();) {
        size_t start = at;
        unsigned code = 0;
        if (!decodeUtf8(utf8, at, code)) {
            problem = "byte " + std::to_string(start + 1) + " is not UTF-8 text";
            return false;
        }
        if (!appendCharacter(code, text)) {
            char name[16];
            std::snprintf(name, sizeof name, "U+%04X", code);
            problem = std::string("the character ") + name + " is not in code page " +
                      std::to_string(page);
            return false;
        }
    }
    return true;
}

size_t TcodePage::characterLength(const std::string& text, size_t at) const {
    return at + 1 < text.size() && isLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1;
}
