// Files for the tool: an owning FILE pointer and whole-file reading.
#pragma once

#include <string>

#include "base/fileholder.h"

TfileHolder openFile(const std::string& path, const char* mode);
bool readWholeFile(const std::string& path, std::string& bytes);
