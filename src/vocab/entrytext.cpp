// Decoding an entry's UTF-8, mending the characters piece joins cut, and choosing each entry's
// encoding.
#include "vocab/entrytext.h"

#include <algorithm>

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

const size_t joinLength = 2;  // the CR LF of a join

// How many bytes after the piece join at `join` complete the character that the bytes just before
// it begin; 0 when the join cuts no character, or cuts one that those bytes do not complete.
size_t cutCharacterTail(const std::string& field, size_t join) {
    for (size_t have = 1; have <= 3 && have <= join; ++have) {
        const unsigned char byte = static_cast<unsigned char>(field[join - have]);
        if (byte >= 0x80 && byte <= 0xBF) continue;  // its lead lies further back
        const size_t length = static_cast<size_t>(leadOf(byte).length);
        if (length <= have || join + joinLength + length - have > field.size()) return 0;
        const std::string whole =
            field.substr(join - have, have) + field.substr(join + joinLength, length - have);
        const Tutf8Step step = utf8StepAt(whole, 0);
        return step.wellFormed && step.next == length ? length - have : 0;
    }
    return 0;
}

// A character's tail moved ahead of the join that cut it, and how to move it back.
struct TmovedTail {
    std::string* field;
    size_t join;
    size_t tail;
    void apply() const { rotateAt(join + joinLength); }
    void undo() const { rotateAt(join + tail); }
    void rotateAt(size_t middle) const {
        const auto start = field->begin() + static_cast<std::ptrdiff_t>(join);
        std::rotate(start, field->begin() + static_cast<std::ptrdiff_t>(middle),
                    start + static_cast<std::ptrdiff_t>(tail + joinLength));
    }
};

}  // namespace

Tutf8Step utf8StepAt(const std::string& bytes, size_t at) {
    const Tlead lead = leadOf(static_cast<unsigned char>(bytes[at]));
    Tutf8Step step;
    step.wellFormed = lead.length != 0;
    step.codePoint = lead.bits;
    step.next = at + 1;
    for (int taken = 1; step.wellFormed && taken < lead.length; ++taken) {
        const unsigned char low = taken == 1 ? lead.low : 0x80;
        const unsigned char high = taken == 1 ? lead.high : 0xBF;
        if (!byteInRange(bytes, step.next, low, high)) {
            step.wellFormed = false;
            break;
        }
        step.codePoint = (step.codePoint << 6) | (bytes[step.next] & 0x3Fu);
        ++step.next;
    }
    if (!step.wellFormed) step.codePoint = replacementCharacter;
    return step;
}

bool decodeUtf8(const std::string& bytes, std::u16string* out) {
    bool wellFormed = true;
    for (size_t at = 0; at < bytes.size();) {
        const Tutf8Step step = utf8StepAt(bytes, at);
        at = step.next;
        wellFormed = wellFormed && step.wellFormed;
        if (out) appendUtf16(*out, step.codePoint);
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

void settleEntryText(TwordDef& entry, const TpieceJoins& joins, bool markedList) {
    const std::pair<std::string*, const std::vector<size_t>*> fields[] = {
        {&entry.word, &joins.word},
        {&entry.definition, &joins.definition},
        {&entry.example, &joins.example}};
    std::vector<TmovedTail> moved;
    for (const auto& field : fields) {
        for (size_t join : *field.second) {
            const TmovedTail move{field.first, join, cutCharacterTail(*field.first, join)};
            if (move.tail == 0) continue;
            move.apply();
            moved.push_back(move);
        }
    }
    entry.encoding = entryEncoding(entry, markedList);
    if (entry.encoding == TtextEncoding::codePage)
        for (auto move = moved.rbegin(); move != moved.rend(); ++move) move->undo();
}
