// Uniscribe, loaded at the first text shaped rather than at start, and one analysis of a text.
#include "win32/shapedtext.h"

#include <usp10.h>

#include "win32/systemlibrary.h"

struct TuniscribeCalls {
    using Tanalyse = HRESULT(WINAPI*)(HDC, const void*, int, int, int, DWORD, int, SCRIPT_CONTROL*,
                                      SCRIPT_STATE*, const int*, SCRIPT_TABDEF*, const BYTE*,
                                      SCRIPT_STRING_ANALYSIS*);
    using Tout = HRESULT(WINAPI*)(SCRIPT_STRING_ANALYSIS, int, int, UINT, const RECT*, int, int,
                                  BOOL);
    using Tfree = HRESULT(WINAPI*)(SCRIPT_STRING_ANALYSIS*);
    using Tsize = const SIZE*(WINAPI*)(SCRIPT_STRING_ANALYSIS);
    Tanalyse analyse = nullptr;
    Tout out = nullptr;
    Tfree free = nullptr;
    Tsize size = nullptr;
    bool present() const { return analyse && out && free && size; }
};

namespace {

template <typename Function>
void resolve(HMODULE library, const char* name, Function& function) {
    function = libraryEntry<Function>(library, name);
}

const TuniscribeCalls* uniscribe() {
    static TuniscribeCalls calls;
    static bool tried = false;
    if (!tried) {
        tried = true;
        if (HMODULE library = loadSystemLibrary(L"usp10.dll")) {
            resolve(library, "ScriptStringAnalyse", calls.analyse);
            resolve(library, "ScriptStringOut", calls.out);
            resolve(library, "ScriptStringFree", calls.free);
            resolve(library, "ScriptString_pSize", calls.size);
        }
    }
    return calls.present() ? &calls : nullptr;
}

}  // namespace

TshapedText::TshapedText(HDC dc, const std::wstring& text, bool rightToLeft) : calls(uniscribe()) {
    if (!calls || text.empty()) return;
    const int length = static_cast<int>(text.size());
    // Room for the glyphs as Uniscribe's documentation advises.
    const int glyphs = length * 3 / 2 + 16;
    const DWORD flags = SSA_GLYPHS | SSA_FALLBACK | SSA_LINK | (rightToLeft ? SSA_RTL : 0);
    // Embedding level 1 orders the runs from the right.
    SCRIPT_STATE state = {};
    state.uBidiLevel = rightToLeft ? 1 : 0;
    SCRIPT_STRING_ANALYSIS made = nullptr;
    if (SUCCEEDED(calls->analyse(dc, text.c_str(), length, glyphs, -1, flags, 0, nullptr, &state,
                                 nullptr, nullptr, nullptr, &made)))
        analysis = made;
}

TshapedText::~TshapedText() {
    if (!analysis) return;
    SCRIPT_STRING_ANALYSIS made = analysis;
    calls->free(&made);
}

int TshapedText::width() const {
    const SIZE* size = analysis ? calls->size(analysis) : nullptr;
    return size ? size->cx : 0;
}

void TshapedText::draw(int x, int y) const {
    if (analysis) calls->out(analysis, x, y, 0, nullptr, 0, 0, FALSE);
}
