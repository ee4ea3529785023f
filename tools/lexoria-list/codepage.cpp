// Converting UTF-8 text into a code page one character at a time, so that a character the page
// lacks can be named; and stepping over the page's characters: one or two bytes each, or a UTF-8
// character in the UTF-8 page.
#include "codepage.h"

#include <cstdio>

#include "vocab/entrytext.h"

bool TcodePage::fromUtf8(const std::string& utf8, std::string& text, std::string& problem) const {
    text.clear();
    for (size_t at = 0; at < utf8.size();) {
        const Tutf8Step step = utf8StepAt(utf8, at);
        if (!step.wellFormed) {
            problem = "byte " + std::to_string(at + 1) + " is not UTF-8 text";
            return false;
        }
        if (!appendCharacter(step.codePoint, text)) {
            char name[16];
            std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(step.codePoint));
            problem = std::string("the character ") + name + " is not in code page " +
                      std::to_string(page);
            return false;
        }
        at = step.next;
    }
    return true;
}

size_t TcodePage::characterLength(const std::string& text, size_t at) const {
    if (isUtf8()) return utf8StepAt(text, at).next - at;
    return at + 1 < text.size() && isLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1;
}
