// quarvel-cli run as a separate process: exit codes, stdout, stderr and the
// files it writes, checked against the slide core read in-process.

#include "library.h"
#include "namecodepage.h"
#include "slideformat.h"
#include "slidewriter.h"
#include "testdata.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace quarvel;
using namespace quarvel::test;

namespace {

struct CliRun
{
    int code = -1;
    QString out, err;

    QStringList outLines() const { return out.split(u'\n', Qt::SkipEmptyParts); }
    QStringList errLines() const { return err.split(u'\n', Qt::SkipEmptyParts); }
};

CliRun cli(const QStringList &args, const QString &workDir = {})
{
    QProcess process;
    process.setWorkingDirectory(workDir);
    process.start(QStringLiteral(QUARVEL_CLI), args);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, {}, "quarvel-cli did not finish normally"};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// A small sound slide whose content depends on seed, so slides can be told apart.
QByteArray makeSlide(int seed, ByteOrder order = ByteOrder::LowFirst)
{
    SlideWriter w(639, 479, 0.0, order);
    w.color(1 + seed % 7);
    w.vector(10 + seed, 10, 600, 400 - seed);
    w.fill(std::vector<core::Point>{{100, 100}, {200, 100}, {150, 180 + seed % 50}});
    return w.finish();
}

QString writeSlide(const QString &dir, const QString &fileName, int seed)
{
    const QString path = QDir(dir).filePath(fileName);
    EXPECT_TRUE(writeFile(path, makeSlide(seed)));
    return path;
}

core::Library open(const QString &path)
{
    return core::Library::open(path.toStdString());
}

QStringList namesOf(const core::Library &lib, int codePage = 1251)
{
    const core::NameCodePage names(codePage);
    QStringList out;
    for (std::size_t i = 0; i < lib.slideCount(); ++i)
        out << QString::fromStdString(names.decode(lib.name(i)));
    return out;
}

QString fact(const CliRun &run, const QString &key)
{
    for (const QString &line : run.outLines()) {
        if (line.startsWith(key + ": "))
            return line.mid(key.size() + 2);
    }
    return {};
}

// A library file of the given slides and stored names.
void writeLibrary(const QString &path, const std::vector<std::pair<QByteArray, std::string>> &slides)
{
    core::Library lib;
    for (const auto &[slide, name] : slides)
        lib.add(name, slide.toStdString(), "test");
    ASSERT_TRUE(writeFile(path, QByteArray::fromStdString(lib.toBytes())));
}

// A library whose second slide, TWO, is cut off before its end-of-file record.
QString cutLibrary(const QString &dir)
{
    const QString path = QDir(dir).filePath("cut.slb");
    writeLibrary(path, {{makeSlide(1), "ONE"}, {makeSlide(2), "TWO"}});
    EXPECT_TRUE(writeFile(path, readFile(path).chopped(2)));
    return path;
}

// Pixels of area that are not white.
int drawnPixels(const QImage &image, const QRect &area)
{
    int drawn = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            drawn += image.pixel(x, y) != qRgb(255, 255, 255);
    }
    return drawn;
}

} // namespace

// --- The corpus ---------------------------------------------------------------

TEST(CliCorpus, EveryLibraryRoundTripsThroughExtractAndCreate)
{
    const QStringList libraries = corpusFiles("slb");
    ASSERT_FALSE(libraries.isEmpty());
    for (const QString &path : libraries) {
        SCOPED_TRACE(path.toStdString());
        const core::Library original = open(path);
        const QString cp = "936"; // the corpus names are ASCII or in a Chinese code page

        QTemporaryDir dir;
        const QString slides = dir.filePath("slides");
        const CliRun names = cli({"names", path, "--codepage=" + cp}); // the option may follow the command
        ASSERT_EQ(names.code, 0) << names.err.toStdString();
        ASSERT_EQ(names.outLines(), namesOf(original, 936));
        const CliRun extract = cli({"--codepage", cp, "extract", path, "-o", slides});
        ASSERT_EQ(extract.code, 0) << extract.err.toStdString();

        QStringList create{"--codepage", cp, "create", dir.filePath("copy.slb")};
        for (const QString &name : names.outLines())
            create << QDir(slides).filePath(name + ".sld");
        const CliRun made = cli(create);
        ASSERT_EQ(made.code, 0) << made.err.toStdString();

        // The same names and slides in the same order write the same library.
        EXPECT_TRUE(open(dir.filePath("copy.slb")).toBytes() == original.toBytes());
    }
}

// A library with a damaged slide, a corpus slide (every corpus slide is in
// the new format, low byte first, and sound), and a slide in the old format
// high byte first.
TEST(CliInfo, ReportsWhatTheComponentReads)
{
    QTemporaryDir dir;
    const QByteArray high = makeSlide(1, ByteOrder::HighFirst);
    const QString library = cutLibrary(dir.path()), old = dir.filePath("old.sld");
    ASSERT_TRUE(writeFile(old, high.left(18) + '\x01' + high.mid(19, 4)
                                   + QByteArray::fromHex("3FF5555555555555 0002 00") + high.mid(kNewHeaderSize)));
    for (const QString &path : {library, corpusDir("sld/2CIR.SLD"), old}) {
        SCOPED_TRACE(path.toStdString());
        const CliRun run = cli({"info", path});
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        if (path == library) {
            EXPECT_EQ(fact(run, "kind"), "slide library");
            EXPECT_EQ(fact(run, "slides"), "2");
            EXPECT_EQ(fact(run, "damaged slides"), "1");
            EXPECT_TRUE(fact(run, "damaged slide").startsWith("\"TWO\""));
            continue;
        }
        const DecodeResult expected = decodeSlide(readFile(path));
        EXPECT_EQ(fact(run, "kind"), "slide");
        EXPECT_EQ(fact(run, "level") + ", " + fact(run, "byte order"),
                  path == old ? "1, high byte first" : "2, low byte first");
        EXPECT_EQ(fact(run, "high x").toInt(), expected.header.highX);
        EXPECT_EQ(fact(run, "vectors").toUInt(), expected.stats.vectors);
        EXPECT_EQ(fact(run, "damage"), "none");
    }
}

// --- Failures -----------------------------------------------------------------

TEST(CliErrors, FailuresGiveOneLineAndExitCode1AndChangeNothing)
{
    QTemporaryDir dir;
    const QString lib = dir.filePath("lib.slb");
    ASSERT_EQ(cli({"create", lib, writeSlide(dir.path(), "a.sld", 1), writeSlide(dir.path(), "b.sld", 2)}).code, 0);
    const QByteArray before = readFile(lib);
    const QString missing = dir.filePath("missing.slb");
    const QString metafile = corpusFiles("wmf").value(0);
    const QString tooLong = writeSlide(dir.path(), "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.sld", 1);
    const QString good = writeSlide(dir.path(), "GOOD.sld", 2);
    const QString target = dir.filePath("new.slb");
    const QString png = dir.filePath("x.png"), made = dir.filePath("made.sld"), cut = cutLibrary(dir.path());
    QDir(dir.path()).mkdir("v2");
    const auto description = [&dir](const char *name, const char *text) {
        EXPECT_TRUE(writeFile(dir.filePath(name), text));
        return dir.filePath(name);
    };

    const struct { QStringList args; QString mentions; } cases[] = {
        {{"info", missing}, missing},
        {{"names", metafile}, metafile},
        {{"names", dir.path()}, dir.path()},
        {{"extract", missing}, missing},
        {{"render", missing, "-o", png}, missing},
        {{"render", corpusDir("slb/DOOR.SLB") + "(NOPE)", "-o", png}, "NOPE"},
        {{"create", target, good, tooLong}, "31"},
        {{"create", target, good, metafile}, metafile},
        {{"create", lib, good, writeSlide(dir.filePath("v2"), "good.sld", 5)}, "already"},
        {{"add", good, good}, good}, // a single slide is not a library
        {{"create", target, writeSlide(dir.path(), "钢.sld", 3)}, "1251"}, // refused, not replaced
        // Edits of lib: one bad argument spoils the whole command.
        {{"delete", lib, "A", "NOPE"}, "NOPE"},
        {{"add", lib, writeSlide(dir.path(), "c.sld", 3), lib}, lib},
        {{"extract", lib, "A", "NOPE", "-o", dir.filePath("out")}, "NOPE"}, // found before anything is written
        // To a name another slide has, or to one no library can hold.
        {{"rename", lib, "A", "b"}, "B"},
        {{"rename", lib, "A", "A/B"}, "A/B"},
        // A damaged slide is reported, though the others are extracted and it is drawn.
        {{"extract", cut, "-o", dir.filePath("cutout")}, "\"TWO\" is damaged"},
        {{"render", cut + "(two)", "-o", dir.filePath("two.png")}, "no end-of-file record"},
        // A slide description's faults name the line.
        {{"make-slide", description("1.txt", "line 0 0 10 10\n"), "-o", made}, "size"},
        {{"make-slide", description("2.txt", "size 100 100\nline 0 0 100 10\n"), "-o", made}, "line 2"},
        {{"make-slide", description("3.txt", "size 100 100\n\ncolor 256\n"), "-o", made}, "line 3"},
        {{"make-slide", description("4.txt", "size 100 100\nwiggle 1 2\n"), "-o", made}, "wiggle"},
        {{"make-slide", description("5.txt", "size 100 100\nfill 1 1 2 2\n"), "-o", made}, "line 2"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const CliRun run = cli(c.args);
        EXPECT_EQ(run.code, 1);
        EXPECT_EQ(run.errLines().size(), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.mentions)) << run.err.toStdString();
    }
    EXPECT_EQ(readFile(lib), before);
    EXPECT_EQ(readFile(good), makeSlide(2)) << "a refused add must leave the slide file alone";
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("out/A.sld")));
    EXPECT_FALSE(QFileInfo::exists(made));
    EXPECT_EQ(readFile(dir.filePath("cutout/ONE.sld")), makeSlide(1));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("cutout/TWO.sld")));
    EXPECT_FALSE(QImage(dir.filePath("two.png")).isNull()) << "a damaged slide is drawn but not reported as sound";
    EXPECT_EQ(QDir(dir.path()).entryList({"*.slb*"}, QDir::Files | QDir::Hidden), (QStringList{"cut.slb", "lib.slb"}))
        << "no library may be left by a failed create, and no temporary file beside the library";
}

TEST(CliErrors, WrongUsageExitsWith2AndHelpWith0)
{
    QTemporaryDir dir;
    const QString slide = writeSlide(dir.path(), "A.sld", 1);
    const QString png = dir.filePath("x.png");
    const QStringList cases[] = {
        {}, {"frobnicate"}, {"info"}, {"info", slide, slide}, {"names", slide, "--bogus"},
        {"--codepage", "12345", "names", slide}, {"--codepage"}, {"create", dir.filePath("x.slb")},
        {"render", slide}, {"render", slide, "-o"}, {"render", slide, "-o", dir.filePath("x.bmp")},
        {"render", slide, "-o", png, "--size", "0x10"},
        {"render", slide, "-o", png, "--background", "nocolour"},
        {"render", slide, "-o", png, "--format", "gif"}, {"make-slide", slide},
    };
    for (const QStringList &args : cases) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        EXPECT_EQ(cli(args).code, 2);
    }
    EXPECT_FALSE(QFileInfo::exists(png));

    for (const char *command : {"", "info", "names", "extract", "create", "add", "delete", "render", "make-slide"}) {
        SCOPED_TRACE(command);
        const CliRun run = cli(*command ? QStringList{command, "--help"} : QStringList{"--help"});
        EXPECT_EQ(run.code, 0);
        EXPECT_TRUE(run.out.startsWith("Usage: quarvel-cli")) << run.out.toStdString();
        EXPECT_TRUE(run.err.isEmpty());
    }
}

// --- Library edits --------------------------------------------------------------

TEST(CliEdit, CreateAddReplaceDeleteAndRename)
{
    QTemporaryDir dir;
    const QString lib = dir.filePath("lib.slb");
    ASSERT_EQ(cli({"create", lib, writeSlide(dir.path(), "a.sld", 1), writeSlide(dir.path(), "дверь_d1.sld", 2)}).code, 0);
    // Windows-1251 bytes, ASCII letters upper-cased, Cyrillic ones kept as they are.
    EXPECT_EQ(QByteArray::fromStdString(open(lib).name(1)), QByteArray("\xe4\xe2\xe5\xf0\xfc_D1"));
    EXPECT_EQ(cli({"names", lib}).outLines(), (QStringList{"A", "дверь_D1"}));

    // A same-named slide is replaced (and moves to the end); a new one is appended.
    QDir(dir.path()).mkdir("v2");
    const CliRun add = cli({"add", lib, writeSlide(dir.filePath("v2"), "A.sld", 5), writeSlide(dir.path(), "c.sld", 3)});
    ASSERT_EQ(add.code, 0) << add.err.toStdString();
    core::Library edited = open(lib);
    EXPECT_EQ(namesOf(edited), (QStringList{"дверь_D1", "A", "C"}));
    EXPECT_EQ(QByteArray::fromStdString(edited.slideBytes(1)), makeSlide(5));
    EXPECT_EQ(QByteArray::fromStdString(edited.slideBytes(0)), makeSlide(2));

    ASSERT_EQ(cli({"delete", lib, "дверь_d1", "C"}).code, 0);
    ASSERT_EQ(cli({"rename", lib, "a", "door_1"}).code, 0);
    edited = open(lib);
    EXPECT_EQ(namesOf(edited), QStringList{"DOOR_1"});
    EXPECT_EQ(QByteArray::fromStdString(edited.slideBytes(0)), makeSlide(5));
}

TEST(CliExtract, FileNamesAreMadeSafeAndNeverOverwriteEachOther)
{
    QTemporaryDir dir;
    const std::string names[] = {"A/B", "A:B", "a_b", "CON", "DOT.", "..", "PLAIN", "ESC-[2J"};
    std::vector<std::pair<QByteArray, std::string>> slides;
    for (int i = 0; i < 8; ++i)
        slides.emplace_back(makeSlide(i), names[i]);
    const QString path = dir.filePath("odd.slb");
    writeLibrary(path, slides);
    // A damaged library may hold control bytes in a name; new names cannot.
    ASSERT_TRUE(writeFile(path, readFile(path).replace("ESC-", "ESC\x1b")));

    const CliRun run = cli({"extract", path}, dir.path());
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const char *expected[] = {"A_B.sld", "A_B~2.sld", "a_b~3.sld", "_CON.sld", "DOT.sld", "_.sld", "PLAIN.sld", "ESC_x1b[2J.sld"};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(readFile(dir.filePath(expected[i])), makeSlide(i)) << expected[i];
    // A control byte in a name never reaches the terminal raw.
    EXPECT_EQ(cli({"names", path}).outLines().value(7), "ESC\\x1b[2J");
}

// --- Rendering ----------------------------------------------------------------

TEST(CliRender, WritesPngOrTheFormatTheExtensionNames)
{
    QTemporaryDir dir;
    const QString slide = corpusDir("sld/2CIR.SLD");
    // One colour on the background (stored as a 1-bit image): both colours land where they belong.
    const QString red = dir.filePath("red.png");
    const QString redSlide = writeSlide(dir.path(), "red.sld", 0);
    ASSERT_EQ(cli({"render", redSlide, "-o", red, "--size", "640x480", "--background", "white"}).code, 0);
    const QImage two(red);
    ASSERT_EQ(two.size(), QSize(640, 480));
    EXPECT_EQ(two.pixel(150, 479 - 130), qRgb(255, 0, 0)) << "inside the filled triangle";
    EXPECT_EQ(two.pixel(400, 479 - 130), qRgb(255, 255, 255)) << "background";

    // Default size: 800 wide, the height from the slide's shape.
    ASSERT_EQ(cli({"render", slide, "-o", dir.filePath("wide.png")}).code, 0);
    const double aspect = decodeSlide(readFile(slide)).header.drawingAspect();
    const QImage wide(dir.filePath("wide.png"));
    EXPECT_EQ(wide.size(), QSize(800, qRound(800 / aspect)));
    EXPECT_EQ(wide.pixel(0, 0), qRgb(0, 0, 0)) << "a black background unless told otherwise";

    // The format follows the extension in any case, or --format for a whole library.
    ASSERT_EQ(cli({"render", slide, "-o", dir.filePath("a.DXF")}).code, 0);
    const QByteArray drawing = readFile(dir.filePath("a.DXF"));
    EXPECT_TRUE(drawing.contains("ENTITIES") && drawing.trimmed().endsWith("EOF"));
    const QString lib = corpusDir("slb/DOOR.SLB");
    for (const QString format : {"png", "svg", "wmf", "dxf"}) {
        const QString out = dir.filePath(format);
        const CliRun all = cli({"render", lib, "-o", out, "--format", format, "--size", "200x100"});
        ASSERT_EQ(all.code, 0) << all.err.toStdString();
        QStringList expected;
        for (const QString &name : namesOf(open(lib)))
            expected << name + u'.' + format;
        expected.sort();
        EXPECT_EQ(QDir(out).entryList(QDir::Files, QDir::Name), expected);
    }
}

TEST(CliRender, ThumbnailsHaveTheRequestedLongestSide)
{
    QTemporaryDir dir;
    const QString png = dir.filePath("t.png");
    const struct { QString input; int size; QSize expected; } cases[] = {
        {corpusDir("sld/2CIR.SLD"), 128, QSize(128, 89)},  // the slide's shape
        {corpusDir("slb/DOOR.SLB"), 200, QSize(200, 200)}, // a 2 x 2 grid
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.input.toStdString());
        const CliRun run = cli({"thumbnail", c.input, png, QString::number(c.size)});
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        const QImage image(png);
        ASSERT_EQ(image.size(), c.expected);
        // Every cell of the grid (the whole picture for a slide) shows lines.
        const int cells = c.expected.width() == c.expected.height() ? 2 : 1, w = image.width() / cells,
                  h = image.height() / cells;
        for (int cell = 0; cell < cells * cells; ++cell)
            EXPECT_GT(drawnPixels(image, QRect(cell % cells * w, cell / cells * h, w, h)), 0) << "cell " << cell;
    }
}

TEST(CliBuild, LoadsNoQtLibrary)
{
    QProcess ldd;
    ldd.start("ldd", {QStringLiteral(QUARVEL_CLI)});
    if (!ldd.waitForFinished(30000))
        GTEST_SKIP() << "ldd is not available";
    const QString libraries = QString::fromUtf8(ldd.readAllStandardOutput());
    EXPECT_TRUE(libraries.contains("libc.so")) << libraries.toStdString();
    EXPECT_FALSE(libraries.contains("Qt", Qt::CaseInsensitive)) << libraries.toStdString();
}

// --- Slides from descriptions, and the bundled sample -----------------------------

TEST(CliMakeSlide, BuildsEveryStatementIntoRecords)
{
    QTemporaryDir dir;
    const QString desc = dir.filePath("d.txt"), out = dir.filePath("d.sld");
    ASSERT_TRUE(writeFile(desc, "# test\nsize 200 100\ncolor 1\n"
                                "line 0 0 199 99   # corner to corner\n"
                                "polyline 10 10 20 10 20 90\n" // 2 segments: 1 vector + 1 common endpoint
                                "offset 1 1 5 5\nendpoint 3 -4\n"
                                "fill 10 10 50 10 30 40\ncircle 100 50 30\n"));
    const CliRun run = cli({"make-slide", desc, "-o", out});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    SlideDrawing drawing;
    const DecodeResult r = decodeSlide(readFile(out), &drawing);
    ASSERT_TRUE(r.isSound()) << r.error;
    EXPECT_EQ(QSize(r.header.highX, r.header.highY), QSize(199, 99));
    EXPECT_FALSE(r.stats.outsideArea);
    EXPECT_EQ(r.stats.offsetVectors, 1u);
    EXPECT_EQ(r.stats.fillPolygons, 1u);
    EXPECT_GE(r.stats.commonEndpointVectors, 2u);
    // The polyline is drawn as given, though stored backwards and relative.
    const auto has = [&](core::Point a, core::Point b) {
        return std::any_of(drawing.lines.begin(), drawing.lines.end(), [&](const core::Line &d) {
            return (d.a == a && d.b == b) || (d.a == b && d.b == a);
        });
    };
    EXPECT_TRUE(has({20, 10}, {20, 90}));
    EXPECT_TRUE(has({21, 91}, {25, 95})) << "offset vector from the point the polyline ended on";
    EXPECT_TRUE(has({21, 91}, {24, 87})) << "common endpoint from the offset vector's from point";
}

TEST(CliMakeSlide, TheSampleLibraryHoldsSoundColouredSlidesWithFills)
{
    const core::Library sample = open(QStringLiteral(QUARVEL_SAMPLE_LIBRARY));
    ASSERT_EQ(sample.kind(), core::Library::Kind::Library);
    ASSERT_GE(sample.slideCount(), 5u);
    for (std::size_t i = 0; i < sample.slideCount(); ++i) {
        SCOPED_TRACE(sample.name(i));
        const DecodeResult r = sample.decode(i, nullptr);
        EXPECT_TRUE(r.isSound());
        EXPECT_FALSE(r.stats.outsideArea);
        EXPECT_GE(r.stats.distinctColors, 3u);
        EXPECT_GT(r.stats.fillPolygons, 0u);
        EXPECT_GT(r.stats.vectors + r.stats.commonEndpointVectors, 0u);
    }
}
