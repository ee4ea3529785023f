// Which keys scroll the definition pane and how: the six navigation keys the message loop hands
// to the main window, each mapped to the WM_VSCROLL request it sends to the pane. Kept free of
// platform headers so the host build can test it; the codes are the platform's own numbers.
#pragma once

#include <cstdint>

// Virtual-key codes of the navigation keys.
const unsigned keyPageUp = 0x21;
const unsigned keyPageDown = 0x22;
const unsigned keyEnd = 0x23;
const unsigned keyHome = 0x24;
const unsigned keyUp = 0x26;
const unsigned keyDown = 0x28;

// True for the six navigation keys above.
bool isPaneNavigationKey(unsigned virtualKey);
// The WM_VSCROLL wParam the key sends to the pane; false for every other key.
bool paneScrollRequest(unsigned virtualKey, uint32_t& scrollWParam);
