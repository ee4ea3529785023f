// Resource and control identifiers shared by the program's code and its .rc files.
#pragma once

#define LEXORIA_ICON_NAME "LEXORIA_ICON"
#define TITLE_BMP_NAME "TITLE_BMP"
// The same picture drawn for 150% and 200% scaling.
#define TITLE_BMP_150_NAME "TITLE_BMP_150"
#define TITLE_BMP_200_NAME "TITLE_BMP_200"

// Main window children.
#define IDC_EXIT 1
#define IDC_OPTIONS 1001
#define IDC_HELP_BUTTON 1002
#define IDC_ABOUT 1003
#define IDC_NEXT_WORD 1004
// In practice, the sixth button: the entry shown comes back a few words later.
#define IDC_AGAIN 1005
#define IDC_DEFINITION 1010
// The title band: a window of its own, so that a screen reader finds the word there.
#define IDC_TITLE_BAND 1011

// About dialog.
#define IDD_ABOUT 2000
#define IDC_TITLE_BITMAP 2001
#define IDC_PRODUCT_NAME 2002
#define IDC_VERSION 2003
#define IDC_CREDIT 2004

// Options dialog. The radio button for position choice n is IDC_POSITION_FIRST + n.
#define IDD_OPTIONS 2100
#define IDC_POSITION_FIRST 2101
#define IDC_POSITION_SAVED 2101
#define IDC_POSITION_CENTERED 2102
#define IDC_POSITION_TOP_LEFT 2103
#define IDC_POSITION_TOP_RIGHT 2104
#define IDC_POSITION_BOTTOM_LEFT 2105
#define IDC_POSITION_BOTTOM_RIGHT 2106
#define IDC_ALWAYS_ON_TOP 2107
#define IDC_STARTUP 2108
#define IDC_SHOW_EXAMPLE 2109
#define IDC_PRACTICE 2110
#define IDC_OPTIONS_HELP 9

// Help contexts in lexoria.hlp.
#define HELP_CONTEXT_MAIN 200
#define HELP_CONTEXT_OPTIONS 210

// The interface language's drop-down in the options dialog, and its label.
#define IDC_LANGUAGE 2111
#define IDC_LANGUAGE_LABEL 2112

// Interface texts: one string table per language in languages/, each under its LANGUAGE. Every
// language has every id that English has; a message's %1, %2 ... are filled in by the program.
// What the language is: its tag in the "Language" value, its own name, "ltr" or "rtl", and the
// face of the main window's buttons, one that has the language's letters.
#define IDS_LANGUAGE_TAG 1
#define IDS_LANGUAGE_NAME 2
#define IDS_READING_ORDER 3
#define IDS_BUTTON_FACE 4
#define IDS_WINDOWS_DEFAULT 5
// The main window's buttons.
#define IDS_EXIT 16
#define IDS_NEXT_WORD 17
#define IDS_OPTIONS 18
#define IDS_HELP 19
#define IDS_ABOUT 20
#define IDS_SHOW 21
#define IDS_AGAIN 22
// The options dialog's Startup button.
#define IDS_ADD_TO_FOLDER 32
#define IDS_REMOVE_FROM_FOLDER 33
#define IDS_ADD_TO_GROUP 34
#define IDS_REMOVE_FROM_GROUP 35
// Messages of the program and its main window.
#define IDS_NO_COMMON_CONTROLS 48
#define IDS_NO_RICH_EDIT 49
#define IDS_NO_MODULE_PATH 50
#define IDS_LIST_MISSING 51
#define IDS_LIST_UNLOADABLE 52
#define IDS_SETTINGS_NOT_SAVED 53
#define IDS_NO_PANE 54
#define IDS_LIST_TOO_LONG 55
#define IDS_HELP_NOT_OPENED 56
#define IDS_QUEUE_FULL 57
// Messages of the options dialog.
#define IDS_OPTIONS_ERROR_CAPTION 64
#define IDS_NO_VERSION 65
#define IDS_NO_STARTUP_FOLDER 66
#define IDS_NO_STARTUP_GROUP 67
#define IDS_NO_PROGMAN 68
#define IDS_GROUP_INFO_TOO_LONG 69
#define IDS_SHOW_GROUP_FAILED 70
#define IDS_ADD_ITEM_FAILED 71
#define IDS_SHORTCUT_NOT_DELETED 72
#define IDS_LINK_NOT_CREATED 73
#define IDS_REMOVED_FROM_FOLDER 74
#define IDS_ADDED_TO_FOLDER 75
#define IDS_REMOVED_FROM_GROUP 76
#define IDS_ADDED_TO_GROUP 77
