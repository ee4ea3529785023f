// The interface language on Windows: which languages the program carries (read from its own
// resources, so that a language is added in src/resources/languages alone), which one to use
// for the user, and the texts, dialog templates and message boxes in that language. English is
// complete; a text or template another language lacks comes in English.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct TcarriedLanguage {
    LANGID id = 0;
    std::string tag;    // as the "Language" value names it
    std::wstring name;  // in the language itself
};

// The languages of the program's string tables, in the order of their tags.
std::vector<TcarriedLanguage> carriedLanguages();

// The language for the stored tag: the one it names, else ("" or a tag the program does not
// carry) the first of the user's display languages the program serves, else English.
LANGID chooseInterfaceLanguage(const std::string& storedTag);

// The language the program's windows and messages use from now on (English until set).
void useInterfaceLanguage(LANGID language);
LANGID interfaceLanguage();
bool interfaceReadsRightToLeft();

// The text in the interface language, %1, %2 ... filled with the parts.
std::wstring interfaceText(UINT id, const std::vector<std::wstring>& parts = {});
// The text in one language exactly; "" when that language lacks it.
std::wstring languageText(LANGID language, UINT id);
// A number as the messages write it.
std::wstring decimal(unsigned long value);

// MessageBoxW, reading right to left (MB_RTLREADING | MB_RIGHT) in a language that does.
int showMessage(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type);

// A modal dialog from the program's template in the interface language; the template's own
// extended style mirrors it for a language read right to left.
INT_PTR interfaceDialogBox(HWND owner, WORD templateId, DLGPROC procedure);
