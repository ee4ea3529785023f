// Code pages on Linux, where no system converts into Windows code pages: the pages 1250 to 1258
// from their tables, Windows-1252 by default.
#include "codepage.h"

#include "codepage_tables.h"
#include "encoding.h"

namespace {

// A byte that the page leaves undefined travels through UTF-8 as this private-use character plus
// the byte, so that the page's own text comes back byte for byte.
const unsigned undefinedByteBase = 0xF700;

}  // namespace

TcodePage::TcodePage(int number) : page(number == 0 ? 1252 : number) {}

bool TcodePage::usable() const { return windowsCodePageTable(page) != nullptr; }

bool TcodePage::appendCharacter(unsigned code, std::string& text) const {
    const unsigned short* table = windowsCodePageTable(page);
    if (code < 0x80) {
        text += static_cast<char>(code);
        return true;
    }
    for (unsigned i = 0; i < 128; ++i) {
        if (table[i] != 0 ? code == table[i] : code == undefinedByteBase + 0x80 + i) {
            text += static_cast<char>(0x80 + i);
            return true;
        }
    }
    return false;
}

std::string TcodePage::toUtf8(const std::string& text) const {
    const unsigned short* table = windowsCodePageTable(page);
    std::string utf8;
    for (char c : text) {
        unsigned byte = static_cast<unsigned char>(c);
        unsigned code = byte < 0x80 ? byte : table[byte - 0x80];
        appendUtf8(utf8, code != 0 || byte == 0 ? code : undefinedByteBase + byte);
    }
    return utf8;
}
