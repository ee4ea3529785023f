// The title band's window, its events for screen readers, and the shaped drawing of the word.
#include "mainwindow/wordband.h"

#include <oleacc.h>

#include "mainwindow/mainwindow.h"
#include "win32/comholders.h"
#include "win32/shapedtext.h"

namespace {

void drawPlain(HDC dc, Tpoint origin, const std::wstring& word) {
    SetTextAlign(dc, TA_CENTER | TA_TOP);
    TextOutW(dc, origin.x, origin.y, word.c_str(), static_cast<int>(word.size()));
}

// Where the system supports it (Windows 10's oleacc), the band is a polite live region, so a
// screen reader speaks a new word without being asked. Set up at the first change of word, so
// that starting the program loads no accessibility library.
const GUID liveSettingProperty = {0xc12bcd8e,
                                  0x2a8e,
                                  0x4950,
                                  {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
const CLSID accPropServicesClass = {0xb5f8350b,
                                    0x0548,
                                    0x48b1,
                                    {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
const IID accPropServicesInterface = {0x6e26e776,
                                      0x04f0,
                                      0x495d,
                                      {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
const LONG politeLiveSetting = 1;
const DWORD liveRegionChangedEvent = 0x8019;

// COM stays initialised for the rest of the process: the annotation lives in oleacc.
bool markAsLiveRegion(HWND band) {
    if (FAILED(CoInitialize(nullptr))) return false;
    TcomInterface<IAccPropServices> services;
    if (FAILED(CoCreateInstance(accPropServicesClass, nullptr, CLSCTX_INPROC_SERVER,
                                accPropServicesInterface, services.out())))
        return false;
    VARIANT value = {};
    value.vt = VT_I4;
    value.lVal = politeLiveSetting;
    return SUCCEEDED(services->SetHwndProp(band, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                           liveSettingProperty, value));
}

int liveRegionState = -1;  // not tried yet; then 0 or 1

bool markedAsLiveRegion(HWND band) {
    if (liveRegionState < 0) liveRegionState = markAsLiveRegion(band) ? 1 : 0;
    return liveRegionState == 1;
}

}  // namespace

HWND createWordBand(HWND parent, int id, const TbandFrame& frame, int clientWidth,
                    const std::wstring& word) {
    return CreateWindowExW(0, L"STATIC", word.c_str(),
                           WS_CHILD | WS_VISIBLE | SS_OWNERDRAW | SS_NOPREFIX, 0, frame.top,
                           clientWidth, frame.bottom - frame.top + 1, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), programInstance,
                           nullptr);
}

void setBandWord(HWND band, const std::wstring& word) {
    if (!band) return;
    // The static control draws itself again when its text changes: one paint a word.
    SetWindowTextW(band, word.c_str());
    // Setting the text raises no event of its own.
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, band, OBJID_CLIENT, CHILDID_SELF);
    if (markedAsLiveRegion(band))
        NotifyWinEvent(liveRegionChangedEvent, band, OBJID_CLIENT, CHILDID_SELF);
}

void drawBandWord(HDC dc, Tpoint origin, const std::wstring& word) {
    if (word.empty()) return;
    TshapedText shaped(dc, word);
    if (!shaped.valid()) return drawPlain(dc, origin, word);
    // Placed as TA_CENTER places plain text, so a Latin word sits where it always did.
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    shaped.draw(origin.x - shaped.width() / 2, origin.y);
}
