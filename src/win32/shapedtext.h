// Text shaped by Uniscribe: measured and drawn in the DC's font, with the glyphs that font lacks
// taken from another installed face, and right-to-left runs in their order. For text in any
// script where one face cannot hold every letter: a word of the list, a language's own name.
#pragma once

#include <windows.h>

#include <string>

struct TuniscribeCalls;

// One analysis of the text in the DC's current font, freed when it goes. Invalid when Uniscribe
// is not there or will not take the text: the caller then draws it plainly.
class TshapedText {
public:
    // Read right to left as a whole, where text of both directions is ordered from the right.
    TshapedText(HDC dc, const std::wstring& text, bool rightToLeft = false);
    ~TshapedText();
    TshapedText(const TshapedText&) = delete;
    TshapedText& operator=(const TshapedText&) = delete;

    bool valid() const { return analysis != nullptr; }
    int width() const;
    // Draws with the top left of the text at (x, y), in the DC's text colour and background.
    void draw(int x, int y) const;

private:
    const TuniscribeCalls* calls = nullptr;
    void* analysis = nullptr;
};
