// Path rules in the Windows form and the Linux form, and the file-system
// tests on real files.

#include "paths.h"
#include "settingslocation.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <tuple>

using namespace quarvel;

namespace {

TEST(PathRules, FolderNameShortNameAndKind)
{
    const struct { const char *path; char16_t sep; const char *folder, *name, *shotName; FileKind kind; } cases[] = {
        {"C:\\Work\\Doors 1.sld", u'\\', "C:\\Work", "Doors 1.sld", "Doors 1", FileKind::Slide},
        {"C:\\PLAN.SLB", u'\\', "C:", "PLAN.SLB", "PLAN", FileKind::Library},
        {"C:\\Work\\", u'\\', "C:\\Work", "", "", FileKind::Other},
        {"plan.slb", u'\\', "", "", "", FileKind::Library},
        {"C:/Work/pic.wmf", u'\\', "", "", "", FileKind::Metafile},
        {"C:\\Work\\a.s", u'\\', "C:\\Work", "a.s", "", FileKind::Other},
        {"\\\\server\\share\\Lib.slb", u'\\', "\\\\server\\share", "Lib.slb", "Lib", FileKind::Library},
        {"//server/share/Lib.slb", u'\\', "", "", "", FileKind::Library},
        {"//server/share/Lib.slb", u'/', "//server/share", "Lib.slb", "Lib", FileKind::Library},
        {"/home/u/My Slides/plan.Slb", u'/', "/home/u/My Slides", "plan.Slb", "plan", FileKind::Library},
        {"/plan.slbx", u'/', "", "plan.slbx", "plan.", FileKind::Other},
        {"/home/u/back\\slash.sld", u'/', "/home/u", "back\\slash.sld", "back\\slash", FileKind::Slide},
        {"/home/u/planslb", u'/', "/home/u", "planslb", "pla", FileKind::Library},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        const QString path = QString::fromUtf8(c.path);
        EXPECT_EQ(FolderOfPath(path, c.sep), QString::fromUtf8(c.folder));
        EXPECT_EQ(NameOfPath(path, c.sep), QString::fromUtf8(c.name));
        EXPECT_EQ(GetShotName(path, c.sep), QString::fromUtf8(c.shotName));
        EXPECT_EQ(fileKindOf(path), c.kind);
    }
#ifdef Q_OS_WIN
    // This system's own form takes either separator.
    EXPECT_EQ(FolderOfPath(u"//server/share/Lib.slb"_qs), u"\\\\server\\share"_qs);
    EXPECT_EQ(NameOfPath(u"D:/Work\\plan.slb"_qs), u"plan.slb"_qs);
#endif
    // A folder is a folder whatever its name ends with.
    for (const auto &[path, folder, kind] : {std::tuple{"/a/wmf", true, ListItem::Folder},
                                             {"/a/x.wmf", false, ListItem::Metafile},
                                             {"/a/x.Sld", false, ListItem::SlideFile},
                                             {"/a/readme", false, ListItem::NoExtension}})
        EXPECT_EQ(listItemKind(QLatin1String(path), folder), kind) << path;
}

TEST(PathRules, CompactPath)
{
    const struct { const char *text; int limit; char16_t sep; const char *expected; } cases[] = {
        {"C:\\Program Files\\Common Files\\Design Library Collection\\Mechanical\\Fasteners", 54, u'\\',
         "C:\\Program Files\\...\\Mechanical\\Fasteners"},
        {"C:\\Documents and Settings\\User\\My Documents\\Drawings\\Slides\\Project", 54, u'\\',
         "C:\\...\\Drawings\\Slides\\Project"},
        {"C:\\Documents and Settings\\User\\My Documents\\Drawings\\Slides\\Project", 56, u'\\',
         "C:\\Documents and Settings\\...\\Drawings\\Slides\\Project"},
        {"/Documents and Settings/User/My Documents/Drawings/Slides/Project", 54, u'/',
         "/Documents and Settings/.../Drawings/Slides/Project"},
        {"C:\\Folder\\yyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyy\\file.sld", 54, u'\\',
         "C:\\Folder\\...\\file.sld"},   // 60 characters
        {"C:\\Folder\\yyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyy\\file.sld", 54, u'\\',
         "C:\\Folder\\yyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyy\\file.sld"},   // 54 characters
        {"C:\\Folder\\file.sld", 3, u'\\', "..."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(CompactPath(QString::fromUtf8(c.text), c.limit, c.sep), QString::fromUtf8(c.expected));
    }
}

// The Windows form on a made-up disk: a lookup ignores case and gives the
// stored (long) name of each component.
TEST(PathRules, LongPathAndMakeFolderPath)
{
    QMap<QString, QString> windows = {{"c:\\", "C:\\"}, {"c:\\progra~1", "Program Files"},
                                      {"c:\\progra~1\\plans", "plans"}, {"c:\\progra~1\\plans\\a.sld", "a.sld"},
                                      {"\\\\server\\share\\lib.slb", "Lib.slb"}};
    const auto longPath = [&](const char *path) {
        return GetLongPath(QString::fromUtf8(path), kWindowsPaths, [&](const QString &prefix) {
            const QString key = prefix.toLower();
            return windows.contains(key) ? std::optional(windows.value(key)) : std::nullopt;
        });
    };
    EXPECT_EQ(longPath("c:\\progra~1\\plans\\a.sld"), u"c:\\Program Files\\plans\\a.sld"_qs);
    EXPECT_EQ(longPath("C:\\PROGRA~1\\PLANS\\"), u"C:\\Program Files\\plans"_qs);
    EXPECT_EQ(longPath("C:\\nosuch\\a.sld"), QString());
    EXPECT_EQ(longPath("C:\\"), u"C:\\"_qs);
    // A network path's root is the whole "\\server\share\".
    EXPECT_EQ(longPath("\\\\SERVER\\share\\LIB.slb"), u"\\\\SERVER\\share\\Lib.slb"_qs);
    EXPECT_EQ(longPath("\\\\server\\share\\"), u"\\\\server\\share\\"_qs);
    EXPECT_EQ(longPath("\\\\server\\share\\none.slb"), QString());
    EXPECT_EQ(longPath(""), QString());

    // Folders are made from the root down, only where missing, and nothing
    // is tried after a failure; a creation that reports success but leaves
    // nothing must end, not loop.
    enum { Creates, Fails, ClaimsButDoesNot } creating = Creates;
    QStringList existing, created;
    const auto make = [&](const QString &path, PathForm form) {
        const auto key = [&](QString p) {
            if (p.size() > form.rootLength && p.endsWith(form.separator))
                p.chop(1);
            return form.separator == u'\\' ? p.toLower() : p;
        };
        return MakeFolderPath(path, form, [&](const QString &p) { return existing.contains(key(p)); },
            [&](const QString &p) {
                created << p;
                if (creating == Creates)
                    existing << key(p);
                return creating != Fails;
            });
    };
    existing = {u"c:\\"_qs, u"c:\\a"_qs, u"\\\\server\\share"_qs};
    EXPECT_TRUE(make(u"C:\\A\\B\\C"_qs, kWindowsPaths));
    EXPECT_TRUE(make(u"c:\\a\\b\\c\\"_qs, kWindowsPaths));
    EXPECT_TRUE(make(u"\\\\server\\share\\Plans"_qs, kWindowsPaths)) << "a share is not made";
    EXPECT_EQ(created, (QStringList{u"C:\\A\\B"_qs, u"C:\\A\\B\\C"_qs, u"\\\\server\\share\\Plans"_qs}));
    existing = {u"/"_qs, u"/home"_qs};
    for (auto how : {Fails, ClaimsButDoesNot}) {
        creating = how;
        created.clear();
        EXPECT_FALSE(make(u"/home/u/b"_qs, kLinuxPaths));
        EXPECT_TRUE(how != Fails || created == QStringList{u"/home/u"_qs});
    }
}

TEST(FileSystem, ExistenceTestsOnRealFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid() && QDir(dir.path()).mkpath(u"Work/empty"_qs));
    const auto path = [&](const char *relative) { return dir.filePath(QString::fromUtf8(relative)); };
    QFile(path("Work/plan.slb")).open(QIODevice::WriteOnly);
#ifndef _WIN32
    // A pipe would block an open for reading until a writer came.
    ASSERT_EQ(mkfifo(QFile::encodeName(path("Work/pipe.sld")).constData(), 0600), 0);
#endif

    const struct { const char *relative; bool file, folder, existingFolder; } cases[] = {
        {"Work", false, true, true},           {"Work/", false, true, true},
        {"Work/plan.slb", true, true, false},
        {"Work/plan.slb/", true, false, false}, {"Work/pipe.sld", false, true, false},
        {"Work/none", false, false, false},    {"none/x", false, false, false},
        {"Work/*.slb", false, true, false},    {"Work/pl?n.slb", false, true, false},
        {"Work/empty/*", false, true, false},
        {"W*/plan.slb", false, false, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.relative);
#ifdef _WIN32
        if (QByteArray(c.relative).contains("pipe"))
            continue; // no named pipes in the file system
#endif
        EXPECT_EQ(FileExists(path(c.relative)), c.file);
        EXPECT_EQ(FolderExists(path(c.relative)), c.folder);
        EXPECT_EQ(IsExistingFolder(path(c.relative)), c.existingFolder);
    }
    EXPECT_FALSE(FileExists(QString()));
    EXPECT_TRUE(FolderExists(QString())) << "the current folder";

    EXPECT_TRUE(MakeFolderPath(path("Work/A/B/C")));
    EXPECT_TRUE(QFileInfo(path("Work/A/B/C")).isDir());
    QString failed;
    EXPECT_FALSE(MakeFolderPath(path("Work/plan.slb/sub"), &failed));
    // Paths come back in the form this system writes them.
    const auto native = [&](const char *relative) { return QDir::toNativeSeparators(path(relative)); };
    EXPECT_EQ(failed, native("Work/plan.slb"));

    EXPECT_EQ(GetLongPath(path("Work//./plan.slb")), native("Work/plan.slb"));
    EXPECT_EQ(GetLongPath(path("Work/none/plan.slb")), QString());
#ifdef _WIN32
    EXPECT_EQ(GetLongPath(path("work/PLAN.slb")), native("Work/plan.slb")) << "a typed name finds the file in any case";
    EXPECT_EQ(GetLongPath(native("work/../Work/./PLAN.slb")), native("Work/plan.slb"));
    EXPECT_EQ(GetLongPath(u"/"_qs), QDir::currentPath().left(2) + u'\\') << "the root of the current drive";
#else
    EXPECT_EQ(GetLongPath(path("work/plan.slb")), QString()) << "names are case-sensitive here";
    EXPECT_EQ(GetLongPath(u"/"_qs), u"/"_qs);
#endif
}

} // namespace

// The settings file: the program's folder when it can be written, else the
// user's configuration folder (XDG_CONFIG_HOME, on Windows APPDATA); system
// program folders never hold it.
TEST(SettingsLocation, ProgramFolderWhenWritableElseTheUsersFolder)
{
    const QString s(QChar(nativePaths().separator));
    const struct { const char *program; bool writable; const char *user; QString expected; } cases[] = {
        {"P", true, "U", "P" + s + "Quarvel.ini"},
        {"P", false, "U", "U" + s + "Quarvel" + s + "Quarvel.ini"},
        {"P", false, "", "P" + s + "Quarvel.ini"},   // no user folder known: the program's, as before
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.expected.toStdString());
        EXPECT_EQ(settingsFilePath(QString::fromUtf8(c.program), c.writable, QString::fromUtf8(c.user)), c.expected);
    }
#ifdef Q_OS_WIN
    EXPECT_FALSE(isSystemProgramFolder(u"C:\\Program Files\\Quarvel"_qs)) << "decided by trying to write";
#else
    EXPECT_TRUE(isSystemProgramFolder(u"/usr/bin"_qs));
    EXPECT_FALSE(isSystemProgramFolder(u"/usrlocal/bin"_qs));
#endif
    QTemporaryDir dir;
    EXPECT_EQ(settingsFilePath(dir.path()), JoinPath(dir.path(), u"Quarvel.ini"_qs)) << "a folder that takes a file";
}
