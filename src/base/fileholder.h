// An owning FILE pointer: the stream is closed when its holder goes out of scope. Where a failed
// close must be seen (it can mean lost data), release() the stream and close it by hand.
#pragma once

#include <cstdio>
#include <memory>

struct TfileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using TfileHolder = std::unique_ptr<std::FILE, TfileCloser>;
