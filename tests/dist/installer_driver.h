// Test support for the Windows installer: where it puts things, reading and writing shortcuts,
// the Add/Remove Programs entry, and running the installer and its uninstaller with time-outs
// (the uninstaller hands over to a copy of itself, which is the process worth waiting for).
#pragma once

#include <windows.h>

#include <string>

namespace distTest {

// Where the installer puts the program, its shortcut in every user's Start menu, and its
// uninstall entry, as it sees them in the test prefix; the current user's Startup folder.
std::string installFolder();
std::string startMenuShortcut();
std::string startupFolder();
extern const char* const uninstallKey;  // under HKEY_LOCAL_MACHINE
extern const char* const helpFilesKey;  // under HKEY_LOCAL_MACHINE: where help files lie

bool fileExists(const std::string& path);
bool folderExists(const std::string& path);

// A shell link's target and working folder, through IShellLinkA and IPersistFile.
struct Tshortcut {
    std::string target;
    std::string workingFolder;
};
bool readShortcut(const std::string& link, Tshortcut& shortcut);
bool writeShortcut(const std::string& link, const std::string& target);

bool readMachineString(const char* subkey, const char* name, std::string& value);
bool machineKeyExists(const char* subkey);

// Runs a command line and waits for it; the exit code, or -1 on time-out (the process is killed).
long runAndWait(const std::string& commandLine, DWORD timeoutMs);
// Runs an uninstall command line and waits for the copy it hands over to as well; the launcher's
// exit code, or -1 on time-out.
long runUninstaller(const std::string& commandLine, DWORD timeoutMs);

// Takes away whatever an earlier installation left: files, shortcut and uninstall entry.
void removeInstallation();

}  // namespace distTest
