// Test support for the Windows installer: where it puts things, reading and writing shortcuts,
// the Add/Remove Programs entry, and running the installer and its uninstaller with time-outs
// (the uninstaller hands over to a copy of itself, which is the process worth waiting for).
#pragma once

#include <windows.h>

#include <string>

namespace distTest {

// The two ways to install: for the current user (the default, under the user's local
// application data, with HKEY_CURRENT_USER entries) or for everyone (/ALLUSERS: Program Files,
// every user's Start menu, HKEY_LOCAL_MACHINE).
enum TinstallMode { forCurrentUser, forEveryone };

// Where the installer puts the program, its Start menu shortcut, and its uninstall entry, as it
// sees them in the test prefix; the current user's Startup folder.
std::string installFolder(TinstallMode mode = forCurrentUser);
std::string startMenuShortcut(TinstallMode mode = forCurrentUser);
std::string startupFolder();
HKEY registryRoot(TinstallMode mode);
extern const char* const uninstallKey;  // under the mode's root
extern const char* const helpFilesKey;  // under the mode's root: where help files lie

bool fileExists(const std::string& path);
bool folderExists(const std::string& path);

// A shell link's target and working folder, through IShellLinkA and IPersistFile.
struct Tshortcut {
    std::string target;
    std::string workingFolder;
};
bool readShortcut(const std::string& link, Tshortcut& shortcut);
bool writeShortcut(const std::string& link, const std::string& target);

bool readRegistryString(HKEY root, const char* subkey, const char* name, std::string& value);
bool registryKeyExists(HKEY root, const char* subkey);

// Runs a command line and waits for it; the exit code, or -1 on time-out (the process is killed).
long runAndWait(const std::string& commandLine, DWORD timeoutMs);
// Runs an uninstall command line and waits for the copy it hands over to as well; the launcher's
// exit code, or -1 on time-out.
long runUninstaller(const std::string& commandLine, DWORD timeoutMs);

// Takes away whatever an earlier installation of either mode left: files, shortcuts and
// uninstall entries.
void removeInstallation();

}  // namespace distTest
