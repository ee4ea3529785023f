// Draws the About box's title picture, "Lexoria" in serif lettering inside an ornamented frame,
// and writes it as an 8-bit, 36-colour .bmp file whose DIB the program loads as "TITLE_BMP".
#include "colours.h"
#include "raster.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

using namespace art;

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 100;

// Vertical layout: the title's baseline, the rule the book rests on, the subtitle's top row.
constexpr double kBaseline = 54;
constexpr int kRuleY = 70;
constexpr int kSubtitleTop = 79;

// ---------------------------------------------------------------------------------------------
// Palette. The picture is painted in full colour and then every pixel takes the nearest entry,
// so the ramps below are the blends the painting produces: ink and gold laid over the paper at
// the coverage steps of anti-aliased edges, the margin's shadow, the light on gold studs.

// Entries from `from` to `to` in `steps` equal steps, `from` itself only when `withFrom`: a
// ramp laid over the paper does not repeat the paper.
struct Ramp {
    const char* name;
    Colour from;
    Colour to;
    int steps;
    bool withFrom;
};

const Ramp kRamps[] = {
    {"paper, deep to light", kPaperDeep, kPaper, 3, true},
    {"page white", kPaper, kPage, 1, false},
    {"ink over paper", kPaper, kInk, 21, false},
    {"gold over paper", kPaper, kGold, 8, false},
    {"gold highlight", kGold, kGoldLight, 2, false},
};

constexpr int kColours = 36;

std::vector<Colour> makePalette() {
    std::vector<Colour> pal;
    for (const Ramp& r : kRamps) {
        for (int k = r.withFrom ? 0 : 1; k <= r.steps; ++k) {
            double t = double(k) / r.steps;
            Colour c = mix(r.from, r.to, t);
            pal.push_back({double(toByte(c.r)), double(toByte(c.g)), double(toByte(c.b))});
        }
    }
    return pal;
}

// ---------------------------------------------------------------------------------------------
// Lettering. Each glyph is built from stems, hairlines, bowls and bracketed serifs in pixels,
// with y growing upwards from the baseline and x from the glyph's left edge. The face is a
// high-contrast book serif: thick verticals, hairline horizontals, vertical stress in bowls.

constexpr double kX = 24;         // x-height
constexpr double kCap = 35;       // cap height
constexpr double kOver = 0.6;     // how far round shapes overshoot the baseline and x-height
constexpr double kStem = 4.5;     // lowercase stem
constexpr double kCapStem = 5.0;  // capital stem
constexpr double kSerif = 1.6;    // serif and hairline thickness
constexpr double kBracket = 2.5;  // how far a serif's bracket climbs the stem

struct Glyph {
    Figure shape;
    double advance;
};

// A lowercase stem from x0 with a flat serif out to the left at the top and a foot serif
// reaching `footLeft` and `footRight` beyond it at the baseline, bracketed on both sides.
void addStem(Figure& f, double x0, double top, double footLeft, double footRight) {
    double x1 = x0 + kStem;
    f.add(rect(x0, 0, x1, top));
    f.add(rect(x0 - footLeft, top - kSerif, x1, top));
    f.add(fillet(x0, top - kSerif, -footLeft * 0.8, -kBracket));
    f.add(rect(x0 - footLeft, 0, x1 + footRight, kSerif));
    f.add(fillet(x0, kSerif, -footLeft * 0.8, kBracket));
    f.add(fillet(x1, kSerif, footRight * 0.8, kBracket));
}

// A round bowl: the counter is narrower than the outline by the stem weight at the sides and by
// a hairline at top and bottom.
void addBowl(Figure& f, double cx, double halfWidth) {
    double ry = kX / 2 + kOver;
    f.add(ellipse(cx, kX / 2, halfWidth, ry));
    f.cut(ellipse(cx, kX / 2, halfWidth - kStem * 0.85, ry - kSerif * 1.1));
}

Glyph letterL() {
    Figure f;
    const double x0 = 3, x1 = x0 + kCapStem, armEnd = 23;
    f.add(rect(x0, 0, x1, kCap));
    f.add(rect(0, kCap - kSerif, x1 + 3.5, kCap));
    f.add(fillet(x0, kCap - kSerif, -2.5, -3));
    f.add(fillet(x1, kCap - kSerif, 2.8, -3));
    f.add(rect(0, 0, armEnd, kSerif + 0.2));
    f.add(fillet(x0, kSerif, -2.5, 3));
    f.add(fillet(x1, kSerif + 0.2, 4, 4));
    // The arm ends in a beak that rises and tapers like a pen stroke lifted off the paper.
    f.add(polygon({{armEnd - 2.6, 0}, {armEnd, 0}, {armEnd, 10}, {armEnd - 0.9, 10}, {armEnd - 2.6, 4.2}}));
    f.add(fillet(armEnd - 2.6, kSerif + 0.2, -3, 3));
    return {f, armEnd + 1.5};
}

Glyph letterE() {
    Figure f;
    const double cx = 9.5, half = 8.6, bar = 12.4;
    addBowl(f, cx, half);
    f.add(rect(cx - half + 1, bar, cx + half - 1, bar + kSerif));
    // The eye is open below the bar: the lower stroke ends in a sloped cut on the right.
    f.cut(polygon({{cx + 1.5, bar}, {cx + half + 1, bar}, {cx + half + 1, 6.2}, {cx + 1.5, 9.2}}));
    return {f, 2 * half + 2};
}

Glyph letterX() {
    Figure f;
    const double left = 3.2, right = 17.4, thick = 5.0, thin = 1.8, serifHalf = 4.0;
    // The thick stroke falls from top left to bottom right, the thin one from top right.
    f.add(polygon({{left, kX}, {left + thick, kX}, {right, 0}, {right - thick, 0}}));
    f.add(polygon({{right - thin, kX}, {right, kX}, {left + thin, 0}, {left, 0}}));
    double tl = left + thick / 2, tr = right - thin / 2, bl = left + thin / 2, br = right - thick / 2;
    f.add(rect(tl - serifHalf, kX - kSerif, tl + serifHalf, kX));
    f.add(rect(tr - serifHalf + 0.8, kX - kSerif, tr + serifHalf - 0.4, kX));
    f.add(rect(bl - serifHalf + 0.4, 0, bl + serifHalf - 0.8, kSerif));
    f.add(rect(br - serifHalf, 0, br + serifHalf, kSerif));
    return {f, right + 3.0};
}

Glyph letterO() {
    Figure f;
    addBowl(f, 9.4, 8.6);
    return {f, 18.8};
}

Glyph letterR() {
    Figure f;
    const double x0 = 2.6, x1 = x0 + kStem;
    // The arm is a crescent leaving the stem near the top and ending in a ball.
    Box armArea{x1 - 0.5, kX - 7.5, 20, 30};
    f.add(clipped(ellipse(x1 + 4.6, kX - 5.2, 5.0, 5.2 + kOver), armArea));
    f.cut(clipped(ellipse(x1 + 5.2, kX - 6.4, 4.6, 4.6), armArea));
    f.add(circle(x1 + 6.6, kX - 4.8, 2.45));
    addStem(f, x0, kX, 2.6, 3.2);
    return {f, x1 + 8.2};
}

Glyph letterI() {
    Figure f;
    const double x0 = 2.6;
    addStem(f, x0, kX, 2.6, 2.6);
    f.add(circle(x0 + kStem / 2, kX + 6.0, 2.6));
    return {f, x0 + kStem + 3.8};
}

Glyph letterA() {
    Figure f;
    const double s0 = 11.2, s1 = s0 + kStem, hoodY = 14.5;
    // Hood: a crescent over the top, thick where it turns into the stem, ending in a ball.
    Box hoodArea{2.5, hoodY, 30, 30};
    f.add(clipped(ellipse(8.2, hoodY, s1 - 8.2, kX - hoodY + kOver), hoodArea));
    f.cut(clipped(ellipse(7.6, hoodY, s0 - 7.6, kX - hoodY - 1.7 + kOver), hoodArea));
    f.add(circle(4.6, kX - 5.4, 2.55));
    f.add(rect(s0, 0, s1, hoodY + 0.5));
    // Bowl: hangs from the stem by a hairline, heavy on the left, counter tilted to the stem.
    Box bowlArea{-5, -5, s0 + 0.5, 30};
    f.add(clipped(ellipse(7.4, 6.7, 6.6, 7.3), bowlArea));
    f.cut(clipped(ellipse(8.2, 6.6, 3.5, 4.9), Box{-5, -5, s0, 30}));
    // Foot: a short spur to the right of the stem.
    f.add(rect(s0, 0, s1 + 2.8, kSerif));
    f.add(fillet(s1, kSerif, 2.2, kBracket));
    return {f, s1 + 4.0};
}

// ---------------------------------------------------------------------------------------------
// Ornament. All in image coordinates (y down).

// A frame line of width `w` on the box, with concave quarter-circle notches of radius `r` cut
// into its corners, as on an engraved certificate.
Figure notchedFrame(Box b, double w, double r) {
    Figure f;
    f.add(rect(b.x0, b.y0, b.x1, b.y1));
    f.cut(rect(b.x0 + w, b.y0 + w, b.x1 - w, b.y1 - w));
    const std::array<Point, 4> corners{{{b.x0, b.y0}, {b.x1, b.y0}, {b.x0, b.y1}, {b.x1, b.y1}}};
    for (const Point& c : corners) f.add(clipped(circle(c.x, c.y, r + w), b));
    for (const Point& c : corners) f.cut(circle(c.x, c.y, r));
    return f;
}

// A frame line of width `w` on the box with its outer corners rounded to radius `r`.
Figure roundedFrame(Box b, double w, double r) {
    Figure f;
    f.add(rect(b.x0 + r, b.y0, b.x1 - r, b.y1)).add(rect(b.x0, b.y0 + r, b.x1, b.y1 - r));
    for (Point c : {Point{b.x0 + r, b.y0 + r}, Point{b.x1 - r, b.y0 + r}, Point{b.x0 + r, b.y1 - r},
                    Point{b.x1 - r, b.y1 - r}}) {
        f.add(circle(c.x, c.y, r));
    }
    f.cut(rect(b.x0 + w, b.y0 + w, b.x1 - w, b.y1 - w));
    return f;
}

// A small lozenge with its centre at (cx, cy).
Shape lozenge(double cx, double cy, double rx, double ry) {
    return polygon({{cx - rx, cy}, {cx, cy - ry}, {cx + rx, cy}, {cx, cy + ry}});
}

// A rule that swells from nothing at `tipX` to `thick` at `baseX`, centred on `y`.
Shape swelledRule(double tipX, double baseX, double y, double thick) {
    return polygon({{tipX, y}, {baseX, y - thick / 2}, {baseX, y + thick / 2}});
}

// The open book at the middle of the rule, drawn pixel by pixel: at this size a hand-placed
// outline stays crisp where a curve would blur. Pages are white with ruled lines of text,
// their top edges dipping to the spine, and the gold cover shows beneath them.
const char* const kBookArt[] = {
    "..iIIIi.......iIIIi..",
    ".IWWWWWIIi.iIIWWWWWI.",
    ".IW---WWWIiIWWW---WI.",
    ".IWWWWWWWWIWWWWWWWWI.",
    ".IW----WWWIWWW----WI.",
    ".IWWWWWWWWIWWWWWWWWI.",
    ".IW----WWWIWWW----WI.",
    ".IWWWWWWWWIWWWWWWWWI.",
    ".IIIIWWWWWIWWWWWIIII.",
    "gGGGIIIIIIIIIIIIIGGGg",
    ".gGGGGGGGGGGGGGGGGGg.",
};

// A stud for the corners of the gold frame, a faceted gem lit from the top left.
const char* const kStudArt[] = {
    "..L..",
    ".LlG.",
    "LlGGg",
    ".GGg.",
    "..g..",
};

// What each character of the pixel art paints.
struct Ink {
    char key;
    Colour colour;
    double opacity;
};

const Ink kArtInks[] = {
    {'I', kInk, 1.0},  {'i', kInk, 0.5},  {'-', kInk, 0.45},        {'W', kPage, 1.0},
    {'G', kGold, 1.0}, {'g', kGold, 0.5}, {'L', kGoldLight, 1.0}, {'l', mix(kGold, kGoldLight, 0.5), 1.0},
};

// Paints pixel art with its top-left pixel at (left, top); '.' and unknown keys stay clear.
template <size_t Rows>
void paintPixelArt(Canvas& c, const char* const (&art)[Rows], int left, int top) {
    for (const Ink& ink : kArtInks) {
        Figure f;
        for (size_t row = 0; row < Rows; ++row) {
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

struct PixelLetter {
    char letter;
    std::array<const char*, 5> rows;
};

const PixelLetter kSmallCaps[] = {
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

constexpr int kLetterGap = 2;
constexpr int kWordGap = 6;

const PixelLetter* findSmallCap(char ch) {
    for (const PixelLetter& p : kSmallCaps) {
        if (p.letter == ch) return &p;
    }
    return nullptr;
}

int smallCapsWidth(const std::string& text) {
    int width = 0;
    for (char ch : text) {
        const PixelLetter* p = findSmallCap(ch);
        width += p ? int(std::string(p->rows[0]).size()) + kLetterGap : kWordGap;
    }
    return width - kLetterGap;
}

// Sets `text` centred on `centreX` with its top row at `top`; each inked pixel is a unit square.
Figure smallCaps(const std::string& text, int centreX, int top) {
    Figure f;
    int x = centreX - smallCapsWidth(text) / 2;
    for (char ch : text) {
        const PixelLetter* p = findSmallCap(ch);
        if (!p) {
            x += kWordGap;
            continue;
        }
        int w = int(std::string(p->rows[0]).size());
        for (int row = 0; row < 5; ++row) {
            for (int col = 0; col < w; ++col) {
                if (p->rows[row][col] == '#') f.add(rect(x + col, top + row, x + col + 1, top + row + 1));
            }
        }
        x += w + kLetterGap;
    }
    return f;
}

// ---------------------------------------------------------------------------------------------

struct Word {
    std::vector<Glyph> glyphs;
    std::vector<double> kerns;  // extra space after each glyph
};

std::vector<Placed> setWord(const Word& w, double centreX, double baseline) {
    double width = 0;
    for (size_t i = 0; i < w.glyphs.size(); ++i) width += w.glyphs[i].advance + w.kerns[i];
    double x = centreX - width / 2;
    std::vector<Placed> placed;
    for (size_t i = 0; i < w.glyphs.size(); ++i) {
        placed.push_back({&w.glyphs[i].shape, {x, baseline}, 1.0, true});
        x += w.glyphs[i].advance + w.kerns[i];
    }
    return placed;
}

// The frame, from the edge inwards: a margin of deep paper crossed by an ink line with rounded
// corners, the light field, and on it a gold line whose corners are notched, a stud in each notch.
void paintFrame(Canvas& c) {
    const double inkLine = 1, inkWidth = 2, field = 5, goldLine = 7, notch = 7;
    Figure margin;
    margin.add(rect(0, 0, kWidth, kHeight));
    c.paint(margin, {0, 0}, kPaperDeep);
    Figure inner;
    inner.add(rect(field, field, kWidth - field, kHeight - field));
    c.paint(inner, {0, 0}, kPaper);
    // The field is sunk into the margin: the margin's shadow falls on its top and left edges.
    for (int step = 0; step < 2; ++step) {
        Figure shadow;
        double edge = field + step;
        shadow.add(rect(edge, edge, kWidth - field, edge + 1));
        shadow.add(rect(edge, edge + 1, edge + 1, kHeight - field));
        c.paint(shadow, {0, 0}, kPaperDeep, (2 - step) / 3.0);
    }

    Figure outerLine = roundedFrame({inkLine, inkLine, kWidth - inkLine, kHeight - inkLine}, inkWidth, 4.0);
    c.paint(outerLine, {0, 0}, kInk);

    Figure gold = notchedFrame({goldLine, goldLine, kWidth - goldLine, kHeight - goldLine}, 1.0, notch);
    c.paint(gold, {0, 0}, kGold);
    // A stud sits in each notch, clear of the curve.
    const int inset = int(goldLine), farX = kWidth - inset - 5, farY = kHeight - inset - 5;
    const int studs[4][2] = {{inset, inset}, {farX, inset}, {inset, farY}, {farX, farY}};
    for (const auto& at : studs) paintPixelArt(c, kStudArt, at[0], at[1]);
}

// The rule under the title: two gold strokes swelling towards the open book in the middle,
// each ending in a lozenge before it.
void paintRule(Canvas& c, int y) {
    const int cx = kWidth / 2;
    const double axis = y + 0.5;
    Figure rule;
    rule.add(swelledRule(cx - 62, cx - 17, axis, 1.8));
    rule.add(swelledRule(cx + 62, cx + 17, axis, 1.8));
    rule.add(lozenge(cx - 14.5, axis, 1.5, 1.5));
    rule.add(lozenge(cx + 14.5, axis, 1.5, 1.5));
    c.paint(rule, {0, 0}, kGold);
    paintPixelArt(c, kBookArt, cx - 10, y - 9);
}

void paintTitle(Canvas& c) {
    Word w{{letterL(), letterE(), letterX(), letterO(), letterR(), letterI(), letterA()},
           {0.2, -0.3, 0.0, 0.4, 0.0, 0.3, 0.0}};
    const double centre = kWidth / 2.0;
    // A faint offset copy in thinned ink gives the letters the depth of an impression.
    c.paint(setWord(w, centre + 1.0, kBaseline + 1.0), kInk, 0.16);
    c.paint(setWord(w, centre, kBaseline), kInk);
}

int nearest(const std::vector<Colour>& pal, Colour c) {
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

// Maps every pixel to its palette entry, in the bottom-up row order of a DIB.
std::vector<std::uint8_t> quantise(const Canvas& canvas, const std::vector<Colour>& pal) {
    std::vector<std::uint8_t> rows(size_t(kWidth) * kHeight);
    std::array<int, kColours> uses{};
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            int index = nearest(pal, canvas.at(x, y));
            rows[size_t(kHeight - 1 - y) * kWidth + x] = std::uint8_t(index);
            ++uses[index];
        }
    }
    // An entry nothing maps to is a sign that the ramps no longer fit the drawing.
    for (int i = 0; i < kColours; ++i) {
        if (uses[i] == 0) std::fprintf(stderr, "note: palette entry %d is not used\n", i);
    }
    return rows;
}

// The .bmp file: BITMAPFILEHEADER, BITMAPINFOHEADER, colour table, rows bottom-up.
std::vector<std::uint8_t> encodeBmp(const std::vector<Colour>& pal, const std::vector<std::uint8_t>& rows) {
    const std::uint32_t headerBytes = 14 + 40 + 4 * kColours;
    const std::uint32_t imageBytes = kWidth * kHeight;
    std::vector<std::uint8_t> out;
    put8(out, 'B');
    put8(out, 'M');
    put32(out, headerBytes + imageBytes);
    put16(out, 0);
    put16(out, 0);
    put32(out, headerBytes);

    put32(out, 40);
    put32(out, kWidth);
    put32(out, kHeight);  // positive: bottom-up
    put16(out, 1);
    put16(out, 8);
    put32(out, 0);  // BI_RGB
    put32(out, imageBytes);
    put32(out, 2834);  // 72 dots per inch
    put32(out, 2834);
    put32(out, kColours);
    put32(out, kColours);

    for (const Colour& c : pal) {
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
    if (argc != 2) {
        std::fprintf(stderr, "usage: mktitle OUTPUT.bmp\n");
        return 2;
    }
    const std::vector<Colour> pal = makePalette();
    if (pal.size() != kColours) {
        std::fprintf(stderr, "palette has %zu colours, expected %d\n", pal.size(), kColours);
        return 1;
    }

    Canvas canvas(kWidth, kHeight);
    paintFrame(canvas);
    paintTitle(canvas);
    paintRule(canvas, kRuleY);
    Figure subtitle = smallCaps("VOCABULARY TRAINER", kWidth / 2, kSubtitleTop);
    canvas.paint(subtitle, {0, 0}, kInk, 0.75);
    return writeFile(argv[1], encodeBmp(pal, quantise(canvas, pal))) ? 0 : 1;
}
