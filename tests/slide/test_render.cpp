// Drawing slides: where lines and fills land (and where nothing may land),
// shape and letterboxing, y direction, colours against the background, the
// corpus against a painter's drawing, PNG, SVG and DXF output, and the slide
// view with the forms of its SlideFile value.

#include "aci.h"
#include "decodedslide.h"
#include "pngwriter.h"
#include "raster.h"
#include "renderer.h"
#include "slidelibrary.h"
#include "slideview.h"
#include "slidewriter.h"
#include "testdata.h"

#include <QPainter>
#ifdef QUARVEL_HAVE_QT_SVG
#include <QSvgRenderer>
#endif
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quarvel;
using test::decodeBytes;
using Points = std::vector<Point>;

namespace {

constexpr QRgb kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kYellow = 0xFFFFFF00;
constexpr QRgb kWhite = 0xFFFFFFFF, kBlack = 0xFF000000;

// Pixels of colour rgb inside region (the whole image when region is empty).
int count(const QImage &image, QRgb rgb, QRect region = {})
{
    region = region.isEmpty() ? image.rect() : region & image.rect();
    int n = 0;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        for (int x = region.left(); x <= region.right(); ++x)
            n += image.pixel(x, y) == rgb;
    }
    return n;
}

int countNot(const QImage &image, QRgb rgb, QRect region = {})
{
    region = region.isEmpty() ? image.rect() : region & image.rect();
    return region.width() * region.height() - count(image, rgb, region);
}

QImage render(const QByteArray &slide, QSize size, QColor background = Qt::black)
{
    const auto d = decodeBytes(slide);
    return renderToImage(d.header, d.drawing, size, background);
}

TEST(RenderGeometry, FitsTheSlideShapeCentred)
{
    struct Case { int highX, highY; double aspect; QRectF target, expected; };
    // An aspect that is missing or absurd falls back to square pixels.
    const Case cases[] = {
        {99, 99, 0.0, {0, 0, 200, 100}, {50, 0, 100, 100}},
        {99, 99, 50.0, {0, 0, 200, 100}, {50, 0, 100, 100}},
        {199, 99, -1.0, {0, 0, 200, 200}, {0, 50, 200, 100}},
        {99, 99, 2.0, {0, 0, 400, 400}, {0, 100, 400, 200}},   // pixels twice as wide as high
        {199, 99, 2.0, {10, 20, 400, 100}, {110, 20, 200, 100}},
        {99, 99, 0.0, {0, 0, 0, 50}, {0, 0, 0, 0}},
    };
    for (const Case &c : cases) {
        const SlideHeader h{.highX = c.highX, .highY = c.highY, .aspect = c.aspect};
        SCOPED_TRACE(testing::Message() << c.highX << " aspect " << c.aspect << " in " << c.target.width());
        // Where the cells land within it: the pixel tests below, and the
        // painter reference (drawn through slideTransform) in the corpus test.
        EXPECT_EQ(slideRect(h, c.target), c.expected);
    }
}

TEST(Render, LinesLandOnTheirPixelsInColoursThatFollowTheBackground)
{
    SlideWriter w(99, 99);   // drawn 1:1 on 100 x 100 pixels: slide (x, y) is pixel (x, 99 - y)
    w.color(1);
    w.vector(10, 10, 89, 10);
    w.color(3);
    w.vector(50, 20, 50, 80);
    w.color(5);
    w.vector(70, 70, 70, 70);   // a dot
    w.vector(0, 0, 0, 0);       // the bottom-left corner
    w.color(7);
    w.vector(10, 90, 30, 90);
    w.color(0);
    w.vector(60, 90, 80, 90);
    w.color(2);
    w.vector(10, 30, 40, 60);   // a diagonal
    const QByteArray slide = w.finish();
    // Colours 7 and 0 are white on a dark background, black on a light one.
    for (const auto &[background, fg] : {std::pair{QColor(Qt::black), kWhite}, {QColor(Qt::darkBlue), kWhite},
                                         {QColor(Qt::white), kBlack}, {QColor(255, 255, 200), kBlack}}) {
        SCOPED_TRACE(background.name().toStdString());
        const QImage img = render(slide, {100, 100}, background);
        EXPECT_EQ(count(img, kRed, {10, 89, 80, 1}), 80);
        EXPECT_EQ(count(img, kGreen, {50, 19, 1, 61}), 61);
        EXPECT_EQ(img.pixel(70, 29), kBlue);
        EXPECT_EQ(img.pixel(0, 99), kBlue);
        EXPECT_EQ(count(img, fg, {10, 9, 21, 1}) + count(img, fg, {60, 9, 21, 1}), 42);
        int diagonal = 0;
        for (int x = 10; x <= 40; ++x)
            diagonal += img.pixel(x, 99 - (x + 20)) == kYellow;
        EXPECT_EQ(diagonal, 31);
        EXPECT_EQ(count(img, background.rgb()), 100 * 100 - 80 - 61 - 2 - 42 - 31);
    }
}

// The slide's rectangle may end inside a pixel; the vectors on its edges
// still show whole, on the centres of the edge cells, and vectors running
// far outside are clipped to the rectangle, leaving the letterbox empty.
TEST(Render, EdgeVectorsShowWholeAndNothingLeavesTheSlideArea)
{
    const auto frameSlide = [](bool strays) {
        SlideWriter w(199, 99);
        w.color(7);
        w.vector(0, 0, 199, 0);
        w.vector(0, 99, 199, 99);
        w.vector(0, 0, 0, 99);
        w.vector(199, 0, 199, 99);
        if (strays) {   // running far outside the drawing area
            w.vector(100, 50, 30000, 20000);
            w.vector(100, 50, 0, -20000);
        }
        return w.finish();
    };
    const QByteArray frame = frameSlide(false), strays = frameSlide(true);
    const auto bounds = [](const QImage &img) {
        QRect r;
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x)
                r |= img.pixel(x, y) == kBlack ? QRect() : QRect(x, y, 1, 1);
        }
        return r;
    };
    for (const QSize size : {QSize(200, 200), QSize(400, 100), QSize(157, 113), QSize(301, 97), QSize(77, 200),
                             QSize(1000, 701)}) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        const QRectF area = slideRect(decodeBytes(frame).header, QRectF(QPointF(0, 0), QSizeF(size)));
        EXPECT_TRUE(area.toAlignedRect().contains(bounds(render(strays, size))));
        const QImage img = render(frame, size);
        const QRect drawn = bounds(img);
        EXPECT_GE(drawn.width(), area.width() * 199 / 200 - 1);
        EXPECT_GE(drawn.height(), area.height() * 99 / 100 - 1);
        for (const QRect edge : {QRect(drawn.left(), drawn.top(), 1, drawn.height()),
                                 QRect(drawn.right(), drawn.top(), 1, drawn.height()),
                                 QRect(drawn.left(), drawn.top(), drawn.width(), 1),
                                 QRect(drawn.left(), drawn.bottom(), drawn.width(), 1)})
            EXPECT_EQ(count(img, kWhite, edge), edge.width() * edge.height());
    }
}

// A square of 20..79 tiled with small triangles of both orientations, and
// two overlapping triangles of opposite windings on top: filled whole, at any
// scale, without seams and without one fill cancelling another.
TEST(Render, FillsCoverTheirAreaWithoutSeams)
{
    SlideWriter w(99, 99);
    w.color(3);
    for (int y = 20; y < 80; y += 6) {
        for (int x = 20; x < 80; x += 6) {
            w.fill(Points{{x, y}, {x + 6, y}, {x + 6, y + 6}});   // counter-clockwise
            w.fill(Points{{x, y}, {x, y + 6}, {x + 6, y + 6}});   // clockwise
        }
    }
    w.fill(Points{{30, 30}, {60, 30}, {45, 60}});
    w.fill(Points{{30, 50}, {45, 20}, {60, 50}});
    const QByteArray slide = w.finish();
    for (const int size : {100, 137, 411}) {
        SCOPED_TRACE(size);
        const QImage img = render(slide, {size, size}, Qt::black);
        const double s = size / 100.0;
        // Slide point (x, y) lands on ((x + 0.5) s, (99.5 - y) s).
        const QRect inside = QRectF(QPointF(20.5 * s + 1, 19.5 * s + 1), QPointF(80.5 * s - 1, 79.5 * s - 1))
                                 .toAlignedRect()
                                 .adjusted(1, 1, -1, -1);
        const QRect outside = QRectF(QPointF(19.5 * s - 1, 18.5 * s - 1), QPointF(81.5 * s + 1, 80.5 * s + 1))
                                  .toAlignedRect();
        EXPECT_EQ(count(img, kGreen, inside), inside.width() * inside.height());
        EXPECT_EQ(countNot(img, kBlack), countNot(img, kBlack, outside));
    }
}

// A reader of the SVG draws the slide's fill where the rasteriser does.
TEST(Render, SvgOutputDrawsTheSameSlide)
{
#ifndef QUARVEL_HAVE_QT_SVG
    GTEST_SKIP() << "no SVG reader in this build of Qt";
#else
    SlideWriter w(99, 99);
    w.color(3);
    w.fill(Points{{20, 60}, {80, 60}, {50, 90}});
    const auto d = decodeBytes(w.finish());
    QSvgRenderer reader(renderToSvg(d.header, d.drawing, {100, 100}, Qt::white));
    QImage img(100, 100, QImage::Format_RGB32);
    img.fill(Qt::gray);
    QPainter painter(&img);
    reader.render(&painter);
    EXPECT_EQ(img.pixel(50, 20), kGreen);
#endif
}

// The painter drawing the rasteriser replaced, kept as the reference it is
// measured against: cosmetic aliased lines, dots lit in the pixel they fall
// in, fills filled with the winding rule and outlined, clipped to the
// slide's rectangle in whole pixels.
QImage painterDrawing(const test::DecodedSlide &d, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    const QRectF target(QPointF(0, 0), QSizeF(size));
    painter.setClipRect(slideRect(d.header, target).toAlignedRect());
    const QTransform t = slideTransform(d.header, target);
    painter.setTransform(t);
    const QPointF dotShift(-0.5 / t.m11(), -0.5 / t.m22());
    QPen pen(Qt::white, 0);
    pen.setCosmetic(true);
    const auto at = [](const Point &p) { return QPointF(p.x, p.y); };
    for (const SlideDrawing::Batch &b : d.drawing.batches) {
        const QColor colour(aciColorOn(b.color, Qt::black));
        pen.setColor(colour);
        painter.setPen(pen);
        if (b.kind == SlideDrawing::Kind::Lines) {
            for (std::uint32_t i = b.first; i < b.first + b.count; ++i) {
                const Line &l = d.drawing.lines[i];
                if (l.a == l.b)
                    painter.drawPoint(at(l.a) + dotShift);
                else
                    painter.drawLine(at(l.a), at(l.b));
            }
            continue;
        }
        QPolygonF polygon;
        for (std::uint32_t i = b.first; i < b.first + b.count; ++i)
            polygon << at(d.drawing.points[i]);
        painter.setBrush(colour);
        painter.drawPolygon(polygon, Qt::WindingFill);
        painter.setBrush(Qt::NoBrush);
    }
    return image;
}

// The share of pixels drawn in either image that the other image shows in
// the same colour within one pixel.
double agreement(const QImage &a, const QImage &b)
{
    const auto matchedIn = [](const QImage &from, const QImage &in, int &drawn) {
        int matched = 0;
        for (int y = 0; y < from.height(); ++y) {
            for (int x = 0; x < from.width(); ++x) {
                const QRgb c = from.pixel(x, y);
                if (c == kBlack)
                    continue;
                ++drawn;
                bool found = false;
                for (int dy = -1; dy <= 1 && !found; ++dy) {
                    for (int dx = -1; dx <= 1 && !found; ++dx)
                        found = in.valid(x + dx, y + dy) && in.pixel(x + dx, y + dy) == c;
                }
                matched += found;
            }
        }
        return matched;
    };
    int drawn = 0;
    const int matched = matchedIn(a, b, drawn) + matchedIn(b, a, drawn);
    return drawn == 0 ? 1.0 : double(matched) / drawn;
}

// Every corpus slide, alone (at 800 x 600) or in a library (at 400 x 300):
// the rasteriser agrees with the painter on at least 98 % of the drawn
// pixels and draws nothing outside the slide's rectangle.
TEST(Render, EveryCorpusSlideLooksAsThePainterDrewIt)
{
    int slides = 0;
    for (const QString &path : test::corpusFiles("sld") + test::corpusFiles("slb")) {
        SlideLibrary lib;
        lib.setLibraryFile(path);
        const QSize size = lib.kind() == SlideLibrary::Kind::Slide ? QSize(800, 600) : QSize(400, 300);
        for (int i = 0; i < lib.slideCount(); ++i, ++slides) {
            SCOPED_TRACE(path.toStdString() + " " + std::to_string(i));
            const auto d = decodeBytes(lib.slideData(i));
            const QImage img = renderToImage(d.header, d.drawing, size, Qt::black)
                                   .convertToFormat(QImage::Format_RGB32);
            const QRect area = slideRect(d.header, QRectF(QPointF(0, 0), QSizeF(size))).toAlignedRect();
            EXPECT_EQ(countNot(img, kBlack), countNot(img, kBlack, area));
            EXPECT_GE(agreement(img, painterDrawing(d, size)), 0.98);
        }
    }
    EXPECT_GT(slides, 1000);
}

// Palettes of 2, 3, 9 and 40 entries are stored at 1, 2, 4 and 8 bits per
// pixel; an odd width leaves part of each row's last byte unused.
TEST(RenderPng, ReadsBackAsTheRasterAtEveryDepth)
{
    for (const int colours : {1, 2, 8, 39}) {
        SlideWriter w(36, 22);
        for (int i = 0; i < colours; ++i) {
            w.color(1 + 6 * i);
            w.vector(i, 0, 36 - i, 22);
        }
        const auto d = decodeBytes(w.finish());
        const core::PaletteImage raster = core::rasterize(d.header, d.drawing, 37, 23, {0, 0, 64});
        ASSERT_EQ(raster.palette.size(), std::size_t(colours) + 1);
        for (const bool transparent : {false, true}) {
            SCOPED_TRACE(testing::Message() << colours << " colours" << (transparent ? ", transparent" : ""));
            std::string png;
            core::StringSink sink(png);
            core::writePng(sink, raster, {.transparentBackground = transparent});
            const QImage back = QImage::fromData(QByteArray::fromStdString(png), "PNG")
                                    .convertToFormat(QImage::Format_ARGB32);
            ASSERT_EQ(back.size(), QSize(37, 23));
            int wrong = 0;
            for (int y = 0; y < 23; ++y) {
                for (int x = 0; x < 37; ++x) {
                    const std::uint8_t entry = raster.row(y)[x];
                    const core::Rgb c = raster.palette[entry];
                    const QRgb got = back.pixel(x, y);
                    wrong += transparent && entry == 0 ? qAlpha(got) != 0 : got != qRgb(c.r, c.g, c.b);
                }
            }
            EXPECT_EQ(wrong, 0);
        }
    }
}

// Slides of one coloured horizontal line each, at slide y = 10 (near the bottom).
QByteArray lineSlide(int color)
{
    SlideWriter w(99, 99);
    w.color(color);
    w.vector(0, 10, 99, 10);
    return w.finish();
}

// The slide view with every form of its SlideFile value, then resized and on
// another background.
TEST(SlideView, ShowsTheNamedSlideAndNothingOtherwiseAndRedraws)
{
    QTemporaryDir dir;
    const auto path = [&dir](const char *name) { return dir.filePath(QString::fromUtf8(name)); };
    ASSERT_TRUE(test::writeFile(path("one.sld"), lineSlide(1)));
    ASSERT_TRUE(test::writeFile(path("text.sld"), "not a slide"));
    // Records after a reserved record type cannot be read: only the red line shows.
    const QByteArray reserved("\x00\x90", 2);
    ASSERT_TRUE(test::writeFile(path("damaged.sld"),
                                lineSlide(1).chopped(2) + reserved + lineSlide(3).mid(kNewHeaderSize)));
    SlideLibrary library;
    const std::pair<const char *, int> slides[] = {{"ALPHA", 3}, {"BETA", 5}, {"\xC4\xC2", 2}};   // "ДВ" in 1251
    for (const auto &[name, color] : slides)
        library.addSlideData(lineSlide(color), name, QStringLiteral("test"));
    library.saveLibrary(path("lib.slb"));
    SlideView view;
    view.setNameCodec(NameCodec(1251));
    view.resize(100, 100);
    const auto shown = [&view] { return view.grab().toImage().convertToFormat(QImage::Format_RGB32); };

    struct Case { QString file; QRgb color; bool error; };   // color: the line's, or 0 for an empty view
    const QString lib = path("lib.slb");
    const Case cases[] = {
        {path("one.sld"), kRed, false},
        {lib + "(ALPHA)", kGreen, false},
        {lib + "(beta)", kBlue, false},                  // names compare without regard to case
        {lib + QString::fromUtf8("(дв)"), kYellow, false},   // in the library's code page
        {path("damaged.sld"), kRed, true},               // the records before the damage
        {lib + "(GAMMA)", 0, true},
        {lib, 0, true},                                  // a library, but no slide named
        {path("missing.sld"), 0, true},
        {path("text.sld"), 0, true},
        {dir.path(), 0, true},
        {QString(), 0, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        view.setSlideFile(lib + "(ALPHA)");
        EXPECT_NO_THROW(view.setSlideFile(c.file));
        EXPECT_EQ(view.slideFile(), c.file);
        EXPECT_EQ(view.hasSlide(), c.color != 0);
        EXPECT_EQ(!view.lastError().isEmpty(), c.error) << view.lastError().toStdString();
        const QImage img = shown();
        EXPECT_EQ(countNot(img, kBlack), c.color ? 100 : 0);
        EXPECT_EQ(count(img, c.color, {0, 89, 100, 1}), c.color ? 100 : 0);
    }
    // The view redraws when its size or background changes.
    view.setSlideFile(path("one.sld"));
    view.resize(300, 600);   // spans rows 150..449 now; y = 10 lands on row 150 + 3 * 89.5
    view.setViewBackColor(Qt::white);
    const QImage img = shown();
    const int red = count(img, kRed, {0, 418, 300, 1});
    EXPECT_GE(red, 297);
    EXPECT_EQ(count(img, kWhite), 300 * 600 - red);
}

} // namespace
