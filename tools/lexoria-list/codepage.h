// The code page in which Lexoria shows its list: text converted into it from UTF-8, and its own
// text read as UTF-8.
#pragma once

#include <cstddef>
#include <string>

class TcodePage {
public:
    // 0 for the default: the system's ANSI code page on Windows, Windows-1252 elsewhere.
    explicit TcodePage(int number = 0);
    int number() const { return page; }
    // The UTF-8 page (65001): the ANSI code page of a system set to "Use Unicode UTF-8 for
    // worldwide language support", whose list entries are UTF-8 without the mark.
    bool isUtf8() const { return page == utf8Page; }
    // False for a code page that this build cannot convert into.
    bool usable() const;
    // The UTF-8 text in this code page; false, with the reason, for a character the page lacks.
    bool fromUtf8(const std::string& utf8, std::string& text, std::string& problem) const;
    // Text of this code page as UTF-8. Bytes the page leaves undefined come back as they were
    // through fromUtf8.
    std::string toUtf8(const std::string& text) const;
    // Whether the byte begins a two-byte character (in the pages of East Asian Windows: 932, 936,
    // 949 and 950).
    bool isLeadByte(unsigned char value) const;
    // The bytes of the character that begins at `at`: 2 for a lead byte with a byte after it, else
    // 1; in the UTF-8 page, those of the character or ill-formed run there.
    size_t characterLength(const std::string& text, size_t at) const;

    static const int utf8Page = 65001;

private:
    bool appendCharacter(unsigned code, std::string& text) const;
    int page;
};
