#include "renderer.h"

#include "aci.h"

#include <QBuffer>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>

#include <algorithm>
#include <array>
#include <vector>

namespace quarvel {

QRectF slideRect(const SlideHeader &header, const QRectF &target)
{
    const double aspect = header.drawingAspect();
    double w = target.width();
    double h = target.height();
    if (w <= 0 || h <= 0)
        return {target.topLeft(), QSizeF(0, 0)};
    if (w / h > aspect)
        w = h * aspect;
    else
        h = w / aspect;
    return {target.x() + (target.width() - w) / 2, target.y() + (target.height() - h) / 2, w, h};
}

QTransform slideTransform(const SlideHeader &header, const QRectF &target)
{
    const QRectF area = slideRect(header, target);
    QTransform t;
    t.translate(area.left(), area.bottom());
    t.scale(area.width() / (header.highX + 1.0), -area.height() / (header.highY + 1.0));
    t.translate(0.5, 0.5);
    return t;
}

namespace {

using Palette = std::array<QRgb, 256>;

Palette paletteOn(QColor background)
{
    Palette p;
    for (int i = 0; i < 256; ++i)
        p[i] = aciColorOn(i, background);
    return p;
}

// Adjacent fills of one colour are filled as one path: real slides tile
// areas with thousands of small triangles, and a path of a few dozen is much
// cheaper to fill than as many polygons (and than one path of thousands,
// whose rasterizing grows faster than its size). The outlines are stroked
// too, which closes the hairline seams that filling alone leaves between
// neighbours.
constexpr std::size_t kPolygonsPerPath = 64;

// Copies the polygon to v without repeated vertices (AutoCAD closes each fill
// by repeating its last one) and, when every turn goes the same way, adds it
// to path turned counter-clockwise. Such polygons wind the same way
// everywhere, so overlapping neighbours in one path never cancel under the
// winding rule. Returns false, adding nothing, for any other polygon (a
// bow-tie has lobes of both windings): it must be filled on its own.
bool addToPath(QPainterPath &path, const QPoint *pts, std::uint32_t n, std::vector<QPoint> &v)
{
    v.clear();
    for (std::uint32_t i = 0; i < n; ++i) {
        if (v.empty() || pts[i] != v.back())
            v.push_back(pts[i]);
    }
    while (v.size() > 1 && v.back() == v.front())
        v.pop_back();
    if (v.empty())
        return true;
    bool left = false;
    bool right = false;
    const std::size_t m = v.size();
    for (std::size_t i = 0; i < m; ++i) {
        const QPoint a = v[(i + 1) % m] - v[i];
        const QPoint b = v[(i + 2) % m] - v[(i + 1) % m];
        const long long turn = static_cast<long long>(a.x()) * b.y() - static_cast<long long>(a.y()) * b.x();
        left |= turn > 0;
        right |= turn < 0;
    }
    if (left && right)
        return false;
    if (right)
        std::reverse(v.begin(), v.end());
    path.moveTo(v[0]);
    for (std::size_t i = 1; i < m; ++i)
        path.lineTo(v[i]);
    path.closeSubpath();
    return true;
}

} // namespace

void renderSlide(QPainter &painter, const SlideHeader &header, const SlideDrawing &drawing,
                 const QRectF &target, QColor background, RenderOptions options)
{
    painter.save();
    painter.fillRect(target, background);
    const QRectF area = slideRect(header, target);
    if (drawing.isEmpty() || area.isEmpty()) {
        painter.restore();
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing, options.antialiasing);
    // Whole pixels: an edge pixel that the slide's rectangle only partly
    // covers still shows the vectors on the slide's edge.
    painter.setClipRect(area.toAlignedRect(), Qt::IntersectClip);
    painter.setTransform(slideTransform(header, target), true);

    const Palette palette = paletteOn(background);
    QPen pen(QColor(palette[7]), 0);
    pen.setCosmetic(true);
    painter.setBrush(Qt::NoBrush);

    const auto &batches = drawing.batches;
    std::vector<QPoint> scratch;
    // Half a device pixel back makes aliased dots light the pixel they fall in.
    std::vector<QPointF> dots;
    const QTransform device = painter.deviceTransform();
    const QPointF dotShift = options.antialiasing || device.m11() == 0 || device.m22() == 0
                                 ? QPointF(0, 0)
                                 : QPointF(-0.5 / device.m11(), -0.5 / device.m22());
    int penColor = -1;
    auto usePen = [&](int color) {
        if (color != penColor) {
            penColor = color;
            pen.setColor(QColor(palette[color]));
            painter.setPen(pen);
        }
    };
    for (std::size_t i = 0; i < batches.size();) {
        const SlideDrawing::Batch &b = batches[i];
        if (b.kind == SlideDrawing::Kind::Lines) {
            usePen(b.color);
            // Vectors of no length are dots (points, dotted line types). Qt
            // draws them as points, which light the pixel nearest to a point
            // where lines light the pixel the point falls in: they go apart.
            const QLine *run = drawing.lines.data() + b.first;
            const QLine *end = run + b.count;
            dots.clear();
            for (const QLine *line = run; line != end; ++line) {
                if (line->p1() == line->p2()) {
                    painter.drawLines(run, static_cast<int>(line - run));
                    run = line + 1;
                    dots.push_back(QPointF(line->p1()) + dotShift);
                }
            }
            painter.drawLines(run, static_cast<int>(end - run));
            if (!dots.empty())
                painter.drawPoints(dots.data(), static_cast<int>(dots.size()));
            ++i;
            continue;
        }
        usePen(b.color);
        painter.setBrush(QColor(palette[b.color]));
        QPainterPath path;
        path.setFillRule(Qt::WindingFill);
        std::size_t j = i;
        for (; j < batches.size() && batches[j].kind == SlideDrawing::Kind::Polygon
               && batches[j].color == b.color && j - i < kPolygonsPerPath;
             ++j) {
            // All of one colour: the order of drawing makes no difference.
            if (!addToPath(path, drawing.points.data() + batches[j].first, batches[j].count, scratch))
                painter.drawPolygon(scratch.data(), static_cast<int>(scratch.size()), Qt::WindingFill);
        }
        painter.drawPath(path);
        painter.setBrush(Qt::NoBrush);
        i = j;
    }
    painter.restore();
}

QImage renderToImage(const SlideHeader &header, const SlideDrawing &drawing, QSize size,
                     QColor background, RenderOptions options)
{
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    renderSlide(painter, header, drawing, QRectF(QPointF(0, 0), QSizeF(size)), background, options);
    return image;
}

bool renderToSvg(QIODevice *device, const SlideHeader &header, const SlideDrawing &drawing,
                 QSize size, QColor background)
{
    QSvgGenerator svg;
    svg.setOutputDevice(device);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    // No text is drawn, but the generator writes the font into every group,
    // and without an application object its size is -1, which readers reject.
    QFont font;
    font.setPointSize(10);
    painter.setFont(font);
    renderSlide(painter, header, drawing, QRectF(QPointF(0, 0), QSizeF(size)), background,
                {.antialiasing = true});
    return painter.end();
}

QByteArray renderToSvg(const SlideHeader &header, const SlideDrawing &drawing, QSize size,
                       QColor background)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    renderToSvg(&buffer, header, drawing, size, background);
    return bytes;
}

} // namespace quarvel
