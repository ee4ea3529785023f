// The main() of the command-line tools: the tool runs, and running out of memory (a file too
// large to hold) ends it with a message and a failure status instead of an abort.
#pragma once

// Returns what run returns, or outOfMemoryStatus after "NAME: out of memory" on stderr.
int runTool(const char* name, int outOfMemoryStatus, int (*run)(int, char**), int argc,
            char** argv);
