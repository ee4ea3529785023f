// The three keys of a word list line, and the lines that look like a key to a person but not to
// Lexoria's reader (a blank or byte-order mark ahead of it, or other letter case).
#pragma once

#include <cstddef>
#include <string>

extern const char* const wordKey;        // "word="
extern const char* const definitionKey;  // "def="
extern const char* const exampleKey;     // "ex="

enum class TlineKind { word, definition, example, continuation };

// What the reader makes of a line, decided by beginsWithKey exactly as it does.
TlineKind lineKind(const char* line);

// A key that a line seems to carry but the reader does not see.
class ThiddenKey {
public:
    const char* key = nullptr;  // the key it resembles, null when the line resembles none
    size_t prefixLength = 0;    // bytes ahead of it: blanks, no-break spaces, byte-order marks
    bool otherCase = false;     // written in other letter case ("Word=", "DEF=")
    size_t equalsAt() const;    // where its '=' lies in the line
};

// Finds such a key; false for a line that carries a real key or resembles none.
bool findHiddenKey(const std::string& line, ThiddenKey& hidden);

// What the invisible bytes ahead of a hidden key are, for messages ("a blank", ...).
std::string describePrefix(const std::string& line, size_t prefixLength);
