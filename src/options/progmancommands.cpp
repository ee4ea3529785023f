// Program Manager command strings.
#include "options/progmancommands.h"

const char* const programItemName = "Lexoria";

// Show command 2 activates the group as a minimised window; the item commands that follow act on
// the active group, so this one always goes first.
std::string showGroupCommand(const std::string& groupName) {
    return "[ShowGroup(" + groupName + ",2)]";
}

std::string deleteItemCommand() { return std::string("[DeleteItem(") + programItemName + ")]"; }

// Removes an existing item and makes the next added one take its place, so a second add does
// not leave two items.
std::string replaceItemCommand() { return std::string("[ReplaceItem(") + programItemName + ")]"; }

std::string addItemCommand(const std::string& programPath) {
    return "[AddItem(" + programPath + "," + programItemName + ")]";
}
