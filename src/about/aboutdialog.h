// The About dialog (template 2000): the title bitmap, the product name and the version.
#pragma once

#include <windows.h>

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The palette of the open About dialog; null when no dialog is open or the display did not need
// one. Lets a test watch the palette live and die with its dialog.
HPALETTE aboutDialogPalette();
