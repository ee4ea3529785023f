// Reading the word list: lines, trimming, the offset scan and entry assembly.
#include "vocab/wordlist.h"

#include <cstring>
#include <new>
#include <utility>

namespace {
const char* const wordKey = "word=";
const char* const definitionKey = "def=";
const char* const exampleKey = "ex=";
const char* const joinSeparator = "\r\n";
}  // namespace

void trimLineEnd(char* line) {
    size_t length = std::strlen(line);
    while (length > 0) {
        char last = line[length - 1];
        if (last != '\r' && last != '\n' && last != ' ') break;
        --length;
    }
    line[length] = '\0';
}

bool beginsWithKey(const char* line, const char* key) {
    return std::strncmp(line, key, std::strlen(key)) == 0;
}

bool readLine(std::FILE* file, char (&buffer)[lineBufferSize]) {
    return std::fgets(buffer, lineBufferSize, file) != nullptr;
}

namespace {
// The file position just past a line that began at lineStart. fgets does not say how many bytes
// it took, and its text stops at the first zero byte, which a line may hold. A text that ends in
// LF or fills the buffer hides no zero, though, since fgets stops at the first LF; only other
// lines (the last one of a file, or one with a zero byte) ask the stream, because ftell costs a
// call into the system each time, which made it most of the time of a build.
long long positionAfter(std::FILE* file, const char* line, long long lineStart) {
    const size_t length = std::strlen(line);
    if (length == lineBufferSize - 1 || (length > 0 && line[length - 1] == '\n'))
        return lineStart + static_cast<long long>(length);
    return std::ftell(file);
}
}  // namespace

bool beginsWithUtf8Mark(std::FILE* file) {
    char start[utf8MarkLength];
    return std::fseek(file, 0, SEEK_SET) == 0 &&
           std::fread(start, 1, utf8MarkLength, file) == utf8MarkLength &&
           std::memcmp(start, utf8Mark, utf8MarkLength) == 0;
}

bool scanEntryOffsets(std::FILE* file, std::vector<int32_t>& offsets, bool& overLong) {
    offsets.clear();
    overLong = false;
    const long firstLine = beginsWithUtf8Mark(file) ? utf8MarkLength : 0;
    if (std::ferror(file) || std::fseek(file, firstLine, SEEK_SET) != 0) return false;
    char line[lineBufferSize];
    long long lineStart = firstLine;
    while (readLine(file, line)) {
        if (beginsWithKey(line, wordKey)) {
            if (static_cast<int>(offsets.size()) == maxEntries) {
                overLong = true;
                break;
            }
            offsets.push_back(static_cast<int32_t>(lineStart));
        }
        lineStart = positionAfter(file, line, lineStart);
        if (lineStart < 0 || lineStart > INT32_MAX) return false;
    }
    return !std::ferror(file);
}

namespace {
// Walks back from offset one full piece at a time: each must hold no LF, and the walk must end
// just after a LF, at the start of the file, or just after its byte-order mark. Stale when it
// does not, or when the offset lies past the end; failed only when the stream lets a read down.
TentryRead lineStartVerdict(std::FILE* file, long offset) {
    const long piece = lineBufferSize - 1;
    char before[lineBufferSize - 1];
    for (long at = offset; at > 0; at -= piece) {
        if (at == utf8MarkLength && beginsWithUtf8Mark(file)) return TentryRead::read;
        const long from = at > piece ? at - piece : 0;
        const size_t length = static_cast<size_t>(at - from);
        if (std::fseek(file, from, SEEK_SET) != 0) return TentryRead::failed;
        if (std::fread(before, 1, length, file) != length)
            return std::ferror(file) ? TentryRead::failed : TentryRead::stale;
        if (before[length - 1] == '\n') return TentryRead::read;
        if (at - from < piece || std::memchr(before, '\n', length)) return TentryRead::stale;
    }
    return offset >= 0 ? TentryRead::read : TentryRead::stale;
}

// True when a read filled the buffer with bytes of a longer line, none of them zero, and its last
// byte survives the trimming: the next read's first byte follows that byte in the file.
bool runsOnIntoNextRead(const char* line) {
    if (std::strlen(line) != lineBufferSize - 1) return false;
    const char last = line[lineBufferSize - 2];
    return last != '\n' && last != '\r' && last != ' ';
}

// An entry being put together line by line, and where its fields join pieces of one line.
class TentryAssembly {
public:
    // Takes the "word=" line; the lines read after it go to take.
    explicit TentryAssembly(char* wordLine) {
        runsOn = runsOnIntoNextRead(wordLine);
        trimLineEnd(wordLine);
        read.word = wordLine + std::strlen(wordKey);
    }
    TentryAssembly(const TentryAssembly&) = delete;  // it points into itself
    TentryAssembly& operator=(const TentryAssembly&) = delete;
    void take(char* line) {
        const bool followsPiece = runsOn;
        runsOn = runsOnIntoNextRead(line);
        trimLineEnd(line);
        if (beginsWithKey(line, definitionKey)) {
            startField(read.definition, joins.definition, line + std::strlen(definitionKey));
        } else if (beginsWithKey(line, exampleKey)) {
            startField(read.example, joins.example, line + std::strlen(exampleKey));
        } else {
            if (followsPiece) targetJoins->push_back(target->size());
            target->append(joinSeparator);
            target->append(line);
        }
    }

    TwordDef read;
    TpieceJoins joins;

private:
    // A key line replaces the field, and the joins of the lines joined to it go with them.
    void startField(std::string& field, std::vector<size_t>& fieldJoins, const char* text) {
        field = text;
        fieldJoins.clear();
        target = &field;
        targetJoins = &fieldJoins;
    }

    std::string* target = &read.word;
    std::vector<size_t>* targetJoins = &joins.word;
    bool runsOn = false;
};

// Stale when the line at offset is no "word=" line, or there is none (past the end); failed
// when the stream lets the read down.
TentryRead assembleEntry(std::FILE* file, long offset, TwordDef& entry) {
    if (offset < 0) return TentryRead::stale;
    const bool marked = beginsWithUtf8Mark(file);
    if (std::ferror(file) || std::fseek(file, offset, SEEK_SET) != 0) return TentryRead::failed;
    char line[lineBufferSize];
    if (!readLine(file, line)) return std::ferror(file) ? TentryRead::failed : TentryRead::stale;
    if (!beginsWithKey(line, wordKey)) return TentryRead::stale;

    // Built apart and moved in at the end, so an entry without "def=" or "ex=" never shows
    // the fields of the entry read before it.
    TentryAssembly assembly(line);
    while (readLine(file, line) && !beginsWithKey(line, wordKey)) assembly.take(line);
    // A read error is not the end of the entry: a cut entry is never handed out as whole.
    if (std::ferror(file)) return TentryRead::failed;
    settleEntryText(assembly.read, assembly.joins, marked);
    entry = std::move(assembly.read);
    return TentryRead::read;
}

// A definition of hundreds of megabytes cannot be held in a 32-bit process; the load fails
// like any other instead of ending the program.
TentryRead assembleWithinMemory(std::FILE* file, long offset, TwordDef& entry) {
    try {
        return assembleEntry(file, offset, entry);
    } catch (const std::bad_alloc&) {
        return TentryRead::failed;
    }
}
}  // namespace

bool readEntryAt(std::FILE* file, long offset, TwordDef& entry) {
    return assembleWithinMemory(file, offset, entry) == TentryRead::read;
}

TentryRead readIndexedEntryAt(std::FILE* file, long offset, TwordDef& entry) {
    const TentryRead lineStart = lineStartVerdict(file, offset);
    if (lineStart != TentryRead::read) return lineStart;
    return assembleWithinMemory(file, offset, entry);
}
