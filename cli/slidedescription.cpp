#include "slidedescription.h"

#include "coreerror.h"
#include "slidewriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <optional>
#include <vector>

namespace quarvel::cli {

namespace {

using core::Point;
using Words = std::vector<std::string>;

// Thrown inside the parser; turned into a core::Error with the line number.
struct LineError
{
    std::string what;
};

Point operator+(Point a, Point b)
{
    return {a.x + b.x, a.y + b.y};
}

class Builder
{
public:
    void statement(const Words &words);
    std::string finish();

private:
    int integer(const std::string &word, int low, int high) const;
    double real(const std::string &word) const;
    void expectCount(const Words &words, std::size_t count, const char *form) const;
    std::vector<Point> points(const Words &words, std::size_t minimum) const;
    Point point(const std::string &x, const std::string &y) const;
    core::SlideWriter &writer();
    void requireSize() const;

    void chain(const std::vector<Point> &pts);
    void arcPoints(std::vector<Point> &out, Point centre, int radius, double from, double to) const;
    void checkInside(Point p) const;

    int mWidth = 0;
    int mHeight = 0;
    double mAspect = 0.0;
    std::optional<core::SlideWriter> mWriter;
    Point mLast{0, 0};   // the reader's last point after what was written
};

int Builder::integer(const std::string &word, int low, int high) const
{
    int v = 0;
    const char *first = word.data() + (word.starts_with('+') ? 1 : 0);
    const auto [end, ec] = std::from_chars(first, word.data() + word.size(), v);
    if (ec != std::errc() || end != word.data() + word.size())
        throw LineError{"\"" + word + "\" is not a whole number"};
    if (v < low || v > high)
        throw LineError{std::to_string(v) + " lies outside " + std::to_string(low) + ".." + std::to_string(high)};
    return v;
}

double Builder::real(const std::string &word) const
{
    // A decimal point whatever the user's locale says.
    double v = 0;
    const char *first = word.data() + (word.starts_with('+') ? 1 : 0);
    const auto [end, ec] = std::from_chars(first, word.data() + word.size(), v);
    if (ec != std::errc() || end != word.data() + word.size() || !std::isfinite(v))
        throw LineError{"\"" + word + "\" is not a number"};
    return v;
}

void Builder::expectCount(const Words &words, std::size_t count, const char *form) const
{
    if (words.size() != count)
        throw LineError{std::string("expected \"") + form + "\""};
}

void Builder::checkInside(Point p) const
{
    if (p.x < 0 || p.y < 0 || p.x >= mWidth || p.y >= mHeight) {
        throw LineError{"point (" + std::to_string(p.x) + ", " + std::to_string(p.y) + ") lies outside the "
                        + std::to_string(mWidth) + " x " + std::to_string(mHeight) + " drawing area"};
    }
}

Point Builder::point(const std::string &x, const std::string &y) const
{
    requireSize();
    const Point p{integer(x, -32768, 32767), integer(y, -32768, 32767)};
    checkInside(p);
    return p;
}

std::vector<Point> Builder::points(const Words &words, std::size_t minimum) const
{
    const std::size_t numbers = words.size() - 1;
    if (numbers % 2 != 0 || numbers / 2 < minimum) {
        throw LineError{"\"" + words[0] + "\" needs at least " + std::to_string(minimum)
                        + " points given as X Y pairs"};
    }
    std::vector<Point> out;
    for (std::size_t i = 1; i < words.size(); i += 2)
        out.push_back(point(words[i], words[i + 1]));
    return out;
}

void Builder::requireSize() const
{
    if (mWidth == 0)
        throw LineError{"\"size W H\" must come before anything is drawn"};
}

core::SlideWriter &Builder::writer()
{
    requireSize();
    if (!mWriter)
        mWriter.emplace(mWidth - 1, mHeight - 1, mAspect);
    return *mWriter;
}

void Builder::chain(const std::vector<Point> &pts)
{
    core::SlideWriter &w = writer();
    auto fits = [](int d) { return d >= -128 && d <= 127; };
    // A vector leaves its from point behind, so the first segment goes
    // backwards; the reader then stands on pts[1], ready for the next one.
    w.vector(pts[1].x, pts[1].y, pts[0].x, pts[0].y);
    for (std::size_t k = 2; k < pts.size(); ++k) {
        const int dx = pts[k].x - pts[k - 1].x;
        const int dy = pts[k].y - pts[k - 1].y;
        if (fits(dx) && fits(dy))
            w.commonEndpoint(dx, dy);
        else
            w.vector(pts[k].x, pts[k].y, pts[k - 1].x, pts[k - 1].y);
    }
    mLast = pts.back();
}

void Builder::arcPoints(std::vector<Point> &out, Point centre, int radius, double from, double to) const
{
    // Segments of about 4 dots, and at least 8 to a full turn.
    const double start = from * std::numbers::pi / 180.0;
    const double sweep = (to - from) * std::numbers::pi / 180.0;
    const int steps = std::max({2, static_cast<int>(std::ceil(8 * sweep / (2 * std::numbers::pi))),
                                static_cast<int>(std::ceil(sweep * radius / 4.0))});
    for (int i = 0; i <= steps; ++i) {
        const double t = start + sweep * i / steps;
        const Point p{centre.x + static_cast<int>(std::lround(radius * std::cos(t))),
                      centre.y + static_cast<int>(std::lround(radius * std::sin(t)))};
        checkInside(p);
        if (out.empty() || !(out.back() == p))
            out.push_back(p);
    }
}

void Builder::statement(const Words &words)
{
    const std::string &op = words[0];
    if (op == "size") {
        expectCount(words, 3, "size W H");
        if (mWriter)
            throw LineError{"\"size\" must come before anything is drawn"};
        mWidth = integer(words[1], 1, 32768);
        mHeight = integer(words[2], 1, 32768);
    } else if (op == "aspect") {
        expectCount(words, 2, "aspect A");
        if (mWriter)
            throw LineError{"\"aspect\" must come before anything is drawn"};
        mAspect = real(words[1]);
        if (mAspect < 0.05 || mAspect > 20.0)
            throw LineError{"aspect " + words[1] + " lies outside 0.05..20"};
    } else if (op == "color") {
        expectCount(words, 2, "color N");
        writer().color(integer(words[1], 0, 255));
    } else if (op == "line") {
        expectCount(words, 5, "line X1 Y1 X2 Y2");
        const Point a = point(words[1], words[2]);
        const Point b = point(words[3], words[4]);
        writer().vector(a.x, a.y, b.x, b.y);
        mLast = a;
    } else if (op == "polyline") {
        chain(points(words, 2));
    } else if (op == "polygon") {
        std::vector<Point> pts = points(words, 3);
        pts.push_back(pts.front());
        chain(pts);
    } else if (op == "rect") {
        expectCount(words, 5, "rect X Y W H");
        const Point a = point(words[1], words[2]);
        const Point b{a.x + integer(words[3], 1, 32767), a.y + integer(words[4], 1, 32767)};
        checkInside(b);
        chain({a, {b.x, a.y}, b, {a.x, b.y}, a});
    } else if (op == "fill") {
        const std::vector<Point> pts = points(words, 3);
        writer().fill(pts);
    } else if (op == "circle" || op == "disc") {
        expectCount(words, 4, "circle CX CY R");
        const Point c = point(words[1], words[2]);
        const int r = integer(words[3], 1, 16384);
        std::vector<Point> pts;
        arcPoints(pts, c, r, 0.0, 360.0);
        if (pts.size() > 1 && pts.back() == pts.front())
            pts.pop_back();
        if (op == "disc") {
            writer().fill(pts);
        } else {
            pts.push_back(pts.front());
            chain(pts);
        }
    } else if (op == "arc") {
        expectCount(words, 6, "arc CX CY R FROM TO");
        const Point c = point(words[1], words[2]);
        const int r = integer(words[3], 1, 16384);
        const double from = real(words[4]);
        double to = real(words[5]);
        if (to <= from)
            to += 360.0 * std::ceil((from - to) / 360.0 + 1e-12);
        if (to <= from)
            to += 360.0;
        std::vector<Point> pts;
        arcPoints(pts, c, r, from, to);
        if (pts.size() >= 2)
            chain(pts);
    } else if (op == "offset") {
        expectCount(words, 5, "offset DX1 DY1 DX2 DY2");
        const int d[4] = {integer(words[1], -128, 127), integer(words[2], -128, 127), integer(words[3], -128, 127),
                          integer(words[4], -128, 127)};
        const Point from = mLast + Point{d[0], d[1]};
        checkInside(from);
        checkInside(mLast + Point{d[2], d[3]});
        writer().offsetVector(d[0], d[1], d[2], d[3]);
        mLast = from;
    } else if (op == "endpoint") {
        expectCount(words, 3, "endpoint DX DY");
        const Point d{integer(words[1], -128, 127), integer(words[2], -128, 127)};
        checkInside(mLast + d);
        writer().commonEndpoint(d.x, d.y);
        mLast = mLast + d;
    } else {
        throw LineError{"unknown statement \"" + op + "\""};
    }
}

std::string Builder::finish()
{
    return writer().finish();
}

Words splitWords(const std::string &line)
{
    Words words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i])))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i])))
            ++i;
        if (i > start)
            words.push_back(line.substr(start, i - start));
    }
    return words;
}

} // namespace

std::string slideFromDescription(const std::string &text, const std::string &source)
{
    Builder builder;
    std::size_t lineNumber = 0;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        ++lineNumber;
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        const Words words = splitWords(line.substr(0, line.find('#')));
        if (words.empty())
            continue;
        try {
            builder.statement(words);
        } catch (const LineError &e) {
            throw core::Error(source, core::Reason::Other, "line " + std::to_string(lineNumber) + ": " + e.what);
        }
    }
    try {
        return builder.finish();
    } catch (const LineError &e) {
        throw core::Error(source, core::Reason::Other, e.what);
    }
}

} // namespace quarvel::cli
