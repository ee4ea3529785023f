// Test support for the Windows installer: where it puts things, reading and writing shortcuts,
// the Add/Remove Programs entry, and running the installer and its uninstaller with time-outs
// (the uninstaller hands over to a copy of itself, which is the process worth waiting for).
// Paths are wide throughout: the installer must reach folders that no ANSI code page spells.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/lexoria_driver.h"

namespace distTest {

// The two ways to install: for the current user (the default, under the user's local
// application data, with HKEY_CURRENT_USER entries) or for everyone (/ALLUSERS: Program Files,
// every user's Start menu, HKEY_LOCAL_MACHINE).
enum TinstallMode { forCurrentUser, forEveryone };

// Where the installer puts the program, its Start menu shortcut, and its uninstall entry, as it
// sees them in the test prefix; the current user's Startup folder.
std::wstring installFolder(TinstallMode mode = forCurrentUser);
std::wstring startMenuShortcut(TinstallMode mode = forCurrentUser);
std::wstring startupFolder();
HKEY registryRoot(TinstallMode mode);
extern const wchar_t* const uninstallKey;  // under the mode's root
extern const wchar_t* const helpFilesKey;  // under the mode's root: where help files lie

bool fileExists(const std::wstring& path);
bool folderExists(const std::wstring& path);
bool sameText(const std::wstring& a, const std::wstring& b);  // ignoring case, as paths are

// A shell link's target, working folder and description, through IShellLinkW and IPersistFile.
struct Tshortcut {
    std::wstring target;
    std::wstring workingFolder;
    std::wstring description;
};
bool readShortcut(const std::wstring& link, Tshortcut& shortcut);
bool writeShortcut(const std::wstring& link, const std::wstring& target);

bool readRegistryString(HKEY root, const wchar_t* subkey, const wchar_t* name, std::wstring& value);
bool registryKeyExists(HKEY root, const wchar_t* subkey);

// A string value under HKEY_CURRENT_USER set for the holder's lifetime, as REG_EXPAND_SZ where
// the value it replaces was one (the shell folders are), else REG_SZ; the value it had, type and
// bytes, or its absence comes back afterwards.
class TuserRegistryValue {
public:
    TuserRegistryValue(const wchar_t* subkey, const wchar_t* name, const std::wstring& text);
    ~TuserRegistryValue();
    TuserRegistryValue(const TuserRegistryValue&) = delete;
    TuserRegistryValue& operator=(const TuserRegistryValue&) = delete;

private:
    std::wstring subkey, name;
    std::vector<BYTE> previous;
    DWORD type = REG_NONE;
    bool hadValue = false;
};

// The uninstaller's copy of itself, found once the uninstaller (the launcher) has ended: the
// process whose parent is the launcher and that began after it. Wine reuses the ids of ended
// processes, so a process that long runs (Wine's own explorer, say) may name a parent whose id the
// launcher now has. A copy still running when the holder goes is ended.
class TuninstallerCopy {
public:
    explicit TuninstallerCopy(const lexoriaTest::TlexoriaProcess& launcher);
    ~TuninstallerCopy();
    TuninstallerCopy(const TuninstallerCopy&) = delete;
    TuninstallerCopy& operator=(const TuninstallerCopy&) = delete;
    bool found() const { return process != nullptr; }
    DWORD id() const { return processId; }
    long waitForExit(DWORD timeoutMs) const;  // the exit code, or -1 on time-out

private:
    HANDLE process = nullptr;
    DWORD processId = 0;
};

// Runs a program with arguments (which begin with a space) and waits for it; the exit code, or -1
// on time-out (the process is killed).
long runAndWait(const std::wstring& program, const std::wstring& arguments, DWORD timeoutMs);
// Runs an uninstall command line as Add/Remove Programs stores it ("C:\...\Uninstall.exe" /S)
// and waits for the copy it hands over to as well; that copy's exit code (the launcher's own is
// always 0), or -1 on time-out.
long runUninstaller(const std::wstring& commandLine, DWORD timeoutMs);

// Takes away whatever an earlier installation of either mode left: files, shortcuts and
// uninstall entries.
void removeInstallation();

}  // namespace distTest
