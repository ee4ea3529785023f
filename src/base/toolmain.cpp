// The tools' one boundary for exceptions: nothing in them throws but the allocator and the
// string length checks.
#include "base/toolmain.h"

#include <cstdio>
#include <new>
#include <stdexcept>

int runTool(const char* name, int outOfMemoryStatus, int (*run)(int, char**), int argc,
            char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {}
    std::fprintf(stderr, "%s: out of memory\n", name);
    return outOfMemoryStatus;
}
