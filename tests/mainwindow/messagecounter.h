// What the message counter DLL counts inside Lexoria.exe, and where a test reads it: a named
// shared block that the test creates and the hooks, loaded into the program's thread, fill in.
#pragma once

#include <windows.h>

// The windows watched, set by the test, and what they were sent or handed by the program's loop.
struct TmessageCounts {
    HWND window;  // the main window: its paints and background erases
    HWND pane;    // the definition pane: text streamed into it
    LONG paints;
    LONG erases;
    LONG streamIns;
};

const wchar_t messageCountsName[] = L"LexoriaTestMessageCounts";
const char messageCounterFile[] = "lexoria_message_counter.dll";
// The hook procedures it exports: WH_CALLWNDPROC sees sent messages (UpdateWindow's paint,
// BeginPaint's erase, EM_STREAMIN), WH_GETMESSAGE the paints the loop takes from the queue.
const char sentHookName[] = "countSent";
const char retrievedHookName[] = "countRetrieved";
