// Converting an entry's bytes to the wide text the windows show.
#include "vocab/displaytext.h"

#include "win32/widetext.h"

std::wstring displayText(const std::string& field, TtextEncoding encoding) {
    if (encoding == TtextEncoding::codePage) return wideFrom(field, CP_ACP);
    std::u16string text;
    decodeUtf8(field, &text);
    return std::wstring(text.begin(), text.end());
}
