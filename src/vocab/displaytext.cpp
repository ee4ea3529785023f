// Converting an entry's bytes to the wide text the windows show.
#include "vocab/displaytext.h"

#include <windows.h>

namespace {

std::wstring fromCodePage(const std::string& bytes) {
    if (bytes.empty()) return std::wstring();
    const int length = static_cast<int>(bytes.size());
    const int wide = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    if (wide <= 0) return std::wstring();
    std::wstring text(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, &text[0], wide);
    return text;
}

}  // namespace

std::wstring displayText(const std::string& field, TtextEncoding encoding) {
    if (encoding == TtextEncoding::codePage) return fromCodePage(field);
    std::u16string text;
    decodeUtf8(field, &text);
    return std::wstring(text.begin(), text.end());
}
