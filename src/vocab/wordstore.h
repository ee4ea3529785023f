// The vocabulary store: the offset index and rotation state kept in the registry, and
// loadNextWord, the one call the main window makes to get the next entry of the rotation.
// The list's path is wide, so a folder outside the ANSI code page still opens.
#pragma once

#include <cstdint>
#include <string>

#include "vocab/practiceword.h"
#include "vocab/wordlist.h"

bool isIndexCurrent(const std::wstring& path);
bool buildIndex(const std::wstring& path);
bool readEntry(const std::wstring& path, int32_t offset, TwordDef& entry);
bool reshuffle(int32_t count);
// Never throws. A stored index it cannot use (a value missing, of the wrong type or size, with
// fields the program never writes, without entries, or pointing where no entry begins) is
// rebuilt once.
bool loadNextWord(const std::wstring& path, TwordDef& entry);
// The same, also telling the entry's number in the offset index.
bool loadNextWord(const std::wstring& path, TwordDef& entry, int32_t& number);

// Practice's words (practiceword.h) on the stored index, rotation and return queue ("Again").
// Never throw; running out of memory is a failed load.
bool loadPracticeStartWord(const std::wstring& path, TwordDef& entry, int32_t& number);
bool loadPracticeNextWord(const std::wstring& path, TwordDef& entry, int32_t& number);
TagainResult loadPracticeAgainWord(const std::wstring& path, int32_t current, TwordDef& entry,
                                   int32_t& number);
// The word on screen whose definition the learner has not seen, kept at exit for the next start.
bool storeUnrevealedWord(int32_t number);

// The over-long-list warning is a message box; tests hand in their own sink to capture the text
// (in UTF-8) instead. Passing nullptr restores the message box.
using TwarningSink = void (*)(const char* text);
void setOverLongListWarning(TwarningSink sink);

// Registry value names of the store.
extern const char* const offsetsValue;
extern const char* const stateValue;
extern const char* const modificationTimeValue;
// The return queue, and the word left unrevealed at exit: both emptied when the index is built
// anew, since their numbers belonged to the old list.
extern const char* const returnQueueValue;
extern const char* const unrevealedValue;
