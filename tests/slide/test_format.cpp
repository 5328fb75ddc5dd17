// Reading and writing slides: the worked example in both byte orders, the
// relative records, old-format headers, damaged input, and the real corpus.

#include "slideformat.h"
#include "slidewriter.h"
#include "testdata.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <array>

using namespace quarvel;

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

// The constructed 640 x 480 slide of the format notes: a red vector, offset
// vector and common-endpoint vector, then a green filled triangle.
QByteArray workedExample(ByteOrder order)
{
    SlideWriter w(639, 479, 13333333 / 1e7, order);
    w.color(1);
    w.vector(100, 100, 300, 100);
    w.offsetVector(0, 50, 100, 50);
    w.commonEndpoint(-20, -30);
    w.color(3);
    const std::array<QPoint, 3> tri = {QPoint(10, 10), QPoint(60, 10), QPoint(35, 50)};
    w.fill(tri);
    return w.finish();
}

// The drawing's batches as "kind colour x count", e.g. "L1x3 P3x4".
QString batches(const SlideDrawing &d)
{
    QStringList out;
    for (const SlideDrawing::Batch &b : d.batches)
        out << QStringLiteral("%1%2x%3").arg(b.kind == SlideDrawing::Kind::Lines ? 'L' : 'P').arg(b.color).arg(b.count);
    return out.join(u' ');
}

} // namespace

TEST(SlideFormat, WorkedExampleIsWrittenByteForByte)
{
    const QByteArray expected = hex(
        "4175746F43414420536C6964650D0A1A00 56 02 7F02 DF01 5573CB00 0200 3412"
        "01FF 640064002C016400 00FB326432 ECFEE2 03FF"
        "00FD0400FEFF 00FD0A000A00 00FD3C000A00 00FD23003200 00FD2300CEFF 00FC");
    EXPECT_EQ(workedExample(ByteOrder::LowFirst).toHex(), expected.toHex());
    const QByteArray hbf = workedExample(ByteOrder::HighFirst);
    EXPECT_EQ(hbf.mid(19, 12).toHex(), hex("027F 01DF 5573CB00 0002 1234").toHex());
    EXPECT_EQ(hbf.mid(31, 20).toHex(), hex("FF01 00640064012C0064 FB00326432 FEECE2 FF03").toHex());
}

TEST(SlideFormat, WorkedExampleDecodesIdenticallyInBothOrders)
{
    for (ByteOrder order : {ByteOrder::LowFirst, ByteOrder::HighFirst}) {
        SCOPED_TRACE(order == ByteOrder::LowFirst ? "low first" : "high first");
        SlideDrawing d;
        // Bytes after the end record are not part of the slide.
        const DecodeResult r = decodeSlide(workedExample(order) + QByteArray(40, '\x7f'), &d);
        ASSERT_TRUE(r.isSound()) << r.error.toStdString();
        EXPECT_EQ(r.header.order, order);
        EXPECT_EQ(QPoint(r.header.highX, r.header.highY), QPoint(639, 479));
        EXPECT_EQ(r.header.aspectRaw, 13333333u);
        EXPECT_EQ(r.length, 83);
        EXPECT_EQ(d.lines, (std::vector<QLine>{{100, 100, 300, 100}, {100, 150, 200, 150}, {100, 150, 80, 120}}));
        EXPECT_EQ(batches(d), QStringLiteral("L1x3 P3x4"));
        // The closing record is counted, so the third vertex appears twice.
        EXPECT_EQ(d.points, (std::vector<QPoint>{{10, 10}, {60, 10}, {35, 50}, {35, 50}}));
        const SlideStats &s = r.stats;
        EXPECT_EQ(std::vector<unsigned>({s.vectors, s.offsetVectors, s.commonEndpointVectors, s.fillRecords,
                                         s.colorRecords}),
                  std::vector<unsigned>({1, 1, 1, 5, 2}));
        EXPECT_FALSE(s.outsideArea);
    }
}

TEST(SlideFormat, RelativeRecordsFollowTheSavedPoint)
{
    // Chains of common-endpoint vectors draw a connected polyline; an offset
    // vector measures all four offsets from the saved point, and negative
    // offsets are sign-extended.
    SlideWriter w(199, 199);
    w.color(7);
    w.vector(50, 50, 0, 0);        // saves (50,50), the from point
    w.commonEndpoint(10, 0);       // (50,50)-(60,50), saves the to point
    w.commonEndpoint(0, -128);     // (60,50)-(60,-78)
    w.offsetVector(-1, 127, -128, 0);   // both ends relative to the saved (60,-78)
    SlideDrawing d;
    const DecodeResult r = decodeSlide(w.finish(), &d);
    ASSERT_TRUE(r.reachedEnd);
    EXPECT_EQ(std::vector<QLine>(d.lines.begin() + 1, d.lines.end()),
              (std::vector<QLine>{{50, 50, 60, 50}, {60, 50, 60, -78}, {59, 49, -68, -78}}));
    EXPECT_TRUE(r.stats.outsideArea);
}

TEST(SlideFormat, FillsFollowTheWriterForm)
{
    // A square whose last vertex lies on y = 0 is rotated so the closing
    // record can carry a negated y; a large polygon becomes a fan of triangles;
    // a flat one is dropped.
    SlideWriter w(99, 99);
    w.color(5);
    const std::array<QPoint, 4> square = {QPoint(10, 10), QPoint(20, 10), QPoint(20, 20), QPoint(10, 0)};
    w.fill(square);
    std::vector<QPoint> big;
    for (int i = 0; i < 12; ++i)
        big.emplace_back(50 + i, 50 + (i % 3));
    w.fill(big);
    const std::array<QPoint, 3> flat = {QPoint(1, 0), QPoint(5, 0), QPoint(9, 0)};
    w.fill(flat);
    SlideDrawing d;
    const DecodeResult r = decodeSlide(w.finish(), &d);
    ASSERT_TRUE(r.isSound()) << r.error.toStdString();
    EXPECT_EQ(batches(d), QStringLiteral("P5x5") + QStringLiteral(" P5x4").repeated(10));   // square, ten triangles
    EXPECT_EQ(r.stats.fillPolygons, 11u);
    EXPECT_EQ(std::vector<QPoint>(d.points.begin(), d.points.begin() + 5),
              (std::vector<QPoint>{{10, 0}, {10, 10}, {20, 10}, {20, 20}, {20, 20}}));
}

TEST(SlideFormat, OldFormatHeadersAreReadInEitherOrder)
{
    for (bool low : {true, false}) {
        SCOPED_TRACE(low ? "low first" : "high first");
        // 640 x 480, aspect 4/3 as a double, one vector from (10,20) to (30,40).
        const QByteArray slide = QByteArray(kSlideId, kSlideIdLength) + "\x56\x01"
                                 + (low ? hex("7F02 DF01 555555555555F53F 0200 00 07FF 0A001400 1E002800 00FC")
                                        : hex("027F 01DF 3FF5555555555555 0002 00 FF07 000A0014 001E0028 FC00"));
        SlideDrawing d;
        const DecodeResult r = decodeSlide(slide, &d);
        ASSERT_TRUE(r.isSound()) << r.error.toStdString();
        EXPECT_EQ(r.header.level, 1);
        EXPECT_EQ(r.header.size, kOldHeaderSize);
        EXPECT_EQ(r.header.order, low ? ByteOrder::LowFirst : ByteOrder::HighFirst);
        EXPECT_EQ(QPoint(r.header.highX, r.header.highY), QPoint(639, 479));
        EXPECT_NEAR(r.header.aspect, 4.0 / 3.0, 1e-9);
        EXPECT_EQ(d.lines, std::vector<QLine>{QLine(10, 20, 30, 40)});
    }
}

TEST(SlideFormat, DamagedInputGivesOnePreciseError)
{
    const QByteArray good = workedExample(ByteOrder::LowFirst);
    struct Case { const char *what; QByteArray bytes; bool isSlide; qsizetype offset; const char *error; size_t n; };
    QByteArray badTest = good, level = good;
    badTest[29] = 0x35;
    level[18] = 3;
    const Case cases[] = {
        {"empty", QByteArray(), false, 0, "no slide header", 0},
        {"wrong id", QByteArray("AutoCAD Slidf\r\n\x1a", 17) + good.mid(17), false, 0, "no slide header", 0},
        {"header cut", good.left(25), false, 25, "ends inside the slide header", 0},
        {"bad test number", badTest, false, 29, "byte-order test number", 0},
        {"unknown level", level, false, 18, "level 3", 0},
        {"reserved record type", good.left(0x29) + hex("0080") + good.mid(0x29), true, 0x29,
         "unknown record type 0x80", 1},
        {"record cut short", good.left(0x2C), true, 0x29, "ends inside a record", 1},
        {"no end record", good.chopped(2), true, good.size() - 2, "no end-of-file record", 3},
        {"fill never ends", good.left(0x45) + hex("00FC"), true, 0x33, "solid-fill sequence never ends", 3},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        SlideDrawing d;
        const DecodeResult r = decodeSlide(c.bytes, &d);
        EXPECT_EQ(r.isSlide, c.isSlide);
        EXPECT_FALSE(r.isSound());
        EXPECT_EQ(r.errorOffset, c.offset);
        EXPECT_TRUE(r.error.contains(QLatin1String(c.error))) << r.error.toStdString();
        EXPECT_EQ(d.lines.size(), c.n);   // lines kept
    }
}

TEST(SlideFormat, UnfinishedFillIsStillDrawnAndStrayVerticesIgnored)
{
    SlideWriter w(99, 99);
    w.color(2);
    w.fillRecord(5, 5);            // stray vertex before any start record
    w.fillRecord(30000, -2);       // absurd count
    w.fillRecord(0, 0);
    w.fillRecord(10, 0);
    w.fillRecord(10, 10);
    w.vector(1, 1, 2, 2);          // interrupts the open sequence
    SlideDrawing d;
    const DecodeResult r = decodeSlide(w.finish(), &d);
    EXPECT_TRUE(r.reachedEnd);
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_EQ(batches(d), QStringLiteral("P2x3 L2x1"));
}

// Every real slide in the corpus decodes to its end record, with exactly the
// header facts and record counts listed in the corpus manifest.
TEST(SlideFormat, CorpusSlidesMatchTheManifest)
{
    const QString manifest = QString::fromUtf8(test::readFile(test::corpusDir(QStringLiteral("MANIFEST.md"))));
    ASSERT_FALSE(manifest.isEmpty());
    const QRegularExpression row(QStringLiteral(
        R"(^\| (\S[^|]*?\.(?:sld|SLD)) \|[^|]*\| (\d+) \| (\d) \| (LE|BE) \| (\d+)×(\d+) \|[^|]*\|[^|]*\| vec=(\d+) offvec=(\d+) cend=(\d+) fill=(\d+) color=(\d+) eof=1 \|)"),
        QRegularExpression::MultilineOption);
    int checked = 0;
    for (const auto &m : row.globalMatch(manifest)) {
        const QString path = test::corpusDir(QStringLiteral("sld/") + m.captured(1));
        SCOPED_TRACE(path.toStdString());
        const QByteArray bytes = test::readFile(path);
        ASSERT_EQ(bytes.size(), m.captured(2).toLongLong());
        SlideDrawing d;
        const DecodeResult r = decodeSlide(bytes, &d);
        ASSERT_TRUE(r.isSound()) << r.error.toStdString();
        EXPECT_EQ(r.header.order, m.captured(4) == u"LE" ? ByteOrder::LowFirst : ByteOrder::HighFirst);
        const SlideStats &s = r.stats;
        const std::vector<int> got = {r.header.level, r.header.highX, r.header.highY, int(s.vectors),
                                      int(s.offsetVectors), int(s.commonEndpointVectors), int(s.fillRecords),
                                      int(s.colorRecords)};
        std::vector<int> expected;
        for (int i : {3, 5, 6, 7, 8, 9, 10, 11})
            expected.push_back(m.captured(i).toInt());
        EXPECT_EQ(got, expected);
        EXPECT_EQ(d.lines.size(), s.vectors + s.offsetVectors + s.commonEndpointVectors);
        ++checked;
    }
    EXPECT_EQ(checked, test::corpusFiles(QStringLiteral("sld")).size());
}
