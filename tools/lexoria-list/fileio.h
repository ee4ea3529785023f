// Files for the tool: an owning FILE pointer, whole-file reading, and output that replaces its
// target only once it has been written completely.
#pragma once

#include <string>

#include "base/fileholder.h"

TfileHolder openFile(const std::string& path, const char* mode);
bool readWholeFile(const std::string& path, std::string& bytes);

// True when both paths exist and name the same file (through links or other spellings too).
bool sameFile(const std::string& first, const std::string& second);
// Moves a file over another one, replacing it.
bool replaceFile(const std::string& from, const std::string& to);

// The name under which an output is written before it replaces its target.
std::string temporaryPathFor(const std::string& target);

// An output file written beside its target under a temporary name and moved over the target by
// commit, so that a failure at any step leaves an existing target as it was. The temporary file
// is removed unless committed.
class TpendingOutput {
public:
    explicit TpendingOutput(const std::string& target);
    ~TpendingOutput();
    TpendingOutput(const TpendingOutput&) = delete;
    TpendingOutput& operator=(const TpendingOutput&) = delete;

    const std::string& temporaryPath() const { return temporary; }
    bool write(const std::string& bytes);
    bool commit();

private:
    std::string target;
    std::string temporary;
    bool committed = false;
};
