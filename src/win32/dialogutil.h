// Small helpers shared by the program's dialogs: centring over the owner and finding a control.
#pragma once

#include <windows.h>

// The value findChildControl returns when no child has the id (not a null handle).
#define NO_CHILD_CONTROL (reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1)))

// Centres the dialog over its parent, kept on the screen; size and z-order stay.
void centerOverParent(HWND dialog);
// The first child (at any depth) whose control id is id, or NO_CHILD_CONTROL.
HWND findChildControl(HWND dialog, int id);
