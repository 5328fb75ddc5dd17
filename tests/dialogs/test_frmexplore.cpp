// The file dialog driven as a user would, with scripted answers: the folder
// history, the folder buttons, the path accepted in both modes, new folders
// and the preview.

#include "dialogfixture.h"
#include "filelistpane.h"
#include "frmexplore.h"
#include "metafileview.h"
#include "slidespec.h"
#include "slideview.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace quarvel;
using namespace quarvel::test;

namespace {

const QString kHistory = QStringLiteral("LastOpenFolders");

class ExploreTest : public DialogTest
{
protected:
    // Set up in the drivers' order and shown without a modal loop.
    std::unique_ptr<FrmExplore> dialog(int fileTypes, const QString &folder, int operation = 0,
                                       const QString &name = {})
    {
        auto d = std::make_unique<FrmExplore>(mState, mPrompts);
        EXPECT_TRUE(d->setFileTypes(qint16(fileTypes)));
        d->setCurrentDir(folder);
        if (operation != 0)
            d->setFileName(name);
        d->setOperation(operation);
        d->show();
        return d;
    }
    static QStringList entries(const FrmExplore &d) { return d.recentFolders().entries(); }
    static QLineEdit *nameBox(const FrmExplore &d) { return control<QLineEdit>(d, "txtFileName"); }
    static QListWidget *slides(const FrmExplore &d) { return control<QListWidget>(d, "List1"); }
    static SlideView *view(const FrmExplore &d) { return control<SlideView>(d, "Slide1"); }
};

TEST_F(ExploreTest, HistoryIsLoadedAndWrittenOnOpen)
{
    const QString a = makeFolder(QStringLiteral("A"));
    const QString b = makeFolder(QStringLiteral("B"));
    const QString plan = makeLibrary(QStringLiteral("B/plan.slb"), {QStringLiteral("P")});
    setIni(kHistory, 0, a);
    setIni(kHistory, 1, b);
    setIni(kHistory, 2, QStringLiteral("X"));
    FrmExplore first(mState, mPrompts);
    auto *box = control<QComboBox>(first, "cboPath");
    EXPECT_EQ(box->count(), 2);
    EXPECT_EQ(box->currentText(), b);
    EXPECT_EQ(first.currentDir(), b);

    ASSERT_TRUE(first.setFileTypes(1));
    nameBox(first)->setText(QStringLiteral("plan"));
    first.accept();
    EXPECT_EQ(first.fileName(), plan);
    EXPECT_EQ(ini(kHistory, QStringLiteral("0")), b);
    EXPECT_EQ(ini(kHistory, QStringLiteral("1")), a);

    FrmExplore next(mState, mPrompts);
    EXPECT_EQ(entries(next), QStringList({a, b}));
    EXPECT_EQ(next.currentDir(), a);
    // Choosing an entry goes there; the parent folder and a subfolder leave
    // the box alone.
    emit control<QComboBox>(next, "cboPath")->activated(1);
    EXPECT_EQ(next.currentDir(), b);
    click(next, "cmdUpPth");
    EXPECT_EQ(next.currentDir(), QDir::toNativeSeparators(mDir.path()));
    next.openItem(a);
    EXPECT_EQ(next.currentDir(), a);
    EXPECT_EQ(entries(next), QStringList({a, b}));
}

TEST_F(ExploreTest, FolderButtonsKeepABoxOfFifteenAtFifteen)
{
    for (int key = 0; key < 14; ++key)
        setIni(kHistory, key, path(QStringLiteral("old%1").arg(key)));
    const QString shown = makeFolder(QStringLiteral("shown"));
    const QString chosen = makeFolder(QStringLiteral("chosen"));
    for (const char *button : {"cmdGetDir", "cmdFav"}) {
        auto d = dialog(1, shown);   // the folder shown is the fifteenth entry
        ASSERT_EQ(entries(*d).size(), 15);
        QString answer = chosen;
        QStringList offered;
        d->setFolderPicker([&](const QString &start) {
            offered << start;
            return answer;
        });
        d->setFavoritesPicker([&] {
            offered << mState.DialogFolder;
            return answer;
        });
        click(*d, button);
        EXPECT_EQ(offered, QStringList({shown})) << button;
        EXPECT_EQ(entries(*d).size(), 15);
        EXPECT_EQ(entries(*d).first(), chosen);
        EXPECT_EQ(d->currentDir(), chosen);
        answer = shown;   // in the box: only selected
        click(*d, button);
        EXPECT_EQ(entries(*d).size(), 15);
        EXPECT_EQ(control<QComboBox>(*d, "cboPath")->currentText(), shown);
        EXPECT_EQ(d->currentDir(), shown);
        answer = QStringLiteral("X");   // no folder
        click(*d, button);
        EXPECT_EQ(d->currentDir(), shown);
    }
}

TEST_F(ExploreTest, FileTypesSetFilterSlideListAndExtension)
{
    auto d = dialog(3, makeFolder(QStringLiteral("A")));
    FileListPane *list = control<FileListPane>(*d, "ExplorerList1");
    EXPECT_EQ(list->model().nameFilters(), QStringList({"*.slb"}));
    EXPECT_TRUE(slides(*d)->isVisible());
    control<QComboBox>(*d, "cboFileType")->setCurrentIndex(1);
    EXPECT_EQ(list->model().nameFilters(), QStringList({"*.sld"}));
    EXPECT_FALSE(slides(*d)->isVisible());
    EXPECT_EQ(d->defaultExtension(), QStringLiteral(".sld"));
    EXPECT_FALSE(d->setFileTypes(4));
    EXPECT_EQ(control<QComboBox>(*d, "cboFileType")->count(), 0);
}

struct AcceptCase
{
    int fileTypes;
    int entry;
    const char *folder;   // relative, or absolute when starting with "/"
    const char *typed;
    const char *result;
};

TEST_F(ExploreTest, TheDefaultExtensionIsAlwaysAppended)
{
    for (const AcceptCase &c : {AcceptCase{1, 0, "Work", "plan", "Work/plan.slb"},
                                AcceptCase{1, 0, "Work", "plan.slb", "Work/plan.slb.slb"},
                                AcceptCase{3, 1, "Work", "door", "Work/door.sld"},
                                AcceptCase{5, 0, "Work", "door", "Work/door.wmf"},
                                AcceptCase{1, 0, "/", "quarvel-unwritten", "/quarvel-unwritten.slb"}}) {
        const bool absolute = c.folder[0] == '/';
        auto d = dialog(c.fileTypes, absolute ? QLatin1String(c.folder) : makeFolder(QLatin1String(c.folder)), 1,
                        QLatin1String(c.typed));
        control<QComboBox>(*d, "cboFileType")->setCurrentIndex(c.entry);
        d->accept();
        EXPECT_FALSE(d->isVisible()) << c.result;
        EXPECT_EQ(d->fileName(), absolute ? QLatin1String(c.result) : path(QLatin1String(c.result)));
    }
}

class MissingFile : public ExploreTest, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(MissingFile, OkKeepsTheDialogAndCancelReturnsNothing)
{
    mState.LanguageCode = QLatin1String(GetParam());
    auto d = dialog(1, makeFolder(QStringLiteral("A")));
    nameBox(*d)->setText(QStringLiteral("gone"));
    const QString missing = path(QStringLiteral("A/gone.slb"));
    const QString text = mState.LanguageCode == QLatin1String("Ru") ? QStringLiteral("Файл %1 не найден").arg(missing)
                                                                    : QStringLiteral("File %1 is not Found.").arg(missing);
    mPrompts.expectOkCancel(PromptIcon::Exclamation, text, Answer::Ok);
    d->accept();
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->fileName(), QString());
    EXPECT_EQ(nameBox(*d)->text(), QStringLiteral("gone"));
    mPrompts.expectOkCancel(PromptIcon::Exclamation, text, Answer::Cancel);
    d->accept();
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->fileName(), QString());
    EXPECT_EQ(nameBox(*d)->text(), QString());
    EXPECT_EQ(ini(kHistory, QStringLiteral("0")), QString());
}

INSTANTIATE_TEST_SUITE_P(Languages, MissingFile, ::testing::Values("En", "Ru"));

TEST_F(ExploreTest, SaveModeAsksBeforeAnExistingFileAndThenWritesNoHistory)
{
    const QString folder = makeFolder(QStringLiteral("A"));
    const QString plan = makeLibrary(QStringLiteral("A/plan.slb"), {QStringLiteral("P")});
    auto d = dialog(1, folder, 1, QStringLiteral("plan"));
    const QString question = QStringLiteral("File %1 already exists, rewrite existing file?").arg(plan);
    mPrompts.expectMessage(PromptIcon::Question, question, Answer::No);
    d->accept();
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->fileName(), QString());
    mPrompts.expectMessage(PromptIcon::Question, question, Answer::Yes);
    d->accept();
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->fileName(), plan);
    EXPECT_EQ(ini(kHistory, QStringLiteral("0")), QString());

    auto fresh = dialog(1, folder, 1, QStringLiteral("fresh"));
    fresh->accept();
    EXPECT_EQ(ini(kHistory, QStringLiteral("0")), folder);
    auto cancelled = dialog(1, folder, 1, QStringLiteral("offered"));
    click(*cancelled, "CancelButton");
    EXPECT_EQ(cancelled->fileName(), QString());
}

TEST_F(ExploreTest, NoNewFolderInOpenMode)
{
    for (const char *language : {"En", "Ru"}) {
        mState.LanguageCode = QLatin1String(language);
        for (const int operation : {0, 1})
            EXPECT_EQ(control(*dialog(1, makeFolder(QStringLiteral("A")), operation), "cmdNewDir")->isEnabled(),
                      operation != 0);
    }
}

TEST_F(ExploreTest, NewFolder)
{
    const QString folder = makeFolder(QStringLiteral("Work"));
    makeFile(QStringLiteral("Work/Taken"), "a file");
    auto d = dialog(1, folder, 1);
    auto answer = [&](const char *name) {
        mPrompts.expectInput(QStringLiteral("Assign name of new Folder:"), QStringLiteral("Making a new Folder"),
                             QStringLiteral("New Folder"), QString::fromUtf8(name));
    };
    for (const char *name : {"a/b", "a\\b", "c:", "*", "what?", "\"q\"", "<", ">", "a|b"}) {
        answer(name);
        mPrompts.expectMessage(PromptIcon::Critical,
                               QStringLiteral("Name of file must not contain following symbols:\r\n"
                                              "        \\ / : * ? \" < > |"),
                               Answer::Ok, QStringLiteral("Making a new Folder"));
        click(*d, "cmdNewDir");
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList());

    answer("Taken");
    mPrompts.expectMessage(PromptIcon::Critical,
                           QStringLiteral("Folder %1\r\ncannot be created: a file of this name is already there.")
                               .arg(path(QStringLiteral("Work/Taken"))));
    click(*d, "cmdNewDir");
    answer("New Folder");
    click(*d, "cmdNewDir");
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("Work/New Folder"))).isDir());
    EXPECT_EQ(d->currentDir(), folder);
    EXPECT_TRUE(d->isVisible());
}

TEST_F(ExploreTest, PreviewOfALibraryAndOfASlide)
{
    const QString folder = makeFolder(QStringLiteral("S"));
    const QString library = makeLibrary(QStringLiteral("S/symbols.slb"), {"ALPHA", "BETA", "GAMMA"});
    const QString door = makeSlide(QStringLiteral("S/door.sld"));
    auto d = dialog(3, folder);
    d->selectItem(library);
    ASSERT_EQ(slides(*d)->count(), 3);
    EXPECT_EQ(slides(*d)->item(2)->text(), QStringLiteral("GAMMA"));
    EXPECT_EQ(slides(*d)->currentRow(), 0);
    EXPECT_TRUE(slides(*d)->isEnabled());
    EXPECT_EQ(nameBox(*d)->text(), QStringLiteral("symbols"));
    EXPECT_EQ(view(*d)->slideFile(), makeSlideSpec(library, QStringLiteral("ALPHA")));
    EXPECT_TRUE(view(*d)->hasSlide());
    slides(*d)->setCurrentRow(2);
    EXPECT_EQ(mState.CurrentSlideSpec, makeSlideSpec(library, QStringLiteral("GAMMA")));
    EXPECT_EQ(view(*d)->slideFile(), mState.CurrentSlideSpec);

    d->selectItem(door);
    EXPECT_EQ(nameBox(*d)->text(), QStringLiteral("door"));
    EXPECT_EQ(view(*d)->slideFile(), door);
    EXPECT_TRUE(view(*d)->hasSlide());
    EXPECT_FALSE(slides(*d)->isEnabled());

    // A folder is an item without extension, even when named like a library.
    d->selectItem(makeFolder(QStringLiteral("S/old.slb")));
    EXPECT_EQ(view(*d)->slideFile(), QString());
    EXPECT_EQ(nameBox(*d)->text(), QStringLiteral("door"));
    EXPECT_TRUE(mPrompts.shown().empty());
}

TEST_F(ExploreTest, FilesThatAreNoLibraryOrSlideAreReportedOnlyInOpenMode)
{
    const QString folder = makeFolder(QStringLiteral("S"));
    const QString library = makeFile(QStringLiteral("S/junk.slb"), "not a library");
    const QString slide = makeFile(QStringLiteral("S/junk.sld"), "not a slide");
    auto open = dialog(3, folder);
    mPrompts.expectMessage(PromptIcon::Critical, QStringLiteral("File %1\r\nis not library of AutoCAD slides.").arg(library));
    open->selectItem(library);
    EXPECT_FALSE(slides(*open)->isEnabled());
    EXPECT_EQ(nameBox(*open)->text(), QString());
    mPrompts.expectMessage(PromptIcon::Critical, QStringLiteral("File %1\r\nis not file of AutoCAD slide.").arg(slide));
    open->selectItem(slide);
    EXPECT_EQ(view(*open)->slideFile(), QString());

    auto save = dialog(3, folder, 1);
    save->selectItem(library);
    save->selectItem(slide);
    EXPECT_EQ(nameBox(*save)->text(), QStringLiteral("junk"));
}

TEST_F(ExploreTest, PreviewOfMetafiles)
{
    SlideLibrary source;
    source.addSlideFile(makeSlide(QStringLiteral("pic.sld")));
    makeFolder(QStringLiteral("M"));
    const QString good = path(QStringLiteral("M/good.wmf"));
    source.exportToWmf(good, 0);
    const QString bad = makeFile(QStringLiteral("M/bad.wmf"), QByteArray("\xd7\xcd\xc6\x9a", 4) + QByteArray(40, '\xff'));
    auto d = dialog(5, path(QStringLiteral("M")));
    auto *picture = control<MetafileView>(*d, "Picture1");
    d->selectItem(good);
    EXPECT_TRUE(picture->isVisible());
    EXPECT_FALSE(view(*d)->isVisible());
    EXPECT_EQ(picture->picture(), good);
    EXPECT_EQ(picture->lastError(), QString());
    // An unreadable metafile leaves the picture empty, without a message.
    d->selectItem(bad);
    EXPECT_NE(picture->lastError(), QString());
    EXPECT_EQ(nameBox(*d)->text(), QStringLiteral("bad"));
    EXPECT_TRUE(mPrompts.shown().empty());
}

} // namespace
