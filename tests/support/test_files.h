// Helpers for every test: bytes in a temporary stdio file, a scratch folder on disk, whole-file
// reads and writes, and where the project's own files lie.
#pragma once

#include <string>

#include "base/fileholder.h"

// An anonymous temporary file holding the bytes, open for reading at its start.
TfileHolder temporaryFile(const std::string& bytes);

// A fresh folder, removed with its contents on destruction.
class TscratchFolder {
public:
    TscratchFolder();
    ~TscratchFolder();
    TscratchFolder(const TscratchFolder&) = delete;
    TscratchFolder& operator=(const TscratchFolder&) = delete;
    std::string file(const std::string& name) const;
    const std::string& path() const { return folder; }

private:
    std::string folder;
};

// The one set of file helpers of every test, host and Windows (the Windows tests add a wide
// writeFile for names the ANSI code page cannot spell).
bool writeFile(const std::string& path, const std::string& bytes);
// The file's bytes; "<missing>" when it cannot be read.
std::string readBytes(const std::string& path);
// A file of the source tree, such as "data/lexoria.lst".
std::string sourceFile(const std::string& relative);
