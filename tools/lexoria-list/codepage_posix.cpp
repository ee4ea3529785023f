// Code pages on Linux, where no system converts into Windows code pages: the pages 1250 to 1258
// from their tables, Windows-1252 by default; the two-byte pages of East Asian Windows (932, 936,
// 949, 950) through the C library's iconv, which knows them by the same numbers; and the UTF-8
// page with the program's own decoder.
#include <iconv.h>

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "codepage.h"
#include "codepage_tables.h"
#include "utf8text.h"
#include "vocab/entrytext.h"

namespace {

// A byte that the page leaves undefined travels through UTF-8 as this private-use character plus
// the byte, so that the page's own text comes back byte for byte.
const unsigned undefinedByteBase = 0xF700;
const unsigned replacementCharacter = 0xFFFD;

bool isTwoBytePage(int page) { return page == 932 || page == 936 || page == 949 || page == 950; }

// One iconv conversion, closed on every path.
class Ticonv {
public:
    Ticonv(const std::string& to, const std::string& from)
        : handle(iconv_open(to.c_str(), from.c_str())) {}
    ~Ticonv() {
        if (usable()) iconv_close(handle);
    }
    Ticonv(const Ticonv&) = delete;
    Ticonv& operator=(const Ticonv&) = delete;
    bool usable() const { return handle != reinterpret_cast<iconv_t>(-1); }
    // Converts the bytes from `at`; false when they do not convert, with `at` unchanged.
    bool convert(const std::string& text, size_t& at, size_t length, std::string& out) {
        char buffer[16];
        char* in = const_cast<char*>(text.data() + at);
        size_t inLeft = length;
        char* put = buffer;
        size_t outLeft = sizeof buffer;
        iconv(handle, nullptr, nullptr, nullptr, nullptr);
        if (iconv(handle, &in, &inLeft, &put, &outLeft) == static_cast<size_t>(-1) || inLeft) {
            return false;
        }
        out.append(buffer, static_cast<size_t>(put - buffer));
        at += length;
        return true;
    }

private:
    iconv_t handle;
};

std::string iconvName(int page) { return "CP" + std::to_string(page); }

// The conversion into the page or out of it, opened once for the run: opening one costs far more
// than converting a character, and the tool converts one character at a time.
Ticonv& conversion(int page, bool intoPage) {
    static std::map<std::pair<int, bool>, std::unique_ptr<Ticonv>> opened;
    std::unique_ptr<Ticonv>& held = opened[{page, intoPage}];
    if (!held) {
        held = intoPage ? std::make_unique<Ticonv>(iconvName(page), "UTF-8")
                        : std::make_unique<Ticonv>("UTF-8", iconvName(page));
    }
    return *held;
}

}  // namespace

TcodePage::TcodePage(int number) : page(number == 0 ? 1252 : number) {}

bool TcodePage::usable() const {
    if (windowsCodePageTable(page) != nullptr || isUtf8()) return true;
    return isTwoBytePage(page) && conversion(page, false).usable();
}

bool TcodePage::isLeadByte(unsigned char value) const {
    switch (page) {
    case 932: return (value >= 0x81 && value <= 0x9F) || (value >= 0xE0 && value <= 0xFC);
    case 936:
    case 949:
    case 950: return value >= 0x81 && value <= 0xFE;
    default: return false;
    }
}

// The C library's tables of the two-byte pages write some characters as the bytes of others,
// which Windows reads as those others: U+00A5 as 5C, the backslash; U+301C as 81 60, U+FF5E. Only
// bytes that read back as the character, as Windows reads them too, are that character.
bool TcodePage::appendCharacter(unsigned code, std::string& text) const {
    const unsigned short* table = windowsCodePageTable(page);
    if (code < 0x80 || isUtf8()) {
        appendUtf8(text, code);
        return true;
    }
    if (!table) {
        std::string utf8;
        appendUtf8(utf8, code);
        size_t at = 0;
        std::string bytes;
        Ticonv& toPage = conversion(page, true);
        if (!toPage.usable() || !toPage.convert(utf8, at, utf8.size(), bytes) ||
            toUtf8(bytes) != utf8)
            return false;
        text += bytes;
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
    if (isUtf8()) {
        std::u16string characters;
        decodeUtf8(text, &characters);
        return utf8From(characters);
    }
    const unsigned short* table = windowsCodePageTable(page);
    std::string utf8;
    if (!table) {
        Ticonv& fromPage = conversion(page, false);
        for (size_t at = 0; at < text.size();) {
            if (!fromPage.usable() ||
                !fromPage.convert(text, at, characterLength(text, at), utf8)) {
                appendUtf8(utf8, replacementCharacter);
                ++at;
            }
        }
        return utf8;
    }
    for (char c : text) {
        unsigned byte = static_cast<unsigned char>(c);
        unsigned code = byte < 0x80 ? byte : table[byte - 0x80];
        appendUtf8(utf8, code != 0 || byte == 0 ? code : undefinedByteBase + byte);
    }
    return utf8;
}
