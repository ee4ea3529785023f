// Starting lexoria-list from a test as a user would, with a time-out.
#pragma once

#include <string>
#include <vector>

// The lexoria-list program of this build.
std::string listProgram();

// Runs the program with the arguments, its output discarded; returns its exit status, or -1 when
// it could not start or did not end within the time-out (it is then killed).
int runProgram(const std::string& program, const std::vector<std::string>& arguments, int timeoutMs = 30000);
