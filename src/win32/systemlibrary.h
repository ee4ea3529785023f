// Libraries the program loads itself come from the system folder only: a DLL of the same name
// planted beside Lexoria.exe (in a Downloads folder, say) must never run with the user's rights.
#pragma once

#include <windows.h>

#include <string>

// Makes the system folder alone the search path of every later load, where the system offers
// SetDefaultDllDirectories; called once, first thing at start.
void restrictLibrarySearch();

// Loads the named library (a bare file name such as L"riched32.dll") from the system folder:
// LoadLibraryExW with LOAD_LIBRARY_SEARCH_SYSTEM32 where the system offers it, else the full path
// from GetSystemDirectoryW. Null when it is not there. The library stays loaded until the caller
// frees it.
HMODULE loadSystemLibrary(const wchar_t* name);

// The system folder with its trailing backslash; empty when the system gives none.
std::wstring systemFolder();

// The entry point of a loaded library as the function type it has; null when the library (or the
// module handle) lacks it. The one place where GetProcAddress's result changes type: it goes
// through void (*)(), which the compiler's check on function casts lets through, so that every
// other cast between function types is still checked.
template <typename Function>
Function libraryEntry(HMODULE library, const char* name) {
    if (!library) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}
