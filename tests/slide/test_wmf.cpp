// Metafile and DXF export: exact records for small slides, a structural
// check (object table rules included) of the export of every corpus slide,
// and independent readers (libwmf's wmf2svg, ezdxf) taking what it holds.

#include "decodedslide.h"
#include "dxfwriter.h"
#include "slidelibrary.h"
#include "slidewriter.h"
#include "testdata.h"
#include "wmfwriter.h"

#include <QProcess>
#include <QSize>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

using namespace quarvel;
using test::decodeBytes;
using Points = std::vector<Point>;

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

TEST(SlideToWmf, DrawsVectorsAsPolylinesAndFillsAsPolygonsWithYDown)
{
    SlideWriter sw(199, 99);   // square pixels: 200 x 100 units
    sw.color(1);
    sw.vector(10, 20, 30, 20);
    sw.commonEndpoint(0, 40);   // from (10, 20), the vector's from point
    sw.commonEndpoint(20, 0);   // continues the previous one: one chain
    sw.vector(50, 50, 50, 50);  // a dot
    sw.color(1);                // repeats the colour in force
    sw.fill(Points{{100, 10}, {150, 10}, {120, 60}});
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

// What a small DXF reader of our own finds in a file: the structure R12
// needs, and the drawing entities by kind and by colour.
struct DxfFile
{
    QStringList problems;
    std::string version;
    std::map<std::string, int> entities;              // LINE, SOLID, POLYLINE
    std::map<int, int> colours;                       // colour number -> entities
    std::vector<double> extents;                      // $EXTMIN x, y, $EXTMAX x, y
};

DxfFile readDxf(const std::string &text)
{
    DxfFile f;
    std::vector<std::pair<int, std::string>> groups;
    std::istringstream in(text);
    bool ok = false;
    for (std::string code, value; std::getline(in, code) && std::getline(in, value);) {
        const auto number = QString::fromStdString(code).trimmed().toInt(&ok);
        if (!ok)
            return f.problems << QStringLiteral("group code \"%1\"").arg(QString::fromStdString(code)), f;
        groups.emplace_back(number, value);
    }
    if (groups.empty() || groups.back() != std::pair<int, std::string>(0, "EOF"))
        f.problems << QStringLiteral("no EOF at the end");
    std::vector<std::string> sections;
    std::string section, entity, variable;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const auto &[code, value] = groups[i];
        if (code == 0 && value == "SECTION" && i + 1 < groups.size() && groups[i + 1].first == 2) {
            section = groups[++i].second;
            sections.push_back(section);
        } else if (code == 0 && value == "ENDSEC") {
            section.clear();
        } else if (code == 0 && section == "ENTITIES") {
            entity = value;
            if (value == "LINE" || value == "SOLID" || value == "POLYLINE")
                ++f.entities[value];
        } else if (code == 62 && section == "ENTITIES" && entity != "VERTEX") {
            ++f.colours[std::stoi(value)];
        } else if (code == 9 && section == "HEADER") {
            variable = value;
        } else if (section == "HEADER" && variable == "$ACADVER" && code == 1) {
            f.version = value;
        } else if (section == "HEADER" && (variable == "$EXTMIN" || variable == "$EXTMAX") && code < 30) {
            f.extents.push_back(std::stod(value));
        }
    }
    if (sections != std::vector<std::string>{"HEADER", "TABLES", "ENTITIES"})
        f.problems << QStringLiteral("sections");
    return f;
}

std::string dxfOf(const test::DecodedSlide &d)
{
    std::string out;
    core::StringSink sink(out);
    core::writeDxf(sink, d.header, d.drawing);
    return out;
}

// Each kind of fill: a triangle and a quadrilateral are a SOLID each, a
// convex hexagon a fan of two, an arrow (not convex) a closed POLYLINE, a
// fill without area its outline, a LINE; colour 0 becomes 7.
TEST(SlideToDxf, WritesEachVectorAndFillInItsColour)
{
    SlideWriter sw(639, 479, 4.0 / 3.0);
    sw.color(0);
    sw.vector(10, 20, 300, 400);
    sw.vector(50, 50, 50, 50);
    sw.color(1);
    sw.fill(Points{{100, 10}, {150, 10}, {120, 60}});
    sw.fill(Points{{200, 10}, {260, 10}, {260, 70}, {200, 70}});
    sw.fill(Points{{300, 100}, {340, 100}, {360, 130}, {340, 160}, {300, 160}, {280, 130}});
    sw.fill(Points{{400, 100}, {450, 130}, {400, 160}, {420, 130}, {400, 110}});
    sw.color(5);
    sw.fill(Points{{500, 100}, {600, 100}, {600, 100}});
    const auto d = decodeBytes(sw.finish());
    const DxfFile f = readDxf(dxfOf(d));
    EXPECT_TRUE(f.problems.isEmpty()) << f.problems.join("; ").toStdString();
    EXPECT_EQ(f.version, "AC1009");
    EXPECT_EQ(f.entities, (std::map<std::string, int>{{"LINE", 3}, {"POLYLINE", 1}, {"SOLID", 4}}));
    EXPECT_EQ(f.colours, (std::map<int, int>{{1, 5}, {5, 1}, {7, 2}}));
    // Square pixels: the slide's own coordinates.
    EXPECT_EQ(f.extents, (std::vector<double>{10, 10, 600, 400}));
}

// Every slide of the corpus, alone or in a library, exported through the
// library object as a metafile and as DXF: the metafile passes the structural
// check; our DXF reader finds a sound file with an entity for every vector
// and at least one for every fill, in the slide's colours. The independent
// readers are slow: wmf2svg reads the single slides and the first slide of
// each library, and ezdxf (when installed) audits the DXF of the smaller
// single slides without errors and counts the same.
TEST(CorpusExport, EveryCorpusSlideExportsSoundFiles)
{
    QTemporaryDir dir;
    QStringList sample, files;
    std::map<QString, QString> counts;   // file -> what the script prints: "0 LINEs SOLIDs"
    int exported = 0;
    for (const QString &path : test::corpusFiles("sld") + test::corpusFiles("slb")) {
        SlideLibrary lib;
        lib.setLibraryFile(path);
        for (int i = 0; i < lib.slideCount(); ++i, ++exported) {
            SCOPED_TRACE(path.toStdString() + " " + std::to_string(i));
            const QString target = dir.filePath(QString::number(exported));
            lib.exportToWmf(target + QStringLiteral(".wmf"), i, exported % 2 ? Qt::white : Qt::black);
            const WmfFile wmf = readWmf(test::readFile(target + QStringLiteral(".wmf")));
            EXPECT_TRUE(wmf.problems.isEmpty()) << wmf.problems.join("; ").toStdString();
            EXPECT_LE(wmf.objects, 4);
            if (i == 0)
                sample << target + QStringLiteral(".wmf");
            const auto d = decodeBytes(lib.slideData(i));
            const std::string dxf = dxfOf(d);
            const DxfFile f = readDxf(dxf);
            EXPECT_TRUE(f.problems.isEmpty()) << f.problems.join("; ").toStdString();
            std::map<int, int> least;   // colour -> vectors and fills
            for (const SlideDrawing::Batch &b : d.drawing.batches)
                least[b.color == 0 ? 7 : b.color] += b.kind == SlideDrawing::Kind::Lines ? int(b.count) : 1;
            ASSERT_EQ(f.colours.size(), least.size());
            for (const auto &[colour, n] : least)
                EXPECT_GE(f.colours.at(colour), n) << "colour " << colour;
            const auto n = [&f](const char *kind) { return f.entities.count(kind) ? f.entities.at(kind) : 0; };
            EXPECT_GE(n("LINE"), int(d.drawing.lines.size()));
            if (lib.kind() == SlideLibrary::Kind::Slide && dxf.size() < 300'000) {
                ASSERT_TRUE(test::writeFile(target + QStringLiteral(".dxf"), QByteArray::fromStdString(dxf)));
                files << target + QStringLiteral(".dxf");
                counts[files.back()] = QStringLiteral("0 %1 %2").arg(n("LINE")).arg(n("SOLID"));
            }
        }
    }
    EXPECT_GT(exported, 1000);
    const QString wmf2svg = QStandardPaths::findExecutable(QStringLiteral("wmf2svg"));
    for (qsizetype at = 0; !wmf2svg.isEmpty() && at < sample.size(); at += 4) {   // four at a time: libwmf is slow
        QProcess p[4];
        const qsizetype n = std::min<qsizetype>(4, sample.size() - at);
        for (qsizetype i = 0; i < n; ++i)
            p[i].start(wmf2svg, {QStringLiteral("-o"), sample[at + i] + QStringLiteral(".svg"), sample[at + i]});
        for (qsizetype i = 0; i < n; ++i)
            EXPECT_TRUE(p[i].waitForFinished(30'000) && p[i].exitStatus() == QProcess::NormalExit && p[i].exitCode() == 0
                        && test::readFile(sample[at + i] + QStringLiteral(".svg")).contains("<svg"))
                << sample[at + i].toStdString();
    }
    if (wmf2svg.isEmpty())
        std::printf("[  SKIPPED ] wmf2svg (libwmf) is not installed\n");
    // Debian's python3-ezdxf lives in the system's Python, which another
    // python3 earlier on the PATH would not see.
    QString python = QStandardPaths::findExecutable(QStringLiteral("python3"), {QStringLiteral("/usr/bin")});
    if (python.isEmpty())
        python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty() || QProcess::execute(python, {QStringLiteral("-c"), QStringLiteral("import ezdxf")}) != 0)
        GTEST_SKIP() << "python3 with ezdxf (python3-ezdxf) is not installed";
    static const char script[] = R"(import sys, ezdxf
for name in sys.argv[1:]:
    doc = ezdxf.readfile(name)
    auditor = doc.audit()
    msp = doc.modelspace()
    print(len(auditor.errors), len(msp.query("LINE")), len(msp.query("SOLID")))
)";
    QProcess p;
    p.start(python, QStringList{QStringLiteral("-c"), QString::fromLatin1(script)} + files);
    ASSERT_TRUE(p.waitForFinished(120'000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), files.size());
    EXPECT_GT(files.size(), 50);
    for (qsizetype i = 0; i < files.size(); ++i)
        EXPECT_EQ(lines[i], counts[files[i]]) << files[i].toStdString();   // no audit errors, the same counts
}

} // namespace
