// The main window: its class and title, its window procedure, its child windows, and what the
// message loop needs to know about it.
#pragma once

#include <windows.h>

// The program's instance, stored by WinMain before anything is created; child windows,
// resources and dialog templates come from it.
extern HINSTANCE programInstance;

// Both the class name and the title; a second start finds the first by them.
extern const char* const mainWindowName;

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void createChildWindows(HWND window);

// The definition pane, or null when it could not be created.
HWND definitionPane();
