// The vocabulary store: the offset index and rotation state kept in the registry, and
// loadNextWord, the one call the main window makes to get the next entry of the rotation.
// The list's path is wide, so a folder outside the ANSI code page still opens.
#pragma once

#include <cstdint>
#include <string>

#include "vocab/wordlist.h"

bool isIndexCurrent(const std::wstring& path);
bool buildIndex(const std::wstring& path);
bool readEntry(const std::wstring& path, int32_t offset, TwordDef& entry);
bool reshuffle(int32_t count);
// Never throws. A stored index it cannot use (a value missing, of the wrong type or size, with
// fields the program never writes, without entries, or pointing where no entry begins) is
// rebuilt once.
bool loadNextWord(const std::wstring& path, TwordDef& entry);

// The over-long-list warning is a message box; tests hand in their own sink to capture the text
// (in UTF-8) instead. Passing nullptr restores the message box.
using TwarningSink = void (*)(const char* text);
void setOverLongListWarning(TwarningSink sink);

// Registry value names of the store.
extern const char* const offsetsValue;
extern const char* const stateValue;
extern const char* const modificationTimeValue;
