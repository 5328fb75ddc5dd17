// The settings file: what reads find in hand-made files, that writes change
// nothing but the one value, and that no write can break the file.

#include "inifile.h"
#include "core/atomicfile.h"
#include "testdata.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

using namespace quarvel;

namespace {

class IniFileTest : public ::testing::Test
{
protected:
    void put(const QByteArray &bytes) { ASSERT_TRUE(test::writeFile(mFile, bytes)); }
    QByteArray contents() const { return QFile::exists(mFile) ? test::readFile(mFile) : "<missing>"; }
    QString read(const char *section, const char *key) const
    {
        return ReadIniString(mFile, QString::fromUtf8(section), QString::fromUtf8(key));
    }
    bool write(const char *section, const char *key, const QString &value)
    {
        return WriteIniString(mFile, QString::fromUtf8(section), QString::fromUtf8(key), value);
    }

    QTemporaryDir mDir;
    QString mFile = mDir.filePath(u"Quarvel.ini"_qs);
};

TEST_F(IniFileTest, ReadsFollowTheFileForm)
{
    const struct { const char *file, *section, *key, *expected; } cases[] = {
        {"[SETTINGS]\ndirlib=/srv/lib\n", "settings", "DIRLIB", "/srv/lib"},
        {"[Папки]\nПервая=x\n", "ПАПКИ", "первая", "x"},
        {"[ Settings ]\r\n  DirLib \t=   /a b/c  \r\n", "Settings", "   DirLib", "/a b/c"},
        {"\xEF\xBB\xBF[S]\nk=/x", "S", "k", "/x"},
        {"[Other]\nk=/x\n", "S", "k", ""},
        {"k=/x\n[S]\nA=1\n", "S", "k", ""},
        {"[S]\nk=/first\nK=/second\n", "S", "k", "/first"},
        {"[S]\nA=1\n[s]\nk=/x\n", "S", "k", ""},
        {"[S]\n;k=/x\nk\n", "S", "k", ""},
        {"[S]\nk=a=b\n", "S", "k", "a=b"},
        {"[S]\nk=\"  /a b  \"\n", "S", "k", "  /a b  "},
        {"[S]\nk='/x'\n", "S", "k", "/x"},
        {"[S]\nk=\"/x'\n", "S", "k", "\"/x'"},
        {"[S]\nk=\"\n", "S", "k", "\""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        // A file in another code page than this one is read in this one.
        const std::optional<QByteArray> file = test::settingsText(c.file);
        if (!file)
            continue;
        put(*file);
        EXPECT_EQ(read(c.section, c.key), QString::fromUtf8(c.expected));
    }
}

TEST_F(IniFileTest, MissingFileAndLongValues)
{
    EXPECT_EQ(read("S", "k"), QString());
    EXPECT_FALSE(QFile::exists(mFile)) << "reading must not create the file";

    const QString exact(kIniValueLimit, u'a');
    QString wide;   // characters outside the basic plane count once and are never split
    for (int i = 0; i < 700; ++i)
        wide += QString::fromUcs4(U"\U0001F600");
    const std::optional<QByteArray> wideText = test::settingsText(wide.toUtf8());
    put("[S]\nexact=" + exact.toUtf8() + "\nlong=" + exact.toUtf8() + "bcd\nwide=" + wideText.value_or("") + "\n");
    EXPECT_EQ(read("S", "exact"), exact);
    EXPECT_EQ(read("S", "long"), exact);
    if (wideText) {
        EXPECT_EQ(read("S", "wide"), wide.left(2 * kIniValueLimit));
    }
}

TEST_F(IniFileTest, NumbersInTheUsersLocaleAndInTheFormWeWrite)
{
    put("[S]\nint=9135\nneg=-15\npoint=1234.5\ncomma=1234,5\nword=abc\ntail=12abc\n"
        "inf=inf\nnan=nan\nhuge=1e999\nempty=\n");
    const auto number = [&](const char *key) {
        return ReadIniNumber(mFile, u"S"_qs, QString::fromLatin1(key));
    };
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    EXPECT_EQ(number("comma"), 1234.5);
    EXPECT_EQ(number("point"), 1234.5) << "a number this program wrote must read back";
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(number("int"), 9135);
    EXPECT_EQ(number("neg"), -15);
    for (const char *key : {"word", "tail", "inf", "nan", "huge", "empty", "missing"})
        EXPECT_EQ(number(key), 0) << key;
    QLocale::setDefault(saved);
}

TEST_F(IniFileTest, WritesChangeOnlyTheirValueOrNothing)
{
    EXPECT_TRUE(write("Settings", "Lang", u"En"_qs));
    EXPECT_EQ(contents(), test::settingsText("[Settings]\nLang=En\n"));

    // Comments, blank lines, odd spacing, CR LF line ends and bytes that are
    // not UTF-8 (a file from a Windows code page) stay as they were.
    const QByteArray original = "; Quarvel\r\n[Settings]\r\n  winw = 100 \r\nName=\xC0\xE1\r\n\r\n"
                                "[FavoriteFolders]\r\n0=/a";
    put(original);
    EXPECT_TRUE(write("settings", "WINW", u"9135"_qs));
    EXPECT_TRUE(write("Settings", "WinH", u"6570"_qs));
    EXPECT_TRUE(write("FavoriteFolders", "1", u"/b"_qs));
    EXPECT_TRUE(write("LastOpenFolders", "0", u"/c"_qs));
    EXPECT_EQ(contents(), QByteArray("; Quarvel\r\n[Settings]\r\n  winw = 9135\r\nName=\xC0\xE1\r\n"
                                     "WinH=6570\r\n\r\n[FavoriteFolders]\r\n0=/a\r\n1=/b\r\n"
                                     "[LastOpenFolders]\r\n0=/c\r\n"));

    // A save whose final sync fails leaves the old file whole and no
    // temporary file behind.
    const QByteArray written = contents();
    core::AtomicFile::setGate([](core::AtomicFile::Stage stage, std::uint64_t, std::size_t) {
        return stage == core::AtomicFile::Stage::Sync ? EIO : 0;
    });
    EXPECT_FALSE(write("S", "k", u"new"_qs));
    core::AtomicFile::setGate({});
    EXPECT_EQ(contents(), written);
    EXPECT_EQ(QDir(mDir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"Quarvel.ini"_qs});
    mFile = mDir.filePath(u"none/Quarvel.ini"_qs);
    EXPECT_FALSE(write("S", "k", u"v"_qs));
}

TEST_F(IniFileTest, EveryValueReadsBackAndNothingBreaksTheFile)
{
    for (const char *value : {"", "/home/u/My Slides", "  lead", "trail  ", "\"q\"", "'q'", "\"\"",
                              "\"", "a \"b\" c", "x=y;z [w]", "/дом/Слайды"}) {
        SCOPED_TRACE(value);
        if (!test::settingsText(value)) {
            // Written, it would read back as another text.
            EXPECT_FALSE(write("S", "k", QString::fromUtf8(value))) << "a value the file cannot hold";
            continue;
        }
        ASSERT_TRUE(write("S", "k", QString::fromUtf8(value)));
        EXPECT_EQ(read("S", "k"), QString::fromUtf8(value));
    }

    const QByteArray original = contents();
    const struct { const char *section, *key, *value; } refused[] = {
        {"S", "k", "new\n[Evil]\nx=1"}, {"S", "k", "a\rb"}, {"S", "k\nx", "v"}, {"S", "a=b", "v"},
        {"S", "[x", "v"},               {"S", ";x", "v"},   {"S", "  ", "v"},   {"a]b", "k", "v"},
        {"", "k", "v"},
    };
    for (const auto &c : refused) {
        SCOPED_TRACE(std::string(c.section) + " / " + c.key + " / " + c.value);
        EXPECT_FALSE(write(c.section, c.key, QString::fromUtf8(c.value)));
    }
    EXPECT_FALSE(write("S", "k", QString(QChar(0))));
    EXPECT_EQ(contents(), original);
}

} // namespace
