// The widget-free rules of the file dialogs on the worked examples: the
// recent-folder rule, the parent folder and the folders the picker accepts.
// Loading and writing the history, and the controls moved and grown with
// the dialog, are tested through the file dialog.

#include "dialogpaths.h"
#include "inifile.h"
#include "recentfolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quarvel;

namespace {

TEST(RecentFolders, FifteenStayFifteenAndSixteenStaySixteen)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Quarvel.ini"));
    const struct
    {
        int loaded;   // keys "0".."loaded-1" hold "C:\F0".., so F0 ends at the bottom
        const char *folder;
        int size, selected;
        const char *bottom;
    } cases[] = {{14, "C:\\New", 15, 0, "C:\\F0"}, {15, "C:\\New", 15, 0, "C:\\F1"}, {16, "C:\\New", 16, 0, "C:\\F1"},
                 {16, "C:\\F3", 16, 12, "C:\\F0"}, {3, "c:\\f1", 4, 0, "C:\\F0"}};
    for (const auto &c : cases) {
        for (int key = 0; key < RecentFolders::kMaxEntries; ++key)
            WriteIniString(file, RecentFolders::kSection, QString::number(key),
                           key < c.loaded ? QStringLiteral("C:\\F%1").arg(key) : QString());
        RecentFolders r;
        r.load(file);
        SCOPED_TRACE(c.folder + std::to_string(c.loaded));
        EXPECT_EQ(r.choose(QLatin1String(c.folder)), c.selected);
        EXPECT_EQ(r.entries().at(r.selected()), QLatin1String(c.folder));
        EXPECT_EQ(r.entries().size(), c.size);
        EXPECT_EQ(r.entries().last(), QLatin1String(c.bottom));
    }
}

TEST(DialogPaths, ParentFolderAndChoosableFolders)
{
    const struct
    {
        const char *path, *up;
        bool choosable, windows;
    } cases[] = {{"C:\\A", "C:\\", true, true},         {"C:\\", "C:\\", false, true},
                 {"C:\\A\\B", "C:\\A", true, true},     {"C:\\A\\", "C:\\A", false, true},
                 {"Desktop", "Desktop", false, true},   {"\\\\srv", "\\", true, true},
                 {"\\\\srv\\share", "\\\\srv", false, true}, {"\\\\srv\\share\\plans", "\\\\srv\\share", true, true},
                 {"/home", "/", true, false},           {"/", "/", false, false},
                 {"/home/ann/", "/home/ann", false, false}, {"Network", "Network", false, false},
                 {"//srv/share", "//srv", true, false}};
    for (const auto &c : cases) {
        const PathForm form = c.windows ? kWindowsPaths : kLinuxPaths;
        EXPECT_EQ(GetUpDir(QLatin1String(c.path), form), QLatin1String(c.up)) << c.path;
        EXPECT_EQ(canChooseFolder(QLatin1String(c.path), form), c.choosable) << c.path;
    }
}

// The composed name is the file meant: the
// picked item's real name, or the typed name found without regard to the
// extension's case; a typed extension is not doubled.
TEST(DialogPaths, ChosenFileKeepsTheRealExtension)
{
    QTemporaryDir dir;
    const QString f = QDir::toNativeSeparators(dir.path());
    for (const char *name : {"DOOR.SLB", "plan.slb", "TL.SLD"})
        QFile(QDir(f).filePath(QLatin1String(name))).open(QIODevice::WriteOnly);
    QDir(f).mkdir(QStringLiteral("dir.SLB"));
    const struct
    {
        const char *typed, *extension, *picked, *result, *onWindows = nullptr;   // where that ignores case
    } cases[] = {{"DOOR", ".slb", "DOOR.SLB", "DOOR.SLB"},   {"DOOR", ".slb", "", "DOOR.SLB"},
                 {"door", ".slb", "", "door.slb", "DOOR.SLB"}, {"plan.SLB", ".slb", "", "plan.slb"},
                 {"clock.sld", ".sld", "", "clock.sld"},     {"plan.slb", ".sld", "", "plan.slb.sld"},
                 {"DOOR2", ".slb", "DOOR.SLB", "DOOR2.slb"}, {"TL", ".slb", "TL.SLD", "TL.slb"},
                 {"TL", ".sld", "TL.SLD", "TL.SLD"},         {"dir", ".slb", "dir.SLB", "dir.slb"}};
    for (const auto &c : cases) {
        const QString picked = *c.picked ? QDir(f).filePath(QLatin1String(c.picked)) : QString();
#ifdef Q_OS_WIN
        const char *result = c.onWindows ? c.onWindows : c.result;
#else
        const char *result = c.result;
#endif
        EXPECT_EQ(chosenFilePath(f, QLatin1String(c.typed), QLatin1String(c.extension), picked),
                  JoinPath(f, QLatin1String(result)))
            << c.typed << " " << c.picked;
    }
}

} // namespace
