// Line pieces with their positions: the reader's readLine plus the file position around it.
#include "pieces.h"

#include <cstring>

#include "listtext.h"

// The mark at the start of a list is no part of its first line.
TpieceReader::TpieceReader(std::FILE* source) : file(source) {
    buffer[0] = '\0';
    marked = beginsWithMark(file);
    end = marked ? byteOrderMarkSize : 0;
    error = std::fseek(file, end, SEEK_SET) != 0;
}

bool TpieceReader::next() {
    if (error) return false;
    if (!readLine(file, buffer)) {
        error = std::ferror(file) != 0;
        return false;
    }
    long after = std::ftell(file);
    if (after <= end) {
        error = true;
        return false;
    }
    if (lineEnded) {
        ++lineNumber;
        pieceIndex = 0;
    } else {
        ++pieceIndex;
    }
    start = end;
    end = after;
    // The read copied every byte it consumed, zero bytes too, so the last one is in the buffer.
    lineEnded = buffer[size() - 1] == '\n';
    return true;
}

std::string TpieceReader::trimmed() const {
    char copy[lineBufferSize];
    std::memcpy(copy, buffer, std::strlen(buffer) + 1);
    trimLineEnd(copy);
    return copy;
}

bool TpieceReader::hasZeroByte() const { return static_cast<long>(std::strlen(buffer)) < size(); }
