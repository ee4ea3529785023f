// Reading the input help file with the tool's messages, and writing that never leaves a partly
// written file under the real name.
#pragma once

#include "bytes.h"

#include <string>

// The whole file; false with the message for the user when it cannot be read.
bool readHelpFile(const std::string& path, Tbytes& data, std::string& error);

// Writes a new file beside the target and moves it over the target only once all bytes are
// written and the file is closed cleanly; the new file is removed on every failure.
bool writeFileAtomically(const std::string& path, const Tbytes& data, std::string& error);
