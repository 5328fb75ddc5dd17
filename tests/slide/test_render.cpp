// Drawing slides: where lines and fills land (and where nothing may land),
// shape and letterboxing, y direction, colours against the background, SVG
// output, and the slide view with the forms of its SlideFile value.

#include "decodedslide.h"
#include "renderer.h"
#include "slidelibrary.h"
#include "slideview.h"
#include "slidewriter.h"
#include "testdata.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quarvel;
using test::decodeBytes;

namespace {

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kGreen = 0xFF00FF00;
constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kYellow = 0xFFFFFF00;
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;

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

QImage render(const QByteArray &slide, QSize size, QColor background = Qt::black, bool antialias = false)
{
    const auto d = decodeBytes(slide);
    return renderToImage(d.header, d.drawing, size, background, {.antialiasing = antialias});
}

TEST(RenderGeometry, FitsTheSlideShapeCentred)
{
    struct Case
    {
        int highX, highY;
        double aspect;
        QRectF target, expected;
    };
    const Case cases[] = {
        {99, 99, 0.0, {0, 0, 200, 100}, {50, 0, 100, 100}},
        {199, 99, 0.0, {0, 0, 200, 200}, {0, 50, 200, 100}},
        {99, 99, 2.0, {0, 0, 400, 400}, {0, 100, 400, 200}},   // pixels twice as wide as high
        {199, 99, 2.0, {10, 20, 400, 100}, {110, 20, 200, 100}},
        {99, 99, 0.0, {0, 0, 0, 50}, {0, 0, 0, 0}},
    };
    for (const Case &c : cases) {
        const SlideHeader h = decodeBytes(SlideWriter(c.highX, c.highY, c.aspect).finish()).header;
        SCOPED_TRACE(testing::Message() << c.highX << "x" << c.highY << " in " << c.target.width() << "x"
                                        << c.target.height());
        const QRectF area = slideRect(h, c.target);
        EXPECT_EQ(area, c.expected);
        if (area.isEmpty())
            continue;
        // Cell (0, 0) is the bottom-left one, cell (highX, highY) the top-right one.
        const double cw = area.width() / (c.highX + 1), ch = area.height() / (c.highY + 1);
        const QTransform t = slideTransform(h, c.target);
        EXPECT_EQ(t.map(QPointF(0, 0)), QPointF(area.left() + cw / 2, area.bottom() - ch / 2));
        EXPECT_EQ(t.map(QPointF(c.highX, c.highY)), QPointF(area.right() - cw / 2, area.top() + ch / 2));
    }
}

TEST(Render, LinesLandOnTheirPixelsWithYUp)
{
    SlideWriter w(99, 99);   // drawn 1:1 on 100 x 100 pixels: slide (x, y) is pixel (x, 99 - y)
    w.color(1);
    w.vector(10, 10, 89, 10);
    w.color(3);
    w.vector(50, 20, 50, 80);
    w.color(5);
    w.vector(70, 70, 70, 70);   // a dot
    const QImage img = render(w.finish(), {100, 100});
    EXPECT_EQ(count(img, kRed, {11, 89, 78, 1}), 78);
    EXPECT_GE(count(img, kRed), 78);
    EXPECT_EQ(count(img, kRed), count(img, kRed, {9, 89, 82, 1}));
    EXPECT_EQ(count(img, kGreen, {50, 20, 1, 59}), 59);
    EXPECT_EQ(count(img, kGreen), count(img, kGreen, {50, 18, 1, 63}));
    EXPECT_EQ(img.pixel(70, 29), kBlue);
    EXPECT_EQ(count(img, kBlue), 1);
    EXPECT_EQ(countNot(img, kBlack), count(img, kRed) + count(img, kGreen) + count(img, kBlue));
}

QByteArray frameSlide(bool withStrays)
{
    SlideWriter w(199, 99);
    w.color(7);
    w.vector(0, 0, 199, 0);
    w.vector(0, 99, 199, 99);
    w.vector(0, 0, 0, 99);
    w.vector(199, 0, 199, 99);
    if (withStrays) {
        w.vector(100, 50, 30000, 20000);   // runs far outside the drawing area
        w.vector(100, 50, 0, -20000);
    }
    return w.finish();
}

TEST(Render, LetterboxesAndClipsToTheSlideArea)
{
    const QByteArray slide = frameSlide(true);
    const QImage tall = render(slide, {200, 200});
    EXPECT_EQ(countNot(tall, kBlack, {0, 0, 200, 50}), 0);
    EXPECT_EQ(countNot(tall, kBlack, {0, 150, 200, 50}), 0);
    EXPECT_EQ(count(tall, kWhite, {0, 149, 200, 1}), 200);   // bottom edge of the slide
    EXPECT_EQ(count(tall, kWhite, {0, 50, 200, 1}), 200);    // top edge

    const QImage wide = render(slide, {400, 100});
    EXPECT_EQ(countNot(wide, kBlack, {0, 0, 100, 100}), 0);
    EXPECT_EQ(countNot(wide, kBlack, {300, 0, 100, 100}), 0);
    EXPECT_EQ(count(wide, kWhite, {100, 0, 1, 100}), 100);
    EXPECT_EQ(count(wide, kWhite, {299, 0, 1, 100}), 100);
}

TEST(Render, EdgeVectorsShowWholeAtOddSizes)
{
    // The slide's rectangle may end inside a pixel; the vectors on its
    // edges still show whole, on the centres of the edge cells.
    const QByteArray slide = frameSlide(false);
    for (const QSize size : {QSize(157, 113), QSize(301, 97), QSize(77, 200), QSize(1000, 701)}) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        const QImage img = render(slide, size);
        QRect drawn;
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x) {
                if (img.pixel(x, y) != kBlack)
                    drawn |= QRect(x, y, 1, 1);
            }
        }
        const QRectF area = slideRect(decodeBytes(slide).header, QRectF(QPointF(0, 0), QSizeF(size)));
        EXPECT_TRUE(area.toAlignedRect().contains(drawn));
        EXPECT_GE(drawn.width(), area.width() * 199 / 200 - 1);
        EXPECT_GE(drawn.height(), area.height() * 99 / 100 - 1);
        for (const QRect edge : {QRect(drawn.left(), drawn.top(), 1, drawn.height()),
                                 QRect(drawn.right(), drawn.top(), 1, drawn.height()),
                                 QRect(drawn.left(), drawn.top(), drawn.width(), 1),
                                 QRect(drawn.left(), drawn.bottom(), drawn.width(), 1)}) {
            EXPECT_EQ(count(img, kWhite, edge), edge.width() * edge.height());
        }
    }
}

TEST(Render, ForegroundColoursFollowTheBackground)
{
    struct Case
    {
        QColor background;
        QRgb foreground;
    };
    for (const Case c : {Case{Qt::black, kWhite}, Case{Qt::darkBlue, kWhite}, Case{Qt::white, kBlack},
                         Case{QColor(255, 255, 200), kBlack}}) {
        SlideWriter w(99, 99);
        w.color(7);
        w.vector(10, 10, 90, 10);
        w.color(0);
        w.vector(10, 50, 90, 50);
        w.color(1);
        w.vector(10, 90, 90, 90);
        const QImage img = render(w.finish(), {100, 100}, c.background);
        SCOPED_TRACE(c.background.name().toStdString());
        EXPECT_EQ(img.pixel(50, 89), c.foreground);
        EXPECT_EQ(img.pixel(50, 49), c.foreground);
        EXPECT_EQ(img.pixel(50, 9), kRed);
        EXPECT_EQ(img.pixel(50, 70), c.background.rgb());
    }
}

// A square of 20..79 tiled with small triangles of both orientations, some
// overlapping: filled whole, at any scale, without seams.
QByteArray tiledSquare()
{
    SlideWriter w(99, 99);
    w.color(3);
    for (int y = 20; y < 80; y += 6) {
        for (int x = 20; x < 80; x += 6) {
            const QPoint a{x, y}, b{x + 6, y}, c{x + 6, y + 6}, d{x, y + 6};
            const QPoint lower[3] = {a, b, c};   // counter-clockwise
            const QPoint upper[3] = {a, d, c};   // clockwise
            w.fill(lower);
            w.fill(upper);
        }
    }
    // Opposite windings overlapping: must not cancel each other.
    const QPoint ccw[3] = {{30, 30}, {60, 30}, {45, 60}};
    const QPoint cw[3] = {{30, 50}, {45, 20}, {60, 50}};
    w.fill(ccw);
    w.fill(cw);
    return w.finish();
}

TEST(Render, FillsCoverTheirAreaWithoutSeams)
{
    for (const bool antialias : {false, true}) {
        for (const int size : {100, 137, 411}) {
            SCOPED_TRACE(testing::Message() << size << (antialias ? " antialiased" : ""));
            const QImage img = render(tiledSquare(), {size, size}, Qt::black, antialias);
            const double s = size / 100.0;
            // Slide point (x, y) lands on ((x + 0.5) s, (99.5 - y) s).
            const QRect inside = QRectF(QPointF(20.5 * s + 1, 19.5 * s + 1), QPointF(80.5 * s - 1, 79.5 * s - 1))
                                     .toAlignedRect()
                                     .adjusted(1, 1, -1, -1);
            const QRect outside = QRectF(QPointF(19.5 * s - 1, 18.5 * s - 1), QPointF(81.5 * s + 1, 80.5 * s + 1))
                                      .toAlignedRect();
            // Antialiased seams may leave a trace, but none that shows: at
            // most 2 % darker (without outlines they are 25 % darker).
            int darkest = 255;
            for (int y = inside.top(); y <= inside.bottom(); ++y) {
                for (int x = inside.left(); x <= inside.right(); ++x)
                    darkest = std::min(darkest, qGreen(img.pixel(x, y)));
            }
            EXPECT_GE(darkest, antialias ? 250 : 255);
            EXPECT_EQ(countNot(img, kBlack) - countNot(img, kBlack, outside), 0);
        }
    }
}

TEST(Render, OverlappingFillsOfEitherWindingNeverCancel)
{
    SlideWriter w(99, 99);
    w.color(3);
    const QPoint lower[3] = {{10, 10}, {90, 10}, {90, 90}};
    const QPoint upper[3] = {{10, 10}, {10, 90}, {90, 90}};
    const QPoint bowTie[4] = {{30, 30}, {70, 70}, {70, 30}, {30, 70}};   // lobes of both windings
    w.fill(lower);
    w.fill(upper);
    w.fill(bowTie);
    const QImage img = render(w.finish(), {100, 100});
    EXPECT_EQ(countNot(img, kGreen, {10, 9, 81, 81}), 0);
    EXPECT_EQ(count(img, kGreen), 81 * 81);
}

TEST(Render, SvgOutputDrawsTheSameSlide)
{
    SlideWriter w(99, 99);
    w.color(1);
    w.vector(10, 10, 89, 10);
    const QPoint tri[3] = {{20, 60}, {80, 60}, {50, 90}};
    w.color(3);
    w.fill(tri);
    const auto d = decodeBytes(w.finish());
    const QByteArray svg = renderToSvg(d.header, d.drawing, {100, 100}, Qt::white);
    QSvgRenderer reader(svg);
    ASSERT_TRUE(reader.isValid()) << svg.toStdString();
    QImage img(100, 100, QImage::Format_RGB32);
    img.fill(Qt::gray);
    QPainter painter(&img);
    reader.render(&painter);
    painter.end();
    auto near = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)) < 90;
    };
    EXPECT_TRUE(near(img.pixel(50, 89), kRed));
    EXPECT_TRUE(near(img.pixel(50, 20), kGreen));   // inside the triangle
    EXPECT_TRUE(near(img.pixel(50, 60), kWhite));
    EXPECT_TRUE(near(img.pixel(5, 5), kWhite));
}

TEST(Render, EveryCorpusSlideDrawsInsideItsArea)
{
    for (const QString &path : test::corpusFiles("sld")) {
        const auto d = decodeBytes(test::readFile(path));
        ASSERT_TRUE(d.result.isSlide) << path.toStdString();
        const QImage img = renderToImage(d.header, d.drawing, {300, 300}, Qt::black);
        const QRect area = slideRect(d.header, QRectF(0, 0, 300, 300)).toAlignedRect();
        EXPECT_EQ(countNot(img, kBlack), countNot(img, kBlack, area)) << path.toStdString();
        if (d.drawing.batches.size() > 2) {
            EXPECT_GT(countNot(img, kBlack), 0) << path.toStdString();
        }
    }
}

// Slides of one coloured horizontal line each, at slide y = 10 (near the bottom).
QByteArray lineSlide(int color, int highX = 99, int highY = 99)
{
    SlideWriter w(highX, highY);
    w.color(color);
    w.vector(0, 10, highX, 10);
    return w.finish();
}

class SlideViewTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(test::writeFile(path("one.sld"), lineSlide(1)));
        ASSERT_TRUE(test::writeFile(path("text.sld"), "not a slide"));
        writeLibrary({{"ALPHA", 3}, {"BETA", 5}, {"\xC4\xC2", 2}});   // the last is "ДВ" in code page 1251
        view.resize(100, 100);
    }

    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }

    void writeLibrary(const std::vector<std::pair<QByteArray, int>> &slides)
    {
        SlideLibrary lib;
        for (const auto &[name, color] : slides)
            lib.addSlideData(lineSlide(color), name, QStringLiteral("test"));
        lib.saveLibrary(path("lib.slb"));
    }

    QImage shown() { return view.grab().toImage().convertToFormat(QImage::Format_RGB32); }

    QTemporaryDir dir;
    SlideView view;
};

TEST_F(SlideViewTest, ShowsTheNamedSlideAndNothingOtherwise)
{
    struct Case
    {
        QString spec;
        QRgb color;   // the line's colour, or 0 for an empty view
        bool error;
    };
    const QString lib = path("lib.slb");
    const Case cases[] = {
        {path("one.sld"), kRed, false},
        {lib + "(ALPHA)", kGreen, false},
        {lib + "(beta)", kBlue, false},                  // names compare without regard to case
        {lib + "(GAMMA)", 0, true},
        {lib, 0, true},                                  // a library, but no slide named
        {path("missing.sld"), 0, true},
        {path("missing.slb") + "(ALPHA)", 0, true},
        {path("text.sld"), 0, true},
        {dir.path(), 0, true},
        {QString(), 0, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.spec.toStdString());
        view.setSlideFile(lib + "(ALPHA)");
        EXPECT_NO_THROW(view.setSlideFile(c.spec));
        EXPECT_EQ(view.slideFile(), c.spec);
        EXPECT_EQ(view.hasSlide(), c.color != 0);
        EXPECT_EQ(!view.lastError().isEmpty(), c.error) << view.lastError().toStdString();
        const QImage img = shown();
        if (c.color) {
            EXPECT_EQ(count(img, c.color, {0, 89, 100, 1}), 100);
        } else {
            EXPECT_EQ(countNot(img, kBlack), 0);
        }
    }
}

TEST_F(SlideViewTest, FindsNamesInTheLibrarysCodePage)
{
    view.setNameCodec(NameCodec(1251));
    view.setSlideFile(path("lib.slb") + QString::fromUtf8("(дв)"));
    EXPECT_TRUE(view.hasSlide()) << view.lastError().toStdString();
    EXPECT_EQ(count(shown(), kYellow), 100);
}

TEST_F(SlideViewTest, RedrawsToItsSizeAndBackground)
{
    view.setSlideFile(path("one.sld"));
    view.resize(200, 100);   // letterboxed left and right: the slide spans 50..149
    QImage img = shown();
    EXPECT_EQ(count(img, kRed, {50, 89, 100, 1}), 100);
    EXPECT_EQ(count(img, kRed), 100);
    view.resize(300, 600);   // spans rows 150..449 now; y = 10 lands on row 150 + 3 * 89.5
    img = shown();
    const int red = count(img, kRed, {0, 418, 300, 1});
    EXPECT_GE(red, 297);
    EXPECT_EQ(count(img, kRed), red);

    EXPECT_EQ(view.viewBackColor(), QColor(Qt::black));
    view.setViewBackColor(Qt::white);
    EXPECT_EQ(count(shown(), kWhite), 300 * 600 - red);
}

TEST_F(SlideViewTest, DrawsTheRecordsBeforeDamage)
{
    QByteArray slide = lineSlide(1);
    slide.chop(2);                       // the end-of-file record
    slide += QByteArray("\x00\x90", 2);  // a reserved record type: nothing after it can be read
    SlideWriter more(99, 99);
    more.color(3);
    more.vector(0, 50, 99, 50);
    slide += more.finish().mid(kNewHeaderSize);
    ASSERT_TRUE(test::writeFile(path("damaged.sld"), slide));
    view.setSlideFile(path("damaged.sld"));
    EXPECT_TRUE(view.hasSlide());
    EXPECT_FALSE(view.lastError().isEmpty());
    const QImage img = shown();
    EXPECT_EQ(count(img, kRed), 100);
    EXPECT_EQ(count(img, kGreen), 0);
}

TEST_F(SlideViewTest, ADamagedLibrarySlideDoesNotRunIntoTheNextOne)
{
    // The first slide's last records are damaged so that it ends in one
    // stray byte: read on, that byte and the next slide's header make valid
    // records (for this common header) that end exactly where the next
    // slide's records begin. Only the directory tells where the slide ends.
    SlideLibrary lib;
    for (const auto &[name, color] : {std::pair("FIRST", 1), std::pair("SECOND", 3)}) {
        SlideWriter w(639, 479, 4.0 / 3.0);
        w.color(color);
        w.vector(0, 10 * color, 639, 10 * color);
        w.commonEndpoint(0, 1);
        lib.addSlideData(w.finish(), name, QStringLiteral("test"));
    }
    QByteArray bytes = lib.toLibraryBytes();
    const qsizetype second = bytes.lastIndexOf("AutoCAD Slide\r\n");
    ASSERT_EQ(bytes.mid(second - 5, 5), QByteArray("\x00\xFE\x01\x00\xFC", 5));
    bytes.replace(second - 5, 5, QByteArray("\x01\xFF\x01\xFF\x00", 5));
    ASSERT_TRUE(test::writeFile(path("lib.slb"), bytes));

    view.resize(640, 480);
    view.setSlideFile(path("lib.slb") + "(FIRST)");
    EXPECT_TRUE(view.hasSlide());
    EXPECT_FALSE(view.lastError().isEmpty());
    const QImage img = shown();
    EXPECT_EQ(count(img, kRed, {0, 469, 640, 1}), 640);
    EXPECT_EQ(count(img, kGreen), 0);
}

TEST_F(SlideViewTest, RereadsALibraryThatChanged)
{
    view.setSlideFile(path("lib.slb") + "(ALPHA)");
    EXPECT_EQ(count(shown(), kGreen), 100);
    writeLibrary({{"ALPHA", 2}, {"OTHER", 1}});
    view.setSlideFile(path("lib.slb") + "(ALPHA)");
    EXPECT_EQ(count(shown(), kYellow), 100);
    view.setSlideFile(path("lib.slb") + "(other)");
    EXPECT_EQ(count(shown(), kRed), 100);
}

} // namespace
