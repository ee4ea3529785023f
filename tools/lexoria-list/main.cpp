// lexoria-list: checks word lists for Lexoria, imports them from CSV, tab-separated text and Anki
// exports, exports them to CSV, and counts them. See README.md beside this file.
#include <cstdio>
#include <string>
#include <vector>

#include "base/platformfiles.h"
#include "base/toolmain.h"
#include "commands.h"

namespace {

// A file too large for memory is a file the tool cannot read, not a wrong command line.
const int cannotReadOrWriteStatus = 2;

int run(int argc, char** argv) {
    std::vector<std::string> arguments = programArguments(argc, argv);
    std::string out;
    std::string err;
    int status = runCommand(arguments, out, err);
    std::fputs(out.c_str(), stdout);
    std::fflush(stdout);
    std::fputs(err.c_str(), stderr);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    return runTool("lexoria-list", cannotReadOrWriteStatus, run, argc, argv);
}
