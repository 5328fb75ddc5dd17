#include "slidedescription.h"

#include "slideerror.h"
#include "slidewriter.h"

#include <QPoint>
#include <QStringList>

#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

namespace quarvel::cli {

namespace {

// Thrown inside the parser; turned into a SlideError with the line number.
struct LineError
{
    QString what;
};

class Builder
{
public:
    void statement(const QStringList &words);
    QByteArray finish();

private:
    int integer(const QString &word, int low, int high) const;
    double real(const QString &word) const;
    void expectCount(const QStringList &words, int count, const char *form) const;
    std::vector<QPoint> points(const QStringList &words, int minimum) const;
    QPoint point(const QString &x, const QString &y) const;
    SlideWriter &writer();
    void requireSize() const;

    void chain(const std::vector<QPoint> &pts);
    void arcPoints(std::vector<QPoint> &out, QPoint centre, int radius, double from, double to) const;
    void checkInside(QPoint p) const;

    int mWidth = 0;
    int mHeight = 0;
    double mAspect = 0.0;
    std::optional<SlideWriter> mWriter;
    QPoint mLast{0, 0};   // the reader's last point after what was written
};

int Builder::integer(const QString &word, int low, int high) const
{
    bool ok = false;
    const int v = word.toInt(&ok);
    if (!ok)
        throw LineError{QStringLiteral("\"%1\" is not a whole number").arg(word)};
    if (v < low || v > high)
        throw LineError{QStringLiteral("%1 lies outside %2..%3").arg(v).arg(low).arg(high)};
    return v;
}

double Builder::real(const QString &word) const
{
    bool ok = false;
    const double v = word.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        throw LineError{QStringLiteral("\"%1\" is not a number").arg(word)};
    return v;
}

void Builder::expectCount(const QStringList &words, int count, const char *form) const
{
    if (words.size() != count)
        throw LineError{QStringLiteral("expected \"%1\"").arg(QLatin1String(form))};
}

void Builder::checkInside(QPoint p) const
{
    if (p.x() < 0 || p.y() < 0 || p.x() >= mWidth || p.y() >= mHeight) {
        throw LineError{QStringLiteral("point (%1, %2) lies outside the %3 x %4 drawing area")
                            .arg(p.x()).arg(p.y()).arg(mWidth).arg(mHeight)};
    }
}

QPoint Builder::point(const QString &x, const QString &y) const
{
    requireSize();
    const QPoint p(integer(x, -32768, 32767), integer(y, -32768, 32767));
    checkInside(p);
    return p;
}

std::vector<QPoint> Builder::points(const QStringList &words, int minimum) const
{
    const qsizetype numbers = words.size() - 1;
    if (numbers % 2 != 0 || numbers / 2 < minimum)
        throw LineError{QStringLiteral("\"%1\" needs at least %2 points given as X Y pairs").arg(words[0]).arg(minimum)};
    std::vector<QPoint> out;
    for (qsizetype i = 1; i < words.size(); i += 2)
        out.push_back(point(words[i], words[i + 1]));
    return out;
}

void Builder::requireSize() const
{
    if (mWidth == 0)
        throw LineError{QStringLiteral("\"size W H\" must come before anything is drawn")};
}

SlideWriter &Builder::writer()
{
    requireSize();
    if (!mWriter)
        mWriter.emplace(mWidth - 1, mHeight - 1, mAspect);
    return *mWriter;
}

void Builder::chain(const std::vector<QPoint> &pts)
{
    SlideWriter &w = writer();
    auto fits = [](int d) { return d >= -128 && d <= 127; };
    // A vector leaves its from point behind, so the first segment goes
    // backwards; the reader then stands on pts[1], ready for the next one.
    w.vector(pts[1].x(), pts[1].y(), pts[0].x(), pts[0].y());
    for (std::size_t k = 2; k < pts.size(); ++k) {
        const QPoint d = pts[k] - pts[k - 1];
        if (fits(d.x()) && fits(d.y()))
            w.commonEndpoint(d.x(), d.y());
        else
            w.vector(pts[k].x(), pts[k].y(), pts[k - 1].x(), pts[k - 1].y());
    }
    mLast = pts.back();
}

void Builder::arcPoints(std::vector<QPoint> &out, QPoint centre, int radius, double from, double to) const
{
    // Segments of about 4 dots, and at least 8 to a full turn.
    const double start = from * std::numbers::pi / 180.0;
    const double sweep = (to - from) * std::numbers::pi / 180.0;
    const int steps = std::max({2, static_cast<int>(std::ceil(8 * sweep / (2 * std::numbers::pi))),
                                static_cast<int>(std::ceil(sweep * radius / 4.0))});
    for (int i = 0; i <= steps; ++i) {
        const double t = start + sweep * i / steps;
        const QPoint p(centre.x() + static_cast<int>(std::lround(radius * std::cos(t))),
                       centre.y() + static_cast<int>(std::lround(radius * std::sin(t))));
        checkInside(p);
        if (out.empty() || out.back() != p)
            out.push_back(p);
    }
}

void Builder::statement(const QStringList &words)
{
    const QString &op = words[0];
    if (op == QLatin1String("size")) {
        expectCount(words, 3, "size W H");
        if (mWriter)
            throw LineError{QStringLiteral("\"size\" must come before anything is drawn")};
        mWidth = integer(words[1], 1, 32768);
        mHeight = integer(words[2], 1, 32768);
    } else if (op == QLatin1String("aspect")) {
        expectCount(words, 2, "aspect A");
        if (mWriter)
            throw LineError{QStringLiteral("\"aspect\" must come before anything is drawn")};
        mAspect = real(words[1]);
        if (mAspect < 0.05 || mAspect > 20.0)
            throw LineError{QStringLiteral("aspect %1 lies outside 0.05..20").arg(mAspect)};
    } else if (op == QLatin1String("color")) {
        expectCount(words, 2, "color N");
        writer().color(integer(words[1], 0, 255));
    } else if (op == QLatin1String("line")) {
        expectCount(words, 5, "line X1 Y1 X2 Y2");
        const QPoint a = point(words[1], words[2]);
        const QPoint b = point(words[3], words[4]);
        writer().vector(a.x(), a.y(), b.x(), b.y());
        mLast = a;
    } else if (op == QLatin1String("polyline")) {
        chain(points(words, 2));
    } else if (op == QLatin1String("polygon")) {
        std::vector<QPoint> pts = points(words, 3);
        pts.push_back(pts.front());
        chain(pts);
    } else if (op == QLatin1String("rect")) {
        expectCount(words, 5, "rect X Y W H");
        const QPoint a = point(words[1], words[2]);
        const QPoint b = point(QString::number(a.x() + integer(words[3], 1, 32767)),
                               QString::number(a.y() + integer(words[4], 1, 32767)));
        chain({a, {b.x(), a.y()}, b, {a.x(), b.y()}, a});
    } else if (op == QLatin1String("fill")) {
        const std::vector<QPoint> pts = points(words, 3);
        writer().fill(pts);
    } else if (op == QLatin1String("circle") || op == QLatin1String("disc")) {
        expectCount(words, 4, "circle CX CY R");
        const QPoint c = point(words[1], words[2]);
        const int r = integer(words[3], 1, 16384);
        std::vector<QPoint> pts;
        arcPoints(pts, c, r, 0.0, 360.0);
        if (pts.size() > 1 && pts.back() == pts.front())
            pts.pop_back();
        if (op == QLatin1String("disc")) {
            writer().fill(pts);
        } else {
            pts.push_back(pts.front());
            chain(pts);
        }
    } else if (op == QLatin1String("arc")) {
        expectCount(words, 6, "arc CX CY R FROM TO");
        const QPoint c = point(words[1], words[2]);
        const int r = integer(words[3], 1, 16384);
        const double from = real(words[4]);
        double to = real(words[5]);
        while (to <= from)
            to += 360.0;
        std::vector<QPoint> pts;
        arcPoints(pts, c, r, from, to);
        if (pts.size() >= 2)
            chain(pts);
    } else if (op == QLatin1String("offset")) {
        expectCount(words, 5, "offset DX1 DY1 DX2 DY2");
        const int d[4] = {integer(words[1], -128, 127), integer(words[2], -128, 127),
                          integer(words[3], -128, 127), integer(words[4], -128, 127)};
        const QPoint from = mLast + QPoint(d[0], d[1]);
        checkInside(from);
        checkInside(mLast + QPoint(d[2], d[3]));
        writer().offsetVector(d[0], d[1], d[2], d[3]);
        mLast = from;
    } else if (op == QLatin1String("endpoint")) {
        expectCount(words, 3, "endpoint DX DY");
        const QPoint d(integer(words[1], -128, 127), integer(words[2], -128, 127));
        checkInside(mLast + d);
        writer().commonEndpoint(d.x(), d.y());
        mLast += d;
    } else {
        throw LineError{QStringLiteral("unknown statement \"%1\"").arg(op)};
    }
}

QByteArray Builder::finish()
{
    return writer().finish();
}

} // namespace

QByteArray SlideDescription::toSlide(const QString &text, const QString &source)
{
    Builder builder;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].section(QLatin1Char('#'), 0, 0).simplified();
        if (line.isEmpty())
            continue;
        try {
            builder.statement(line.split(QLatin1Char(' ')));
        } catch (const LineError &e) {
            throw SlideError(source, QStringLiteral("line %1: %2").arg(i + 1).arg(e.what));
        }
    }
    try {
        return builder.finish();
    } catch (const LineError &e) {
        throw SlideError(source, e.what);
    }
}

} // namespace quarvel::cli
