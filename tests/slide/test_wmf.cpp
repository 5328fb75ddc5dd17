// Metafile export: the record writer against a hand-checked file, the object
// table rules, a structural check of the export of every corpus slide, and
// an independent reader (libwmf's wmf2svg) drawing what the slide holds.

#include "decodedslide.h"
#include "slidelibrary.h"
#include "slidewriter.h"
#include "testdata.h"
#include "wmfwriter.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

using namespace quarvel;

namespace {

struct WmfRecord
{
    quint16 function;
    std::vector<qint16> params;
};

struct WmfFile
{
    QStringList problems;
    int width = 0;
    int height = 0;
    int inch = 0;
    int objects = 0;
    std::vector<WmfRecord> records;

    std::vector<const WmfRecord *> all(quint16 function) const
    {
        std::vector<const WmfRecord *> out;
        for (const WmfRecord &r : records) {
            if (r.function == function)
                out.push_back(&r);
        }
        return out;
    }
};

quint16 word(const QByteArray &b, qsizetype at)
{
    return static_cast<quint8>(b[at]) | (static_cast<quint8>(b[at + 1]) << 8);
}
quint32 dword(const QByteArray &b, qsizetype at) { return word(b, at) | (quint32(word(b, at + 2)) << 16); }

// Reads a placeable metafile the way a player does and lists every broken
// structural rule: header fields, record chain, object table use.
WmfFile readWmf(const QByteArray &b)
{
    WmfFile f;
    auto fail = [&f](const QString &what) { f.problems << what; };
    if (b.size() < 46)
        return fail(QStringLiteral("too short")), f;
    if (dword(b, 0) != 0x9AC6CDD7)
        fail(QStringLiteral("placeable key"));
    quint16 checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= word(b, 2 * i);
    if (checksum != word(b, 20))
        fail(QStringLiteral("checksum"));
    if (word(b, 6) != 0 || word(b, 8) != 0)
        fail(QStringLiteral("bounding box origin"));
    f.width = static_cast<qint16>(word(b, 10));
    f.height = static_cast<qint16>(word(b, 12));
    f.inch = word(b, 14);
    if (word(b, 22) != 1 && word(b, 22) != 2)
        fail(QStringLiteral("metafile type"));
    if (word(b, 24) != 9 || word(b, 26) != 0x0300)
        fail(QStringLiteral("header size or version"));
    if (22 + 2 * qint64(dword(b, 28)) != b.size())
        fail(QStringLiteral("file size %1 words for %2 bytes").arg(dword(b, 28)).arg(b.size()));
    f.objects = word(b, 32);

    std::vector<char> table;   // 0 free, 'p' pen, 'b' brush
    int selected[2] = {-1, -1};
    quint32 maxSeen = 0;
    qsizetype pos = 40;
    bool ended = false;
    while (!ended) {
        if (pos + 6 > b.size())
            return fail(QStringLiteral("records run past the end")), f;
        const quint32 size = dword(b, pos);
        if (size < 3 || pos + 2 * qint64(size) > b.size())
            return fail(QStringLiteral("bad record size %1 at %2").arg(size).arg(pos)), f;
        WmfRecord r{word(b, pos + 4), {}};
        for (quint32 i = 3; i < size; ++i)
            r.params.push_back(static_cast<qint16>(word(b, pos + 2 * i)));
        maxSeen = std::max(maxSeen, size);
        pos += 2 * qint64(size);
        switch (r.function) {
        case 0x0000:
            ended = true;
            if (pos != b.size())
                fail(QStringLiteral("bytes after the end record"));
            break;
        case 0x02FA:
        case 0x02FC: {
            const auto free = std::find(table.begin(), table.end(), 0);
            const char kind = r.function == 0x02FA ? 'p' : 'b';
            if (free == table.end())
                table.push_back(kind);
            else
                *free = kind;
            break;
        }
        case 0x012D:
        case 0x01F0: {
            const int slot = r.params.at(0);
            if (slot < 0 || slot >= int(table.size()) || table[slot] == 0) {
                fail(QStringLiteral("function %1 names empty slot %2").arg(r.function, 0, 16).arg(slot));
                break;
            }
            int &sel = selected[table[slot] == 'p' ? 0 : 1];
            if (r.function == 0x012D) {
                sel = slot;
            } else if (sel == slot) {
                fail(QStringLiteral("deletes selected slot %1").arg(slot));
            } else {
                table[slot] = 0;
            }
            break;
        }
        default:
            break;
        }
        f.records.push_back(std::move(r));
    }
    if (dword(b, 34) != maxSeen)
        fail(QStringLiteral("max record %1, largest seen %2").arg(dword(b, 34)).arg(maxSeen));
    if (int(table.size()) > f.objects)
        fail(QStringLiteral("%1 table used, %2 declared").arg(table.size()).arg(f.objects));
    return f;
}

QByteArray fromHex(const char *hex)
{
    return QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
}

using test::decodeBytes;

TEST(WmfWriter, ReproducesTheHandCheckedExampleByteForByte)
{
    WmfWriter w(200, 100, 50);
    w.setMapMode(WmfWriter::Anisotropic);
    w.setWindowOrg(0, 0);
    w.setWindowExt(200, 100);
    w.setBkMode(WmfWriter::Opaque);
    const int brush = w.createBrush(WmfWriter::BrushStyle::Solid, qRgb(0, 0, 0));
    w.selectObject(brush);
    const int nullPen = w.createPen(WmfWriter::PenStyle::Null, 0);
    w.selectObject(nullPen);
    w.rectangle(0, 0, 201, 101);
    const int red = w.createPen(WmfWriter::PenStyle::Solid, qRgb(255, 0, 0));
    w.selectObject(red);
    w.deleteObject(nullPen);
    w.moveTo(10, 90);
    w.lineTo(190, 10);
    const QByteArray expected = fromHex(
        "D7CDC69A 0000 00000000C8006400 3200 00000000 8F57"
        "010009000003 56000000 0300 08000000 0000"
        "0400000003010800 050000000B0200000000 050000000C026400C800 0400000002010200"
        "07000000FC020000000000000000 040000002D010000 08000000FA0205000000000000000000"
        "040000002D010100 070000001B046500C90000000000 08000000FA02000000000000FF000000"
        "040000002D010200 04000000F0010100 0500000014025A000A00 0500000013020A00BE00 030000000000");
    ASSERT_EQ(expected.size(), 194);
    EXPECT_EQ(w.finish().toHex(' '), expected.toHex(' '));
}

TEST(WmfWriter, ObjectsTakeTheLowestFreeSlotAndSelectedOnesStay)
{
    WmfWriter w(10, 10, 10);
    EXPECT_EQ(w.createBrush(WmfWriter::BrushStyle::Solid, 0), 0);
    EXPECT_EQ(w.createPen(WmfWriter::PenStyle::Solid, 0), 1);
    EXPECT_EQ(w.createPen(WmfWriter::PenStyle::Solid, 0), 2);
    w.deleteObject(1);
    EXPECT_EQ(w.createBrush(WmfWriter::BrushStyle::Solid, 0), 1);
    w.selectObject(2);
    EXPECT_THROW(w.deleteObject(2), std::logic_error);
    EXPECT_THROW(w.selectObject(3), std::logic_error);
    w.deleteObject(0);
    EXPECT_THROW(w.deleteObject(0), std::logic_error);
    const WmfFile f = readWmf(w.finish());
    EXPECT_TRUE(f.problems.isEmpty()) << f.problems.join("; ").toStdString();
    EXPECT_EQ(f.objects, 3);
}

TEST(SlideToWmf, DrawsVectorsAsPolylinesAndFillsAsPolygonsWithYDown)
{
    SlideWriter sw(199, 99);   // square pixels: 200 x 100 units
    sw.color(1);
    sw.vector(10, 20, 30, 20);
    sw.commonEndpoint(0, 40);   // from (10, 20), the vector's from point
    sw.commonEndpoint(20, 0);   // continues the previous one: one chain
    sw.vector(50, 50, 50, 50);  // a dot
    sw.color(1);                // repeats the colour in force
    const QPoint tri[3] = {{100, 10}, {150, 10}, {120, 60}};
    sw.fill(tri);
    sw.color(3);
    sw.vector(0, 0, 199, 99);
    const auto d = decodeBytes(sw.finish());
    const WmfFile f = readWmf(slideToWmf(d.header, d.drawing, Qt::white));
    ASSERT_TRUE(f.problems.isEmpty()) << f.problems.join("; ").toStdString();
    EXPECT_EQ(f.width, 200);
    EXPECT_EQ(f.height, 100);
    EXPECT_NEAR(f.width / double(f.inch), 6.0, 0.1);

    // Null background pen, then one solid pen per colour actually drawn.
    EXPECT_EQ(f.all(0x02FA).size(), 3u);
    const auto lines = f.all(0x0325);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0]->params, (std::vector<qint16>{2, 10, 79, 30, 79}));
    EXPECT_EQ(lines[1]->params, (std::vector<qint16>{3, 10, 79, 10, 39, 30, 39}));
    EXPECT_EQ(lines[2]->params, (std::vector<qint16>{2, 50, 49, 51, 49}));
    EXPECT_EQ(lines[3]->params, (std::vector<qint16>{2, 0, 99, 199, 0}));
    const auto polygons = f.all(0x0324);
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_EQ(polygons[0]->params.at(0), 3);
    const auto rect = f.all(0x041B);
    ASSERT_EQ(rect.size(), 1u);
    EXPECT_EQ(rect[0]->params, (std::vector<qint16>{101, 201, 0, 0}));
    EXPECT_EQ(f.all(0x0106).at(0)->params.at(0), 2);   // winding fills
    EXPECT_EQ(f.all(0x0102).at(0)->params.at(0), 2);   // opaque
}

TEST(SlideToWmf, KeepsThePhysicalShapeOfNonSquarePixelsWithin16Bits)
{
    struct Case
    {
        int highX, highY;
        double aspect;
    };
    for (const Case c : {Case{99, 99, 2.0}, Case{639, 199, 4.0 / 3.0}, Case{32767, 99, 20.0},
                         Case{99, 32767, 0.05}, Case{32767, 32767, 1.0}}) {
        SlideWriter sw(c.highX, c.highY, c.aspect);
        sw.color(7);
        sw.vector(0, 0, c.highX, c.highY);
        const auto d = decodeBytes(sw.finish());
        const WmfFile f = readWmf(slideToWmf(d.header, d.drawing, Qt::black));
        SCOPED_TRACE(testing::Message() << c.highX << "x" << c.highY << " aspect " << c.aspect);
        EXPECT_TRUE(f.problems.isEmpty()) << f.problems.join("; ").toStdString();
        EXPECT_NEAR(double(f.width) / f.height, c.aspect, c.aspect * 0.01);
        EXPECT_LT(std::max(f.width, f.height), 32767);
        // The diagonal still joins the centres of the bottom-left and the
        // top-right pixel.
        const auto line = f.all(0x0325).at(0)->params;
        const double cellW = double(f.width) / (c.highX + 1), cellH = double(f.height) / (c.highY + 1);
        EXPECT_NEAR(line[1], cellW / 2, cellW / 2 + 1);
        EXPECT_NEAR(line[2], f.height - cellH / 2, cellH / 2 + 1);
        EXPECT_NEAR(line[3], f.width - cellW / 2, cellW / 2 + 1);
        EXPECT_NEAR(line[4], cellH / 2, cellH / 2 + 1);
    }
}

// Every slide of the corpus, alone or in a library, exported through the
// library object.
std::vector<std::pair<QString, int>> corpusSlides()
{
    std::vector<std::pair<QString, int>> out;
    for (const QString &path : test::corpusFiles("sld"))
        out.emplace_back(path, 0);
    for (const QString &path : test::corpusFiles("slb")) {
        SlideLibrary lib;
        lib.setLibraryFile(path);
        for (int i = 0; i < lib.slideCount(); ++i)
            out.emplace_back(path, i);
    }
    return out;
}

// Exported once for all tests that look at the corpus exports.
class CorpusExport : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        dir = new QTemporaryDir;
        QString lastPath;
        SlideLibrary lib;
        for (const auto &[path, index] : corpusSlides()) {
            if (path != lastPath)
                lib.setLibraryFile(lastPath = path);
            const QString target = dir->filePath(QStringLiteral("%1.wmf").arg(files.size()));
            lib.exportToWmf(target, index, files.size() % 2 ? Qt::white : Qt::black);
            files << target;
        }
    }
    static void TearDownTestSuite()
    {
        delete dir;
        files.clear();
    }

    static inline QTemporaryDir *dir = nullptr;
    static inline QStringList files;
};

TEST_F(CorpusExport, EveryCorpusSlideExportsAStructurallySoundMetafile)
{
    ASSERT_GT(files.size(), 1000);
    for (const QString &file : files) {
        const WmfFile f = readWmf(test::readFile(file));
        EXPECT_TRUE(f.problems.isEmpty()) << file.toStdString() << ": " << f.problems.join("; ").toStdString();
        EXPECT_LE(f.objects, 4);
    }
}

QString wmf2svg()
{
    return QStandardPaths::findExecutable(QStringLiteral("wmf2svg"));
}

// Converts each metafile to file + ".svg", a few at a time; returns the
// files libwmf failed on.
QStringList convertWithLibwmf(const QStringList &files)
{
    QStringList failed;
    constexpr qsizetype kParallel = 4;
    for (qsizetype at = 0; at < files.size(); at += kParallel) {
        std::vector<std::unique_ptr<QProcess>> running;
        for (qsizetype i = at; i < std::min(at + kParallel, files.size()); ++i) {
            running.push_back(std::make_unique<QProcess>());
            running.back()->start(wmf2svg(), {QStringLiteral("-o"), files[i] + QStringLiteral(".svg"), files[i]});
        }
        for (qsizetype i = 0; i < qsizetype(running.size()); ++i) {
            QProcess &p = *running[i];
            const QString &file = files[at + i];
            if (!p.waitForFinished(30'000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0
                || !test::readFile(file + QStringLiteral(".svg")).contains("<svg"))
                failed << file;
        }
    }
    return failed;
}

TEST_F(CorpusExport, AnIndependentReaderReadsEveryCorpusExport)
{
    if (wmf2svg().isEmpty())
        GTEST_SKIP() << "wmf2svg (libwmf) is not installed";
    EXPECT_EQ(convertWithLibwmf(files), QStringList());
}

TEST(SlideToWmf, AnIndependentReaderPutsLineEndsWhereTheSlideHasThem)
{
    if (wmf2svg().isEmpty())
        GTEST_SKIP() << "wmf2svg (libwmf) is not installed";
    SlideWriter sw(199, 99);
    sw.color(1);
    sw.vector(20, 10, 180, 90);   // rises to the right on the slide
    sw.color(5);
    sw.vector(30, 80, 60, 80);
    const auto d = decodeBytes(sw.finish());
    QTemporaryDir dir;
    const QString wmf = dir.filePath(QStringLiteral("lines.wmf"));
    ASSERT_TRUE(test::writeFile(wmf, slideToWmf(d.header, d.drawing, Qt::black)));
    ASSERT_EQ(convertWithLibwmf({wmf}), QStringList());
    const QString svg = QString::fromUtf8(test::readFile(wmf + QStringLiteral(".svg")));

    // Collect the drawn points per stroke colour, whatever element libwmf uses.
    std::map<QString, std::vector<QPointF>> points;
    static const QRegularExpression element(QStringLiteral("<(line|polyline)\\b([^>]*)>"));
    static const QRegularExpression number(QStringLiteral("-?[0-9]+(\\.[0-9]+)?"));
    static const QRegularExpression stroke(QStringLiteral("stroke:\\s*([^;\"]+)"));
    for (const auto &m : element.globalMatch(svg)) {
        const QString attrs = m.captured(2);
        QString coords;
        if (m.captured(1) == QLatin1String("line")) {
            static const QRegularExpression xy(QStringLiteral("\\b[xy][12]=\"([^\"]+)\""));
            for (const auto &c : xy.globalMatch(attrs))
                coords += c.captured(1) + QLatin1Char(' ');
        } else {
            static const QRegularExpression pts(QStringLiteral("points=\"([^\"]+)\""));
            coords = pts.match(attrs).captured(1);
        }
        std::vector<double> v;
        for (const auto &n : number.globalMatch(coords))
            v.push_back(n.captured(0).toDouble());
        auto &list = points[stroke.match(attrs).captured(1).trimmed()];
        for (std::size_t i = 0; i + 1 < v.size(); i += 2)
            list.emplace_back(v[i], v[i + 1]);
    }
    // Slide (x, y) lands at (x, 99 - y) in a 200 x 100 picture.
    auto expectPoints = [&](const QString &color, std::vector<QPointF> expected) {
        const auto &got = points[color];
        ASSERT_EQ(got.size(), expected.size()) << color.toStdString() << "\n" << svg.toStdString();
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_NEAR(got[i].x(), expected[i].x(), 3.0) << color.toStdString() << " point " << i;
            EXPECT_NEAR(got[i].y(), expected[i].y(), 3.0) << color.toStdString() << " point " << i;
        }
    };
    expectPoints(QStringLiteral("red"), {{20, 89}, {180, 9}});
    expectPoints(QStringLiteral("blue"), {{30, 19}, {60, 19}});
}

} // namespace
