// Reading a whole file into memory, for the tools that take their input in at once.
#pragma once

#include <string>

enum class TwholeFileRead { read, isFolder, cannotOpen, cannotRead };

// The file's bytes, through openPath (so a UTF-8 path names its file on Windows too). A folder
// is told apart, since on some systems it opens and only its first read fails.
TwholeFileRead readWholeFile(const std::string& path, std::string& bytes);
