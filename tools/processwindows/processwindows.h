// Lexoria's windows seen from another process, as the soak run and the Windows tests see them:
// a process's top-level windows of one class, its main window once it shows an entry, and the
// text of the main window's definition pane.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The top-level windows of that class which belong to the process, in Z order.
std::vector<HWND> windowsOfProcess(DWORD processId, const char* className);
// The process's main window once it is visible with an entry in its pane; null until then.
HWND readyMainWindow(DWORD processId);
// The text of the main window's definition pane; "" when there is none or it does not answer.
std::string paneText(HWND mainWindow);
// The same in wide characters, as a screen reader reads it: exact in any script.
std::wstring paneTextW(HWND mainWindow);
