// UTF-8 decoding and encoding, strict about what it accepts: a code page's text is seldom valid
// UTF-8 by chance, which is what lets the importer tell the two apart.
#include "encoding.h"

bool decodeUtf8(const std::string& text, size_t& at, unsigned& code) {
    unsigned char lead = static_cast<unsigned char>(text[at]);
    int extra = lead < 0x80   ? 0
                : lead < 0xC2 ? -1
                : lead < 0xE0 ? 1
                : lead < 0xF0 ? 2
                : lead < 0xF5 ? 3
                              : -1;
    if (extra < 0) return false;
    unsigned value = extra == 0 ? lead : lead & (0x3F >> extra);
    if (text.size() - at <= static_cast<size_t>(extra)) return false;
    for (int i = 1; i <= extra; ++i) {
        unsigned char next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) return false;
        value = (value << 6) | (next & 0x3F);
    }
    const unsigned smallest[] = {0, 0x80, 0x800, 0x10000};
    bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    if (value < smallest[extra] || surrogate || value > 0x10FFFF) return false;
    code = value;
    at += extra + 1;
    return true;
}

void appendUtf8(std::string& text, unsigned code) {
    if (code < 0x80) {
        text += static_cast<char>(code);
        return;
    }
    const unsigned leads[] = {0, 0xC0, 0xE0, 0xF0};
    int extra = code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
    text += static_cast<char>(leads[extra] | (code >> (6 * extra)));
    for (int shift = 6 * (extra - 1); shift >= 0; shift -= 6) {
        text += static_cast<char>(0x80 | ((code >> shift) & 0x3F));
    }
}

Tletters lettersOf(const std::string& text) {
    if (firstInvalidUtf8(text) != std::string::npos) return Tletters::other;
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return Tletters::utf8;
    }
    return Tletters::ascii;
}

size_t firstInvalidUtf8(const std::string& text) {
    for (size_t at = 0; at < text.size();) {
        unsigned code = 0;
        if (!decodeUtf8(text, at, code)) return at;
    }
    return std::string::npos;
}

namespace {
const unsigned replacementCharacter = 0xFFFD;
}  // namespace

std::string withReplacementCharacters(const std::string& text) {
    std::string shown;
    for (size_t at = 0; at < text.size();) {
        unsigned code = replacementCharacter;
        if (!decodeUtf8(text, at, code)) ++at;
        appendUtf8(shown, code);
    }
    return shown;
}

size_t utf8Characters(const std::string& text) {
    size_t count = 0;
    for (size_t at = 0; at < text.size(); ++count) {
        unsigned code = 0;
        if (!decodeUtf8(text, at, code)) ++at;
    }
    return count;
}
