// The definition pane on the newest rich edit class that loaded.
#include "mainwindow/richpane.h"

#include <richedit.h>

#include <algorithm>

#include "mainwindow/mainwindow.h"
#include "win32/widetext.h"

namespace {

TrichEdit paneLibrary = TrichEdit::none;

const wchar_t* paneClass() {
    switch (paneLibrary) {
    case TrichEdit::version41: return L"RICHEDIT50W";
    case TrichEdit::version2: return L"RichEdit20W";
    case TrichEdit::version1: return L"RICHEDIT";
    case TrichEdit::none: break;
    }
    return nullptr;
}

// The bytes as the stream hands them to the pane, piece by piece.
struct TtextSource {
    const std::string& bytes;
    size_t given;
};

DWORD CALLBACK giveText(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
    TtextSource& source = *reinterpret_cast<TtextSource*>(cookie);
    const size_t count = std::min(source.bytes.size() - source.given, static_cast<size_t>(wanted));
    source.bytes.copy(reinterpret_cast<char*>(buffer), count, source.given);
    source.given += count;
    *given = static_cast<LONG>(count);
    return 0;
}

void streamIn(HWND pane, const std::string& bytes, WPARAM format) {
    TtextSource source{bytes, 0};
    EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&source), 0, giveText};
    SendMessageW(pane, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
}

}  // namespace

void usePaneLibrary(TrichEdit library) { paneLibrary = library; }

HWND createPaneWindow(HWND parent, DWORD style, int id, const Trect& at) {
    const wchar_t* className = paneClass();
    if (!className) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    return CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | style, at.left, at.top,
                           at.width, at.height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), programInstance,
                           nullptr);
}

void fillPane(HWND pane, const std::wstring& text) {
    // The first rich edit is an ANSI window: characters the code page lacks become their best fit.
    if (paneLibrary == TrichEdit::version1) {
        streamIn(pane, bytesFrom(text, CP_ACP), SF_TEXT);
        return;
    }
    const std::string bytes(reinterpret_cast<const char*>(text.data()),
                            text.size() * sizeof(wchar_t));
    streamIn(pane, bytes, SF_TEXT | SF_UNICODE);
}

void scrollPaneToTop(HWND pane) { SendMessageW(pane, WM_VSCROLL, SB_TOP, 0); }
