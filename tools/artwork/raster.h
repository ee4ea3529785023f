// Shapes, a supersampling rasteriser and little-endian output shared by the artwork generators.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace art {

struct Tpoint {
    double x;
    double y;
};

// An axis-aligned box; a point is inside when x0 <= x < x1 and y0 <= y < y1.
struct Tbox {
    double x0;
    double y0;
    double x1;
    double y1;
};

constexpr Tbox everywhere{-1e9, -1e9, 1e9, 1e9};

inline bool inside(const Tbox& b, Tpoint p) {
    return p.x >= b.x0 && p.x < b.x1 && p.y >= b.y0 && p.y < b.y1;
}

inline Tbox intersect(const Tbox& a, const Tbox& b) {
    return {std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
}

// One primitive of a figure. A fillet is the concave corner piece that brackets a serif to its
// stem: the part of the box from `corner` to `corner + extent` that lies outside the ellipse
// centred on the far corner, so its curved edge meets both straight edges tangentially.
struct Tshape {
    enum class Tkind { rect, ellipse, polygon, fillet };
    Tkind kind;
    std::vector<Tpoint> pts;  // rect: two corners. ellipse: centre, radii. fillet: corner, extent.
    Tbox clip = everywhere;   // the shape only exists inside this box
};

inline Tshape rect(double x0, double y0, double x1, double y1) {
    return {Tshape::Tkind::rect,
            {{std::min(x0, x1), std::min(y0, y1)}, {std::max(x0, x1), std::max(y0, y1)}}};
}
inline Tshape ellipse(double cx, double cy, double rx, double ry) {
    return {Tshape::Tkind::ellipse, {{cx, cy}, {rx, ry}}};
}
inline Tshape circle(double cx, double cy, double r) { return ellipse(cx, cy, r, r); }
inline Tshape polygon(std::vector<Tpoint> pts) { return {Tshape::Tkind::polygon, std::move(pts)}; }
inline Tshape fillet(double x, double y, double dx, double dy) {
    return {Tshape::Tkind::fillet, {{x, y}, {dx, dy}}};
}
inline Tshape clipped(Tshape s, Tbox b) {
    s.clip = intersect(s.clip, b);
    return s;
}

inline bool insidePolygon(const std::vector<Tpoint>& v, Tpoint p) {
    // Even-odd rule by counting edge crossings of a ray towards +x.
    bool in = false;
    for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i++) {
        if ((v[i].y > p.y) != (v[j].y > p.y)) {
            double x = v[j].x + (p.y - v[j].y) * (v[i].x - v[j].x) / (v[i].y - v[j].y);
            if (p.x < x) in = !in;
        }
    }
    return in;
}

inline bool insideEllipse(Tpoint c, Tpoint r, Tpoint p) {
    double dx = (p.x - c.x) / r.x, dy = (p.y - c.y) / r.y;
    return dx * dx + dy * dy < 1.0;
}

inline bool contains(const Tshape& s, Tpoint p) {
    if (!inside(s.clip, p)) return false;
    const std::vector<Tpoint>& q = s.pts;
    switch (s.kind) {
    case Tshape::Tkind::rect: return inside(Tbox{q[0].x, q[0].y, q[1].x, q[1].y}, p);
    case Tshape::Tkind::ellipse: return insideEllipse(q[0], q[1], p);
    case Tshape::Tkind::polygon: return insidePolygon(q, p);
    case Tshape::Tkind::fillet: {
        Tpoint far{q[0].x + q[1].x, q[0].y + q[1].y};
        Tbox b{std::min(q[0].x, far.x), std::min(q[0].y, far.y), std::max(q[0].x, far.x),
               std::max(q[0].y, far.y)};
        Tpoint r{b.x1 - b.x0, b.y1 - b.y0};
        return inside(b, p) && !insideEllipse(far, r, p);
    }
    }
    return false;
}

inline Tbox bounds(const Tshape& s) {
    const std::vector<Tpoint>& q = s.pts;
    Tbox b = everywhere;
    switch (s.kind) {
    case Tshape::Tkind::rect: b = {q[0].x, q[0].y, q[1].x, q[1].y}; break;
    case Tshape::Tkind::ellipse:
        b = {q[0].x - q[1].x, q[0].y - q[1].y, q[0].x + q[1].x, q[0].y + q[1].y};
        break;
    case Tshape::Tkind::fillet:
        b = {std::min(q[0].x, q[0].x + q[1].x), std::min(q[0].y, q[0].y + q[1].y),
             std::max(q[0].x, q[0].x + q[1].x), std::max(q[0].y, q[0].y + q[1].y)};
        break;
    case Tshape::Tkind::polygon:
        b = {1e9, 1e9, -1e9, -1e9};
        for (const Tpoint& p : q) {
            b = {std::min(b.x0, p.x), std::min(b.y0, p.y), std::max(b.x1, p.x),
                 std::max(b.y1, p.y)};
        }
        break;
    }
    return intersect(b, s.clip);
}

// A figure is built in order: each step adds its shape to what is there or cuts it away, so a
// counter is cut out of a bowl and a stem added afterwards survives the cut.
class Tfigure {
public:
    Tfigure& add(Tshape s) {
        steps.push_back({true, std::move(s)});
        return *this;
    }
    Tfigure& cut(Tshape s) {
        steps.push_back({false, std::move(s)});
        return *this;
    }
    bool contains(Tpoint p) const {
        bool in = false;
        for (const Tstep& st : steps) {
            if (st.add ? !in : in) {
                if (art::contains(st.shape, p)) in = st.add;
            }
        }
        return in;
    }
    Tbox bounds() const {
        Tbox b{1e9, 1e9, -1e9, -1e9};
        for (const Tstep& st : steps) {
            if (!st.add) continue;
            Tbox s = art::bounds(st.shape);
            b = {std::min(b.x0, s.x0), std::min(b.y0, s.y0), std::max(b.x1, s.x1),
                 std::max(b.y1, s.y1)};
        }
        return b;
    }

private:
    struct Tstep {
        bool add;
        Tshape shape;
    };
    std::vector<Tstep> steps;
};

// A figure set down on the image: image point (x, y) is figure point
// ((x - origin.x) / scale, (y - origin.y) / scale), with y negated for figures drawn y-up.
struct Tplaced {
    const Tfigure* figure;
    Tpoint origin;
    double scale;
    bool yUp;

    Tpoint toFigure(Tpoint p) const {
        double fx = (p.x - origin.x) / scale, fy = (p.y - origin.y) / scale;
        return {fx, yUp ? -fy : fy};
    }
    Tbox imageBounds() const {
        Tbox b = figure->bounds();
        double ya = yUp ? -b.y1 : b.y0, yb = yUp ? -b.y0 : b.y1;
        return {origin.x + b.x0 * scale, origin.y + ya * scale, origin.x + b.x1 * scale,
                origin.y + yb * scale};
    }
};

// A colour with straight alpha, each channel 0..255.
struct Tcolour {
    double r;
    double g;
    double b;
    double a = 255;
};

inline Tcolour mix(Tcolour from, Tcolour to, double t) {
    return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t,
            from.b + (to.b - from.b) * t, from.a + (to.a - from.a) * t};
}

// An RGBA image kept premultiplied, painted by coverage with the "over" operator.
class Tcanvas {
public:
    static constexpr int subsamples = 16;  // samples per pixel along each axis

    // A new canvas is fully transparent. Scaled by a factor, a picture drawn for width x height
    // comes out that many times as large, each shape sampled at the finer size, not stretched.
    Tcanvas(int width, int height, double scaleBy = 1.0)
        : widthPx(int(width * scaleBy + 0.5)),
          heightPx(int(height * scaleBy + 0.5)),
          zoom(scaleBy),
          pixels(size_t(widthPx) * heightPx, Tcolour{0, 0, 0, 0}) {}

    int width() const { return widthPx; }
    int height() const { return heightPx; }

    // Paints the union of the placed figures, so shapes that touch leave no seam between them.
    void paint(const std::vector<Tplaced>& layer, Tcolour c, double opacity = 1.0) {
        Tbox area{1e9, 1e9, -1e9, -1e9};
        for (const Tplaced& pl : layer) {
            Tbox b = pl.imageBounds();
            area = {std::min(area.x0, b.x0 * zoom), std::min(area.y0, b.y0 * zoom),
                    std::max(area.x1, b.x1 * zoom), std::max(area.y1, b.y1 * zoom)};
        }
        int x0 = std::max(0, int(area.x0) - 1), y0 = std::max(0, int(area.y0) - 1);
        int x1 = std::min(widthPx, int(area.x1) + 2), y1 = std::min(heightPx, int(area.y1) + 2);
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                double cover = coverage(layer, x, y);
                if (cover > 0) blend(x, y, c, cover * opacity);
            }
        }
    }
    void paint(const Tfigure& f, Tpoint origin, Tcolour c, double opacity = 1.0, bool yUp = false) {
        paint({Tplaced{&f, origin, 1.0, yUp}}, c, opacity);
    }

    // The straight-alpha colour of a pixel.
    Tcolour at(int x, int y) const {
        const Tcolour& p = pixels[size_t(y) * widthPx + x];
        if (p.a <= 0) return {0, 0, 0, 0};
        double k = 255.0 / p.a;
        return {p.r * k, p.g * k, p.b * k, p.a};
    }

private:
    double coverage(const std::vector<Tplaced>& layer, int x, int y) const {
        int hits = 0;
        for (int sy = 0; sy < subsamples; ++sy) {
            for (int sx = 0; sx < subsamples; ++sx) {
                Tpoint p{(x + (sx + 0.5) / subsamples) / zoom,
                         (y + (sy + 0.5) / subsamples) / zoom};
                for (const Tplaced& pl : layer) {
                    if (pl.figure->contains(pl.toFigure(p))) {
                        ++hits;
                        break;
                    }
                }
            }
        }
        return double(hits) / (subsamples * subsamples);
    }
    void blend(int x, int y, Tcolour c, double alpha) {
        Tcolour& d = pixels[size_t(y) * widthPx + x];
        double a = alpha * c.a / 255.0;
        d = {c.r * a + d.r * (1 - a), c.g * a + d.g * (1 - a), c.b * a + d.b * (1 - a),
             255.0 * a + d.a * (1 - a)};
    }

    int widthPx;
    int heightPx;
    double zoom;
    std::vector<Tcolour> pixels;  // premultiplied
};

inline std::uint8_t toByte(double v) { return std::uint8_t(std::clamp(v + 0.5, 0.0, 255.0)); }

inline void put8(std::vector<std::uint8_t>& out, unsigned v) { out.push_back(std::uint8_t(v)); }
inline void put16(std::vector<std::uint8_t>& out, unsigned v) {
    put8(out, v & 0xFF);
    put8(out, (v >> 8) & 0xFF);
}
inline void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// Writes the bytes to `path`; false (after a message) when the file cannot be written whole.
inline bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

// Appends a quadratic Bezier curve from the last point of `pts` through control `c` to `to`,
// flattened into `steps` segments, so outlines can be written as a few curves.
inline void curveTo(std::vector<Tpoint>& pts, Tpoint c, Tpoint to, int steps = 12) {
    Tpoint from = pts.back();
    for (int i = 1; i <= steps; ++i) {
        double t = double(i) / steps, u = 1 - t;
        pts.push_back({u * u * from.x + 2 * u * t * c.x + t * t * to.x,
                       u * u * from.y + 2 * u * t * c.y + t * t * to.y});
    }
}

}  // namespace art
