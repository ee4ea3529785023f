// Whole-file reading, and writing that never leaves a partly written file under the real name.
#pragma once

#include "bytes.h"

#include <string>

bool readWholeFile(const std::string& path, Tbytes& data, std::string& error);

// Writes to "<path>.tmp" beside the target and renames it over the target only once all bytes
// are written and the stream is closed cleanly; the temporary is removed on every failure.
bool writeFileAtomically(const std::string& path, const Tbytes& data, std::string& error);
