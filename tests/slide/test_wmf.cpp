// Metafile export: the record writer against a hand-checked file, a
// structural check (object table rules included) of the export of every
// corpus slide, and an independent reader (libwmf's wmf2svg) drawing what
// the slide holds.

#include "decodedslide.h"
#include "slidelibrary.h"
#include "slidewriter.h"
#include "testdata.h"
#include "wmfwriter.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSize>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>

using namespace quarvel;
using test::decodeBytes;

namespace {

struct WmfFile
{
    QStringList problems;
    int width = 0, height = 0, inch = 0, objects = 0;
    std::vector<std::pair<quint16, std::vector<qint16>>> records;   // function, parameters

    std::vector<std::vector<qint16>> all(quint16 function) const
    {
        std::vector<std::vector<qint16>> out;
        for (const auto &[f, params] : records) {
            if (f == function)
                out.push_back(params);
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
    quint16 checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= word(b, 2 * i);
    if (dword(b, 0) != 0x9AC6CDD7 || checksum != word(b, 20) || word(b, 6) != 0 || word(b, 8) != 0)
        fail(QStringLiteral("placeable header: key, checksum or bounding box origin"));
    if ((word(b, 22) != 1 && word(b, 22) != 2) || word(b, 24) != 9 || word(b, 26) != 0x0300)
        fail(QStringLiteral("metafile type, header size or version"));
    if (22 + 2 * qint64(dword(b, 28)) != b.size())
        fail(QStringLiteral("file size %1 words for %2 bytes").arg(dword(b, 28)).arg(b.size()));
    f.width = static_cast<qint16>(word(b, 10));
    f.height = static_cast<qint16>(word(b, 12));
    f.inch = word(b, 14);
    f.objects = word(b, 32);

    std::vector<char> table;   // 0 free, 'p' pen, 'b' brush
    int selected[2] = {-1, -1};
    quint32 maxSeen = 0;
    for (qsizetype pos = 40;;) {
        const quint32 size = pos + 6 <= b.size() ? dword(b, pos) : 0;
        if (size < 3 || pos + 2 * qint64(size) > b.size())
            return fail(QStringLiteral("bad record size %1 at %2").arg(size).arg(pos)), f;
        const quint16 function = word(b, pos + 4);
        std::vector<qint16> params;
        for (quint32 i = 3; i < size; ++i)
            params.push_back(static_cast<qint16>(word(b, pos + 2 * i)));
        maxSeen = std::max(maxSeen, size);
        pos += 2 * qint64(size);
        f.records.emplace_back(function, params);
        if (function == 0x0000) {
            if (pos != b.size())
                fail(QStringLiteral("bytes after the end record"));
            break;
        }
        if (function == 0x02FA || function == 0x02FC) {   // create pen, brush: lowest free slot
            const auto free = std::find(table.begin(), table.end(), 0);
            const char kind = function == 0x02FA ? 'p' : 'b';
            free == table.end() ? table.push_back(kind) : void(*free = kind);
        } else if (function == 0x012D || function == 0x01F0) {   // select, delete
            const int slot = params.at(0);
            if (slot < 0 || slot >= int(table.size()) || table[slot] == 0) {
                fail(QStringLiteral("function %1 names empty slot %2").arg(function, 0, 16).arg(slot));
                continue;
            }
            int &sel = selected[table[slot] == 'p' ? 0 : 1];
            if (function == 0x012D)
                sel = slot;
            else if (sel == slot)
                fail(QStringLiteral("deletes selected slot %1").arg(slot));
            else
                table[slot] = 0;
        }
    }
    if (dword(b, 34) != maxSeen)
        fail(QStringLiteral("max record %1, largest seen %2").arg(dword(b, 34)).arg(maxSeen));
    if (int(table.size()) > f.objects)
        fail(QStringLiteral("%1 table used, %2 declared").arg(table.size()).arg(f.objects));
    return f;
}

TEST(WmfWriter, ReproducesTheHandCheckedExampleByteForByte)
{
    WmfWriter w(200, 100, 50);
    w.setMapMode(WmfWriter::Anisotropic);
    w.setWindowOrg(0, 0);
    w.setWindowExt(200, 100);
    w.setBkMode(WmfWriter::Opaque);
    w.selectObject(w.createBrush(WmfWriter::BrushStyle::Solid, qRgb(0, 0, 0)));
    const int nullPen = w.createPen(WmfWriter::PenStyle::Null, 0);
    w.selectObject(nullPen);
    w.rectangle(0, 0, 201, 101);
    w.selectObject(w.createPen(WmfWriter::PenStyle::Solid, qRgb(255, 0, 0)));
    w.deleteObject(nullPen);
    w.moveTo(10, 90);
    w.lineTo(190, 10);
    const QByteArray expected = QByteArray::fromHex(QByteArray(
        "D7CDC69A 0000 00000000C8006400 3200 00000000 8F57"
        "010009000003 56000000 0300 08000000 0000"
        "0400000003010800 050000000B0200000000 050000000C026400C800 0400000002010200"
        "07000000FC020000000000000000 040000002D010000 08000000FA0205000000000000000000"
        "040000002D010100 070000001B046500C90000000000 08000000FA02000000000000FF000000"
        "040000002D010200 04000000F0010100 0500000014025A000A00 0500000013020A00BE00 030000000000")
                                                            .replace(' ', ""));
    ASSERT_EQ(expected.size(), 194);
    EXPECT_EQ(w.finish().toHex(' '), expected.toHex(' '));
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
    EXPECT_EQ(QSize(f.width, f.height), QSize(200, 100));
    EXPECT_NEAR(f.width / double(f.inch), 6.0, 0.1);
    // Null background pen, then one solid pen per colour actually drawn.
    EXPECT_EQ(f.all(0x02FA).size(), 3u);
    using P = std::vector<std::vector<qint16>>;
    EXPECT_EQ(f.all(0x0325),
              (P{{2, 10, 79, 30, 79}, {3, 10, 79, 10, 39, 30, 39}, {2, 50, 49, 51, 49}, {2, 0, 99, 199, 0}}));
    ASSERT_EQ(f.all(0x0324).size(), 1u);
    EXPECT_EQ(f.all(0x0324)[0].at(0), 3);
    EXPECT_EQ(f.all(0x041B), (P{{101, 201, 0, 0}}));
    EXPECT_EQ(f.all(0x0106), (P{{2}}));   // winding fills
    EXPECT_EQ(f.all(0x0102), (P{{2}}));   // opaque
}

TEST(SlideToWmf, KeepsThePhysicalShapeOfNonSquarePixelsWithin16Bits)
{
    struct Case { int highX, highY; double aspect; };
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
        // The diagonal still joins the centres of the bottom-left and the top-right pixel.
        const auto line = f.all(0x0325).at(0);
        const double cw = double(f.width) / (c.highX + 1) / 2, ch = double(f.height) / (c.highY + 1) / 2;
        EXPECT_NEAR(line[1], cw, cw + 1);
        EXPECT_NEAR(line[2], f.height - ch, ch + 1);
        EXPECT_NEAR(line[3], f.width - cw, cw + 1);
        EXPECT_NEAR(line[4], ch, ch + 1);
    }
}

QString wmf2svg()
{
    return QStandardPaths::findExecutable(QStringLiteral("wmf2svg"));
}

// Converts each metafile to file + ".svg", four at a time; returns the
// files libwmf failed on.
QStringList convertWithLibwmf(const QStringList &files)
{
    QStringList failed;
    for (qsizetype at = 0; at < files.size(); at += 4) {
        const QStringList batch = files.mid(at, 4);
        std::vector<std::unique_ptr<QProcess>> running;
        for (const QString &file : batch) {
            running.push_back(std::make_unique<QProcess>());
            running.back()->start(wmf2svg(), {QStringLiteral("-o"), file + QStringLiteral(".svg"), file});
        }
        for (qsizetype i = 0; i < batch.size(); ++i) {
            QProcess &p = *running[i];
            if (!p.waitForFinished(30'000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0
                || !test::readFile(batch[i] + QStringLiteral(".svg")).contains("<svg"))
                failed << batch[i];
        }
    }
    return failed;
}

// Every slide of the corpus, alone or in a library, exported through the
// library object: all pass the structural check; the single slides and the
// first slide of each library also go through the independent reader, which
// is slow.
TEST(CorpusExport, EveryCorpusSlideExportsASoundMetafile)
{
    QTemporaryDir dir;
    QStringList sample;
    int exported = 0;
    for (const QString &path : test::corpusFiles("sld") + test::corpusFiles("slb")) {
        SlideLibrary lib;
        lib.setLibraryFile(path);
        for (int i = 0; i < lib.slideCount(); ++i, ++exported) {
            const QString target = dir.filePath(QStringLiteral("%1.wmf").arg(exported));
            lib.exportToWmf(target, i, exported % 2 ? Qt::white : Qt::black);
            const WmfFile f = readWmf(test::readFile(target));
            EXPECT_TRUE(f.problems.isEmpty()) << path.toStdString() << " " << i << ": "
                                              << f.problems.join("; ").toStdString();
            EXPECT_LE(f.objects, 4);
            if (i == 0)
                sample << target;
        }
    }
    EXPECT_GT(exported, 1000);
    if (wmf2svg().isEmpty())
        GTEST_SKIP() << "wmf2svg (libwmf) is not installed";
    EXPECT_EQ(convertWithLibwmf(sample), QStringList());
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

    // The drawn points per stroke colour, whatever element libwmf uses.
    std::map<QString, std::vector<double>> coords;
    static const QRegularExpression element(QStringLiteral("<(?:line|polyline)\\b([^>]*)>"));
    static const QRegularExpression stroke(QStringLiteral("stroke:\\s*([^;\"]+)"));
    static const QRegularExpression points(QStringLiteral("\\b(?:[xy][12]|points)=\"([^\"]+)\""));
    static const QRegularExpression number(QStringLiteral("-?[0-9]+(\\.[0-9]+)?"));
    for (const auto &m : element.globalMatch(svg)) {
        auto &list = coords[stroke.match(m.captured(1)).captured(1).trimmed()];
        for (const auto &p : points.globalMatch(m.captured(1))) {
            for (const auto &n : number.globalMatch(p.captured(1)))
                list.push_back(n.captured(0).toDouble());
        }
    }
    // Slide (x, y) lands at (x, 99 - y) in a 200 x 100 picture.
    for (const auto &[color, expected] : std::map<QString, std::vector<double>>{
             {QStringLiteral("red"), {20, 89, 180, 9}}, {QStringLiteral("blue"), {30, 19, 60, 19}}}) {
        const auto &got = coords[color];
        ASSERT_EQ(got.size(), expected.size()) << color.toStdString() << "\n" << svg.toStdString();
        for (std::size_t i = 0; i < got.size(); ++i)
            EXPECT_NEAR(got[i], expected[i], 3.0) << color.toStdString() << " coordinate " << i;
    }
}

} // namespace
