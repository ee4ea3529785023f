// The display's dots per inch as a window sees it, and the system metrics at a given DPI. The
// per-monitor calls exist only on Windows 10 and later, so they are looked up at run time and
// older systems get the one system-wide DPI.
#pragma once

#include <windows.h>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// The DPI of the monitor the window is on (GetDpiForWindow), else the screen's LOGPIXELSY.
int windowDpi(HWND window);

// GetSystemMetricsForDpi where the system has it, else GetSystemMetrics: on older systems the
// metrics already follow the one system DPI.
int systemMetricForDpi(int index, int dpi);

// Lets the system scale the caption and frame of a top-level window with its monitor where the
// program runs per-monitor aware without version 2 (Windows 10 1607); elsewhere it does nothing.
// Called on WM_NCCREATE.
void enableNonClientScaling(HWND window);
