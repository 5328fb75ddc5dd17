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

using namespace quarvel;
using namespace quarvel::test;

namespace {

struct CliRun
{
    int code = -1;
    QString out;
    QString err;

    QStringList outLines() const { return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
    QStringList errLines() const { return err.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
};

CliRun cli(const QStringList &args, const QString &workDir = {})
{
    QProcess process;
    if (!workDir.isEmpty())
        process.setWorkingDirectory(workDir);
    process.start(QStringLiteral(QUARVEL_CLI), args);
    CliRun run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
        run.err = QStringLiteral("quarvel-cli did not finish normally");
        return run;
    }
    run.code = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// A small sound slide whose content depends on seed, so slides can be told apart.
QByteArray makeSlide(int seed)
{
    SlideWriter w(639, 479);
    w.color(1 + seed % 7);
    w.vector(10 + seed, 10, 600, 400 - seed);
    const core::Point triangle[] = {{100, 100}, {200, 100}, {150, 180 + seed % 50}};
    w.fill(triangle);
    return w.finish();
}

QString writeSlide(const QString &dir, const QString &fileName, int seed)
{
    const QString path = QDir(dir).filePath(fileName);
    EXPECT_TRUE(writeFile(path, makeSlide(seed)));
    return path;
}

QByteArray bytes(const std::string &s)
{
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
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

// Libraries in the corpus with names in a Chinese code page.
int codePageFor(const core::Library &lib)
{
    for (std::size_t i = 0; i < lib.slideCount(); ++i) {
        for (char c : lib.name(i)) {
            if (static_cast<unsigned char>(c) >= 0x80)
                return 936;
        }
    }
    return 1251;
}

QString fact(const CliRun &run, const QString &key)
{
    for (const QString &line : run.outLines()) {
        if (line.startsWith(key + QLatin1String(": ")))
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
    ASSERT_TRUE(writeFile(path, bytes(lib.toBytes())));
}

} // namespace

// --- The corpus ---------------------------------------------------------------

TEST(CliCorpus, EveryLibraryRoundTripsThroughExtractAndCreate)
{
    const QStringList libraries = corpusFiles(QStringLiteral("slb"));
    ASSERT_FALSE(libraries.isEmpty());
    for (const QString &path : libraries) {
        SCOPED_TRACE(path.toStdString());
        const core::Library original = open(path);
        const QString cp = QString::number(codePageFor(original));

        QTemporaryDir dir;
        const QString slides = dir.filePath(QStringLiteral("slides"));
        const CliRun names = cli({QStringLiteral("--codepage"), cp, QStringLiteral("names"), path});
        ASSERT_EQ(names.code, 0) << names.err.toStdString();
        ASSERT_EQ(names.outLines(), namesOf(original, cp.toInt()));

        const CliRun extract = cli({QStringLiteral("--codepage"), cp, QStringLiteral("extract"), path, QStringLiteral("-o"), slides});
        ASSERT_EQ(extract.code, 0) << extract.err.toStdString();

        QStringList create{QStringLiteral("--codepage"), cp, QStringLiteral("create"), dir.filePath(QStringLiteral("copy.slb"))};
        for (const QString &name : names.outLines())
            create << QDir(slides).filePath(name + QLatin1String(".sld"));
        const CliRun made = cli(create);
        ASSERT_EQ(made.code, 0) << made.err.toStdString();

        const core::Library copy = open(dir.filePath(QStringLiteral("copy.slb")));
        ASSERT_EQ(copy.slideCount(), original.slideCount());
        for (std::size_t i = 0; i < original.slideCount(); ++i) {
            EXPECT_EQ(copy.name(i), original.name(i)) << i;
            EXPECT_EQ(copy.slideBytes(i), original.slideBytes(i)) << i;
        }
    }
}

TEST(CliCorpus, InfoReportsWhatTheComponentReads)
{
    for (const QString &path : corpusFiles(QStringLiteral("slb"))) {
        SCOPED_TRACE(path.toStdString());
        const CliRun run = cli({QStringLiteral("info"), path});
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        EXPECT_EQ(fact(run, QStringLiteral("kind")), QStringLiteral("slide library"));
        EXPECT_EQ(fact(run, QStringLiteral("slides")).toULongLong(), open(path).slideCount());
        EXPECT_EQ(fact(run, QStringLiteral("damaged slides")), QStringLiteral("0"));
        EXPECT_EQ(fact(run, QStringLiteral("directory problems")), QStringLiteral("0"));
    }
    for (const QString &path : corpusFiles(QStringLiteral("sld"))) {
        SCOPED_TRACE(path.toStdString());
        const DecodeResult expected = decodeSlide(readFile(path));
        const CliRun run = cli({QStringLiteral("info"), path});
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        EXPECT_EQ(fact(run, QStringLiteral("kind")), QStringLiteral("slide"));
        EXPECT_EQ(fact(run, QStringLiteral("high x")).toInt(), expected.header.highX);
        EXPECT_EQ(fact(run, QStringLiteral("high y")).toInt(), expected.header.highY);
        EXPECT_EQ(fact(run, QStringLiteral("vectors")).toUInt(), expected.stats.vectors);
        EXPECT_EQ(fact(run, QStringLiteral("solid-fill records")).toUInt(), expected.stats.fillRecords);
        EXPECT_EQ(fact(run, QStringLiteral("damage")), QStringLiteral("none"));
    }
}

TEST(CliCorpus, NamesAreDecodedInTheChosenCodePageAndPrintedAsUtf8)
{
    const QString path = corpusDir(QStringLiteral("slb/xyp1964.slb"));
    const CliRun gbk = cli({QStringLiteral("--codepage"), QStringLiteral("936"), QStringLiteral("names"), path});
    ASSERT_EQ(gbk.code, 0);
    EXPECT_EQ(gbk.outLines().value(0), QStringLiteral("钢筋符号"));
    // The option may also follow the command.
    const CliRun after = cli({QStringLiteral("names"), path, QStringLiteral("--codepage=936")});
    EXPECT_EQ(after.out, gbk.out);
    const CliRun cyrillic = cli({QStringLiteral("names"), path});
    ASSERT_EQ(cyrillic.code, 0);
    EXPECT_NE(cyrillic.outLines().value(0), QStringLiteral("钢筋符号"));
}

// --- Failures -----------------------------------------------------------------

TEST(CliErrors, FailuresGiveOneLineNamingTheFileAndExitCode1)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.slb"));
    const QString metafile = corpusFiles(QStringLiteral("wmf")).value(0);
    const QString tooLong = writeSlide(dir.path(), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.sld"), 1);
    const QString good = writeSlide(dir.path(), QStringLiteral("GOOD.sld"), 2);
    const QString target = dir.filePath(QStringLiteral("new.slb"));

    const struct
    {
        QStringList args;
        QString mentions;
    } cases[] = {
        {{QStringLiteral("info"), missing}, missing},
        {{QStringLiteral("names"), metafile}, metafile},
        {{QStringLiteral("names"), dir.path()}, dir.path()},
        {{QStringLiteral("extract"), missing}, missing},
        {{QStringLiteral("render"), missing, QStringLiteral("-o"), dir.filePath(QStringLiteral("x.png"))}, missing},
        {{QStringLiteral("create"), target, good, tooLong}, QStringLiteral("31")},
        {{QStringLiteral("create"), target, good, metafile}, metafile},
        {{QStringLiteral("add"), good, good}, good},   // a single slide is not a library
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const CliRun run = cli(c.args);
        EXPECT_EQ(run.code, 1);
        ASSERT_EQ(run.errLines().size(), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.mentions)) << run.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(target)) << "a failed create must not leave a library behind";
    EXPECT_EQ(readFile(good), makeSlide(2)) << "a refused add must leave the slide file alone";
}

TEST(CliErrors, WrongUsageExitsWith2)
{
    QTemporaryDir dir;
    const QString slide = writeSlide(dir.path(), QStringLiteral("A.sld"), 1);
    const QStringList cases[] = {
        {},
        {QStringLiteral("frobnicate")},
        {QStringLiteral("info")},
        {QStringLiteral("info"), slide, slide},
        {QStringLiteral("names"), slide, QStringLiteral("--bogus")},
        {QStringLiteral("--codepage"), QStringLiteral("12345"), QStringLiteral("names"), slide},
        {QStringLiteral("--codepage")},
        {QStringLiteral("create"), dir.filePath(QStringLiteral("x.slb"))},
        {QStringLiteral("render"), slide},
        {QStringLiteral("render"), slide, QStringLiteral("-o")},
        {QStringLiteral("render"), slide, QStringLiteral("-o"), dir.filePath(QStringLiteral("x.bmp"))},
        {QStringLiteral("render"), slide, QStringLiteral("-o"), dir.filePath(QStringLiteral("x.png")), QStringLiteral("--size"), QStringLiteral("0x10")},
        {QStringLiteral("render"), slide, QStringLiteral("-o"), dir.filePath(QStringLiteral("x.png")), QStringLiteral("--size"), QStringLiteral("100000x10")},
        {QStringLiteral("render"), slide, QStringLiteral("-o"), dir.filePath(QStringLiteral("x.png")), QStringLiteral("--background"), QStringLiteral("nocolour")},
        {QStringLiteral("render"), slide, QStringLiteral("-o"), dir.filePath(QStringLiteral("x.png")), QStringLiteral("--format"), QStringLiteral("gif")},
        {QStringLiteral("make-slide"), slide},
    };
    for (const QStringList &args : cases) {
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        const CliRun run = cli(args);
        EXPECT_EQ(run.code, 2) << run.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("x.png"))));
}

TEST(CliErrors, HelpIsThereForTheToolAndEveryCommand)
{
    for (const char *command : {"", "info", "names", "extract", "create", "add", "delete", "render", "make-slide"}) {
        SCOPED_TRACE(command);
        QStringList args;
        if (*command)
            args << QString::fromLatin1(command);
        const CliRun run = cli(args + QStringList{QStringLiteral("--help")});
        EXPECT_EQ(run.code, 0);
        EXPECT_TRUE(run.out.startsWith(QLatin1String("Usage: quarvel-cli"))) << run.out.toStdString();
        EXPECT_TRUE(run.err.isEmpty());
    }
}

TEST(CliErrors, DamagedSlidesAreReportedWhileTheOthersAreStillExtracted)
{
    QTemporaryDir dir;
    // A library whose second slide is cut off before its end-of-file record.
    const QString path = dir.filePath(QStringLiteral("cut.slb"));
    writeLibrary(path, {{makeSlide(1), "ONE"}, {makeSlide(2), "TWO"}});
    ASSERT_TRUE(writeFile(path, readFile(path).chopped(2)));

    const CliRun info = cli({QStringLiteral("info"), path});
    EXPECT_EQ(info.code, 0);
    EXPECT_EQ(fact(info, QStringLiteral("damaged slides")), QStringLiteral("1"));
    EXPECT_TRUE(fact(info, QStringLiteral("damaged slide")).startsWith(QLatin1String("\"TWO\"")));

    const CliRun extract = cli({QStringLiteral("extract"), path, QStringLiteral("-o"), dir.filePath(QStringLiteral("out"))});
    EXPECT_EQ(extract.code, 1);
    ASSERT_EQ(extract.errLines().size(), 1);
    EXPECT_TRUE(extract.err.contains(path) && extract.err.contains(QLatin1String("TWO"))) << extract.err.toStdString();
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("out/ONE.sld"))), makeSlide(1));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("out/TWO.sld"))));

    const CliRun render = cli({QStringLiteral("render"), path + QStringLiteral("(two)"), QStringLiteral("-o"), dir.filePath(QStringLiteral("two.png"))});
    EXPECT_EQ(render.code, 1) << "a damaged slide is drawn but not reported as sound";
    EXPECT_EQ(render.errLines().size(), 1);
    EXPECT_FALSE(QImage(dir.filePath(QStringLiteral("two.png"))).isNull());
}

// --- Library edits --------------------------------------------------------------

TEST(CliEdit, CreateAddReplaceAndDelete)
{
    QTemporaryDir dir;
    const QString lib = dir.filePath(QStringLiteral("lib.slb"));
    const QString a = writeSlide(dir.path(), QStringLiteral("a.sld"), 1);
    const QString b = writeSlide(dir.path(), QStringLiteral("b.sld"), 2);
    ASSERT_EQ(cli({QStringLiteral("create"), lib, a, b}).code, 0);
    EXPECT_EQ(namesOf(open(lib)), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));

    // A same-named slide is replaced (and moves to the end); a new one is appended.
    QDir(dir.path()).mkdir(QStringLiteral("v2"));
    const QString newA = writeSlide(dir.filePath(QStringLiteral("v2")), QStringLiteral("A.sld"), 5);
    const QString c = writeSlide(dir.path(), QStringLiteral("c.sld"), 3);
    const CliRun add = cli({QStringLiteral("add"), lib, newA, c});
    ASSERT_EQ(add.code, 0) << add.err.toStdString();
    core::Library edited = open(lib);
    EXPECT_EQ(namesOf(edited), (QStringList{QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("C")}));
    EXPECT_EQ(bytes(edited.slideBytes(1)), makeSlide(5));
    EXPECT_EQ(bytes(edited.slideBytes(0)), makeSlide(2));

    ASSERT_EQ(cli({QStringLiteral("delete"), lib, QStringLiteral("b"), QStringLiteral("C")}).code, 0);
    ASSERT_EQ(cli({QStringLiteral("rename"), lib, QStringLiteral("a"), QStringLiteral("door_1")}).code, 0);
    edited = open(lib);
    EXPECT_EQ(namesOf(edited), QStringList{QStringLiteral("DOOR_1")});
    EXPECT_EQ(bytes(edited.slideBytes(0)), makeSlide(5));
}

TEST(CliEdit, AFailedEditLeavesTheLibraryByteForByte)
{
    QTemporaryDir dir;
    const QString lib = dir.filePath(QStringLiteral("lib.slb"));
    ASSERT_EQ(cli({QStringLiteral("create"), lib, writeSlide(dir.path(), QStringLiteral("a.sld"), 1),
                   writeSlide(dir.path(), QStringLiteral("b.sld"), 2)})
                  .code,
              0);
    const QByteArray before = readFile(lib);

    // delete: one unknown name spoils the whole command.
    CliRun run = cli({QStringLiteral("delete"), lib, QStringLiteral("A"), QStringLiteral("NOPE")});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.err.contains(QLatin1String("NOPE")));
    // add: a file that is not a slide after a good one.
    run = cli({QStringLiteral("add"), lib, writeSlide(dir.path(), QStringLiteral("c.sld"), 3), lib});
    EXPECT_EQ(run.code, 1);
    // extract: unknown names are found before anything is written.
    run = cli({QStringLiteral("extract"), lib, QStringLiteral("A"), QStringLiteral("NOPE"), QStringLiteral("-o"), dir.filePath(QStringLiteral("out"))});
    EXPECT_EQ(run.code, 1);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("out/A.sld"))));
    // rename: to a name another slide has, or to one no library can hold.
    for (const char *newName : {"b", "A/B", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"}) {
        run = cli({QStringLiteral("rename"), lib, QStringLiteral("A"), QString::fromLatin1(newName)});
        EXPECT_EQ(run.code, 1) << newName;
        EXPECT_EQ(run.errLines().size(), 1) << run.err.toStdString();
    }
    // create: two files of the same name.
    QDir(dir.path()).mkdir(QStringLiteral("v2"));
    run = cli({QStringLiteral("create"), lib, writeSlide(dir.path(), QStringLiteral("x.sld"), 4),
               writeSlide(dir.filePath(QStringLiteral("v2")), QStringLiteral("X.sld"), 5)});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.err.contains(QLatin1String("already")));

    EXPECT_EQ(readFile(lib), before);
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*.slb*")}, QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("lib.slb")})
        << "no temporary file may be left beside the library";
}

TEST(CliEdit, NamesAreEncodedInTheChosenCodePage)
{
    QTemporaryDir dir;
    const QString lib = dir.filePath(QStringLiteral("lib.slb"));
    const QString door = writeSlide(dir.path(), QStringLiteral("дверь_d1.sld"), 1);
    ASSERT_EQ(cli({QStringLiteral("create"), lib, door}).code, 0);
    // Windows-1251 bytes, ASCII letters upper-cased, Cyrillic ones kept as they are.
    EXPECT_EQ(bytes(open(lib).name(0)), QByteArray("\xe4\xe2\xe5\xf0\xfc_D1"));
    const CliRun names = cli({QStringLiteral("names"), lib});
    EXPECT_EQ(names.outLines(), QStringList{QStringLiteral("дверь_D1")});

    const CliRun gbk = cli({QStringLiteral("--codepage"), QStringLiteral("936"), QStringLiteral("create"), lib,
                         writeSlide(dir.path(), QStringLiteral("钢筋.sld"), 2)});
    ASSERT_EQ(gbk.code, 0) << gbk.err.toStdString();
    EXPECT_EQ(bytes(open(lib).name(0)), QByteArray("\xb8\xd6\xbd\xee"));

    // A character the code page lacks is refused, not replaced.
    const CliRun refused = cli({QStringLiteral("create"), lib, writeSlide(dir.path(), QStringLiteral("钢.sld"), 3)});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.contains(QLatin1String("1251")));
}

TEST(CliExtract, FileNamesAreMadeSafeAndNeverOverwriteEachOther)
{
    QTemporaryDir dir;
    const std::string names[] = {"A/B", "A:B", "a_b", "CON", "DOT.", "..", "PLAIN", "ESC-[2J"};
    std::vector<std::pair<QByteArray, std::string>> slides;
    for (int i = 0; i < 8; ++i)
        slides.emplace_back(makeSlide(i), names[i]);
    const QString path = dir.filePath(QStringLiteral("odd.slb"));
    writeLibrary(path, slides);
    // A damaged library may hold control bytes in a name; new names cannot.
    ASSERT_TRUE(writeFile(path, readFile(path).replace("ESC-", "ESC\x1b")));

    const CliRun run = cli({QStringLiteral("extract"), path}, dir.path());
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const char *expected[] = {"A_B.sld", "A_B~2.sld", "a_b~3.sld", "_CON.sld", "DOT.sld", "_.sld", "PLAIN.sld", "ESC_x1b[2J.sld"};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(readFile(dir.filePath(QString::fromLatin1(expected[i]))), makeSlide(i)) << expected[i];
    // A control byte in a name never reaches the terminal raw.
    EXPECT_EQ(cli({QStringLiteral("names"), path}).outLines().value(7), QStringLiteral("ESC\\x1b[2J"));
}

// --- Rendering ----------------------------------------------------------------

TEST(CliRender, WritesPngSvgAndMetafile)
{
    QTemporaryDir dir;
    const QString slide = corpusDir(QStringLiteral("sld/2CIR.SLD"));
    const QString png = dir.filePath(QStringLiteral("a.png"));
    ASSERT_EQ(cli({QStringLiteral("render"), slide, QStringLiteral("-o"), png, QStringLiteral("--size"), QStringLiteral("300x200"),
                   QStringLiteral("--background"), QStringLiteral("white")})
                  .code,
              0);
    const QImage image(png);
    ASSERT_EQ(image.size(), QSize(300, 200));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
    bool drawn = false;
    for (int y = 0; y < image.height() && !drawn; ++y) {
        for (int x = 0; x < image.width() && !drawn; ++x)
            drawn = image.pixel(x, y) != qRgb(255, 255, 255);
    }
    EXPECT_TRUE(drawn) << "the slide's lines must show on the picture";

    // One colour on the background (stored as a 1-bit image): both colours
    // land where they belong.
    const QString red = writeSlide(dir.path(), QStringLiteral("red.sld"), 0);
    const QString redPng = dir.filePath(QStringLiteral("red.png"));
    ASSERT_EQ(cli({QStringLiteral("render"), red, QStringLiteral("-o"), redPng, QStringLiteral("--size"), QStringLiteral("640x480")}).code, 0);
    const QImage two(redPng);
    ASSERT_EQ(two.size(), QSize(640, 480));
    EXPECT_EQ(two.pixel(150, 479 - 130), qRgb(255, 0, 0)) << "inside the filled triangle";
    EXPECT_EQ(two.pixel(400, 479 - 130), qRgb(0, 0, 0)) << "background";

    // Default size: 800 wide, the height from the slide's shape.
    const QString wide = dir.filePath(QStringLiteral("wide.png"));
    ASSERT_EQ(cli({QStringLiteral("render"), slide, QStringLiteral("-o"), wide}).code, 0);
    const double aspect = decodeSlide(readFile(slide)).header.drawingAspect();
    EXPECT_EQ(QImage(wide).size(), QSize(800, qRound(800 / aspect)));

    const QString svg = dir.filePath(QStringLiteral("a.svg"));
    ASSERT_EQ(cli({QStringLiteral("render"), slide, QStringLiteral("-o"), svg}).code, 0);
    EXPECT_TRUE(readFile(svg).contains("<svg"));

    const QString wmf = dir.filePath(QStringLiteral("a.out"));
    ASSERT_EQ(cli({QStringLiteral("render"), slide, QStringLiteral("-o"), wmf, QStringLiteral("--format"), QStringLiteral("wmf")}).code, 0);
    EXPECT_TRUE(readFile(wmf).startsWith(QByteArray("\xd7\xcd\xc6\x9a")));

    const QString dxf = dir.filePath(QStringLiteral("a.DXF"));
    ASSERT_EQ(cli({QStringLiteral("render"), slide, QStringLiteral("-o"), dxf}).code, 0);
    const QByteArray drawing = readFile(dxf);
    EXPECT_TRUE(drawing.contains("ENTITIES") && drawing.contains("LINE") && drawing.trimmed().endsWith("EOF"));
}

TEST(CliRender, ThumbnailsHaveTheRequestedLongestSide)
{
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("t.png"));
    const struct
    {
        QString input;
        int size;
        QSize expected;
    } cases[] = {
        {corpusDir(QStringLiteral("sld/2CIR.SLD")), 128, QSize(128, 89)},   // the slide's shape
        {corpusDir(QStringLiteral("slb/DOOR.SLB")), 200, QSize(200, 200)},  // a 2 x 2 grid
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.input.toStdString());
        const CliRun run = cli({QStringLiteral("thumbnail"), c.input, png, QString::number(c.size)});
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        const QImage image(png);
        ASSERT_EQ(image.size(), c.expected);
        // Every cell of the grid (the whole picture for a slide) shows lines.
        const int cells = c.expected.width() == c.expected.height() ? 2 : 1;
        for (int cell = 0; cell < cells * cells; ++cell) {
            const QRect area(cell % cells * image.width() / cells, cell / cells * image.height() / cells,
                             image.width() / cells, image.height() / cells);
            int drawn = 0;
            for (int y = area.top(); y <= area.bottom(); ++y) {
                for (int x = area.left(); x <= area.right(); ++x)
                    drawn += image.pixel(x, y) != qRgb(255, 255, 255);
            }
            EXPECT_GT(drawn, 0) << "cell " << cell;
        }
    }
}

TEST(CliRender, SlideOfALibraryAndWholeLibrary)
{
    QTemporaryDir dir;
    const QString lib = corpusDir(QStringLiteral("slb/DOOR.SLB"));
    const QString one = dir.filePath(QStringLiteral("d90.png"));
    ASSERT_EQ(cli({QStringLiteral("render"), lib + QStringLiteral("(d90)"), QStringLiteral("-o"), one}).code, 0);
    EXPECT_FALSE(QImage(one).isNull());

    const CliRun missing = cli({QStringLiteral("render"), lib + QStringLiteral("(NOPE)"), QStringLiteral("-o"), one});
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(missing.err.contains(QLatin1String("NOPE")));

    for (const char *format : {"png", "svg", "wmf", "dxf"}) {
        const QString out = dir.filePath(QString::fromLatin1(format));
        const CliRun all = cli({QStringLiteral("render"), lib, QStringLiteral("-o"), out, QStringLiteral("--format"),
                             QString::fromLatin1(format), QStringLiteral("--size"), QStringLiteral("200x100")});
        ASSERT_EQ(all.code, 0) << all.err.toStdString();
        QStringList expected;
        for (const QString &name : namesOf(open(lib)))
            expected << name + QLatin1Char('.') + QLatin1String(format);
        expected.sort();
        EXPECT_EQ(QDir(out).entryList(QDir::Files, QDir::Name), expected);
    }
}

TEST(CliBuild, LoadsNoQtLibrary)
{
    QProcess ldd;
    ldd.start(QStringLiteral("ldd"), {QStringLiteral(QUARVEL_CLI)});
    if (!ldd.waitForFinished(30000))
        GTEST_SKIP() << "ldd is not available";
    const QString libraries = QString::fromUtf8(ldd.readAllStandardOutput());
    EXPECT_TRUE(libraries.contains(QLatin1String("libc.so"))) << libraries.toStdString();
    EXPECT_FALSE(libraries.contains(QLatin1String("Qt"), Qt::CaseInsensitive)) << libraries.toStdString();
}

// --- Slides from descriptions, and the bundled sample -----------------------------

TEST(CliMakeSlide, BuildsEveryStatementIntoRecords)
{
    QTemporaryDir dir;
    const QString desc = dir.filePath(QStringLiteral("d.txt"));
    ASSERT_TRUE(writeFile(desc, "# test\n"
                                "size 200 100\n"
                                "color 1\n"
                                "line 0 0 199 99   # corner to corner\n"
                                "polyline 10 10 20 10 20 90\n"   // 2 segments: 1 vector + 1 common endpoint
                                "offset 1 1 5 5\n"
                                "endpoint 3 -4\n"
                                "color 3\n"
                                "fill 10 10 50 10 30 40\n"
                                "circle 100 50 30\n"));
    const QString out = dir.filePath(QStringLiteral("d.sld"));
    const CliRun run = cli({QStringLiteral("make-slide"), desc, QStringLiteral("-o"), out});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    SlideDrawing drawing;
    const DecodeResult r = decodeSlide(readFile(out), &drawing);
    ASSERT_TRUE(r.isSound()) << r.error;
    EXPECT_EQ(r.header.highX, 199);
    EXPECT_EQ(r.header.highY, 99);
    EXPECT_FALSE(r.stats.outsideArea);
    EXPECT_EQ(r.stats.offsetVectors, 1u);
    EXPECT_EQ(r.stats.fillPolygons, 1u);
    EXPECT_GE(r.stats.commonEndpointVectors, 2u);
    // The polyline is drawn as given, though stored backwards and relative.
    const auto has = [&](core::Point a, core::Point b) {
        for (const core::Line &d : drawing.lines) {
            if ((d.a == a && d.b == b) || (d.a == b && d.b == a))
                return true;
        }
        return false;
    };
    EXPECT_TRUE(has({10, 10}, {20, 10}));
    EXPECT_TRUE(has({20, 10}, {20, 90}));
    EXPECT_TRUE(has({21, 91}, {25, 95})) << "offset vector from the point the polyline ended on";
    EXPECT_TRUE(has({21, 91}, {24, 87})) << "common endpoint from the offset vector's from point";
}

TEST(CliMakeSlide, ErrorsNameTheLine)
{
    QTemporaryDir dir;
    const struct
    {
        const char *text;
        const char *mentions;
    } cases[] = {
        {"line 0 0 10 10\n", "size"},
        {"size 100 100\nline 0 0 100 10\n", "line 2"},
        {"size 100 100\n\ncolor 256\n", "line 3"},
        {"size 100 100\nwiggle 1 2\n", "wiggle"},
        {"size 100 100\nfill 1 1 2 2\n", "line 2"},
        {"size 100 100\nendpoint 200 0\n", "line 2"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        const QString desc = dir.filePath(QStringLiteral("d.txt"));
        ASSERT_TRUE(writeFile(desc, c.text));
        const CliRun run = cli({QStringLiteral("make-slide"), desc, QStringLiteral("-o"), dir.filePath(QStringLiteral("d.sld"))});
        EXPECT_EQ(run.code, 1);
        EXPECT_EQ(run.errLines().size(), 1);
        EXPECT_TRUE(run.err.contains(QLatin1String(c.mentions))) << run.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("d.sld"))));
    }
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
