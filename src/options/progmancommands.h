// The command strings sent to Program Manager and the name of the program's item. Names and
// paths go in as they are: Program Manager's syntax has no quoting the program relies on.
// No platform headers.
#pragma once

#include <string>

extern const char* const programItemName;  // "Lexoria"

std::string showGroupCommand(const std::string& groupName);
std::string deleteItemCommand();
std::string replaceItemCommand();
std::string addItemCommand(const std::string& programPath);
