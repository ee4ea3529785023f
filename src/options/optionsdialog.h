// The options dialog (template 2100): initial window position, always on top, and the button that
// adds the program to, or removes it from, the shell's Startup folder or group.
#pragma once

#include <windows.h>

INT_PTR CALLBACK optionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
