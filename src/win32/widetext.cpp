// Conversions through MultiByteToWideChar and WideCharToMultiByte, each measured first and then
// made into a buffer of exactly that size, so that no length of text is ever cut short.
#include "win32/widetext.h"

namespace {

int sizeOf(const std::string& text) { return static_cast<int>(text.size()); }
int sizeOf(const std::wstring& text) { return static_cast<int>(text.size()); }

// `lossy` is null for the pages that refuse to report a lost character.
bool toBytes(const std::wstring& wide, UINT codePage, DWORD flags, BOOL* lossy, std::string& text) {
    text.clear();
    if (wide.empty()) return true;
    const int length =
        WideCharToMultiByte(codePage, flags, wide.data(), sizeOf(wide), nullptr, 0, nullptr, lossy);
    if (length <= 0 || (lossy && *lossy)) return false;
    text.resize(static_cast<size_t>(length));
    if (WideCharToMultiByte(codePage, flags, wide.data(), sizeOf(wide), &text[0], length, nullptr,
                            nullptr) == length)
        return true;
    text.clear();
    return false;
}

// The page a conversion to codePage uses: the ANSI and OEM code pages by their numbers.
UINT actualPage(UINT codePage) {
    if (codePage == CP_ACP) return GetACP();
    if (codePage == CP_OEMCP) return GetOEMCP();
    return codePage;
}

// The pages whose conversion takes no flags and no place to report a lost character: asked
// for either, it fails. UTF-8 is among them, and it is the ANSI code page of a system set to
// "Use Unicode UTF-8 for worldwide language support".
bool refusesLossReport(UINT page) {
    return page == CP_UTF7 || page == CP_UTF8 || page == CP_SYMBOL || page == 54936 ||
           (page >= 50220 && page <= 50229) || (page >= 57002 && page <= 57011);
}

}  // namespace

bool wideFrom(const std::string& text, UINT codePage, std::wstring& wide, DWORD flags) {
    wide.clear();
    if (text.empty()) return true;
    const int length = MultiByteToWideChar(codePage, flags, text.data(), sizeOf(text), nullptr, 0);
    if (length <= 0) return false;
    wide.resize(static_cast<size_t>(length));
    if (MultiByteToWideChar(codePage, flags, text.data(), sizeOf(text), &wide[0], length) == length)
        return true;
    wide.clear();
    return false;
}

std::wstring wideFrom(const std::string& text, UINT codePage) {
    std::wstring wide;
    wideFrom(text, codePage, wide);
    return wide;
}

std::string bytesFrom(const std::wstring& wide, UINT codePage) {
    std::string text;
    toBytes(wide, codePage, 0, nullptr, text);
    return text;
}

// Where the page cannot report a loss, the text is exact when it reads back as the same
// characters (a lone surrogate, say, comes back as U+FFFD).
bool exactBytesFrom(const std::wstring& wide, UINT codePage, std::string& text) {
    const UINT page = actualPage(codePage);
    if (refusesLossReport(page)) {
        std::wstring back;
        if (toBytes(wide, page, 0, nullptr, text) && wideFrom(text, page, back) && back == wide)
            return true;
        text.clear();
        return false;
    }
    BOOL lossy = FALSE;
    return toBytes(wide, page, WC_NO_BEST_FIT_CHARS, &lossy, text);
}
