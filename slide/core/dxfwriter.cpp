#include "dxfwriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

namespace quarvel::core {

namespace {

class DxfOut
{
public:
    explicit DxfOut(Sink &out) : mOut(out) {}

    // One group: its code on a line, its value on the next.
    void text(int code, std::string_view value)
    {
        number(code);
        mOut.put('\n');
        mOut.write(value);
        mOut.put('\n');
    }
    void integer(int code, int value)
    {
        number(code);
        mOut.put('\n');
        number(value);
        mOut.put('\n');
    }
    void real(int code, double value)
    {
        number(code);
        mOut.put('\n');
        char buf[32];
        if (!std::isfinite(value))
            value = 0;
        // Slide coordinates are whole numbers; stretched ones get six decimals.
        value = std::round(value * 1e6) / 1e6;
        const auto end = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed).ptr;
        mOut.write(buf, static_cast<std::size_t>(end - buf));
        if (std::find(buf, end, '.') == end)
            mOut.write(".0", 2);
        mOut.put('\n');
    }
    void point(int code, double x, double y)
    {
        real(code, x);
        real(code + 10, y);
        real(code + 20, 0.0);
    }
    void flush() { mOut.flush(); }

private:
    void number(int v)
    {
        char buf[16];
        const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
        mOut.write(buf, static_cast<std::size_t>(end - buf));
    }

    BufferedSink mOut;
};

struct Vertex
{
    double x;
    double y;
};

// Colour 0 (ByBlock in a drawing) is drawn like 7 on a slide.
int dxfColor(std::uint8_t color) { return color == 0 ? 7 : color; }

bool isConvex(const std::vector<Point> &v)
{
    bool left = false;
    bool right = false;
    const std::size_t n = v.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Point &a = v[i];
        const Point &b = v[(i + 1) % n];
        const Point &c = v[(i + 2) % n];
        const long long turn = static_cast<long long>(b.x - a.x) * (c.y - b.y)
                               - static_cast<long long>(b.y - a.y) * (c.x - b.x);
        left |= turn > 0;
        right |= turn < 0;
    }
    if (left && right)
        return false;
    // Turning one way throughout can still wind round more than once (a
    // star); a convex polygon's edges change direction in y at most twice.
    int changes = 0;
    int last = 0;
    for (std::size_t i = 0; i <= n; ++i) {
        const int dy = v[(i + 1) % n].y - v[i % n].y;
        const int sign = (dy > 0) - (dy < 0);
        if (sign != 0) {
            changes += last != 0 && sign != last;
            last = sign;
        }
    }
    return changes <= 2;
}

} // namespace

void writeDxf(Sink &sink, const SlideHeader &header, const SlideDrawing &drawing)
{
    // Square pixels keep the slide's coordinates; others stretch x.
    const double grid = (header.highX + 1.0) / (header.highY + 1.0);
    const double aspect = header.drawingAspect();
    const double kx = std::abs(grid / aspect - 1.0) > 0.002 ? aspect / grid : 1.0;
    const auto map = [kx](const Point &p) { return Vertex{p.x * kx, static_cast<double>(p.y)}; };

    // The extents of what is drawn (the drawing area when nothing is).
    double minX = std::numeric_limits<double>::max();
    double minY = minX;
    double maxX = std::numeric_limits<double>::lowest();
    double maxY = maxX;
    const auto extend = [&](const Point &p) {
        const Vertex v = map(p);
        minX = std::min(minX, v.x);
        maxX = std::max(maxX, v.x);
        minY = std::min(minY, v.y);
        maxY = std::max(maxY, v.y);
    };
    for (const SlideDrawing::Batch &b : drawing.batches) {
        if (b.kind == SlideDrawing::Kind::Lines) {
            for (std::uint32_t i = 0; i < b.count; ++i) {
                extend(drawing.lines[b.first + i].a);
                extend(drawing.lines[b.first + i].b);
            }
        } else {
            for (std::uint32_t i = 0; i < b.count; ++i)
                extend(drawing.points[b.first + i]);
        }
    }
    if (minX > maxX) {
        minX = minY = 0;
        maxX = header.highX * kx;
        maxY = header.highY;
    }

    DxfOut out(sink);
    out.text(0, "SECTION");
    out.text(2, "HEADER");
    out.text(9, "$ACADVER");
    out.text(1, "AC1009");
    out.text(9, "$INSBASE");
    out.point(10, 0, 0);
    out.text(9, "$EXTMIN");
    out.point(10, minX, minY);
    out.text(9, "$EXTMAX");
    out.point(10, maxX, maxY);
    out.text(9, "$LIMMIN");
    out.real(10, 0);
    out.real(20, 0);
    out.text(9, "$LIMMAX");
    out.real(10, header.highX * kx);
    out.real(20, header.highY);
    out.text(0, "ENDSEC");

    out.text(0, "SECTION");
    out.text(2, "TABLES");
    out.text(0, "TABLE");
    out.text(2, "LTYPE");
    out.integer(70, 1);
    out.text(0, "LTYPE");
    out.text(2, "CONTINUOUS");
    out.integer(70, 0);
    out.text(3, "Solid line");
    out.integer(72, 65);
    out.integer(73, 0);
    out.real(40, 0);
    out.text(0, "ENDTAB");
    out.text(0, "TABLE");
    out.text(2, "LAYER");
    out.integer(70, 1);
    out.text(0, "LAYER");
    out.text(2, "0");
    out.integer(70, 0);
    out.integer(62, 7);
    out.text(6, "CONTINUOUS");
    out.text(0, "ENDTAB");
    out.text(0, "ENDSEC");

    out.text(0, "SECTION");
    out.text(2, "ENTITIES");
    const auto line = [&](int color, const Point &a, const Point &b) {
        const Vertex p = map(a);
        const Vertex q = map(b);
        out.text(0, "LINE");
        out.text(8, "0");
        out.integer(62, color);
        out.point(10, p.x, p.y);
        out.point(11, q.x, q.y);
    };
    // A SOLID's third and fourth corners go crosswise: a quadrilateral
    // a b c d is written a b d c; a triangle repeats its last corner.
    const auto solid = [&](int color, const Point &a, const Point &b, const Point &c, const Point &d) {
        out.text(0, "SOLID");
        out.text(8, "0");
        out.integer(62, color);
        const Point corners[4] = {a, b, d, c};
        for (int i = 0; i < 4; ++i) {
            const Vertex v = map(corners[i]);
            out.point(10 + i, v.x, v.y);
        }
    };
    std::vector<Point> v;
    for (const SlideDrawing::Batch &b : drawing.batches) {
        const int color = dxfColor(b.color);
        if (b.kind == SlideDrawing::Kind::Lines) {
            for (std::uint32_t i = 0; i < b.count; ++i)
                line(color, drawing.lines[b.first + i].a, drawing.lines[b.first + i].b);
            continue;
        }
        // Without repeated corners (AutoCAD closes each fill by repeating
        // its last one).
        v.clear();
        for (std::uint32_t i = 0; i < b.count; ++i) {
            const Point &p = drawing.points[b.first + i];
            if (v.empty() || v.back() != p)
                v.push_back(p);
        }
        while (v.size() > 1 && v.back() == v.front())
            v.pop_back();
        if (v.size() < 3) {
            // No area: what the slide shows of it is its outline.
            line(color, v.front(), v.back());
        } else if (v.size() == 3) {
            solid(color, v[0], v[1], v[2], v[2]);
        } else if (isConvex(v)) {
            std::size_t i = 1;
            for (; i + 2 < v.size(); i += 2)
                solid(color, v[0], v[i], v[i + 1], v[i + 2]);
            if (i + 1 < v.size())
                solid(color, v[0], v[i], v[i + 1], v[i + 1]);
        } else {
            out.text(0, "POLYLINE");
            out.text(8, "0");
            out.integer(62, color);
            out.integer(66, 1);
            out.point(10, 0, 0);
            out.integer(70, 1);   // closed
            for (const Point &p : v) {
                const Vertex m = map(p);
                out.text(0, "VERTEX");
                out.text(8, "0");
                out.integer(62, color);
                out.point(10, m.x, m.y);
            }
            out.text(0, "SEQEND");
            out.text(8, "0");
        }
    }
    out.text(0, "ENDSEC");
    out.text(0, "EOF");
    out.flush();
}

} // namespace quarvel::core
