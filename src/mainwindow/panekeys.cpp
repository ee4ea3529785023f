// The navigation keys' scroll requests; see panekeys.h.
#include "mainwindow/panekeys.h"

namespace {

// WM_VSCROLL request codes in the low word of wParam.
const uint32_t scrollLineUp = 0;
const uint32_t scrollLineDown = 1;
const uint32_t scrollPageUp = 2;
const uint32_t scrollPageDown = 3;
const uint32_t scrollThumbPosition = 4;
// Home and End ask for a thumb position in the high word: the top, or past the end.
const uint32_t thumbTop = 0;
const uint32_t thumbPastEnd = 65535;

uint32_t thumbAt(uint32_t position) { return scrollThumbPosition | (position << 16); }

struct TscrollKey {
    unsigned virtualKey;
    uint32_t scrollWParam;
};

const TscrollKey scrollKeys[] = {
    {keyUp, scrollLineUp},            // one line up
    {keyDown, scrollLineDown},        // one line down
    {keyPageUp, scrollPageUp},        // a page up
    {keyPageDown, scrollPageDown},    // a page down
    {keyHome, thumbAt(thumbTop)},     // to the top
    {keyEnd, thumbAt(thumbPastEnd)},  // past the end, which shows the last page
};

}  // namespace

bool isPaneNavigationKey(unsigned virtualKey) {
    uint32_t unused = 0;
    return paneScrollRequest(virtualKey, unused);
}

bool paneScrollRequest(unsigned virtualKey, uint32_t& scrollWParam) {
    for (const TscrollKey& key : scrollKeys) {
        if (key.virtualKey == virtualKey) {
            scrollWParam = key.scrollWParam;
            return true;
        }
    }
    return false;
}
