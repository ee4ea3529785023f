// The options dialog (template 2100): initial window position, always on top, the button that
// adds the program to, or removes it from, the shell's Startup folder or group, the two learning
// options (the example sentence, practice) and the interface language. "OK" stores the window
// settings record, the learning options and the language's tag; "Cancel" stores nothing. The
// learning options and the language apply at once: whoever opened the dialog reads them again
// (readLearningOptions, readLanguageTag) once it has closed. Open it with interfaceDialogBox, so
// that its template is the interface language's.
#pragma once

#include <windows.h>

INT_PTR CALLBACK optionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
