// The file dialog as the main window gets it (its Open command), and screenshots of the three dialogs in both languages, written
// to the build folder.

#include "dialogfixture.h"
#include "filelistpane.h"
#include "frmexplore.h"
#include "frmfav.h"
#include "mainwindow.h"
#include "programdialogs.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTreeView>

using namespace quarvel;
using namespace quarvel::test;

namespace {

class ProgramDialogsTest : public DialogTest
{
protected:
    ProgramDialogs mDialogs{mState, mPrompts};
};

TEST_F(ProgramDialogsTest, MainWindowOpenCommandThroughTheFileDialog)
{
    mState.StartFolder = makeFolder(QStringLiteral("Lib"));
    const QString library = makeLibrary(QStringLiteral("Lib/symbols.slb"), {"ALPHA", "BETA", "GAMMA"});
    MainWindow window(mState, mPrompts, mDialogs);
    mDialogs.setParent(&window);

    onModal<FrmExplore>([](FrmExplore &d) {
        control<QLineEdit>(d, "txtFileName")->setText(QStringLiteral("symbols"));
        click(d, "cmdSave");
    });
    window.commandOpen();
    EXPECT_EQ(window.slideList()->count(), 3);
    EXPECT_EQ(window.explorerList()->selectedPath(), library);
}

TEST_F(ProgramDialogsTest, Screenshots)
{
    const QString out = QCoreApplication::applicationDirPath() + QStringLiteral("/screenshots");
    QDir().mkpath(out);
    const QString folder = makeFolder(QStringLiteral("Drawings"));
    const QString library = makeLibrary(QStringLiteral("Drawings/symbols.slb"), {"DOOR", "WINDOW", "BOLT"});
    makeFolder(QStringLiteral("Drawings/Archive"));
    setIni(QStringLiteral("FavoriteFolders"), 0, folder);
    setIni(QStringLiteral("FavoriteFolders"), 1, makeFolder(QStringLiteral("Projects/Tower")));
    mState.DialogFolder = folder;
    auto save = [&](QWidget &w, const QString &name) {
        w.show();
        QCoreApplication::processEvents();
        EXPECT_TRUE(w.grab().save(QStringLiteral("%1/%2-%3.png").arg(out, name, mState.LanguageCode)));
    };
    for (const char *language : {"Ru", "En"}) {
        mState.LanguageCode = QLatin1String(language);
        FrmExplore d(mState, mPrompts);
        d.setFileTypes(LibraryAndSlideFiles);
        d.setCurrentDir(folder);
        d.show();
        FileListPane *list = control<FileListPane>(d, "ExplorerList1");
        EXPECT_TRUE(QTest::qWaitFor([&] { return list->model().rowCount(list->model().index(folder)) >= 2; }));
        d.selectItem(library);
        save(d, QStringLiteral("explore-open"));
        d.resize(d.width() * 3 / 2, d.height() * 3 / 2);
        save(d, QStringLiteral("explore-enlarged"));
        d.resize(d.minimumSize());
        FrmGetDir picker(mState);
        picker.show();
        const QTreeView *tree = picker.findChild<QTreeView *>();
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return tree->viewport()->rect().contains(tree->visualRect(tree->currentIndex())); }));
        save(picker, QStringLiteral("getdir"));
        FrmFav favorites(mState, mPrompts);
        favorites.clickRow(1);
        save(favorites, QStringLiteral("favorites"));
    }
}

} // namespace
