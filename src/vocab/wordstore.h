// The vocabulary store: the offset index and rotation state kept in the registry, and
// loadNextWord, the one call the main window makes to get the next entry of the rotation.
#pragma once

#include <cstdint>
#include <string>

#include "vocab/wordlist.h"

bool isIndexCurrent(const std::string& path);
bool buildIndex(const std::string& path);
bool readEntry(const std::string& path, int32_t offset, TwordDef& entry);
bool reshuffle(int32_t count);
bool loadNextWord(const std::string& path, TwordDef& entry);

// The over-long-list warning is a message box; tests hand in their own sink to capture the text
// instead. Passing nullptr restores the message box.
using TwarningSink = void (*)(const char* text);
void setOverLongListWarning(TwarningSink sink);

// Registry value names of the store.
extern const char* const offsetsValue;
extern const char* const stateValue;
extern const char* const modificationTimeValue;
