// The shortcut in the user's Startup folder, through which shells of major version 4 and later
// start the program at log-on: where the folder is, the shortcut's path, and creating and
// recognising the shortcut through the shell's link object.
#pragma once

#include <string>

// The shell's "Startup" folder path from the current user's registry; false when not there. It is
// read in wide characters: a profile folder the ANSI code page cannot spell is still found.
bool getStartupFolder(std::wstring& folder);
// The folder, a backslash, and "Lexoria.lnk", joined as they are.
std::wstring startupShortcutPath(const std::wstring& folder);
// Writes a shortcut to targetPath with the description, replacing one of the same name. The
// paths are wide, so a program or a Startup folder the ANSI code page cannot spell is reached.
bool createLink(const wchar_t* shortcutPath, const wchar_t* targetPath, const char* description);
// True when the file is a shortcut with exactly this description whose target is targetPath,
// the letters a to z compared regardless of case and every other character exactly.
bool checkLink(const wchar_t* shortcutPath, const wchar_t* targetPath, const char* description);
// Tells the shell the folder's contents changed; returns once the shell has seen it. Always true.
bool notifyShell(const wchar_t* folder);
