// The options dialog's "Language" drop-down: "Windows default" in the interface language, then
// every language the program carries in its own name (Deutsch, 日本語, العربية), each in its
// language's face and shaped by Uniscribe, so that one list shows every script whatever the
// dialog's font holds; and the tag the choice stores in the "Language" value.
#pragma once

#include <windows.h>

#include <string>

// Fills the list and selects the language the stored tag names, or "Windows default" for "" and
// for a tag the program does not carry.
void showLanguageList(HWND list, const std::string& storedTag);
// The tag of the language chosen; "" for "Windows default".
std::string chosenLanguageTag(HWND list);

// The list draws its items itself: their height (the list's font's), and one item.
void measureLanguageItem(HWND dialog, MEASUREITEMSTRUCT& item);
void drawLanguageItem(const DRAWITEMSTRUCT& item);
