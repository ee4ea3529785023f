// Writing UTF-8, and judging text by the program's decoder.
#include "utf8text.h"

#include "vocab/entrytext.h"

namespace {
const uint32_t replacementCharacter = 0xFFFD;

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
}  // namespace

void appendUtf8(std::string& text, uint32_t code) {
    if (code < 0x80) {
        text += static_cast<char>(code);
        return;
    }
    const unsigned leads[] = {0, 0xC0, 0xE0, 0xF0};
    const int extra = code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
    text += static_cast<char>(leads[extra] | (code >> (6 * extra)));
    for (int shift = 6 * (extra - 1); shift >= 0; shift -= 6)
        text += static_cast<char>(0x80 | ((code >> shift) & 0x3F));
}

std::string utf8From(const std::u16string& text) {
    std::string utf8;
    for (size_t at = 0; at < text.size(); ++at) {
        uint32_t code = text[at];
        if (isHighSurrogate(text[at]) && at + 1 < text.size() && isLowSurrogate(text[at + 1]))
            code = 0x10000 + ((code - 0xD800) << 10) + (text[++at] - 0xDC00);
        else if (isHighSurrogate(text[at]) || isLowSurrogate(text[at])) code = replacementCharacter;
        appendUtf8(utf8, code);
    }
    return utf8;
}

Tletters lettersOf(const std::string& text) {
    if (!decodeUtf8(text, nullptr)) return Tletters::other;
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return Tletters::utf8;
    return Tletters::ascii;
}

size_t firstInvalidUtf8(const std::string& text) {
    for (size_t at = 0; at < text.size();) {
        const Tutf8Step step = utf8StepAt(text, at);
        if (!step.wellFormed) return at;
        at = step.next;
    }
    return std::string::npos;
}
