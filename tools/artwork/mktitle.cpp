// Draws the About box's title picture, "Lexoria" in serif lettering inside an ornamented frame,
// and writes it as an 8-bit, 36-colour .bmp file whose DIB the program loads as "TITLE_BMP".
// Drawn for a larger scaling, the same picture is stored run-length encoded (BI_RLE8), which
// every Windows draws as it is; the plain one stays uncompressed (BI_RGB).
#include "colours.h"
#include "raster.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

using namespace art;

namespace {

constexpr int titleWidth = 200;
constexpr int titleHeight = 100;

// Vertical layout: the title's baseline, the rule the book rests on, the subtitle's top row.
constexpr double titleBaseline = 54;
constexpr int ruleY = 70;
constexpr int subtitleTop = 79;

// ---------------------------------------------------------------------------------------------
// Palette. The picture is painted in full colour and then every pixel takes the nearest entry,
// so the ramps below are the blends the painting produces: ink and gold laid over the paper at
// the coverage steps of anti-aliased edges, the margin's shadow, the light on gold studs.

// Entries from `from` to `to` in `steps` equal steps, `from` itself only when `withFrom`: a
// ramp laid over the paper does not repeat the paper.
struct Tramp {
    const char* name;
    Tcolour from;
    Tcolour to;
    int steps;
    bool withFrom;
};

const Tramp ramps[] = {
    {"paper, deep to light", paperDeep, paper, 3, true},
    {"page white", paper, pageWhite, 1, false},
    {"ink over paper", paper, inkBlue, 21, false},
    {"gold over paper", paper, mutedGold, 8, false},
    {"gold highlight", mutedGold, goldLight, 2, false},
};

constexpr int colourCount = 36;

std::vector<Tcolour> makePalette() {
    std::vector<Tcolour> pal;
    for (const Tramp& r : ramps) {
        for (int k = r.withFrom ? 0 : 1; k <= r.steps; ++k) {
            double t = double(k) / r.steps;
            Tcolour c = mix(r.from, r.to, t);
            pal.push_back({double(toByte(c.r)), double(toByte(c.g)), double(toByte(c.b))});
        }
    }
    return pal;
}

// ---------------------------------------------------------------------------------------------
// Lettering. Each glyph is built from stems, hairlines, bowls and bracketed serifs in pixels,
// with y growing upwards from the baseline and x from the glyph's left edge. The face is a
// high-contrast book serif: thick verticals, hairline horizontals, vertical stress in bowls.

constexpr double xHeight = 24;          // x-height
constexpr double capHeight = 35;        // cap height
constexpr double overshoot = 0.6;       // how far round shapes overshoot the baseline and x-height
constexpr double stemWidth = 4.5;       // lowercase stem
constexpr double capStemWidth = 5.0;    // capital stem
constexpr double serifThickness = 1.6;  // serif and hairline thickness
constexpr double bracketHeight = 2.5;   // how far a serif's bracket climbs the stem

struct Tglyph {
    Tfigure shape;
    double advance;
};

// A lowercase stem from x0 with a flat serif out to the left at the top and a foot serif
// reaching `footLeft` and `footRight` beyond it at the baseline, bracketed on both sides.
void addStem(Tfigure& f, double x0, double top, double footLeft, double footRight) {
    double x1 = x0 + stemWidth;
    f.add(rect(x0, 0, x1, top));
    f.add(rect(x0 - footLeft, top - serifThickness, x1, top));
    f.add(fillet(x0, top - serifThickness, -footLeft * 0.8, -bracketHeight));
    f.add(rect(x0 - footLeft, 0, x1 + footRight, serifThickness));
    f.add(fillet(x0, serifThickness, -footLeft * 0.8, bracketHeight));
    f.add(fillet(x1, serifThickness, footRight * 0.8, bracketHeight));
}

// A round bowl: the counter is narrower than the outline by the stem weight at the sides and by
// a hairline at top and bottom.
void addBowl(Tfigure& f, double cx, double halfWidth) {
    double ry = xHeight / 2 + overshoot;
    f.add(ellipse(cx, xHeight / 2, halfWidth, ry));
    f.cut(ellipse(cx, xHeight / 2, halfWidth - stemWidth * 0.85, ry - serifThickness * 1.1));
}

Tglyph letterL() {
    Tfigure f;
    const double x0 = 3, x1 = x0 + capStemWidth, armEnd = 23;
    f.add(rect(x0, 0, x1, capHeight));
    f.add(rect(0, capHeight - serifThickness, x1 + 3.5, capHeight));
    f.add(fillet(x0, capHeight - serifThickness, -2.5, -3));
    f.add(fillet(x1, capHeight - serifThickness, 2.8, -3));
    f.add(rect(0, 0, armEnd, serifThickness + 0.2));
    f.add(fillet(x0, serifThickness, -2.5, 3));
    f.add(fillet(x1, serifThickness + 0.2, 4, 4));
    // The arm ends in a beak that rises and tapers like a pen stroke lifted off the paper.
    f.add(polygon(
        {{armEnd - 2.6, 0}, {armEnd, 0}, {armEnd, 10}, {armEnd - 0.9, 10}, {armEnd - 2.6, 4.2}}));
    f.add(fillet(armEnd - 2.6, serifThickness + 0.2, -3, 3));
    return {f, armEnd + 1.5};
}

Tglyph letterE() {
    Tfigure f;
    const double cx = 9.5, half = 8.6, bar = 12.4;
    addBowl(f, cx, half);
    f.add(rect(cx - half + 1, bar, cx + half - 1, bar + serifThickness));
    // The eye is open below the bar: the lower stroke ends in a sloped cut on the right.
    f.cut(polygon({{cx + 1.5, bar}, {cx + half + 1, bar}, {cx + half + 1, 6.2}, {cx + 1.5, 9.2}}));
    return {f, 2 * half + 2};
}

Tglyph letterX() {
    Tfigure f;
    const double left = 3.2, right = 17.4, thick = 5.0, thin = 1.8, serifHalf = 4.0;
    // The thick stroke falls from top left to bottom right, the thin one from top right.
    f.add(polygon({{left, xHeight}, {left + thick, xHeight}, {right, 0}, {right - thick, 0}}));
    f.add(polygon({{right - thin, xHeight}, {right, xHeight}, {left + thin, 0}, {left, 0}}));
    double tl = left + thick / 2, tr = right - thin / 2, bl = left + thin / 2,
           br = right - thick / 2;
    f.add(rect(tl - serifHalf, xHeight - serifThickness, tl + serifHalf, xHeight));
    f.add(rect(tr - serifHalf + 0.8, xHeight - serifThickness, tr + serifHalf - 0.4, xHeight));
    f.add(rect(bl - serifHalf + 0.4, 0, bl + serifHalf - 0.8, serifThickness));
    f.add(rect(br - serifHalf, 0, br + serifHalf, serifThickness));
    return {f, right + 3.0};
}

Tglyph letterO() {
    Tfigure f;
    addBowl(f, 9.4, 8.6);
    return {f, 18.8};
}

Tglyph letterR() {
    Tfigure f;
    const double x0 = 2.6, x1 = x0 + stemWidth;
    // The arm is a crescent leaving the stem near the top and ending in a ball.
    Tbox armArea{x1 - 0.5, xHeight - 7.5, 20, 30};
    f.add(clipped(ellipse(x1 + 4.6, xHeight - 5.2, 5.0, 5.2 + overshoot), armArea));
    f.cut(clipped(ellipse(x1 + 5.2, xHeight - 6.4, 4.6, 4.6), armArea));
    f.add(circle(x1 + 6.6, xHeight - 4.8, 2.45));
    addStem(f, x0, xHeight, 2.6, 3.2);
    return {f, x1 + 8.2};
}

Tglyph letterI() {
    Tfigure f;
    const double x0 = 2.6;
    addStem(f, x0, xHeight, 2.6, 2.6);
    f.add(circle(x0 + stemWidth / 2, xHeight + 6.0, 2.6));
    return {f, x0 + stemWidth + 3.8};
}

Tglyph letterA() {
    Tfigure f;
    const double s0 = 11.2, s1 = s0 + stemWidth, hoodY = 14.5;
    // Hood: a crescent over the top, thick where it turns into the stem, ending in a ball.
    Tbox hoodArea{2.5, hoodY, 30, 30};
    f.add(clipped(ellipse(8.2, hoodY, s1 - 8.2, xHeight - hoodY + overshoot), hoodArea));
    f.cut(clipped(ellipse(7.6, hoodY, s0 - 7.6, xHeight - hoodY - 1.7 + overshoot), hoodArea));
    f.add(circle(4.6, xHeight - 5.4, 2.55));
    f.add(rect(s0, 0, s1, hoodY + 0.5));
    // Bowl: hangs from the stem by a hairline, heavy on the left, counter tilted to the stem.
    Tbox bowlArea{-5, -5, s0 + 0.5, 30};
    f.add(clipped(ellipse(7.4, 6.7, 6.6, 7.3), bowlArea));
    f.cut(clipped(ellipse(8.2, 6.6, 3.5, 4.9), Tbox{-5, -5, s0, 30}));
    // Foot: a short spur to the right of the stem.
    f.add(rect(s0, 0, s1 + 2.8, serifThickness));
    f.add(fillet(s1, serifThickness, 2.2, bracketHeight));
    return {f, s1 + 4.0};
}

// ---------------------------------------------------------------------------------------------
// Ornament. All in image coordinates (y down).

// A frame line of width `w` on the box, with concave quarter-circle notches of radius `r` cut
// into its corners, as on an engraved certificate.
Tfigure notchedFrame(Tbox b, double w, double r) {
    Tfigure f;
    f.add(rect(b.x0, b.y0, b.x1, b.y1));
    f.cut(rect(b.x0 + w, b.y0 + w, b.x1 - w, b.y1 - w));
    const std::array<Tpoint, 4> corners{{{b.x0, b.y0}, {b.x1, b.y0}, {b.x0, b.y1}, {b.x1, b.y1}}};
    for (const Tpoint& c : corners) f.add(clipped(circle(c.x, c.y, r + w), b));
    for (const Tpoint& c : corners) f.cut(circle(c.x, c.y, r));
    return f;
}

// A frame line of width `w` on the box with its outer corners rounded to radius `r`.
Tfigure roundedFrame(Tbox b, double w, double r) {
    Tfigure f;
    f.add(rect(b.x0 + r, b.y0, b.x1 - r, b.y1)).add(rect(b.x0, b.y0 + r, b.x1, b.y1 - r));
    for (Tpoint c : {Tpoint{b.x0 + r, b.y0 + r}, Tpoint{b.x1 - r, b.y0 + r},
                     Tpoint{b.x0 + r, b.y1 - r}, Tpoint{b.x1 - r, b.y1 - r}}) {
        f.add(circle(c.x, c.y, r));
    }
    f.cut(rect(b.x0 + w, b.y0 + w, b.x1 - w, b.y1 - w));
    return f;
}

// A small lozenge with its centre at (cx, cy).
Tshape lozenge(double cx, double cy, double rx, double ry) {
    return polygon({{cx - rx, cy}, {cx, cy - ry}, {cx + rx, cy}, {cx, cy + ry}});
}

// A rule that swells from nothing at `tipX` to `thick` at `baseX`, centred on `y`.
Tshape swelledRule(double tipX, double baseX, double y, double thick) {
    return polygon({{tipX, y}, {baseX, y - thick / 2}, {baseX, y + thick / 2}});
}

// The open book at the middle of the rule, drawn pixel by pixel: at this size a hand-placed
// outline stays crisp where a curve would blur. Pages are white with ruled lines of text,
// their top edges dipping to the spine, and the gold cover shows beneath them.
const char* const bookArt[] = {
    "..iIIIi.......iIIIi..", ".IWWWWWIIi.iIIWWWWWI.", ".IW---WWWIiIWWW---WI.",
    ".IWWWWWWWWIWWWWWWWWI.", ".IW----WWWIWWW----WI.", ".IWWWWWWWWIWWWWWWWWI.",
    ".IW----WWWIWWW----WI.", ".IWWWWWWWWIWWWWWWWWI.", ".IIIIWWWWWIWWWWWIIII.",
    "gGGGIIIIIIIIIIIIIGGGg", ".gGGGGGGGGGGGGGGGGGg.",
};

// A stud for the corners of the gold frame, a faceted gem lit from the top left.
const char* const studArt[] = {
    "..L..", ".LlG.", "LlGGg", ".GGg.", "..g..",
};

// What each character of the pixel art paints.
struct Tink {
    char key;
    Tcolour colour;
    double opacity;
};

const Tink artInks[] = {
    {'I', inkBlue, 1.0},   {'i', inkBlue, 0.5},
    {'-', inkBlue, 0.45},  {'W', pageWhite, 1.0},
    {'G', mutedGold, 1.0}, {'g', mutedGold, 0.5},
    {'L', goldLight, 1.0}, {'l', mix(mutedGold, goldLight, 0.5), 1.0},
};

// Paints pixel art with its top-left pixel at (left, top); '.' and unknown keys stay clear.
template <size_t rowCount>
void paintPixelArt(Tcanvas& c, const char* const (&art)[rowCount], int left, int top) {
    for (const Tink& ink : artInks) {
        Tfigure f;
        for (size_t row = 0; row < rowCount; ++row) {
            for (int col = 0; art[row][col]; ++col) {
                if (art[row][col] == ink.key) {
                    f.add(rect(left + col, top + int(row), left + col + 1, top + int(row) + 1));
                }
            }
        }
        c.paint(f, {0, 0}, ink.colour, ink.opacity);
    }
}

// ---------------------------------------------------------------------------------------------
// Subtitle. Letters so small are clearer drawn on the pixel grid than as outlines, so they
// come from a five-row bitmap font: '#' is an inked pixel.

struct TpixelLetter {
    char letter;
    std::array<const char*, 5> rows;
};

const TpixelLetter smallCapLetters[] = {
    {'A', {".###.", "#...#", "#####", "#...#", "#...#"}},
    {'B', {"####.", "#...#", "####.", "#...#", "####."}},
    {'C', {".###", "#...", "#...", "#...", ".###"}},
    {'E', {"####", "#...", "###.", "#...", "####"}},
    {'I', {"#", "#", "#", "#", "#"}},
    {'L', {"#...", "#...", "#...", "#...", "####"}},
    {'N', {"#...#", "##..#", "#.#.#", "#..##", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", ".###."}},
    {'R', {"####.", "#...#", "####.", "#..#.", "#...#"}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", ".###."}},
    {'V', {"#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'Y', {"#...#", ".#.#.", "..#..", "..#..", "..#.."}},
};

constexpr int letterGap = 2;
constexpr int wordGap = 6;

const TpixelLetter* findSmallCap(char ch) {
    for (const TpixelLetter& p : smallCapLetters) {
        if (p.letter == ch) return &p;
    }
    return nullptr;
}

int smallCapsWidth(const std::string& text) {
    int width = 0;
    for (char ch : text) {
        const TpixelLetter* p = findSmallCap(ch);
        width += p ? int(std::string(p->rows[0]).size()) + letterGap : wordGap;
    }
    return width - letterGap;
}

// Sets `text` centred on `centreX` with its top row at `top`; each inked pixel is a unit square.
Tfigure smallCaps(const std::string& text, int centreX, int top) {
    Tfigure f;
    int x = centreX - smallCapsWidth(text) / 2;
    for (char ch : text) {
        const TpixelLetter* p = findSmallCap(ch);
        if (!p) {
            x += wordGap;
            continue;
        }
        int w = int(std::string(p->rows[0]).size());
        for (int row = 0; row < 5; ++row) {
            for (int col = 0; col < w; ++col) {
                if (p->rows[row][col] == '#')
                    f.add(rect(x + col, top + row, x + col + 1, top + row + 1));
            }
        }
        x += w + letterGap;
    }
    return f;
}

// ---------------------------------------------------------------------------------------------

struct Tword {
    std::vector<Tglyph> glyphs;
    std::vector<double> kerns;  // extra space after each glyph
};

std::vector<Tplaced> setWord(const Tword& w, double centreX, double baseline) {
    double width = 0;
    for (size_t i = 0; i < w.glyphs.size(); ++i) width += w.glyphs[i].advance + w.kerns[i];
    double x = centreX - width / 2;
    std::vector<Tplaced> placed;
    for (size_t i = 0; i < w.glyphs.size(); ++i) {
        placed.push_back({&w.glyphs[i].shape, {x, baseline}, 1.0, true});
        x += w.glyphs[i].advance + w.kerns[i];
    }
    return placed;
}

// The frame, from the edge inwards: a margin of deep paper crossed by an ink line with rounded
// corners, the light field, and on it a gold line whose corners are notched, a stud in each notch.
void paintFrame(Tcanvas& c) {
    const double inkLine = 1, inkWidth = 2, field = 5, goldLine = 7, notch = 7;
    Tfigure margin;
    margin.add(rect(0, 0, titleWidth, titleHeight));
    c.paint(margin, {0, 0}, paperDeep);
    Tfigure inner;
    inner.add(rect(field, field, titleWidth - field, titleHeight - field));
    c.paint(inner, {0, 0}, paper);
    // The field is sunk into the margin: the margin's shadow falls on its top and left edges.
    for (int step = 0; step < 2; ++step) {
        Tfigure shadow;
        double edge = field + step;
        shadow.add(rect(edge, edge, titleWidth - field, edge + 1));
        shadow.add(rect(edge, edge + 1, edge + 1, titleHeight - field));
        c.paint(shadow, {0, 0}, paperDeep, (2 - step) / 3.0);
    }

    Tfigure outerLine =
        roundedFrame({inkLine, inkLine, titleWidth - inkLine, titleHeight - inkLine}, inkWidth,
                     4.0);
    c.paint(outerLine, {0, 0}, inkBlue);

    Tfigure gold = notchedFrame({goldLine, goldLine, titleWidth - goldLine, titleHeight - goldLine},
                                1.0, notch);
    c.paint(gold, {0, 0}, mutedGold);
    // A stud sits in each notch, clear of the curve.
    const int inset = int(goldLine), farX = titleWidth - inset - 5, farY = titleHeight - inset - 5;
    const int studs[4][2] = {{inset, inset}, {farX, inset}, {inset, farY}, {farX, farY}};
    for (const auto& at : studs) paintPixelArt(c, studArt, at[0], at[1]);
}

// The rule under the title: two gold strokes swelling towards the open book in the middle,
// each ending in a lozenge before it.
void paintRule(Tcanvas& c, int y) {
    const int cx = titleWidth / 2;
    const double axis = y + 0.5;
    Tfigure rule;
    rule.add(swelledRule(cx - 62, cx - 17, axis, 1.8));
    rule.add(swelledRule(cx + 62, cx + 17, axis, 1.8));
    rule.add(lozenge(cx - 14.5, axis, 1.5, 1.5));
    rule.add(lozenge(cx + 14.5, axis, 1.5, 1.5));
    c.paint(rule, {0, 0}, mutedGold);
    paintPixelArt(c, bookArt, cx - 10, y - 9);
}

void paintTitle(Tcanvas& c) {
    Tword w{{letterL(), letterE(), letterX(), letterO(), letterR(), letterI(), letterA()},
            {0.2, -0.3, 0.0, 0.4, 0.0, 0.3, 0.0}};
    const double centre = titleWidth / 2.0;
    // A faint offset copy in thinned ink gives the letters the depth of an impression.
    c.paint(setWord(w, centre + 1.0, titleBaseline + 1.0), inkBlue, 0.16);
    c.paint(setWord(w, centre, titleBaseline), inkBlue);
}

int nearest(const std::vector<Tcolour>& pal, Tcolour c) {
    int best = 0;
    double bestDist = 1e18;
    for (size_t i = 0; i < pal.size(); ++i) {
        double dr = pal[i].r - c.r, dg = pal[i].g - c.g, db = pal[i].b - c.b;
        // Green counts most and blue least towards how different two colours look.
        double d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (d < bestDist) {
            bestDist = d;
            best = int(i);
        }
    }
    return best;
}

// Maps every pixel to its palette entry, in the bottom-up row order of a DIB. Every width drawn
// is a multiple of 4, so the rows need no padding.
std::vector<std::uint8_t> quantise(const Tcanvas& canvas, const std::vector<Tcolour>& pal) {
    const int width = canvas.width(), height = canvas.height();
    std::vector<std::uint8_t> rows(size_t(width) * height);
    std::array<int, colourCount> uses{};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int index = nearest(pal, canvas.at(x, y));
            rows[size_t(height - 1 - y) * width + x] = std::uint8_t(index);
            ++uses[index];
        }
    }
    // An entry nothing maps to is a sign that the ramps no longer fit the drawing.
    for (int i = 0; i < colourCount; ++i) {
        if (uses[i] == 0) std::fprintf(stderr, "note: palette entry %d is not used\n", i);
    }
    return rows;
}

// ---------------------------------------------------------------------------------------------
// BI_RLE8: each row is a sequence of runs (a count of 1 to 255 and the index repeated) and
// literal stretches (0, a count of 3 to 255, the indices, padded to an even length), closed by
// the end-of-line code (0, 0); the last row by the end-of-bitmap code (0, 1) instead. Each row
// takes the split into runs and stretches that costs the fewest bytes.

const int longestPiece = 255;

std::vector<std::uint8_t> encodeRleRow(const std::uint8_t* row, int width) {
    // cost[i]: the fewest bytes that encode the pixels from i to the row's end; step[i]: the
    // piece that starts there (positive: a run of that length, negative: a literal stretch).
    std::vector<long> cost(size_t(width) + 1, 0);
    std::vector<int> step(size_t(width) + 1, 0);
    for (int i = width - 1; i >= 0; --i) {
        cost[i] = -1;
        for (int length = 1; length <= longestPiece && i + length <= width; ++length) {
            if (row[i + length - 1] != row[i]) break;
            if (cost[i] < 0 || cost[i + length] + 2 < cost[i])
                cost[i] = cost[i + length] + 2, step[i] = length;
        }
        for (int length = 3; length <= longestPiece && i + length <= width; ++length) {
            const long bytes = cost[i + length] + 2 + length + (length & 1);
            if (bytes < cost[i]) cost[i] = bytes, step[i] = -length;
        }
    }
    std::vector<std::uint8_t> out;
    for (int i = 0; i < width;) {
        if (step[i] > 0) {
            out.insert(out.end(), {std::uint8_t(step[i]), row[i]});
            i += step[i];
            continue;
        }
        const int length = -step[i];
        out.insert(out.end(), {0, std::uint8_t(length)});
        out.insert(out.end(), row + i, row + i + length);
        if (length & 1) out.push_back(0);
        i += length;
    }
    return out;
}

std::vector<std::uint8_t> encodeRle8(const std::vector<std::uint8_t>& rows, int width, int height) {
    std::vector<std::uint8_t> out;
    for (int y = 0; y < height; ++y) {
        const std::vector<std::uint8_t> row = encodeRleRow(&rows[size_t(y) * width], width);
        out.insert(out.end(), row.begin(), row.end());
        out.insert(out.end(), {0, std::uint8_t(y + 1 == height ? 1 : 0)});
    }
    return out;
}

// The .bmp file: BITMAPFILEHEADER, BITMAPINFOHEADER, colour table, rows bottom-up, run-length
// encoded when asked.
std::vector<std::uint8_t> encodeBmp(const std::vector<Tcolour>& pal, int width, int height,
                                    std::vector<std::uint8_t> rows, bool compressed) {
    const std::uint32_t headerBytes = 14 + 40 + 4 * colourCount;
    if (compressed) rows = encodeRle8(rows, width, height);
    const std::uint32_t imageBytes = std::uint32_t(rows.size());
    std::vector<std::uint8_t> out;
    put8(out, 'B');
    put8(out, 'M');
    put32(out, headerBytes + imageBytes);
    put16(out, 0);
    put16(out, 0);
    put32(out, headerBytes);

    put32(out, 40);
    put32(out, width);
    put32(out, height);  // positive: bottom-up
    put16(out, 1);
    put16(out, 8);
    put32(out, compressed ? 1 : 0);  // BI_RLE8 or BI_RGB
    put32(out, imageBytes);
    put32(out, 2834);  // 72 dots per inch
    put32(out, 2834);
    put32(out, colourCount);
    put32(out, colourCount);

    for (const Tcolour& c : pal) {
        put8(out, toByte(c.b));
        put8(out, toByte(c.g));
        put8(out, toByte(c.r));
        put8(out, 0);
    }
    out.insert(out.end(), rows.begin(), rows.end());
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    // The percentage draws the picture for a display scaled that much: 150 and 200 give the
    // About box a title as sharp at 144 and 192 DPI as the plain one is at 96.
    const int percent = argc == 3 ? std::atoi(argv[2]) : 100;
    // An even percentage keeps the width a multiple of 4 pixels: DIB rows without padding.
    if (argc < 2 || argc > 3 || percent < 100 || percent > 400 || percent % 2 != 0) {
        std::fprintf(stderr, "usage: mktitle OUTPUT.bmp [PERCENT: 100, 150, 200...]\n");
        return 2;
    }
    const std::vector<Tcolour> pal = makePalette();
    if (pal.size() != colourCount) {
        std::fprintf(stderr, "palette has %zu colours, expected %d\n", pal.size(), colourCount);
        return 1;
    }

    Tcanvas canvas(titleWidth, titleHeight, percent / 100.0);
    paintFrame(canvas);
    paintTitle(canvas);
    paintRule(canvas, ruleY);
    Tfigure subtitle = smallCaps("VOCABULARY TRAINER", titleWidth / 2, subtitleTop);
    canvas.paint(subtitle, {0, 0}, inkBlue, 0.75);
    const bool compressed = percent != 100;
    return writeFile(argv[1], encodeBmp(pal, canvas.width(), canvas.height(), quantise(canvas, pal),
                                        compressed))
               ? 0
               : 1;
}
