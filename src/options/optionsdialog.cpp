// The options dialog: shows and stores the window settings record and the learning options, and
// its "&Startup" button adds the program to, or removes it from, the Startup folder (shells of
// major version 4 and later) or Program Manager's Startup group (earlier shells), acting at once
// on each press.
#include "options/optionsdialog.h"

#include <new>
#include <string>
#include <vector>

#include "help/helpviewer.h"
#include "options/groupitem.h"
#include "options/progman.h"
#include "options/progmancommands.h"
#include "options/startupfolder.h"
#include "resources/resource.h"
#include "settings/registry.h"
#include "settings/settingsstore.h"
#include "win32/dialogutil.h"
#include "win32/programpath.h"

namespace {
const char* const dialogCaption = "Lexoria Options Dialog";
const char* const confirmationCaption = "Lexoria";
const DWORD groupInfoCapacity = 4096;

enum class Tshell { startupFolder, programManager };
// The first major version whose shell starts programs from the Startup folder.
const DWORD startupFolderMajorVersion = 4;

// Whether the program is, as far as the dialog knows, in the Startup folder or group. It always
// agrees with the button's caption once initialisation has settled it.
bool inStartup = false;

// How initialisation ends when it cannot settle the Startup state.
enum class Tsettled { yes, endTrue, endFalse };

void showError(HWND dialog, const char* text) {
    MessageBoxA(dialog, text, dialogCaption, MB_OK | MB_ICONERROR);
}

void showDone(HWND dialog, const char* text) {
    MessageBoxA(dialog, text, confirmationCaption, MB_OK | MB_ICONINFORMATION);
}

bool getShell(Tshell& shell) {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;  // 148 bytes
    if (!GetVersionExA(&version)) return false;
    shell = version.dwMajorVersion < startupFolderMajorVersion ? Tshell::programManager
                                                               : Tshell::startupFolder;
    return true;
}

// Program Manager is an ANSI program and gets the path as the code page spells it; a path the
// platform had to cut short is no path at all.
bool getProgramPath(std::string& path) {
    char buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    path.assign(buffer, length);
    return true;
}

const char* startupCaption(Tshell shell) {
    if (shell == Tshell::startupFolder)
        return inStartup ? "Remove from &Startup Folder" : "Add to &Startup Folder";
    return inStartup ? "Remove from &Startup Group" : "Add to &Startup Group";
}

void showStartupCaption(HWND dialog, Tshell shell) {
    HWND button = findChildControl(dialog, IDC_STARTUP);
    if (button != NO_CHILD_CONTROL) SetWindowTextA(button, startupCaption(shell));
}

void showWaitCursor() { SetCursor(LoadCursor(nullptr, IDC_WAIT)); }

std::string groupInfoMessage(const std::string& groupName, DWORD needed) {
    return "Not enough memory to get Group Info for \"" + groupName + "\".\nOnly had " +
           std::to_string(groupInfoCapacity) + " bytes.\nNeeded " + std::to_string(needed) +
           " bytes.";
}

// --- Window settings record ------------------------------------------------------------------

bool checkControl(HWND dialog, int id) {
    HWND control = findChildControl(dialog, id);
    if (control == NO_CHILD_CONTROL) return false;
    SendMessageA(control, BM_SETCHECK, BST_CHECKED, 0);
    return true;
}

// A choice outside the six buttons shows "&Centered", as the main window treats it.
bool showWindowSettings(HWND dialog) {
    TwindowSettings settings;
    {
        Tregistry key(HKEY_CURRENT_USER, programSubkey, 1);
        readWindowSettings(key, settings);
    }
    int choice = settings.positionChoice;
    if (choice < positionSaved || choice > positionBottomRight) choice = positionCentred;
    HWND radio = findChildControl(dialog, IDC_POSITION_FIRST + choice);
    if (radio == NO_CHILD_CONTROL) return false;
    SendMessageA(radio, BM_SETCHECK, BST_CHECKED, 0);
    SetFocus(radio);
    return settings.alwaysOnTop == 0 || checkControl(dialog, IDC_ALWAYS_ON_TOP);
}

// The first checked position button; "&Centered" when none is.
int checkedPositionChoice(HWND dialog) {
    for (int choice = positionSaved; choice <= positionBottomRight; ++choice) {
        HWND radio = findChildControl(dialog, IDC_POSITION_FIRST + choice);
        if (radio != NO_CHILD_CONTROL && SendMessageA(radio, BM_GETCHECK, 0, 0) == BST_CHECKED)
            return choice;
    }
    return positionCentred;
}

// Stores the choices and the learning options; the saved position stays as it was (0, 0 when
// nothing valid was stored).
bool storeSettings(int choice, bool alwaysOnTop, const TlearningOptions& learning) {
    Tregistry key(HKEY_CURRENT_USER, programSubkey, 0);
    TwindowSettings settings;
    readWindowSettings(key, settings);
    settings.positionChoice = static_cast<int16_t>(choice);
    settings.alwaysOnTop = alwaysOnTop ? 1 : 0;
    return writeWindowSettings(key, settings) && writeLearningOptions(key, learning);
}

// --- Learning options ----------------------------------------------------------------------------

bool isChecked(HWND dialog, int id) {
    HWND control = findChildControl(dialog, id);
    return control != NO_CHILD_CONTROL && SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void showLearningOptions(HWND dialog) {
    TlearningOptions options;
    {
        Tregistry key(HKEY_CURRENT_USER, programSubkey, 1);
        options = readLearningOptions(key);
    }
    if (options.showExample) checkControl(dialog, IDC_SHOW_EXAMPLE);
    if (options.practice) checkControl(dialog, IDC_PRACTICE);
}

TlearningOptions checkedLearningOptions(HWND dialog) {
    TlearningOptions options;
    options.showExample = isChecked(dialog, IDC_SHOW_EXAMPLE);
    options.practice = isChecked(dialog, IDC_PRACTICE);
    return options;
}

// --- Settling the Startup state at initialisation ----------------------------------------------

Tsettled settleFolderState(HWND dialog) {
    std::wstring folder;
    std::wstring program;
    if (!getStartupFolder(folder)) {
        showError(dialog, "Unable to determine name of startup folder.");
        return Tsettled::endTrue;
    }
    if (!programPathW(program)) {
        showError(dialog, "Unable to GetModuleFileName");
        return Tsettled::endTrue;
    }
    inStartup = checkLink(startupShortcutPath(folder).c_str(), program.c_str(), programItemName);
    return Tsettled::yes;
}

// The group's information, or none when the request failed (after saying so).
std::string requestGroupInfo(HWND dialog, const std::string& group) {
    std::vector<char> buffer(groupInfoCapacity);
    DWORD size = groupInfoCapacity;
    if (ddeRequestString(group.c_str(), buffer.data(), size))
        return std::string(buffer.data(), size);
    showError(dialog, groupInfoMessage(group, size).c_str());
    return std::string();
}

Tsettled settleGroupState(HWND dialog) {
    std::string group, info, program;
    if (!getStartupGroup(group)) {
        showError(dialog, "Unable to determine name of startup group.");
        return Tsettled::endFalse;
    }
    {
        TprogmanConversation progman;
        if (!progman.isOpen()) {
            showError(dialog, "Unable to ddeInitProgman");
            return Tsettled::endFalse;
        }
        info = requestGroupInfo(dialog, group);
    }
    const bool havePath = getProgramPath(program);
    switch (findGroupItem(info.data(), info.size(), group.c_str(), programItemName,
                          havePath ? program.c_str() : nullptr)) {
    case TgroupItemStatus::present: inStartup = true; return Tsettled::yes;
    case TgroupItemStatus::absent: return Tsettled::yes;
    case TgroupItemStatus::unreadable: return Tsettled::endFalse;
    case TgroupItemStatus::noProgramPath: break;
    }
    showError(dialog, "Unable to GetModuleFileName");
    return Tsettled::endTrue;
}

// FALSE keeps the focus on the checked radio button; TRUE lets the dialog manager choose.
BOOL onInitDialog(HWND dialog) {
    showWaitCursor();
    centerOverParent(dialog);
    // Shown first: every later step may end the initialisation early.
    showLearningOptions(dialog);
    if (!showWindowSettings(dialog)) return FALSE;
    inStartup = false;
    Tshell shell;
    if (!getShell(shell)) {
        showError(dialog, "Unable to determine windows version.");
        return TRUE;
    }
    const Tsettled settled =
        shell == Tshell::startupFolder ? settleFolderState(dialog) : settleGroupState(dialog);
    if (settled != Tsettled::yes) return settled == Tsettled::endTrue;
    showStartupCaption(dialog, shell);
    return FALSE;
}

// --- The "&Startup" button ---------------------------------------------------------------------

// Each returns true when the program was added or removed; a failure has been shown.
bool toggleFolderShortcut(HWND dialog) {
    std::wstring folder;
    std::wstring program;
    if (!getStartupFolder(folder)) {
        showError(dialog, "Unable to determine name of startup folder.");
        return false;
    }
    const std::wstring shortcut = startupShortcutPath(folder);
    if (inStartup) {
        if (!DeleteFileW(shortcut.c_str())) {
            showError(dialog, "Unable to delete Lexoria from startup folder.");
            return false;
        }
        notifyShell(folder.c_str());
        showDone(dialog, "Lexoria has been removed from the Startup Folder.");
        return true;
    }
    if (!programPathW(program)) {
        showError(dialog, "Unable to GetModuleFileName");
        return false;
    }
    if (!createLink(shortcut.c_str(), program.c_str(), programItemName)) {
        showError(dialog, "Unable to createLink.");
        return false;
    }
    notifyShell(folder.c_str());
    showDone(dialog, "Lexoria has been added to the Startup Folder.");
    return true;
}

// The conversation is closed on every way out, so a later press can open a new one.
bool toggleGroupItem(HWND dialog) {
    std::string group, program;
    if (!getStartupGroup(group)) {
        showError(dialog, "Unable to determine name of startup group.");
        return false;
    }
    TprogmanConversation progman;
    if (!progman.isOpen()) {
        showError(dialog, "Unable to ddeInitProgman");
        return false;
    }
    if (!ddeExecuteString(showGroupCommand(group).c_str())) {
        showError(dialog, "Unable to DdeClientTransaction (ShowGroup)");
        return false;
    }
    if (inStartup) {
        // Program Manager refuses to delete an item that is not there; either way it is gone.
        ddeExecuteString(deleteItemCommand().c_str());
        showDone(dialog, "Lexoria has been removed from the Startup Group.");
        return true;
    }
    // Refused when there is no item to replace, which is the usual case.
    ddeExecuteString(replaceItemCommand().c_str());
    if (!getProgramPath(program)) {
        showError(dialog, "Unable to GetModuleFileName");
        return false;
    }
    if (!ddeExecuteString(addItemCommand(program).c_str())) {
        showError(dialog, "Unable to ddeExecuteString (AddItem)");
        return false;
    }
    showDone(dialog, "Lexoria has been added to the Startup Group.");
    return true;
}

void onStartup(HWND dialog) {
    showWaitCursor();
    Tshell shell;
    if (!getShell(shell)) {
        showError(dialog, "Unable to determine windows version.");
        return;
    }
    const bool toggled =
        shell == Tshell::startupFolder ? toggleFolderShortcut(dialog) : toggleGroupItem(dialog);
    if (!toggled) return;
    inStartup = !inStartup;
    showStartupCaption(dialog, shell);
}

// --- Closing and help ----------------------------------------------------------------------------

void onCancel(HWND dialog) {
    ddeUninitProgman();
    EndDialog(dialog, 1);
}

void onOk(HWND dialog) {
    const int choice = checkedPositionChoice(dialog);
    HWND alwaysOnTop = findChildControl(dialog, IDC_ALWAYS_ON_TOP);
    if (alwaysOnTop == NO_CHILD_CONTROL) return;
    const bool onTop = SendMessageA(alwaysOnTop, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (!storeSettings(choice, onTop, checkedLearningOptions(dialog))) {
        MessageBoxA(dialog, "Unable to save startup settings to registry", "optionsDialogProc",
                    MB_OK | MB_ICONERROR);
        return;
    }
    onCancel(dialog);
}

void onHelp(HWND dialog) { showHelpTopic(dialog, HELP_CONTEXT_OPTIONS); }

BOOL onCommand(HWND dialog, int id) {
    switch (id) {
    case IDOK: onOk(dialog); return TRUE;
    case IDCANCEL: onCancel(dialog); return TRUE;
    case IDC_OPTIONS_HELP: onHelp(dialog); return TRUE;
    case IDC_STARTUP: onStartup(dialog); return TRUE;
    }
    return FALSE;
}

INT_PTR handleMessage(HWND dialog, UINT message, WPARAM wParam) {
    switch (message) {
    case WM_INITDIALOG: return onInitDialog(dialog);
    case WM_COMMAND: return onCommand(dialog, LOWORD(wParam));
    }
    return FALSE;
}
}  // namespace

// Nothing may unwind into DialogBoxParam: a dialog that runs out of memory while it is set up
// closes as if cancelled, and any other message is simply dropped.
INT_PTR CALLBACK optionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    try {
        return handleMessage(dialog, message, wParam);
    } catch (const std::bad_alloc&) {
        if (message == WM_INITDIALOG) EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
}
