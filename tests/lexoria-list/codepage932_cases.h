// "import --codepage 932" on Linux and Windows alike: only bytes that Windows' code page reads back
// as the character; one that Linux's CP932 would write as another's makes its row bad.
#pragma once

namespace codePage932 {

struct Tcase {
    const char* name;
    const char* utf8;     // the definition in the CSV file
    const char* bytes;    // its bytes in the list; null when the row is bad
    const char* lacking;  // the character the bad row's message names
};

const Tcase cases[] = {
    {"yen sign before digits", "\302\245100", nullptr, "U+00A5"},
    {"wave dash", "\xE3\x80\x9C", nullptr, "U+301C"},
    {"minus sign", "\xE2\x88\x92", nullptr, "U+2212"},
    {"em dash", "\xE2\x80\x94", nullptr, "U+2014"},
    {"cent sign", "\xC2\xA2", nullptr, "U+00A2"},
    {"not sign", "\xC2\xAC", nullptr, "U+00AC"},
    {"double vertical line", "\xE2\x80\x96", nullptr, "U+2016"},
    {"overline", "\xE2\x80\xBE", nullptr, "U+203E"},
    {"Japanese", "\xE6\x97\xA5\xE6\x9C\xAC", "\x93\xFA\x96\x7B", nullptr},
    {"fullwidth tilde", "\xEF\xBD\x9E", "\x81\x60", nullptr},
    {"horizontal bar", "\xE2\x80\x95", "\x81\x5C", nullptr},
    {"fullwidth cent sign", "\xEF\xBF\xA0", "\x81\x91", nullptr},
    {"parallel to", "\xE2\x88\xA5", "\x81\x61", nullptr},
    {"backslash and tilde", "\\~", "\\~", nullptr},
};

}  // namespace codePage932
