// The file dialog as the main window gets it (its Open command), and
// screenshots of the three dialogs in both languages in the build folder.

#include "dialogfixture.h"
#include "filelistpane.h"
#include "frmexplore.h"
#include "frmfav.h"
#include "mainwindow.h"
#include "programdialogs.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>

using namespace quarvel;
using namespace quarvel::test;

namespace {

// The main window's Open command through the file dialog, then the
// dialogs over the same folder.
TEST_F(DialogTest, OpenCommandThroughTheFileDialogAndScreenshots)
{
    const QString folder = mState.StartFolder = makeFolder(u"Drawings"_qs);
    const QString library = makeLibrary(u"Drawings/symbols.slb"_qs, {"DOOR", "WINDOW", "BOLT"});
    {
        ProgramDialogs dialogs(mState, mPrompts);
        MainWindow window(mState, mPrompts, dialogs);
        dialogs.setParent(&window);
        // Once the dialog's loop turns; a window missing or left open fails and is closed.
        QTimer::singleShot(0, [] {
            auto *d = qobject_cast<FrmExplore *>(QApplication::activeModalWidget());
            if (!d && QApplication::activeModalWidget())
                QApplication::activeModalWidget()->close();
            ASSERT_TRUE(d) << "the file dialog is not the modal window";
            control<QLineEdit>(*d, "txtFileName")->setText(u"symbols"_qs);
            click(*d, "cmdSave");
            EXPECT_FALSE(d->isVisible()) << "the file dialog stayed open";
            if (d->isVisible())
                d->reject();
        });
        window.commandOpen();
        EXPECT_EQ(window.slideList()->count(), 3);
        EXPECT_EQ(window.explorerList()->selectedPath(), library);
    }
    makeFolder(u"Drawings/Archive"_qs);
    setIni(u"FavoriteFolders"_qs, 0, folder);
    setIni(u"FavoriteFolders"_qs, 1, makeFolder(u"Projects/Tower"_qs));
    mState.DialogFolder = folder;
    auto save = [&](QWidget &w, const QString &name) { screenshot(w, name + u'-' + mState.LanguageCode); };
    for (const char *language : {"Ru", "En"}) {
        mState.LanguageCode = QLatin1String(language);
        FrmExplore d(mState, mPrompts);
        d.setFileTypes(LibraryAndSlideFiles);
        d.setCurrentDir(folder);
        d.show();
        FileListPane *list = control<FileListPane>(d, "ExplorerList1");
        EXPECT_TRUE(QTest::qWaitFor([&] { return list->model().rowCount(list->model().index(folder)) >= 2; }));
        d.selectItem(library);
        save(d, u"explore-open"_qs);
        d.resize(d.width() * 3 / 2, d.height() * 3 / 2);
        save(d, u"explore-enlarged"_qs);
        d.resize(d.minimumSize());
        FrmGetDir picker(mState);
        picker.show();
        const QTreeView *tree = picker.findChild<QTreeView *>();
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return tree->viewport()->rect().contains(tree->visualRect(tree->currentIndex())); }));
        save(picker, u"getdir"_qs);
        FrmFav favorites(mState, mPrompts);
        favorites.clickRow(1);
        save(favorites, u"favorites"_qs);
    }
}

} // namespace
