// The command line of lexoria-list: which command runs, with which arguments.
#pragma once

#include <string>
#include <vector>

// Runs one command line (without the program name). What the user asked for goes to out, problems
// to err. Returns the exit status; 3 for a command line that cannot be used.
int runCommand(const std::vector<std::string>& arguments, std::string& out, std::string& err);

extern const char* const usageText;
