// The slide library object: reading real and damaged libraries, names in
// their code pages, edits, and saves that never damage the file on disk.

#include "core/atomicfile.h"
#include "slideerror.h"
#include "slideformat.h"
#include "slidelibrary.h"
#include "slidewriter.h"
#include "testdata.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

using namespace quarvel;

namespace {

QByteArray hex(const char *text) { return QByteArray::fromHex(text); }   // spaces are skipped

// The two slides of the library example in the format notes: 100 x 100,
// square pixels, a diagonal in colour 7 and a box in colour 1.
const QByteArray kHeader = QByteArray(kSlideId, kSlideIdLength) + hex("5602 6300 6300 80969800 0200 3412");
QByteArray lineSlide() { return kHeader + hex("07FF 0000000063006300 00FC"); }
QByteArray boxSlide() { return kHeader + hex("01FF 0A000A0059000A00 00FE4F 4FFE00 00FEB1 00FC"); }

QByteArray exampleLibrary()
{
    SlideLibrary lib;
    lib.addSlideData(lineSlide(), "LINE", QStringLiteral("LINE"));
    lib.addSlideData(boxSlide(), "BOX", QStringLiteral("BOX"));
    return lib.toLibraryBytes();
}

// A library image with a hand-made directory: entries of (name, address).
QByteArray libraryWith(const std::vector<std::pair<QByteArray, quint32>> &entries, bool terminate,
                       const QByteArray &tail)
{
    QByteArray bytes(kLibraryId, 32);
    for (const auto &[name, address] : entries) {
        QByteArray entry(36, '\0');
        std::memcpy(entry.data(), name.constData(), std::min<qsizetype>(name.size(), 32));
        for (int i = 0; i < 4; ++i)
            entry[32 + i] = static_cast<char>((address >> (8 * i)) & 0xFF);
        bytes += entry;
    }
    return bytes + (terminate ? QByteArray(36, '\0') : QByteArray()) + tail;
}

class LibraryFiles : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return mDir.filePath(name); }
    QString write(const QString &name, const QByteArray &bytes) const
    {
        EXPECT_TRUE(test::writeFile(path(name), bytes));
        return path(name);
    }
    QTemporaryDir mDir;
};

} // namespace

// Reading libraries is left to the corpus test below.
TEST(SlideLibraryWriter, WorkedExampleIsWrittenByteForByte)
{
    const QByteArray expected = QByteArray(kLibraryId, 32) + "LINE" + QByteArray(28, '\0') + hex("8C000000")
                                + "BOX" + QByteArray(29, '\0') + hex("B7000000") + QByteArray(36, '\0') + lineSlide()
                                + boxSlide();
    EXPECT_EQ(exampleLibrary().toHex(' '), expected.toHex(' '));
}

TEST_F(LibraryFiles, DamagedDirectoriesKeepTheReadableSlides)
{
    const QByteArray a = lineSlide(), b = boxSlide();
    const quint32 dir2 = 32 + 36 * 3;
    struct Case { const char *what; QByteArray bytes; std::vector<bool> readable; const char *problem; };
    const Case cases[] = {
        {"address past the end", libraryWith({{"A", dir2}, {"B", 100000}}, true, a), {true, false},
         "past the end of the file"},
        {"address inside the directory", libraryWith({{"A", dir2}, {"B", 40}}, true, a), {true, false},
         "inside the directory"},
        {"no terminator", libraryWith({{"A", 32 + 72}, {"B", 32 + 72 + quint32(a.size())}}, false, a + b),
         {true, true}, "no terminating entry"},
        {"directory past the end", libraryWith({{"A", 200}}, false, QByteArray(20, '\x01')), {false},
         "runs past the end"},
        {"header only", QByteArray(kLibraryId, 32), {}, "no terminating entry"},
        {"padding between slides",
         libraryWith({{"A", dir2}, {"B", dir2 + quint32(a.size()) + 7}}, true, a + QByteArray(7, '\0') + b),
         {true, true}, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        SlideLibrary lib;
        lib.setLibraryFile(write(QStringLiteral("d.slb"), c.bytes));
        EXPECT_EQ(lib.kind(), SlideLibrary::Kind::Library);
        ASSERT_EQ(lib.slideCount(), int(c.readable.size()));
        for (int i = 0; i < lib.slideCount(); ++i) {
            if (c.readable[i])
                EXPECT_EQ(lib.slideData(i), i == 0 ? a : b);
            else
                EXPECT_THROW(lib.slideData(i), SlideError);
        }
        const QString problem = lib.problems().empty() ? QString() : lib.problems().front().what;
        EXPECT_EQ(problem.isEmpty(), !c.problem);
        EXPECT_TRUE(!c.problem || problem.contains(QLatin1String(c.problem))) << problem.toStdString();
    }
}

TEST_F(LibraryFiles, NamesKeepTheirBytes)
{
    // A name filling all 32 bytes has no NUL, and cannot be written back: the
    // save refuses rather than cut it; bytes after a NUL are ignored. (Names
    // in a code page keep their bytes in the corpus round trip.)
    const quint32 dir = 32 + 36 * 3;
    const QByteArray bytes = libraryWith({{QByteArray(32, 'N'), dir}, {QByteArray("AB\0garbage", 10), dir}}, true,
                                         lineSlide());
    SlideLibrary lib;
    lib.setLibraryFile(write(QStringLiteral("n.slb"), bytes));
    ASSERT_EQ(lib.slideCount(), 2);
    EXPECT_EQ(lib.slideNameBytes(0), QByteArray(32, 'N'));
    EXPECT_EQ(lib.slideNameBytes(1), QByteArray("AB"));
    EXPECT_THROW(lib.toLibraryBytes(), SlideError);
}

TEST_F(LibraryFiles, EditsChangeOnlyTheObjectUntilSaved)
{
    const QString libPath = write(QStringLiteral("edit.slb"), exampleLibrary());
    const QString extra = write(QStringLiteral("extra.sld"), boxSlide());
    SlideLibrary lib;
    lib.setLibraryFile(libPath);
    lib.addSlideFile(extra);
    lib.addSlideFile(extra, QString::fromUtf8("Окно"));
    lib.deleteSlide(0);
    ASSERT_EQ(lib.slideCount(), 3);
    EXPECT_EQ(QStringList({lib.slideName(0), lib.slideName(1), lib.slideName(2)}),
              QStringList({QStringLiteral("BOX"), QStringLiteral("EXTRA"), QString::fromUtf8("Окно")}));
    EXPECT_EQ(test::readFile(libPath), exampleLibrary());
    EXPECT_THROW(lib.deleteSlide(3), SlideError);
    // A failed replacement keeps the old slide where it was.
    EXPECT_THROW(lib.replaceSlide(0, write(QStringLiteral("notes.sld"), "just text")), SlideError);
    EXPECT_EQ(lib.slideName(0), QStringLiteral("BOX"));
    // A slide's own name in another case is not taken for another slide's.
    lib.renameSlide(1, QStringLiteral("extra"));
    EXPECT_EQ(lib.slideName(1), QStringLiteral("EXTRA"));

    // Saving over the very file the object was read from.
    lib.saveLibrary(libPath);
    SlideLibrary reread;
    reread.setLibraryFile(libPath);
    ASSERT_EQ(reread.slideCount(), 3);
    EXPECT_EQ(reread.slideNameBytes(2), hex("ceeaedee"));   // only ASCII letters are upper-cased
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(reread.slideData(i), boxSlide());
    // The object reads its slides from the file it just wrote, and goes on.
    EXPECT_EQ(lib.slideData(2), boxSlide());
    lib.deleteSlide(0);
    lib.saveLibrary(libPath);
    EXPECT_EQ(lib.slideData(1), boxSlide());
}

// A slide whose last records are damaged so that it ends in one stray byte:
// read on, that byte and the next slide's header make valid records (for this
// common header) that end exactly where the next slide's records begin. Only
// the directory tells where the slide ends.
TEST_F(LibraryFiles, ADamagedSlideDoesNotRunIntoTheNextOne)
{
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
    SlideLibrary damaged;
    damaged.setLibraryFile(write(QStringLiteral("damaged.slb"), bytes));
    SlideDrawing d;
    EXPECT_FALSE(damaged.decode(0, &d).isSound());
    ASSERT_FALSE(d.batches.empty());
    for (const SlideDrawing::Batch &b : d.batches)
        EXPECT_EQ(b.color, 1);
}

// Directory entries that share one slide keep sharing it when the library is
// written again, so a crafted library never multiplies; a slide without its
// end-of-file record is written back as it stands, up to the next slide.
TEST_F(LibraryFiles, SharedAndDamagedSlidesAreWrittenAsTheyStand)
{
    const int shared = 2000;
    const quint32 data = 32 + 36 * (shared + 2);
    const QByteArray cut = boxSlide().chopped(2);
    std::vector<std::pair<QByteArray, quint32>> entries;
    for (int i = 0; i < shared; ++i)
        entries.push_back({"S" + QByteArray::number(i), data});
    entries.push_back({"CUT", data + quint32(lineSlide().size())});
    const QByteArray bytes = libraryWith(entries, true, lineSlide() + cut);
    const QString libPath = write(QStringLiteral("shared.slb"), bytes);
    SlideLibrary lib;
    lib.setLibraryFile(libPath);
    lib.addSlideFile(write(QStringLiteral("extra.sld"), boxSlide()));
    lib.saveLibrary(libPath);

    const QByteArray saved = test::readFile(libPath);
    EXPECT_EQ(saved.size(), bytes.size() + 36 + boxSlide().size());
    EXPECT_TRUE(saved.endsWith(lineSlide() + cut + boxSlide()));
    SlideLibrary again;
    again.setLibraryFile(libPath);
    ASSERT_EQ(again.slideCount(), shared + 2);
    EXPECT_EQ(again.slideData(shared - 1), lineSlide());
    EXPECT_THROW(again.slideData(shared), SlideError);
    EXPECT_EQ(again.slideData(shared + 1), boxSlide());
}

TEST_F(LibraryFiles, FailedSavesLeaveTheOldFileByteForByte)
{
    const QByteArray original = exampleLibrary();
    const QString libPath = write(QStringLiteral("keep.slb"), original);
    SlideLibrary lib;
    lib.setLibraryFile(libPath);
    lib.addSlideFile(write(QStringLiteral("more.sld"), boxSlide()));

    // Each step of the save fails in turn: a write at the start and one
    // midway, the final sync, the close and the rename.
    using Stage = core::AtomicFile::Stage;
    const struct { Stage stage; std::uint64_t at; int error; const char *reason; } failures[] = {
        {Stage::Write, 0, ENOSPC, "No space left on device"},
#ifdef EDQUOT
        {Stage::Write, 100, EDQUOT, "Disk quota exceeded"},
#else
        {Stage::Write, 100, EFBIG, "File too large"},
#endif
        {Stage::Sync, 0, EIO, "Input/output error"},          {Stage::Close, 0, EIO, "Input/output error"},
        {Stage::Rename, 0, EROFS, "Read-only file system"},
    };
    for (const auto &f : failures) {
        SCOPED_TRACE(f.reason);
        core::AtomicFile::setGate([&f](Stage stage, std::uint64_t written, std::size_t size) {
            return stage == f.stage && written + size > f.at ? f.error : 0;
        });
        QString why;
        try {
            lib.saveLibrary(libPath);
        } catch (const SlideError &e) {
            why = e.message();
        }
        core::AtomicFile::setGate({});
        EXPECT_EQ(why, QDir::toNativeSeparators(libPath) + QStringLiteral(": cannot write: ") + QLatin1String(f.reason));
        EXPECT_EQ(test::readFile(libPath), original);
        EXPECT_EQ(QDir(mDir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no temporary file is left";
    }
    EXPECT_THROW(lib.saveLibrary(path(QStringLiteral("no/such/folder/x.slb"))), SlideError);
#ifndef Q_OS_WIN
    // Saved through a link, the file the link names is replaced; the link
    // stays. (A Windows shortcut is a file of its own; symbolic links there
    // need a right users do not have.)
    const QString link = path(QStringLiteral("link.slb"));
    ASSERT_TRUE(QFile::link(libPath, link));
    lib.saveLibrary(link);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(test::readFile(libPath).size(), original.size() + 36 + boxSlide().size());
#endif
}

// Each slide kept, removed and put back again: a library Quarvel wrote comes
// back byte for byte (a damaged slide too, as it stood), one from other
// software with the same slides and names in the same order.
TEST_F(LibraryFiles, KeptSlidesGoBackWhereTheyWere)
{
    const QByteArray cut = boxSlide().chopped(2);
    const quint32 data = 32 + 36 * 3;
    SlideLibrary damaged;
    damaged.setLibraryFile(write(QStringLiteral("cut.slb"),
                                 libraryWith({{"LINE", data}, {"CUT", data + quint32(lineSlide().size())}}, true,
                                             lineSlide() + cut)));
    damaged.saveLibrary(path(QStringLiteral("ours.slb")));
    const struct { const char *what; QString file; bool ours; } cases[] = {
        {"written by Quarvel, with a damaged slide", path(QStringLiteral("ours.slb")), true},
        {"written by other software", test::corpusDir(QStringLiteral("slb/DOOR.SLB")), false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray original = test::readFile(c.file);
        SlideLibrary lib;
        lib.setLibraryFile(c.file);
        ASSERT_GE(lib.slideCount(), 2);
        std::vector<QByteArray> names, slides;
        for (int i = 0; i < lib.slideCount(); ++i) {
            names.push_back(lib.slideNameBytes(i));
            slides.push_back(QByteArray::fromStdString(lib.core().slideSpan(std::size_t(i))));
        }
        for (const int i : {0, lib.slideCount() - 1, lib.slideCount() / 2}) {
            core::KeptSlide kept = lib.keepSlide(i);
            lib.deleteSlide(i);
            EXPECT_THROW(lib.insertSlide(lib.slideCount() + 1, kept), SlideError);
            lib.insertSlide(i, kept);
            EXPECT_THROW(lib.insertSlide(0, kept), SlideError) << "a second slide of the same name";
        }
        ASSERT_EQ(lib.slideCount(), int(names.size()));
        const QByteArray saved = lib.toLibraryBytes();
        if (c.ours) {
            EXPECT_EQ(saved, original);
        }
        SlideLibrary again;
        again.setLibraryFile(write(QStringLiteral("again.slb"), saved));
        ASSERT_EQ(again.slideCount(), int(names.size()));
        for (int i = 0; i < again.slideCount(); ++i) {
            EXPECT_EQ(again.slideNameBytes(i), names[std::size_t(i)]);
            const QByteArray slide = QByteArray::fromStdString(again.core().slideSpan(std::size_t(i)));
            EXPECT_TRUE(slides[std::size_t(i)].startsWith(slide)) << i;
        }
    }
}

// Every corpus library reads with the manifest's slide count and every slide
// decodes soundly. (The command-line tests rewrite each one byte for byte.)
TEST(SlideLibraryCorpus, LibrariesRead)
{
    const QString manifest = QString::fromUtf8(test::readFile(test::corpusDir(QStringLiteral("MANIFEST.md"))));
    const QRegularExpression row(QStringLiteral(R"(^\| (\S+\.(?:slb|SLB)) \|[^|]*\| (\d+) \| (\d+) \|)"),
                                 QRegularExpression::MultilineOption);
    int checked = 0;
    for (const auto &m : row.globalMatch(manifest)) {
        const QString path = test::corpusDir(QStringLiteral("slb/") + m.captured(1));
        SCOPED_TRACE(path.toStdString());
        SlideLibrary lib(NameCodec(936));
        lib.setLibraryFile(path);
        ASSERT_EQ(lib.slideCount(), m.captured(3).toInt());
        EXPECT_TRUE(lib.problems().empty());
        for (int i = 0; i < lib.slideCount(); ++i) {
            const DecodeResult r = lib.decode(i, nullptr);
            EXPECT_TRUE(r.isSound()) << lib.slideName(i).toStdString() << ": " << r.error;
        }
        ++checked;
    }
    EXPECT_EQ(checked, test::corpusFiles(QStringLiteral("slb")).size());

    SlideLibrary gbk(NameCodec(936));
    gbk.setLibraryFile(test::corpusDir(QStringLiteral("slb/xyp1964.slb")));
    EXPECT_EQ(gbk.slideName(0), QString::fromUtf8("钢筋符号"));
    EXPECT_EQ(gbk.indexOf(QStringLiteral("zcbh04")), 12);
}
