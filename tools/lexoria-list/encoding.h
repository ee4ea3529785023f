// Text from UTF-8, in which Anki and most spreadsheets export, into Windows-1252, the ANSI code
// page in which Lexoria shows its list on Western European Windows.
#pragma once

#include <string>

// False, with the reason, for bytes that are not UTF-8 or a character the code page lacks.
bool utf8ToWindows1252(const std::string& utf8, std::string& ansi, std::string& problem);

// The character a byte of 0x80 to 0x9F stands for in Windows-1252; 0 for the five it leaves out.
unsigned windows1252Character(unsigned char byte);
