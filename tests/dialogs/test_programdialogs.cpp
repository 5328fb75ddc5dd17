// The dialogs as the main window gets them (its Open and Favourites
// commands), and screenshots of the three dialogs in both languages, written
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

TEST_F(ProgramDialogsTest, MainWindowOpenAndFavouritesCommands)
{
    mState.StartFolder = makeFolder(QStringLiteral("Lib"));
    const QString library = makeLibrary(QStringLiteral("Lib/symbols.slb"), {"ALPHA", "BETA", "GAMMA"});
    const QString other = makeFolder(QStringLiteral("Other"));
    setIni(QStringLiteral("FavoriteFolders"), 0, other);
    MainWindow window(mState, mPrompts, mDialogs);
    mDialogs.setParent(&window);

    onModal<FrmExplore>([](FrmExplore &d) {
        control<QLineEdit>(d, "txtFileName")->setText(QStringLiteral("symbols"));
        click(d, "cmdSave");
    });
    window.commandOpen();
    EXPECT_EQ(window.slideList()->count(), 3);
    EXPECT_EQ(window.explorerList()->selectedPath(), library);

    onModal<FrmFav>([&](FrmFav &d) {
        EXPECT_EQ(mState.DialogFolder, mState.StartFolder);
        d.clickRow(0);
        click(d, "cmdGoTo");
    });
    window.commandFavorites();
    EXPECT_EQ(window.explorerList()->folder(), other);

    // A code without file types shows no dialog (one shown anyway is closed,
    // failing the test).
    QTimer::singleShot(0, [] {
        if (QWidget *shown = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "dialog shown";
            shown->close();
        }
    });
    EXPECT_EQ(mDialogs.explore({4, other, QString(), 1}), QString());
    QCoreApplication::processEvents();
}

TEST_F(ProgramDialogsTest, Screenshots)
{
    const QString out = QCoreApplication::applicationDirPath() + QStringLiteral("/screenshots");
    QDir().mkpath(out);
    const QString folder = makeFolder(QStringLiteral("Drawings"));
    makeFolder(QStringLiteral("Drawings/Archive"));
    const QString library = makeLibrary(QStringLiteral("Drawings/symbols.slb"), {"DOOR", "WINDOW", "BOLT", "NORTH"});
    makeLibrary(QStringLiteral("Drawings/plans.slb"), {QStringLiteral("PLAN1")});
    setIni(QStringLiteral("FavoriteFolders"), 0, folder);
    setIni(QStringLiteral("FavoriteFolders"), 1, makeFolder(QStringLiteral("Projects/Tower/Details")));
    mState.DialogFolder = folder;
    auto save = [&](QWidget &w, const QString &name) {
        w.show();
        QCoreApplication::processEvents();
        EXPECT_TRUE(w.grab().save(QStringLiteral("%1/%2-%3.png").arg(out, name, mState.LanguageCode)));
    };
    for (const char *language : {"Ru", "En"}) {
        mState.LanguageCode = QLatin1String(language);
        for (const int operation : {0, 1}) {
            FrmExplore d(mState, mPrompts);
            d.setFileTypes(LibraryAndSlideFiles);
            d.setCurrentDir(folder);
            d.setOperation(operation);
            d.show();
            FileListPane *list = control<FileListPane>(d, "ExplorerList1");
            EXPECT_TRUE(QTest::qWaitFor([&] { return list->model().rowCount(list->model().index(folder)) >= 3; }));
            d.selectItem(library);
            control<QListWidget>(d, "List1")->setCurrentRow(1);
            save(d, operation == 0 ? QStringLiteral("explore-open") : QStringLiteral("explore-save"));
        }
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
