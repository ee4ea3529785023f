// lexoria-list: checks word lists for Lexoria, imports them from CSV, tab-separated text and Anki
// exports, exports them to CSV, and counts them. See README.md beside this file.
#include <cstdio>
#include <string>
#include <vector>

#include "commands.h"

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    std::string out;
    std::string err;
    int status = runCommand(arguments, out, err);
    std::fputs(out.c_str(), stdout);
    std::fflush(stdout);
    std::fputs(err.c_str(), stderr);
    return status;
}
