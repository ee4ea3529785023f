// The file operations whose safe form differs between POSIX and Windows. On Windows a path is
// UTF-8 and is opened through the wide-character API, so that names the ANSI code page cannot
// spell ("Łista.lst") reach the file they name and not a best-fit look-alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// The program's arguments after its name; on Windows read in wide characters, as UTF-8.
std::vector<std::string> programArguments(int argc, char** argv);

// The path as a message shows it: on Windows in the ANSI code page, as well as it can spell it.
std::string shownPath(const std::string& path);

std::FILE* openPath(const std::string& path, const char* mode);

// Creates a file for writing that must not exist yet; a planted file or link of that name makes
// it fail rather than be opened.
std::FILE* createNewFile(const std::string& path);

// Moves a file over another one. A link at `to` is itself replaced, never the file it leads to.
bool replaceFile(const std::string& from, const std::string& to);
bool removeFile(const std::string& path);

// True when both paths exist and name the same file (through links or other spellings too).
bool sameFile(const std::string& first, const std::string& second);

// A number no other process can guess, for names that must not be planted in advance.
std::uint64_t unpredictableNumber();

// The characters that separate a path's folders: "/" on POSIX, "/" and "\\" on Windows.
extern const char* const pathSeparators;

// The longest name, in UTF-8 bytes, that the folder holding `path` takes for a file.
std::size_t longestNameBeside(const std::string& path);
