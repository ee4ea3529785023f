// Finding the program's item in the text Program Manager returns for a group: the first line
// names the group in double quotation marks, each further line starts with an item's quoted name,
// a comma and its quoted command line. Reads only the bytes it is given; no platform headers, so
// the host build can test and fuzz it.
#pragma once

#include <cstddef>

enum class TgroupItemStatus {
    present,        // the item is there and runs the program
    absent,         // no item of that name, or the first one runs something else
    unreadable,     // the text is not group information for the group asked for
    noProgramPath,  // an item of that name exists, but the program's path was not available
};

// info/length: the bytes delivered (the text ends at a zero byte if one comes first).
// programPath: the program's full path, or null when it could not be had; it is needed only
// once an item with the name is found.
TgroupItemStatus findGroupItem(const char* info, std::size_t length, const char* groupName,
                               const char* itemName, const char* programPath);
