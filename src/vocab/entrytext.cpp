// Decoding an entry's UTF-8 and choosing each entry's encoding.
#include "vocab/entrytext.h"

#include <cstdint>

#include "vocab/wordlist.h"

namespace {

const char16_t replacementCharacter = 0xFFFD;

// What a lead byte announces: the sequence's length, and the range its second byte must fall in,
// which rules out overlong forms, surrogates and code points past U+10FFFF. Length 0: the byte
// begins no character.
struct Tlead {
    int length;
    unsigned char low, high;
    uint32_t bits;
};

Tlead leadOf(unsigned char byte) {
    if (byte < 0x80) return {1, 0, 0, byte};
    if (byte >= 0xC2 && byte <= 0xDF) return {2, 0x80, 0xBF, byte & 0x1Fu};
    if (byte == 0xE0) return {3, 0xA0, 0xBF, 0};
    if (byte == 0xED) return {3, 0x80, 0x9F, 0x0D};
    if (byte >= 0xE1 && byte <= 0xEF) return {3, 0x80, 0xBF, byte & 0x0Fu};
    if (byte == 0xF0) return {4, 0x90, 0xBF, 0};
    if (byte >= 0xF1 && byte <= 0xF3) return {4, 0x80, 0xBF, byte & 0x07u};
    if (byte == 0xF4) return {4, 0x80, 0x8F, 4};
    return {0, 0, 0, 0};
}

bool byteInRange(const std::string& bytes, size_t at, unsigned char low, unsigned char high) {
    if (at >= bytes.size()) return false;
    const unsigned char byte = static_cast<unsigned char>(bytes[at]);
    return byte >= low && byte <= high;
}

bool joinAt(const std::string& bytes, size_t at) {
    return at + 1 < bytes.size() && bytes[at] == '\r' && bytes[at + 1] == '\n';
}

// One decoded character, or an ill-formed run; next is where the following one begins.
struct Tsequence {
    bool wellFormed;
    uint32_t codePoint;
    bool joined;  // its bytes lay on both sides of a piece join
    size_t next;
};

Tsequence sequenceAt(const std::string& bytes, size_t at) {
    const Tlead lead = leadOf(static_cast<unsigned char>(bytes[at]));
    Tsequence sequence{lead.length != 0, lead.bits, false, at + 1};
    size_t joinedAt = 0;
    for (int taken = 1; sequence.wellFormed && taken < lead.length; ++taken) {
        const unsigned char low = taken == 1 ? lead.low : 0x80;
        const unsigned char high = taken == 1 ? lead.high : 0xBF;
        size_t& next = sequence.next;
        // A long line reaches the reader in pieces joined by CR LF; no well-formed text has a
        // line end inside a character, so bytes that go on after one belong to it.
        if (!sequence.joined && joinAt(bytes, next) && byteInRange(bytes, next + 2, low, high)) {
            joinedAt = next;
            next += 2;
            sequence.joined = true;
        }
        if (!byteInRange(bytes, next, low, high)) {
            sequence.wellFormed = false;
            if (sequence.joined) next = joinedAt;
            break;
        }
        sequence.codePoint = (sequence.codePoint << 6) | (bytes[next] & 0x3Fu);
        ++next;
    }
    return sequence;
}

void appendUtf16(std::u16string& out, uint32_t codePoint) {
    if (codePoint < 0x10000) {
        out.push_back(static_cast<char16_t>(codePoint));
        return;
    }
    codePoint -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
}

bool hasHighByte(const std::string& bytes) {
    for (char byte : bytes)
        if (static_cast<unsigned char>(byte) >= 0x80) return true;
    return false;
}

}  // namespace

bool decodeUtf8(const std::string& bytes, std::u16string* out) {
    bool wellFormed = true;
    for (size_t at = 0; at < bytes.size();) {
        const Tsequence sequence = sequenceAt(bytes, at);
        at = sequence.next;
        wellFormed = wellFormed && sequence.wellFormed;
        if (!out) continue;
        if (!sequence.wellFormed) {
            out->push_back(replacementCharacter);
            continue;
        }
        appendUtf16(*out, sequence.codePoint);
        if (sequence.joined) out->append(u"\r\n");
    }
    return wellFormed;
}

TtextEncoding entryEncoding(const TwordDef& entry, bool markedList) {
    if (markedList) return TtextEncoding::utf8;
    const std::string* const fields[] = {&entry.word, &entry.definition, &entry.example};
    bool high = false;
    for (const std::string* field : fields) {
        if (!decodeUtf8(*field, nullptr)) return TtextEncoding::codePage;
        high = high || hasHighByte(*field);
    }
    return high ? TtextEncoding::utf8 : TtextEncoding::codePage;
}
