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
