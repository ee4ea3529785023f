// Files for the tool: an owning FILE pointer on a UTF-8 path.
#pragma once

#include <string>

#include "base/fileholder.h"

TfileHolder openFile(const std::string& path, const char* mode);
