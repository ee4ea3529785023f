// The options dialog: shows and stores the window settings record, the learning options and the
// interface language, and its "&Startup" button adds the program to, or removes it from, the Startup folder (shells of
// major version 4 and later) or Program Manager's Startup group (earlier shells), acting at once
// on each press. Its texts and messages are the interface language's.
#include "options/optionsdialog.h"

#include <new>
#include <string>
#include <vector>

#include "help/helpviewer.h"
#include "language/interfacetext.h"
#include "options/groupitem.h"
#include "options/languagelist.h"
#include "options/progman.h"
#include "options/progmancommands.h"
#include "options/startupfolder.h"
#include "resources/resource.h"
#include "settings/registry.h"
#include "settings/settingsstore.h"
#include "win32/dialogutil.h"
#include "win32/programpath.h"
#include "win32/widetext.h"

namespace {
const wchar_t* const confirmationCaption = L"Lexoria";
const DWORD groupInfoCapacity = 4096;

enum class Tshell { startupFolder, programManager };
// The first major version whose shell starts programs from the Startup folder.
const DWORD startupFolderMajorVersion = 4;

// Whether the program is, as far as the dialog knows, in the Startup folder or group. It always
// agrees with the button's caption once initialisation has settled it.
bool inStartup = false;

// How initialisation ends when it cannot settle the Startup state.
enum class Tsettled { yes, endTrue, endFalse };

void showError(HWND dialog, const std::wstring& text) {
    showMessage(dialog, text, interfaceText(IDS_OPTIONS_ERROR_CAPTION), MB_OK | MB_ICONERROR);
}

void showError(HWND dialog, UINT text) { showError(dialog, interfaceText(text)); }

void showDone(HWND dialog, UINT text) {
    showMessage(dialog, interfaceText(text), confirmationCaption, MB_OK | MB_ICONINFORMATION);
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

UINT startupCaption(Tshell shell) {
    if (shell == Tshell::startupFolder)
        return inStartup ? IDS_REMOVE_FROM_FOLDER : IDS_ADD_TO_FOLDER;
    return inStartup ? IDS_REMOVE_FROM_GROUP : IDS_ADD_TO_GROUP;
}

void showStartupCaption(HWND dialog, Tshell shell) {
    HWND button = findChildControl(dialog, IDC_STARTUP);
    if (button != NO_CHILD_CONTROL)
        SetWindowTextW(button, interfaceText(startupCaption(shell)).c_str());
}

void showWaitCursor() { SetCursor(LoadCursor(nullptr, IDC_WAIT)); }

// The group's name as Program Manager spells it in the code page; the numbers in decimal.
std::wstring groupInfoMessage(const std::string& groupName, DWORD needed) {
    return interfaceText(IDS_GROUP_INFO_TOO_LONG, {wideFrom(groupName, CP_ACP),
                                                   decimal(groupInfoCapacity), decimal(needed)});
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

// Stores the choices, the learning options and the language's tag; the saved position stays as
// it was (0, 0 when nothing valid was stored).
bool storeSettings(int choice, bool alwaysOnTop, const TlearningOptions& learning,
                   const std::string& languageTag) {
    Tregistry key(HKEY_CURRENT_USER, programSubkey, 0);
    TwindowSettings settings;
    readWindowSettings(key, settings);
    settings.positionChoice = static_cast<int16_t>(choice);
    settings.alwaysOnTop = alwaysOnTop ? 1 : 0;
    return writeWindowSettings(key, settings) && writeLearningOptions(key, learning) &&
           writeLanguageTag(key, languageTag);
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

// --- Interface language ------------------------------------------------------------------------

void showLanguage(HWND dialog) {
    HWND list = findChildControl(dialog, IDC_LANGUAGE);
    if (list == NO_CHILD_CONTROL) return;
    Tregistry key(HKEY_CURRENT_USER, programSubkey, 1);
    showLanguageList(list, readLanguageTag(key));
}

std::string chosenLanguage(HWND dialog) {
    HWND list = findChildControl(dialog, IDC_LANGUAGE);
    return list == NO_CHILD_CONTROL ? std::string() : chosenLanguageTag(list);
}

// --- Settling the Startup state at initialisation ----------------------------------------------

Tsettled settleFolderState(HWND dialog) {
    std::wstring folder;
    std::wstring program;
    if (!getStartupFolder(folder)) {
        showError(dialog, IDS_NO_STARTUP_FOLDER);
        return Tsettled::endTrue;
    }
    if (!programPathW(program)) {
        showError(dialog, IDS_NO_MODULE_PATH);
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
    showError(dialog, groupInfoMessage(group, size));
    return std::string();
}

Tsettled settleGroupState(HWND dialog) {
    std::string group, info, program;
    if (!getStartupGroup(group)) {
        showError(dialog, IDS_NO_STARTUP_GROUP);
        return Tsettled::endFalse;
    }
    {
        TprogmanConversation progman;
        if (!progman.isOpen()) {
            showError(dialog, IDS_NO_PROGMAN);
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
    showError(dialog, IDS_NO_MODULE_PATH);
    return Tsettled::endTrue;
}

// FALSE keeps the focus on the checked radio button; TRUE lets the dialog manager choose.
BOOL onInitDialog(HWND dialog) {
    showWaitCursor();
    centerOverParent(dialog);
    // Shown first: every later step may end the initialisation early.
    showLearningOptions(dialog);
    showLanguage(dialog);
    if (!showWindowSettings(dialog)) return FALSE;
    inStartup = false;
    Tshell shell;
    if (!getShell(shell)) {
        showError(dialog, IDS_NO_VERSION);
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
        showError(dialog, IDS_NO_STARTUP_FOLDER);
        return false;
    }
    const std::wstring shortcut = startupShortcutPath(folder);
    if (inStartup) {
        if (!DeleteFileW(shortcut.c_str())) {
            showError(dialog, IDS_SHORTCUT_NOT_DELETED);
            return false;
        }
        notifyShell(folder.c_str());
        showDone(dialog, IDS_REMOVED_FROM_FOLDER);
        return true;
    }
    if (!programPathW(program)) {
        showError(dialog, IDS_NO_MODULE_PATH);
        return false;
    }
    if (!createLink(shortcut.c_str(), program.c_str(), programItemName)) {
        showError(dialog, IDS_LINK_NOT_CREATED);
        return false;
    }
    notifyShell(folder.c_str());
    showDone(dialog, IDS_ADDED_TO_FOLDER);
    return true;
}

// The conversation is closed on every way out, so a later press can open a new one.
bool toggleGroupItem(HWND dialog) {
    std::string group, program;
    if (!getStartupGroup(group)) {
        showError(dialog, IDS_NO_STARTUP_GROUP);
        return false;
    }
    TprogmanConversation progman;
    if (!progman.isOpen()) {
        showError(dialog, IDS_NO_PROGMAN);
        return false;
    }
    if (!ddeExecuteString(showGroupCommand(group).c_str())) {
        showError(dialog, IDS_SHOW_GROUP_FAILED);
        return false;
    }
    if (inStartup) {
        // Program Manager refuses to delete an item that is not there; either way it is gone.
        ddeExecuteString(deleteItemCommand().c_str());
        showDone(dialog, IDS_REMOVED_FROM_GROUP);
        return true;
    }
    // Refused when there is no item to replace, which is the usual case.
    ddeExecuteString(replaceItemCommand().c_str());
    if (!getProgramPath(program)) {
        showError(dialog, IDS_NO_MODULE_PATH);
        return false;
    }
    if (!ddeExecuteString(addItemCommand(program).c_str())) {
        showError(dialog, IDS_ADD_ITEM_FAILED);
        return false;
    }
    showDone(dialog, IDS_ADDED_TO_GROUP);
    return true;
}

void onStartup(HWND dialog) {
    showWaitCursor();
    Tshell shell;
    if (!getShell(shell)) {
        showError(dialog, IDS_NO_VERSION);
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
    if (!storeSettings(choice, onTop, checkedLearningOptions(dialog), chosenLanguage(dialog))) {
        showMessage(dialog, interfaceText(IDS_SETTINGS_NOT_SAVED), L"optionsDialogProc",
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

// The language list is the one control that draws itself.
BOOL onMeasureItem(HWND dialog, MEASUREITEMSTRUCT& item) {
    if (item.CtlID != IDC_LANGUAGE) return FALSE;
    measureLanguageItem(dialog, item);
    return TRUE;
}

BOOL onDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlID != IDC_LANGUAGE) return FALSE;
    drawLanguageItem(item);
    return TRUE;
}

INT_PTR handleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return onInitDialog(dialog);
    case WM_COMMAND: return onCommand(dialog, LOWORD(wParam));
    case WM_MEASUREITEM:
        return onMeasureItem(dialog, *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    case WM_DRAWITEM: return onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    }
    return FALSE;
}
}  // namespace

// Nothing may unwind into DialogBoxParam: a dialog that runs out of memory while it is set up
// closes as if cancelled, and any other message is simply dropped.
INT_PTR CALLBACK optionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return handleMessage(dialog, message, wParam, lParam);
    } catch (const std::bad_alloc&) {
        if (message == WM_INITDIALOG) EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
}
