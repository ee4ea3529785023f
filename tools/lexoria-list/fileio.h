// Files for the tool: an owning FILE pointer and whole-file reading.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

struct TfileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using TfileHolder = std::unique_ptr<std::FILE, TfileCloser>;

TfileHolder openFile(const std::string& path, const char* mode);
bool readWholeFile(const std::string& path, std::string& bytes);
