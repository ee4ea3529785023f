// Text from UTF-8, in which Anki and most spreadsheets export, into Windows-1252, the ANSI code
// page in which Lexoria shows its list on Western European Windows.
#pragma once

#include <string>

// False, with the reason, for bytes that are not UTF-8 or a character the code page lacks.
bool utf8ToWindows1252(const std::string& utf8, std::string& ansi, std::string& problem);
