#include "raster.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

namespace quarvel::core {

RectF slideRect(const SlideHeader &header, const RectF &target)
{
    const double aspect = header.drawingAspect();
    double w = target.width;
    double h = target.height;
    if (!(w > 0) || !(h > 0))
        return {target.x, target.y, 0, 0};
    if (w / h > aspect)
        w = h * aspect;
    else
        h = w / aspect;
    return {target.x + (target.width - w) / 2, target.y + (target.height - h) / 2, w, h};
}

SlideMapping slideMapping(const SlideHeader &header, const RectF &target)
{
    const RectF area = slideRect(header, target);
    SlideMapping m;
    m.sx = area.width / (header.highX + 1.0);
    m.sy = -area.height / (header.highY + 1.0);
    m.dx = area.x + 0.5 * m.sx;
    m.dy = area.y + area.height + 0.5 * m.sy;
    return m;
}

namespace {

// Device coordinates are kept within +-1e9 (see clampCoordinate), so they
// convert to int; these are much cheaper than std::floor and std::ceil on
// processors without a rounding instruction in the baseline.
int floorInt(double v)
{
    const int i = static_cast<int>(v);
    return i - (v < i);
}
int ceilInt(double v) { return -floorInt(-v); }

struct DevicePoint
{
    double x;
    double y;
};

class Rasterizer
{
public:
    Rasterizer(PixelRows rows, int left, int top, int right, int bottom)
        : mRows(rows), mLeft(left), mTop(top), mRight(right), mBottom(bottom)
    {
    }

    void setColor(std::uint8_t entry) { mColor = entry; }

    // A one-pixel line from the pixel a falls in to the pixel b falls in,
    // both lit, clipped to the clip rectangle.
    void line(DevicePoint a, DevicePoint b)
    {
        if (!inside(a) || !inside(b)) {
            if (!clip(a, b))
                return;
        }
        const int x0 = pixel(a.x, mLeft, mRight);
        const int y0 = pixel(a.y, mTop, mBottom);
        const int x1 = pixel(b.x, mLeft, mRight);
        const int y1 = pixel(b.y, mTop, mBottom);
        const std::uint8_t c = mColor;
        if (y0 == y1) {
            std::memset(at(std::min(x0, x1), y0), c, static_cast<std::size_t>(std::abs(x1 - x0)) + 1);
            return;
        }
        const int dx = std::abs(x1 - x0);
        const int dy = std::abs(y1 - y0);
        const int stepX = x0 < x1 ? 1 : -1;
        const std::ptrdiff_t stepY = y0 < y1 ? mRows.stride : -mRows.stride;
        std::uint8_t *p = at(x0, y0);
        if (dx == 0) {
            for (int i = 0; i <= dy; ++i, p += stepY)
                *p = c;
            return;
        }
        // Along the major axis one pixel a step; the minor offset is a 32.32
        // fixed-point count started just under one half, which picks exactly
        // the pixels Bresenham's error term picks (ties go back), without its
        // branch: on steep random slopes that branch is mispredicted half of
        // the time and cost more than the pixels.
        const int major = std::max(dx, dy);
        const std::ptrdiff_t majorStep = dx >= dy ? stepX : stepY;
        const std::ptrdiff_t minorStep = dx >= dy ? stepY : stepX;
        const std::uint64_t slope = (std::uint64_t(std::min(dx, dy)) << 32) / std::uint64_t(major);
        std::uint64_t minor = (std::uint64_t(1) << 31) - 1;
        for (int i = 0; i <= major; ++i) {
            p[minorStep * static_cast<std::ptrdiff_t>(minor >> 32)] = c;
            p += majorStep;
            minor += slope;
        }
    }

    // Fills the polygon with the non-zero rule: a pixel is filled when its
    // centre lies inside.
    void fill(const std::vector<DevicePoint> &v)
    {
        const std::size_t n = v.size();
        if (n < 3)
            return;
        double minY = v[0].y;
        double maxY = v[0].y;
        for (const DevicePoint &p : v) {
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }
        // Rows whose centre line y + 0.5 lies in [minY, maxY).
        const int first = std::max(mTop, ceilInt(minY - 0.5));
        const int last = std::min(mBottom - 1, ceilInt(maxY - 0.5) - 1);
        for (int y = first; y <= last; ++y) {
            const double yc = y + 0.5;
            mCrossings.clear();
            for (std::size_t i = 0; i < n; ++i) {
                const DevicePoint &a = v[i];
                const DevicePoint &b = v[i + 1 == n ? 0 : i + 1];
                if (a.y <= yc && yc < b.y)
                    mCrossings.push_back({a.x + (yc - a.y) * (b.x - a.x) / (b.y - a.y), 1});
                else if (b.y <= yc && yc < a.y)
                    mCrossings.push_back({a.x + (yc - a.y) * (b.x - a.x) / (b.y - a.y), -1});
            }
            if (mCrossings.size() < 2)
                continue;
            std::sort(mCrossings.begin(), mCrossings.end(),
                      [](const Crossing &p, const Crossing &q) { return p.x < q.x; });
            int winding = 0;
            for (std::size_t i = 0; i + 1 < mCrossings.size(); ++i) {
                winding += mCrossings[i].dir;
                if (winding != 0)
                    span(y, mCrossings[i].x, mCrossings[i + 1].x);
            }
        }
    }

private:
    struct Crossing
    {
        double x;
        int dir;
    };

    std::uint8_t *at(int x, int y) const { return mRows.bits + static_cast<std::ptrdiff_t>(y) * mRows.stride + x; }

    bool inside(DevicePoint p) const { return p.x >= mLeft && p.x < mRight && p.y >= mTop && p.y < mBottom; }

    static int pixel(double v, int low, int high) { return std::clamp(floorInt(v), low, high - 1); }

    // Pixels whose centre lies in [x0, x1) on row y.
    void span(int y, double x0, double x1)
    {
        const int from = std::max(mLeft, ceilInt(x0 - 0.5));
        const int to = std::min(mRight, ceilInt(x1 - 0.5));
        if (from < to)
            std::memset(at(from, y), mColor, static_cast<std::size_t>(to - from));
    }

    // Liang-Barsky against the clip rectangle; false when nothing is left.
    bool clip(DevicePoint &a, DevicePoint &b) const
    {
        const double dx = b.x - a.x;
        const double dy = b.y - a.y;
        double t0 = 0;
        double t1 = 1;
        const auto edge = [&](double p, double q) {
            if (p == 0)
                return q >= 0;
            const double r = q / p;
            if (p < 0) {
                if (r > t1)
                    return false;
                t0 = std::max(t0, r);
            } else {
                if (r < t0)
                    return false;
                t1 = std::min(t1, r);
            }
            return true;
        };
        if (!std::isfinite(dx) || !std::isfinite(dy))
            return false;
        if (!edge(-dx, a.x - mLeft) || !edge(dx, mRight - a.x) || !edge(-dy, a.y - mTop)
            || !edge(dy, mBottom - a.y))
            return false;
        const DevicePoint start = a;
        if (t0 > 0)
            a = {start.x + t0 * dx, start.y + t0 * dy};
        if (t1 < 1)
            b = {start.x + t1 * dx, start.y + t1 * dy};
        return true;
    }

    PixelRows mRows;
    int mLeft;
    int mTop;
    int mRight;    // exclusive
    int mBottom;   // exclusive
    std::uint8_t mColor = 0;
    std::vector<Crossing> mCrossings;
};

// Colour index -> palette entry, entries made as colours are first drawn.
class PaletteBuilder
{
public:
    PaletteBuilder(Rgb background, std::vector<Rgb> &palette)
        : mBackground(background), mPalette(palette)
    {
        mEntry.fill(-1);
        mPalette.assign(1, background);
    }

    std::uint8_t entry(std::uint8_t color)
    {
        if (mEntry[color] < 0) {
            const Rgb rgb = aciColorOn(color, mBackground);
            // Entry 0 stays the background's alone, so that a transparent
            // background never takes a slide colour of the same value along.
            const auto found = std::find(mPalette.begin() + 1, mPalette.end(), rgb);
            mEntry[color] = static_cast<std::int16_t>(found - mPalette.begin());
            if (found == mPalette.end())
                mPalette.push_back(rgb);
        }
        return static_cast<std::uint8_t>(mEntry[color]);
    }

private:
    Rgb mBackground;
    std::vector<Rgb> &mPalette;
    std::array<std::int16_t, 256> mEntry;
};

double clampCoordinate(double v)
{
    // Far outside any image, and safe to convert and subtract; never NaN.
    constexpr double kLimit = 1e9;
    if (!(v >= -kLimit))
        return -kLimit;
    return std::min(v, kLimit);
}

} // namespace

void drawSlide(const SlideHeader &header, const SlideDrawing &drawing, PixelRows rows, const RectF &target,
               Rgb background, std::vector<Rgb> &palette)
{
    PaletteBuilder colours(background, palette);
    if (rows.width <= 0 || rows.height <= 0 || rows.bits == nullptr)
        return;
    for (int y = 0; y < rows.height; ++y)
        std::memset(rows.bits + static_cast<std::ptrdiff_t>(y) * rows.stride, 0, static_cast<std::size_t>(rows.width));
    const RectF area = slideRect(header, target);
    if (drawing.isEmpty() || !(area.width > 0) || !(area.height > 0))
        return;
    // Whole pixels: an edge pixel that the slide's rectangle only partly
    // covers still shows the vectors on the slide's edge.
    const auto bound = [](double v, int limit) {
        return static_cast<int>(std::clamp(v, 0.0, static_cast<double>(limit)));
    };
    const int left = bound(std::floor(area.x), rows.width);
    const int top = bound(std::floor(area.y), rows.height);
    const int right = bound(std::ceil(area.x + area.width), rows.width);
    const int bottom = bound(std::ceil(area.y + area.height), rows.height);
    if (left >= right || top >= bottom)
        return;

    const SlideMapping m = slideMapping(header, target);
    const auto map = [&m](const Point &p) {
        return DevicePoint{clampCoordinate(m.mapX(p.x)), clampCoordinate(m.mapY(p.y))};
    };
    Rasterizer r(rows, left, top, right, bottom);
    std::vector<DevicePoint> polygon;
    for (const SlideDrawing::Batch &b : drawing.batches) {
        r.setColor(colours.entry(b.color));
        if (b.kind == SlideDrawing::Kind::Lines) {
            const Line *line = drawing.lines.data() + b.first;
            for (const Line *end = line + b.count; line != end; ++line)
                r.line(map(line->a), map(line->b));
            continue;
        }
        polygon.clear();
        const Point *p = drawing.points.data() + b.first;
        for (std::uint32_t i = 0; i < b.count; ++i) {
            const DevicePoint d = map(p[i]);
            if (polygon.empty() || d.x != polygon.back().x || d.y != polygon.back().y)
                polygon.push_back(d);
        }
        r.fill(polygon);
        // The outline closes the seams between neighbouring fills.
        for (std::size_t i = 0; i < polygon.size(); ++i)
            r.line(polygon[i], polygon[i + 1 == polygon.size() ? 0 : i + 1]);
    }
}

PaletteImage rasterize(const SlideHeader &header, const SlideDrawing &drawing, int width, int height,
                       Rgb background)
{
    PaletteImage image;
    image.width = std::max(0, width);
    image.height = std::max(0, height);
    image.stride = static_cast<std::size_t>(image.width);
    if (image.height > 0 && image.stride > std::numeric_limits<std::size_t>::max() / 2 / image.height)
        throw std::bad_alloc();
    image.pixels.resize(image.stride * image.height);
    drawSlide(header, drawing,
              {image.pixels.data(), image.width, image.height, static_cast<std::ptrdiff_t>(image.stride)},
              {0, 0, static_cast<double>(image.width), static_cast<double>(image.height)}, background,
              image.palette);
    return image;
}

} // namespace quarvel::core
