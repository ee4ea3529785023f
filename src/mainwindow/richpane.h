// The definition pane's rich edit control: which library provides it, creating it, and filling it
// with text. The newer classes are Unicode windows, so other processes (screen readers among
// them) read the definition exactly; the oldest one shows what the code page can spell.
#pragma once

#include <windows.h>

#include <string>

#include "mainwindow/layout.h"

// The rich edit libraries, from none to the newest; WinMain takes the newest that loads.
enum class TrichEdit { none, version1, version2, version41 };

// Set by WinMain once it has loaded the newest library there is.
void usePaneLibrary(TrichEdit library);

// The pane, of the loaded library's class; null when there is none or creation fails.
HWND createPaneWindow(HWND parent, DWORD style, int id, const Trect& at);

// Replaces the pane's whole text, which also brings it back to its top. Streamed in as plain
// text: a definition that begins like rich text is shown as the characters it is.
void fillPane(HWND pane, const std::wstring& text);

// Scrolls the pane back to its first line; the text and the selection stay as they are.
void scrollPaneToTop(HWND pane);
