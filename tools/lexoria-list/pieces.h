// Walks a word list one line piece at a time, exactly as Lexoria's reader delivers the lines
// (readLine: up to a LF or 2047 bytes), and tells where each piece lies in the file.
#pragma once

#include <cstdio>
#include <string>

#include "vocab/wordlist.h"

class TpieceReader {
public:
    // Starts at the beginning of the file, or just after the byte-order mark that begins it.
    explicit TpieceReader(std::FILE* file);
    TpieceReader(const TpieceReader&) = delete;
    TpieceReader& operator=(const TpieceReader&) = delete;

    // Reads the next piece; false at the end of the file or when a read fails.
    bool next();
    bool failed() const { return error; }

    const char* text() const { return buffer; }  // as read; the reader sees it up to a zero byte
    std::string trimmed() const;                 // the text after trimLineEnd
    long offset() const { return start; }
    long size() const { return end - start; }    // bytes the read consumed, zero bytes included
    int line() const { return lineNumber; }      // physical line, from 1
    int piece() const { return pieceIndex; }     // 0 for the piece that begins its line
    bool endsLine() const { return lineEnded; }  // ended with its line's LF
    bool hasZeroByte() const;
    bool markedList() const { return marked; }  // the file begins with the byte-order mark
    std::string bytes() const { return std::string(buffer, static_cast<size_t>(size())); }

private:
    std::FILE* file;
    char buffer[lineBufferSize];
    long start = 0;
    long end = 0;
    int lineNumber = 0;
    int pieceIndex = 0;
    bool lineEnded = true;
    bool error = false;
    bool marked = false;
};
