// The floor for the "Next Word" benchmark: a window that does only what a press of "Next Word"
// needs and nothing else: the store's calls (loadNextWord on the list it is given), the entry
// decoded for the windows, the definition streamed once into a RICHEDIT50W pane, the word shaped
// and drawn with Uniscribe on the band's place and announced to screen readers. It shows the
// first entry when it starts. WM_CLOSE ends it.
// Usage: nextword_floor <word list> (the whole command line, unquoted, is the list's path)
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>
#include <usp10.h>

#include <algorithm>
#include <string>

#include "resources/resource.h"
#include "vocab/displaytext.h"
#include "vocab/wordstore.h"
#include "win32/gdiholders.h"

namespace {

const wchar_t* const floorClass = L"LexoriaNextWordFloor";
const RECT bandPlace = {0, 0, 440, 60};
const RECT panePlace = {10, 70, 430, 250};
const RECT buttonPlace = {330, 260, 430, 290};

std::wstring listPath;
TwordDef entry;
HFONT wordFont = nullptr;
HFONT paneFont = nullptr;

struct TtextSource {
    const std::wstring& text;
    size_t givenBytes;
};

DWORD CALLBACK giveText(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
    auto& source = *reinterpret_cast<TtextSource*>(cookie);
    const auto* bytes = reinterpret_cast<const BYTE*>(source.text.data());
    const size_t total = source.text.size() * sizeof(wchar_t);
    const size_t count = std::min(total - source.givenBytes, static_cast<size_t>(wanted));
    std::copy(bytes + source.givenBytes, bytes + source.givenBytes + count, buffer);
    source.givenBytes += count;
    *given = static_cast<LONG>(count);
    return 0;
}

void fillPane(HWND pane, const std::wstring& text) {
    TtextSource source{text, 0};
    EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&source), 0, giveText};
    SendMessageW(pane, EM_STREAMIN, SF_TEXT | SF_UNICODE, reinterpret_cast<LPARAM>(&stream));
}

// The client area's device context, released on exit.
class TclientDC {
public:
    explicit TclientDC(HWND window) : owner(window), dc(GetDC(window)) {}
    ~TclientDC() { ReleaseDC(owner, dc); }
    TclientDC(const TclientDC&) = delete;
    TclientDC& operator=(const TclientDC&) = delete;
    HDC get() const { return dc; }

private:
    HWND owner;
    HDC dc;
};

void drawWord(HWND window, const std::wstring& word) {
    TclientDC dc(window);
    FillRect(dc.get(), &bandPlace, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    TselectedObject font(dc.get(), wordFont);
    SetBkMode(dc.get(), TRANSPARENT);
    const int length = static_cast<int>(word.size());
    SCRIPT_STRING_ANALYSIS analysis = nullptr;
    if (FAILED(ScriptStringAnalyse(dc.get(), word.c_str(), length, length * 3 / 2 + 16, -1,
                                   SSA_GLYPHS | SSA_FALLBACK | SSA_LINK, 0, nullptr, nullptr,
                                   nullptr, nullptr, nullptr, &analysis)))
        return;
    const SIZE* size = ScriptString_pSize(analysis);
    const int width = size ? size->cx : 0;
    ScriptStringOut(analysis, (bandPlace.right - width) / 2, 16, 0, nullptr, 0, 0, FALSE);
    ScriptStringFree(&analysis);
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
}

void showNextWord(HWND window) {
    if (!loadNextWord(listPath, entry)) return;
    fillPane(GetDlgItem(window, IDC_DEFINITION), displayText(entry.definition, entry.encoding));
    drawWord(window, displayText(entry.word, entry.encoding));
}

HWND createChild(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id,
                 const RECT& at) {
    return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, at.left, at.top,
                           at.right - at.left, at.bottom - at.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

LRESULT CALLBACK floorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        HWND pane = createChild(window, L"RICHEDIT50W", L"",
                                WS_VSCROLL | ES_MULTILINE | ES_READONLY, IDC_DEFINITION, panePlace);
        SendMessageW(pane, WM_SETFONT, reinterpret_cast<WPARAM>(paneFont), FALSE);
        createChild(window, L"BUTTON", L"&Next Word", BS_PUSHBUTTON, IDC_NEXT_WORD, buttonPlace);
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_NEXT_WORD) showNextWord(window);
        return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int showCommand) {
    listPath = commandLine;
    InitCommonControls();
    if (!LoadLibraryW(L"msftedit.dll")) return 1;
    wordFont =
        CreateFontW(26, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Times New Roman");
    paneFont = CreateFontW(20, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                           L"Times New Roman");
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = floorProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    windowClass.lpszClassName = floorClass;
    if (!RegisterClassW(&windowClass)) return 1;
    HWND window = CreateWindowExW(0, floorClass, L"Next Word floor", WS_OVERLAPPED | WS_CAPTION, 0,
                                  0, 460, 340, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    showNextWord(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    DeleteObject(wordFont);
    DeleteObject(paneFont);
    return 0;
}
