// Turning HTML into text: a single pass over tags, entities, white space and text.
#include "html.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "base/textcompare.h"
#include "utf8text.h"

namespace {

// Named entities: the common ones, and every character of the Latin-1 and Windows-1252 sets.
const struct {
    const char* name;
    unsigned code;
} namedEntities[] = {
    {"amp", '&'},     {"lt", '<'},      {"gt", '>'},      {"quot", '"'},   {"apos", '\''},
    {"OElig", 338},   {"oelig", 339},   {"Scaron", 352},  {"scaron", 353}, {"Yuml", 376},
    {"fnof", 402},    {"circ", 710},    {"tilde", 732},   {"ndash", 8211}, {"mdash", 8212},
    {"lsquo", 8216},  {"rsquo", 8217},  {"sbquo", 8218},  {"ldquo", 8220}, {"rdquo", 8221},
    {"bdquo", 8222},  {"dagger", 8224}, {"Dagger", 8225}, {"bull", 8226},  {"hellip", 8230},
    {"permil", 8240}, {"lsaquo", 8249}, {"rsaquo", 8250}, {"euro", 8364},  {"trade", 8482},
};

// Entities for the characters 160 to 255, in order.
const char* const latin1Entities[96] = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",
    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn",
    "sup2",   "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",
    "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde",
    "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave",
    "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde",
    "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",
    "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",
    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml",
};

// What browsers make of the references &#128; to &#159;, control characters in Unicode: the
// characters of those bytes in Windows-1252; 0 where that has none and the code stays.
const unsigned numericReplacements[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

const char* const blockElements[] = {"div", "p",  "li", "ul", "ol", "tr", "table", "blockquote",
                                     "h1",  "h2", "h3", "h4", "h5", "h6", "pre",   "hr"};

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }
bool isAlphanumeric(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The character an entity name ("amp", "#233", "#xE9") stands for; 0 when there is none.
unsigned entityCode(const std::string& name) {
    if (name.size() > 1 && name[0] == '#') {
        bool hex = name[1] == 'x' || name[1] == 'X';
        const char* digits = name.c_str() + (hex ? 2 : 1);
        // strtoul would also take blanks and a sign ahead of the digits: "&# 65;" is no reference.
        const char* digitSet = hex ? "0123456789abcdefABCDEF" : "0123456789";
        if (*digits == '\0' || !std::strchr(digitSet, *digits)) return 0;
        char* end = nullptr;
        unsigned long code = std::strtoul(digits, &end, hex ? 16 : 10);
        bool valid =
            *end == '\0' && code > 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
        if (!valid) return 0;
        unsigned replaced = code >= 0x80 && code <= 0x9F ? numericReplacements[code - 0x80] : 0;
        return replaced ? replaced : static_cast<unsigned>(code);
    }
    for (const auto& entity : namedEntities) {
        if (name == entity.name) return entity.code;
    }
    for (unsigned i = 0; i < 96; ++i) {
        if (name == latin1Entities[i]) return 160 + i;
    }
    return 0;
}

class ThtmlConverter {
public:
    explicit ThtmlConverter(const std::string& source) : html(source) {}
    std::string convert();

private:
    size_t closingBracketFrom(size_t at);
    size_t takeTag(size_t at);
    size_t takeEntity(size_t at);
    void text(const std::string& bytes);
    void lineBreak(bool always);

    const std::string& html;
    std::string out;
    bool pendingSpace = false;
    size_t closingBracket = 0;  // the first '>' at or after the last place asked about
    bool closingBracketKnown = false;
};

void ThtmlConverter::text(const std::string& bytes) {
    if (pendingSpace && !out.empty() && out.back() != '\n') out += ' ';
    pendingSpace = false;
    out += bytes;
}

void ThtmlConverter::lineBreak(bool always) {
    pendingSpace = false;
    while (!out.empty() && out.back() == ' ') out.pop_back();
    if (always || (!out.empty() && out.back() != '\n')) out += '\n';
}

// Tags are asked about from left to right, so one search serves every '<' up to the '>' it finds,
// and a text of '<' without any '>' is searched once, not once for each '<'.
size_t ThtmlConverter::closingBracketFrom(size_t at) {
    if (!closingBracketKnown || (closingBracket != std::string::npos && closingBracket < at)) {
        closingBracket = html.find('>', at);
        closingBracketKnown = true;
    }
    return closingBracket;
}

// Returns where the text goes on after the tag at `at`, or `at` when it is no tag.
size_t ThtmlConverter::takeTag(size_t at) {
    if (html.compare(at, 4, "<!--") == 0) {
        size_t end = html.find("-->", at + 4);
        return end == std::string::npos ? html.size() : end + 3;
    }
    size_t nameStart = at + 1 + (html.compare(at + 1, 1, "/") == 0 ? 1 : 0);
    size_t nameEnd = nameStart;
    while (nameEnd < html.size() && isAlphanumeric(html[nameEnd])) ++nameEnd;
    size_t close = closingBracketFrom(at);
    if (nameEnd == nameStart || close == std::string::npos) return at;
    std::string name;
    for (size_t i = nameStart; i < nameEnd; ++i) name += lowerAscii(html[i]);
    bool closing = nameStart > at + 1;
    if (name == "br") {
        lineBreak(true);
    } else {
        for (const char* block : blockElements) {
            if (name == block) lineBreak(false);
        }
    }
    if (!closing && (name == "script" || name == "style")) {
        // Their content is no text; skip to the end of their closing tag.
        for (size_t end = html.find("</", close); end != std::string::npos;
             end = html.find("</", end + 2)) {
            std::string candidate;
            for (size_t i = end + 2; i < html.size() && i < end + 2 + name.size(); ++i)
                candidate += lowerAscii(html[i]);
            if (candidate != name) continue;
            size_t endClose = html.find('>', end);
            return endClose == std::string::npos ? html.size() : endClose + 1;
        }
        return html.size();
    }
    return close + 1;
}

// Returns where the text goes on after the entity at `at`, or `at` when it is none.
size_t ThtmlConverter::takeEntity(size_t at) {
    // Looking no further than the longest entity keeps a text of many '&' linear.
    const size_t longestEntity = 12;  // from the '&' to its ';'
    size_t end = std::min(html.size(), at + longestEntity + 1);
    const void* found = std::memchr(html.data() + at, ';', end - at);
    if (!found) return at;
    size_t semicolon = static_cast<size_t>(static_cast<const char*>(found) - html.data());
    unsigned code = entityCode(html.substr(at + 1, semicolon - at - 1));
    if (code == 0) return at;
    if (code < 0x20) {
        pendingSpace = true;  // a coded line break or tab is white space like any other
    } else {
        std::string bytes;
        appendUtf8(bytes, code == 160 ? ' ' : code);  // a no-break space stays, as a plain space
        text(bytes);
    }
    return semicolon + 1;
}

std::string ThtmlConverter::convert() {
    size_t at = 0;
    while (at < html.size()) {
        char c = html[at];
        size_t next = at;
        if (c == '<') next = takeTag(at);
        if (c == '&') next = takeEntity(at);
        if (next != at) {
            at = next;
        } else if (isSpace(c)) {
            pendingSpace = true;
            ++at;
        } else {
            text(std::string(1, c));
            ++at;
        }
    }
    return out;
}

// Copies the text around the references in one pass, rather than closing each gap in turn.
void removeSoundReferences(std::string& text) {
    std::string kept;
    size_t from = 0;
    for (size_t at = text.find("[sound:"); at != std::string::npos;
         at = text.find("[sound:", from)) {
        size_t end = text.find(']', at);
        if (end == std::string::npos) break;
        kept.append(text, from, at - from);
        from = end + 1;
    }
    kept.append(text, from, std::string::npos);
    text.swap(kept);
}

std::string trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(" \n");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \n") - first + 1);
}

}  // namespace

std::string htmlToText(const std::string& html) {
    std::string text = ThtmlConverter(html).convert();
    removeSoundReferences(text);
    return trimmed(text);
}
