// The help behind the "&Help" buttons and the quit request at exit, in one place for every window
// of the program: which viewer opens, from which file, at which topic.
#pragma once

#include <windows.h>

// Opens the help at the topic of a context number (HELP_CONTEXT_MAIN, HELP_CONTEXT_OPTIONS).
void showHelpTopic(HWND owner, DWORD context);
// Tells the help viewers this program may have opened to close; called as the main window ends.
void quitHelp(HWND owner);
