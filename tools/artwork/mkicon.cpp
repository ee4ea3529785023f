// Draws the program's icon, an open book on a deep blue tile, and writes it as a .ico file with
// 256, 64, 48, 40, 32, 24, 20 and 16 pixel images: the shell then finds an image drawn for the
// size it needs at every scaling, from the 16-pixel caption at 100% to the large tiles. Up to 48
// pixels each image is a 32-bit DIB with alpha followed by its AND mask, which every Windows
// reads; the larger ones are PNG, as Windows Vista and later read them, and a fraction of the
// size (the 256-pixel DIB alone would be 270 KB).
#include "colours.h"
#include "raster.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <map>
#include <vector>

using namespace art;

namespace {

// ---------------------------------------------------------------------------------------------
// The large images are drawn from outlines on a 48-unit grid (y down) and scaled.

constexpr double gridSize = 48;

// Adds a box with rounded corners to the figure, or cuts one out of it.
void roundedBox(Tfigure& f, Tbox b, double r, bool add) {
    std::vector<Tshape> parts{rect(b.x0 + r, b.y0, b.x1 - r, b.y1),
                              rect(b.x0, b.y0 + r, b.x1, b.y1 - r)};
    for (Tpoint c : {Tpoint{b.x0 + r, b.y0 + r}, Tpoint{b.x1 - r, b.y0 + r},
                     Tpoint{b.x0 + r, b.y1 - r}, Tpoint{b.x1 - r, b.y1 - r}}) {
        parts.push_back(circle(c.x, c.y, r));
    }
    for (Tshape& s : parts) add ? f.add(s) : f.cut(s);
}

// One page (side -1 left, +1 right) spread from the spine at x = 24: its top edge sags towards
// the spine and its bottom edge dips to it, as a book lies open. `grow` widens the outline
// outwards and downwards, which makes the cover that shows around the pages.
Tshape page(double side, double grow) {
    const double spine = gridSize / 2, outer = spine + side * (16 + grow);
    std::vector<Tpoint> p{{spine, 17 - grow * 0.3}};
    curveTo(p, {spine + side * 7, 12.5 - grow * 0.3}, {outer, 13.5 - grow * 0.3});
    p.push_back({outer, 32 + grow});
    curveTo(p, {spine + side * 8, 31.5 + grow}, {spine, 35.5 + grow});
    return polygon(p);
}

// Four lines of text on a page, following the sag of its top edge.
Tfigure textLines(double side) {
    Tfigure f;
    const double spine = gridSize / 2, from = spine + side * 3.5, to = spine + side * 13;
    for (int i = 0; i < 4; ++i) {
        double y = 19 + i * 3.6, sag = 2.2 - i * 0.45;
        std::vector<Tpoint> line{{from, y + sag}};
        curveTo(line, {spine + side * 7.5, y - 0.6}, {to, y}, 8);
        line.push_back({to, y + 1.3});
        curveTo(line, {spine + side * 7.5, y + 0.7}, {from, y + sag + 1.3}, 8);
        f.add(polygon(line));
    }
    return f;
}

// Paints the icon at `size` pixels from the outline design.
Tcanvas drawFromOutlines(int size) {
    Tcanvas c(size, size);
    const double scale = size / gridSize;
    auto place = [scale](const Tfigure& f) {
        return std::vector<Tplaced>{{&f, {0, 0}, scale, false}};
    };

    Tfigure tile;
    roundedBox(tile, {0, 0, gridSize, gridSize}, 8, true);
    c.paint(place(tile), inkBlue);
    Tfigure rim;  // a fine gold line just inside the tile's edge
    roundedBox(rim, {3, 3, gridSize - 3, gridSize - 3}, 5, true);
    roundedBox(rim, {4.5, 4.5, gridSize - 4.5, gridSize - 4.5}, 3.5, false);
    c.paint(place(rim), mutedGold);

    Tfigure cover, pages, spine;
    cover.add(page(-1, 1.6)).add(page(1, 1.6));
    pages.add(page(-1, 0)).add(page(1, 0));
    spine.add(rect(23.6, 16, 24.4, 35.5));
    c.paint(place(cover), mutedGold);
    c.paint(place(pages), pageWhite);
    Tfigure left = textLines(-1), right = textLines(1);
    c.paint({{&left, {0, 0}, scale, false}, {&right, {0, 0}, scale, false}}, inkBlue, 0.35);
    c.paint(place(spine), inkBlue, 0.6);
    return c;
}

// ---------------------------------------------------------------------------------------------
// At 16 pixels an outline would blur, so the small image is placed pixel by pixel.

const char* const smallArt[16] = {
    ".aNNNNNNNNNNNNa.", "aNNNNNNNNNNNNNNa", "NNNNNNNNNNNNNNNN", "NNWWWNNNNNNWWWNN",
    "NNWWWWWNNWWWWWNN", "NNWWWWWSSWWWWWNN", "NNW---WSSW---WNN", "NNWWWWWSSWWWWWNN",
    "NNW---WSSW---WNN", "NNWWWWWSSWWWWWNN", "NNW---WSSW---WNN", "NGWWWWWSSWWWWWGN",
    "NGGGWWWSSWWWGGGN", "NNNGGGGWWGGGGNNN", "aNNNNNNGGNNNNNNa", ".aNNNNNNNNNNNNa.",
};

struct TartColour {
    char key;
    Tcolour colour;
};

const TartColour smallColours[] = {
    {'N', inkBlue},
    {'a', {inkBlue.r, inkBlue.g, inkBlue.b, 110}},
    {'W', pageWhite},
    {'-', mix(pageWhite, inkBlue, 0.4)},
    {'S', mix(pageWhite, inkBlue, 0.12)},  // the shade of the gutter
    {'G', mutedGold},
};

// Paints the 16-pixel image from the table above, one unit square per pixel.
Tcanvas drawFromPixels() {
    Tcanvas c(16, 16);
    for (const TartColour& ac : smallColours) {
        Tfigure f;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                if (smallArt[y][x] == ac.key) f.add(rect(x, y, x + 1, y + 1));
            }
        }
        c.paint(f, {0, 0}, ac.colour);
    }
    return c;
}

// ---------------------------------------------------------------------------------------------
// The .ico file: ICONDIR, one ICONDIRENTRY per image, then the images. Each image is a
// BITMAPINFOHEADER whose height counts the colour rows and the mask rows together, the BGRA
// rows bottom-up, and a 1-bit AND mask (set where the icon is see-through) for displays that
// cannot blend, its rows padded to 4 bytes.

std::vector<std::uint8_t> encodeImage(const Tcanvas& c) {
    const int n = c.width();
    const std::uint32_t maskStride = ((n + 31) / 32) * 4;
    std::vector<std::uint8_t> out;
    put32(out, 40);
    put32(out, n);
    put32(out, 2 * n);
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);  // BI_RGB
    put32(out, n * n * 4 + maskStride * n);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    for (int y = n - 1; y >= 0; --y) {
        for (int x = 0; x < n; ++x) {
            Tcolour p = c.at(x, y);
            put8(out, toByte(p.b));
            put8(out, toByte(p.g));
            put8(out, toByte(p.r));
            put8(out, toByte(p.a));
        }
    }
    for (int y = n - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(maskStride, 0);
        for (int x = 0; x < n; ++x) {
            if (toByte(c.at(x, y).a) < 128) row[x / 8] |= std::uint8_t(0x80 >> (x % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// PNG: the image's rows, each led by the filter that leaves the smallest sum of byte values
// (taken as signed), deflated at zlib's best level; the smaller of two forms is kept: an indexed
// image with its palette and transparency table when the image has no more than 256 colours,
// and straight RGBA.

const int largestBitmapSize = 48;  // larger images are stored as PNG

void putBig32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) put8(out, (v >> shift) & 0xFF);
}

void putChunk(std::vector<std::uint8_t>& out, const char* type,
              const std::vector<std::uint8_t>& data) {
    putBig32(out, std::uint32_t(data.size()));
    std::vector<std::uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    out.insert(out.end(), typed.begin(), typed.end());
    putBig32(out, std::uint32_t(crc32(0, typed.data(), uInt(typed.size()))));
}

int paeth(int a, int b, int c) {
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// The rows (each `stride` bytes of `bytesPerPixel`-byte pixels), each filtered.
std::vector<std::uint8_t> filterRows(const std::vector<std::uint8_t>& raw, size_t stride,
                                     int bytesPerPixel) {
    std::vector<std::uint8_t> out;
    const std::vector<std::uint8_t> zeros(stride, 0);
    for (size_t row = 0; row * stride < raw.size(); ++row) {
        const std::uint8_t* line = &raw[row * stride];
        const std::uint8_t* above = row ? &raw[(row - 1) * stride] : zeros.data();
        std::vector<std::uint8_t> best;
        long bestCost = -1;
        for (int filter = 0; filter < 5; ++filter) {
            std::vector<std::uint8_t> candidate{std::uint8_t(filter)};
            long cost = 0;
            for (size_t i = 0; i < stride; ++i) {
                const int left = i >= size_t(bytesPerPixel) ? line[i - bytesPerPixel] : 0;
                const int up = above[i];
                const int upLeft = i >= size_t(bytesPerPixel) ? above[i - bytesPerPixel] : 0;
                const int predicted[5] = {0, left, up, (left + up) / 2, paeth(left, up, upLeft)};
                const std::uint8_t value = std::uint8_t(line[i] - predicted[filter]);
                candidate.push_back(value);
                cost += value < 128 ? value : 256 - value;
            }
            if (bestCost < 0 || cost < bestCost) bestCost = cost, best = candidate;
        }
        out.insert(out.end(), best.begin(), best.end());
    }
    return out;
}

std::vector<std::uint8_t> deflated(const std::vector<std::uint8_t>& data) {
    uLongf size = compressBound(uLong(data.size()));
    std::vector<std::uint8_t> out(size);
    if (compress2(out.data(), &size, data.data(), uLong(data.size()), Z_BEST_COMPRESSION) != Z_OK)
        return {};
    out.resize(size);
    return out;
}

std::vector<std::uint8_t> pngFile(int n, int colourType, const std::vector<std::uint8_t>& palette,
                                  const std::vector<std::uint8_t>& alphas,
                                  const std::vector<std::uint8_t>& rows) {
    std::vector<std::uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    putBig32(header, std::uint32_t(n));
    putBig32(header, std::uint32_t(n));
    header.insert(header.end(), {8, std::uint8_t(colourType), 0, 0, 0});
    putChunk(out, "IHDR", header);
    if (!palette.empty()) putChunk(out, "PLTE", palette);
    if (!alphas.empty()) putChunk(out, "tRNS", alphas);
    putChunk(out, "IDAT", deflated(rows));
    putChunk(out, "IEND", {});
    return out;
}

std::vector<std::uint8_t> encodePng(const Tcanvas& c) {
    const int n = c.width();
    std::vector<std::uint8_t> rgba;
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            Tcolour p = c.at(x, y);
            const std::uint8_t alpha = toByte(p.a);
            // A fully transparent pixel has no colour; writing it as 0 lets it compress.
            for (double channel : {p.r, p.g, p.b}) rgba.push_back(alpha ? toByte(channel) : 0);
            rgba.push_back(alpha);
        }
    }
    std::vector<std::uint8_t> best = pngFile(n, 6, {}, {}, filterRows(rgba, size_t(n) * 4, 4));

    std::map<std::uint32_t, std::uint8_t> indexOf;
    std::vector<std::uint8_t> indices, palette, alphas;
    for (size_t i = 0; i < rgba.size() && indexOf.size() <= 256; i += 4) {
        const std::uint32_t key =
            std::uint32_t(rgba[i]) << 24 | rgba[i + 1] << 16 | rgba[i + 2] << 8 | rgba[i + 3];
        auto found = indexOf.find(key);
        if (found == indexOf.end()) {
            if (indexOf.size() == 256) break;
            found = indexOf.emplace(key, std::uint8_t(indexOf.size())).first;
            palette.insert(palette.end(), {rgba[i], rgba[i + 1], rgba[i + 2]});
            alphas.push_back(rgba[i + 3]);
        }
        indices.push_back(found->second);
    }
    if (indices.size() * 4 == rgba.size()) {
        std::vector<std::uint8_t> indexed =
            pngFile(n, 3, palette, alphas, filterRows(indices, size_t(n), 1));
        if (indexed.size() < best.size()) best = indexed;
    }
    return best;
}

std::vector<std::uint8_t> encodeIco(const std::vector<Tcanvas>& images) {
    std::vector<std::vector<std::uint8_t>> bodies;
    for (const Tcanvas& c : images)
        bodies.push_back(c.width() > largestBitmapSize ? encodePng(c) : encodeImage(c));
    std::vector<std::uint8_t> out;
    put16(out, 0);
    put16(out, 1);  // icon, not cursor
    put16(out, unsigned(images.size()));
    std::uint32_t offset = 6 + 16 * std::uint32_t(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        // A size of 256 is written as 0.
        put8(out, unsigned(images[i].width()) % 256);
        put8(out, unsigned(images[i].height()) % 256);
        put8(out, 0);  // no colour table
        put8(out, 0);
        put16(out, 1);
        put16(out, 32);
        put32(out, std::uint32_t(bodies[i].size()));
        put32(out, offset);
        offset += std::uint32_t(bodies[i].size());
    }
    for (const std::vector<std::uint8_t>& b : bodies) out.insert(out.end(), b.begin(), b.end());
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkicon OUTPUT.ico\n");
        return 2;
    }
    std::vector<Tcanvas> images;
    for (int size : {256, 64, 48, 40, 32, 24, 20}) images.push_back(drawFromOutlines(size));
    images.push_back(drawFromPixels());
    return writeFile(argv[1], encodeIco(images)) ? 0 : 1;
}
