// Programs of the system are started by their full path, never by a bare name: Windows looks for
// a bare name in the starting program's own folder first, and whatever lies beside Lexoria.exe
// (in a Downloads folder, say) must never run with the user's rights.
#pragma once

// Starts the named program (a bare file name such as L"winhlp32.exe") from the Windows folder, or
// from the system folder when the Windows folder has none, with the arguments after its name, and
// waits at most waitMs until it is ready for input. False when neither folder holds the program or
// it did not start.
bool startSystemProgram(const wchar_t* name, const wchar_t* arguments, unsigned long waitMs);
