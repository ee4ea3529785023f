// Shapes, a supersampling rasteriser and little-endian output shared by the artwork generators.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace art {

struct Point {
    double x;
    double y;
};

// An axis-aligned box; a point is inside when x0 <= x < x1 and y0 <= y < y1.
struct Box {
    double x0;
    double y0;
    double x1;
    double y1;
};

constexpr Box kEverywhere{-1e9, -1e9, 1e9, 1e9};

inline bool inside(const Box& b, Point p) {
    return p.x >= b.x0 && p.x < b.x1 && p.y >= b.y0 && p.y < b.y1;
}

inline Box intersect(const Box& a, const Box& b) {
    return {std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
}

// One primitive of a figure. A fillet is the concave corner piece that brackets a serif to its
// stem: the part of the box from `corner` to `corner + extent` that lies outside the ellipse
// centred on the far corner, so its curved edge meets both straight edges tangentially.
struct Shape {
    enum class Kind { Rect, Ellipse, Polygon, Fillet };
    Kind kind;
    std::vector<Point> pts;  // Rect: two corners. Ellipse: centre, radii. Fillet: corner, extent.
    Box clip = kEverywhere;  // the shape only exists inside this box
};

inline Shape rect(double x0, double y0, double x1, double y1) {
    return {Shape::Kind::Rect, {{std::min(x0, x1), std::min(y0, y1)}, {std::max(x0, x1), std::max(y0, y1)}}};
}
inline Shape ellipse(double cx, double cy, double rx, double ry) {
    return {Shape::Kind::Ellipse, {{cx, cy}, {rx, ry}}};
}
inline Shape circle(double cx, double cy, double r) { return ellipse(cx, cy, r, r); }
inline Shape polygon(std::vector<Point> pts) { return {Shape::Kind::Polygon, std::move(pts)}; }
inline Shape fillet(double x, double y, double dx, double dy) {
    return {Shape::Kind::Fillet, {{x, y}, {dx, dy}}};
}
inline Shape clipped(Shape s, Box b) {
    s.clip = intersect(s.clip, b);
    return s;
}

inline bool insidePolygon(const std::vector<Point>& v, Point p) {
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

inline bool insideEllipse(Point c, Point r, Point p) {
    double dx = (p.x - c.x) / r.x, dy = (p.y - c.y) / r.y;
    return dx * dx + dy * dy < 1.0;
}

inline bool contains(const Shape& s, Point p) {
    if (!inside(s.clip, p)) return false;
    const std::vector<Point>& q = s.pts;
    switch (s.kind) {
    case Shape::Kind::Rect:
        return inside(Box{q[0].x, q[0].y, q[1].x, q[1].y}, p);
    case Shape::Kind::Ellipse:
        return insideEllipse(q[0], q[1], p);
    case Shape::Kind::Polygon:
        return insidePolygon(q, p);
    case Shape::Kind::Fillet: {
        Point far{q[0].x + q[1].x, q[0].y + q[1].y};
        Box b{std::min(q[0].x, far.x), std::min(q[0].y, far.y), std::max(q[0].x, far.x),
              std::max(q[0].y, far.y)};
        Point r{b.x1 - b.x0, b.y1 - b.y0};
        return inside(b, p) && !insideEllipse(far, r, p);
    }
    }
    return false;
}

inline Box bounds(const Shape& s) {
    const std::vector<Point>& q = s.pts;
    Box b = kEverywhere;
    switch (s.kind) {
    case Shape::Kind::Rect:
        b = {q[0].x, q[0].y, q[1].x, q[1].y};
        break;
    case Shape::Kind::Ellipse:
        b = {q[0].x - q[1].x, q[0].y - q[1].y, q[0].x + q[1].x, q[0].y + q[1].y};
        break;
    case Shape::Kind::Fillet:
        b = {std::min(q[0].x, q[0].x + q[1].x), std::min(q[0].y, q[0].y + q[1].y),
             std::max(q[0].x, q[0].x + q[1].x), std::max(q[0].y, q[0].y + q[1].y)};
        break;
    case Shape::Kind::Polygon:
        b = {1e9, 1e9, -1e9, -1e9};
        for (const Point& p : q) {
            b = {std::min(b.x0, p.x), std::min(b.y0, p.y), std::max(b.x1, p.x), std::max(b.y1, p.y)};
        }
        break;
    }
    return intersect(b, s.clip);
}

// A figure is built in order: each step adds its shape to what is there or cuts it away, so a
// counter is cut out of a bowl and a stem added afterwards survives the cut.
class Figure {
public:
    Figure& add(Shape s) {
        steps_.push_back({true, std::move(s)});
        return *this;
    }
    Figure& cut(Shape s) {
        steps_.push_back({false, std::move(s)});
        return *this;
    }
    bool contains(Point p) const {
        bool in = false;
        for (const Step& st : steps_) {
            if (st.add ? !in : in) {
                if (art::contains(st.shape, p)) in = st.add;
            }
        }
        return in;
    }
    Box bounds() const {
        Box b{1e9, 1e9, -1e9, -1e9};
        for (const Step& st : steps_) {
            if (!st.add) continue;
            Box s = art::bounds(st.shape);
            b = {std::min(b.x0, s.x0), std::min(b.y0, s.y0), std::max(b.x1, s.x1), std::max(b.y1, s.y1)};
        }
        return b;
    }

private:
    struct Step {
        bool add;
        Shape shape;
    };
    std::vector<Step> steps_;
};

// A figure set down on the image: image point (x, y) is figure point
// ((x - origin.x) / scale, (y - origin.y) / scale), with y negated for figures drawn y-up.
struct Placed {
    const Figure* figure;
    Point origin;
    double scale;
    bool yUp;

    Point toFigure(Point p) const {
        double fx = (p.x - origin.x) / scale, fy = (p.y - origin.y) / scale;
        return {fx, yUp ? -fy : fy};
    }
    Box imageBounds() const {
        Box b = figure->bounds();
        double ya = yUp ? -b.y1 : b.y0, yb = yUp ? -b.y0 : b.y1;
        return {origin.x + b.x0 * scale, origin.y + ya * scale, origin.x + b.x1 * scale,
                origin.y + yb * scale};
    }
};

// A colour with straight alpha, each channel 0..255.
struct Colour {
    double r;
    double g;
    double b;
    double a = 255;
};

inline Colour mix(Colour from, Colour to, double t) {
    return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
            from.a + (to.a - from.a) * t};
}

// An RGBA image kept premultiplied, painted by coverage with the "over" operator.
class Canvas {
public:
    static constexpr int kSub = 16;  // samples per pixel along each axis

    // A new canvas is fully transparent.
    Canvas(int width, int height) : w_(width), h_(height), px_(size_t(width) * height, Colour{0, 0, 0, 0}) {}

    int width() const { return w_; }
    int height() const { return h_; }

    // Paints the union of the placed figures, so shapes that touch leave no seam between them.
    void paint(const std::vector<Placed>& layer, Colour c, double opacity = 1.0) {
        Box area{1e9, 1e9, -1e9, -1e9};
        for (const Placed& pl : layer) {
            Box b = pl.imageBounds();
            area = {std::min(area.x0, b.x0), std::min(area.y0, b.y0), std::max(area.x1, b.x1),
                    std::max(area.y1, b.y1)};
        }
        int x0 = std::max(0, int(area.x0) - 1), y0 = std::max(0, int(area.y0) - 1);
        int x1 = std::min(w_, int(area.x1) + 2), y1 = std::min(h_, int(area.y1) + 2);
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                double cover = coverage(layer, x, y);
                if (cover > 0) blend(x, y, c, cover * opacity);
            }
        }
    }
    void paint(const Figure& f, Point origin, Colour c, double opacity = 1.0, bool yUp = false) {
        paint({Placed{&f, origin, 1.0, yUp}}, c, opacity);
    }

    // The straight-alpha colour of a pixel.
    Colour at(int x, int y) const {
        const Colour& p = px_[size_t(y) * w_ + x];
        if (p.a <= 0) return {0, 0, 0, 0};
        double k = 255.0 / p.a;
        return {p.r * k, p.g * k, p.b * k, p.a};
    }

private:
    static double coverage(const std::vector<Placed>& layer, int x, int y) {
        int hits = 0;
        for (int sy = 0; sy < kSub; ++sy) {
            for (int sx = 0; sx < kSub; ++sx) {
                Point p{x + (sx + 0.5) / kSub, y + (sy + 0.5) / kSub};
                for (const Placed& pl : layer) {
                    if (pl.figure->contains(pl.toFigure(p))) {
                        ++hits;
                        break;
                    }
                }
            }
        }
        return double(hits) / (kSub * kSub);
    }
    void blend(int x, int y, Colour c, double alpha) {
        Colour& d = px_[size_t(y) * w_ + x];
        double a = alpha * c.a / 255.0;
        d = {c.r * a + d.r * (1 - a), c.g * a + d.g * (1 - a), c.b * a + d.b * (1 - a),
             255.0 * a + d.a * (1 - a)};
    }

    int w_;
    int h_;
    std::vector<Colour> px_;  // premultiplied
};

inline std::uint8_t toByte(double v) {
    return std::uint8_t(std::clamp(v + 0.5, 0.0, 255.0));
}

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
inline void curveTo(std::vector<Point>& pts, Point c, Point to, int steps = 12) {
    Point from = pts.back();
    for (int i = 1; i <= steps; ++i) {
        double t = double(i) / steps, u = 1 - t;
        pts.push_back({u * u * from.x + 2 * u * t * c.x + t * t * to.x,
                       u * u * from.y + 2 * u * t * c.y + t * t * to.y});
    }
}

}  // namespace art
