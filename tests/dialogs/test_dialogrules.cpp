// The widget-free rules of the file dialogs: the recent-folder rule with its
// settings section, the parent folder and the folders the picker accepts.
// The favourite folders are tested through their dialog.

#include "dialogpaths.h"
#include "inifile.h"
#include "recentfolders.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quarvel;

namespace {

struct RuleCase
{
    int loaded;   // keys "0".."loaded-1" hold "C:\F0".., so F0 ends at the bottom
    const char *folder;
    int size;
    int selected;
    const char *bottom;
};

TEST(RecentFolders, LoadRuleAndWrite)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Quarvel.ini"));
    auto store = [&](int key, const QString &value) {
        WriteIniString(file, RecentFolders::kSection, QString::number(key), value);
    };
    store(0, QStringLiteral("C:\\A"));
    store(1, QStringLiteral("C:\\B"));
    store(2, QStringLiteral("X"));
    RecentFolders r;
    r.load(file);
    EXPECT_EQ(r.entries(), QStringList({"C:\\B", "C:\\A"}));
    EXPECT_EQ(r.selected(), 0);
    r.write(file);
    r.load(file);
    EXPECT_EQ(r.entries(), QStringList({"C:\\A", "C:\\B"}));
    EXPECT_EQ(ReadIniString(file, RecentFolders::kSection, QStringLiteral("2")), QStringLiteral("X"));

    for (const RuleCase &c : {RuleCase{14, "C:\\New", 15, 0, "C:\\F0"}, RuleCase{15, "C:\\New", 15, 0, "C:\\F1"},
                              RuleCase{16, "C:\\New", 16, 0, "C:\\F1"}, RuleCase{16, "C:\\F3", 16, 12, "C:\\F0"},
                              RuleCase{3, "c:\\f1", 4, 0, "C:\\F0"}}) {
        for (int key = 0; key < RecentFolders::kMaxEntries; ++key)
            store(key, key < c.loaded ? QStringLiteral("C:\\F%1").arg(key) : QString());
        r.load(file);
        SCOPED_TRACE(c.folder + std::to_string(c.loaded));
        EXPECT_EQ(r.choose(QLatin1String(c.folder)), c.selected);
        EXPECT_EQ(r.entries().at(r.selected()), QLatin1String(c.folder));
        EXPECT_EQ(r.entries().size(), c.size);
        EXPECT_EQ(r.entries().last(), QLatin1String(c.bottom));
    }
}

struct PathCase
{
    const char *path;
    const char *up;
    bool choosable;
};

TEST(DialogPaths, ParentFolderAndChoosableFolders)
{
    for (const PathCase &c : {PathCase{"C:\\A", "C:\\", true}, PathCase{"C:\\", "C:\\", false},
                              PathCase{"C:\\A\\B", "C:\\A", true}, PathCase{"C:\\A\\", "C:\\A", false},
                              PathCase{"Desktop", "Desktop", false}, PathCase{"\\\\srv", "\\", true},
                              PathCase{"\\\\srv\\share", "\\\\srv", false},
                              PathCase{"\\\\srv\\share\\plans", "\\\\srv\\share", true}}) {
        EXPECT_EQ(GetUpDir(QLatin1String(c.path), kWindowsPaths), QLatin1String(c.up)) << c.path;
        EXPECT_EQ(canChooseFolder(QLatin1String(c.path), kWindowsPaths), c.choosable) << c.path;
    }
    for (const PathCase &c : {PathCase{"/home", "/", true}, PathCase{"/", "/", false},
                              PathCase{"/home/ann/", "/home/ann", false}, PathCase{"Network", "Network", false},
                              PathCase{"//srv/share", "//srv", true}}) {
        EXPECT_EQ(GetUpDir(QLatin1String(c.path), kLinuxPaths), QLatin1String(c.up)) << c.path;
        EXPECT_EQ(canChooseFolder(QLatin1String(c.path), kLinuxPaths), c.choosable) << c.path;
    }
}

} // namespace
