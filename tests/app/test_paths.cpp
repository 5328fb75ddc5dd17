// Path rules in the Windows form and the Linux form, and the file-system
// tests on real files.

#include "paths.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace quarvel;

namespace {

TEST(PathRules, FolderNameShortNameAndKind)
{
    const struct
    {
        const char *path;
        char16_t separator;
        const char *folder, *name, *shotName;
        FileKind kind;
    } cases[] = {
        {"C:\\Work\\Doors 1.sld", u'\\', "C:\\Work", "Doors 1.sld", "Doors 1", FileKind::Slide},
        {"C:\\PLAN.SLB", u'\\', "C:", "PLAN.SLB", "PLAN", FileKind::Library},
        {"C:\\Work\\", u'\\', "C:\\Work", "", "", FileKind::Other},
        {"plan.slb", u'\\', "", "", "", FileKind::Library},
        {"C:/Work/pic.wmf", u'\\', "", "", "", FileKind::Metafile},
        {"C:\\Work\\a.s", u'\\', "C:\\Work", "a.s", "", FileKind::Other},
        {"/home/u/My Slides/plan.Slb", u'/', "/home/u/My Slides", "plan.Slb", "plan", FileKind::Library},
        {"/plan.slbx", u'/', "", "plan.slbx", "plan.", FileKind::Other},
        {"/home/u/back\\slash.sld", u'/', "/home/u", "back\\slash.sld", "back\\slash", FileKind::Slide},
        {"/home/u/planslb", u'/', "/home/u", "planslb", "pla", FileKind::Library},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        const QString path = QString::fromUtf8(c.path);
        EXPECT_EQ(FolderOfPath(path, c.separator), QString::fromUtf8(c.folder));
        EXPECT_EQ(NameOfPath(path, c.separator), QString::fromUtf8(c.name));
        EXPECT_EQ(GetShotName(path, c.separator), QString::fromUtf8(c.shotName));
        EXPECT_EQ(fileKindOf(path), c.kind);
    }
}

TEST(PathRules, CompactPath)
{
    const struct
    {
        const char *text;
        int limit;
        char16_t separator;
        const char *expected;
    } cases[] = {
        {"C:\\Program Files\\Common Files\\Design Library Collection\\Mechanical\\Fasteners", 54, u'\\',
         "C:\\Program Files\\...\\Mechanical\\Fasteners"},
        {"C:\\Documents and Settings\\User\\My Documents\\Drawings\\Slides\\Project", 54, u'\\',
         "C:\\...\\Drawings\\Slides\\Project"},
        {"C:\\Documents and Settings\\User\\My Documents\\Drawings\\Slides\\Project", 56, u'\\',
         "C:\\Documents and Settings\\...\\Drawings\\Slides\\Project"},
        {"/Program Files/Common Files/Design Library Collection/Mechanical/Fasteners", 54, u'/',
         "/Program Files/.../Mechanical/Fasteners"},
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
        EXPECT_EQ(CompactPath(QString::fromUtf8(c.text), c.limit, c.separator), QString::fromUtf8(c.expected));
    }
}

// A disk for the pure rules: the stored name of every existing path, keyed
// lower-case in the Windows form (whose lookups ignore case).
struct FakeDisk
{
    PathForm form;
    QMap<QString, QString> stored;
    QStringList created = {};
    enum { Creates, Fails, ClaimsButDoesNot } creating = Creates;

    QString keyOf(QString path) const
    {
        if (path.size() > form.rootLength && path.endsWith(form.separator))
            path.chop(1);
        return form.separator == u'\\' ? path.toLower() : path;
    }
    QString longPath(const char *path) const
    {
        return GetLongPath(QString::fromUtf8(path), form, [this](const QString &prefix) {
            return stored.contains(keyOf(prefix)) ? std::optional(stored.value(keyOf(prefix))) : std::nullopt;
        });
    }
    bool make(const QString &path)
    {
        const auto exists = [this](const QString &p) { return stored.contains(keyOf(p)); };
        return MakeFolderPath(path, form, exists, [this](const QString &p) {
            created << p;
            if (creating == Creates)
                stored.insert(keyOf(p), NameOfPath(p, form.separator));
            return creating != Fails;
        });
    }
};

const FakeDisk kWindowsDisk{kWindowsPaths,
                            {{"c:\\", "C:\\"}, {"c:\\progra~1", "Program Files"}, {"c:\\progra~1\\plans", "plans"},
                             {"c:\\progra~1\\plans\\a.sld", "a.sld"}, {"c:\\a", "A"}}};
const FakeDisk kLinuxDisk{kLinuxPaths, {{"/", "/"}, {"/home", "home"}, {"/home/u", "u"}, {"/home/u/a.sld", "a.sld"}}};

TEST(PathRules, LongPathAndMakeFolderPath)
{
    EXPECT_EQ(kWindowsDisk.longPath("c:\\progra~1\\plans\\a.sld"), QStringLiteral("c:\\Program Files\\plans\\a.sld"));
    EXPECT_EQ(kWindowsDisk.longPath("C:\\PROGRA~1\\PLANS\\"), QStringLiteral("C:\\Program Files\\plans"));
    EXPECT_EQ(kWindowsDisk.longPath("C:\\nosuch\\a.sld"), QString());
    EXPECT_EQ(kWindowsDisk.longPath("C:\\"), QStringLiteral("C:\\"));
    EXPECT_EQ(kLinuxDisk.longPath("/home/u/a.sld"), QStringLiteral("/home/u/a.sld"));
    EXPECT_EQ(kLinuxDisk.longPath("/home/U/a.sld"), QString());
    EXPECT_EQ(kLinuxDisk.longPath("/"), QStringLiteral("/"));
    EXPECT_EQ(kLinuxDisk.longPath(""), QString());

    FakeDisk windows = kWindowsDisk;
    EXPECT_TRUE(windows.make(QStringLiteral("C:\\A\\B\\C")));
    EXPECT_EQ(windows.created, (QStringList{QStringLiteral("C:\\A\\B"), QStringLiteral("C:\\A\\B\\C")}));
    EXPECT_TRUE(windows.make(QStringLiteral("c:\\a\\b\\c\\")));
    EXPECT_EQ(windows.created.size(), 2) << "an existing path creates nothing";
    FakeDisk posix = kLinuxDisk;
    EXPECT_TRUE(posix.make(QStringLiteral("/home/u/b/c")));
    EXPECT_EQ(posix.created, (QStringList{QStringLiteral("/home/u/b"), QStringLiteral("/home/u/b/c")}));
    posix = kLinuxDisk;
    posix.creating = FakeDisk::Fails;
    EXPECT_FALSE(posix.make(QStringLiteral("/home/u/b/c")));
    EXPECT_EQ(posix.created.size(), 1) << "nothing is tried after a failure";
    // A creation that reports success but leaves nothing must end, not loop.
    posix.creating = FakeDisk::ClaimsButDoesNot;
    EXPECT_FALSE(posix.make(QStringLiteral("/home/u/b")));
}

TEST(FileSystem, ExistenceTestsOnRealFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid() && QDir(dir.path()).mkpath(QStringLiteral("Work/empty")));
    const auto path = [&](const char *relative) { return dir.filePath(QString::fromUtf8(relative)); };
    QFile(path("Work/plan.slb")).open(QIODevice::WriteOnly);
    // A pipe would block an open for reading until a writer came.
    ASSERT_EQ(mkfifo(QFile::encodeName(path("Work/pipe.sld")).constData(), 0600), 0);

    const struct
    {
        const char *relative;
        bool file, folder, existingFolder;
    } cases[] = {
        {"Work", false, true, true},           {"Work/", false, true, true},
        {"Work/plan.slb", true, true, false},
        {"Work/plan.slb/", true, false, false}, {"Work/pipe.sld", false, true, false},
        {"Work/none", false, false, false},    {"none/x", false, false, false},
        {"Work/*.slb", false, true, false},    {"Work/*.sld", false, true, false},
        {"Work/pl?n.slb", false, true, false},
        {"Work/plan.*", false, true, false},   {"Work/empty/*", false, true, false},
        {"W*/plan.slb", false, false, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.relative);
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
    EXPECT_EQ(failed, path("Work/plan.slb"));

    EXPECT_EQ(GetLongPath(path("Work//./plan.slb")), path("Work/plan.slb"));
    EXPECT_EQ(GetLongPath(path("Work/none/plan.slb")), QString());
    EXPECT_EQ(GetLongPath(path("work/plan.slb")), QString()) << "names are case-sensitive here";
}

} // namespace
