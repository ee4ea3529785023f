// The options dialog (template 2100): initial window position, always on top, the button that
// adds the program to, or removes it from, the shell's Startup folder or group, and the two
// learning options (the example sentence, practice). "OK" stores the window settings record and
// the learning options; "Cancel" stores nothing. The learning options apply at once: whoever
// opened the dialog reads them again (readLearningOptions) once it has closed.
#pragma once

#include <windows.h>

INT_PTR CALLBACK optionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
