// Where the program lies, in wide characters: a folder whose name the ANSI code page cannot
// spell (a profile named in Polish or Japanese, say) is still found, opened and shown exactly.
#pragma once

#include <string>

// The folder of the running program with its trailing backslash; empty (and true) in the odd
// case of a module path without one. False only when the platform gives no path at all.
bool programFolderW(std::wstring& folder);
// The running program's full path; false when the platform gives none.
bool programPathW(std::wstring& path);
