// The file dialog driven as a user would, with scripted answers: the folder
// history, the path accepted in both modes, new folders and the preview.

#include "dialogfixture.h"
#include "filelistpane.h"
#include "frmexplore.h"
#include "metafileview.h"
#include "slidespec.h"
#include "slideview.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

using namespace quarvel;
using namespace quarvel::test;

namespace {

const QString kHistory = "LastOpenFolders";

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
    static QLineEdit *nameBox(const FrmExplore &d) { return control<QLineEdit>(d, "txtFileName"); }
    static QListWidget *slides(const FrmExplore &d) { return control<QListWidget>(d, "List1"); }
    static SlideView *view(const FrmExplore &d) { return control<SlideView>(d, "Slide1"); }
};

// Keys 0, 1 load bottom-up; a key naming no folder is left out of the box,
// yet stays in the file. An accepted Open writes the box top-down.
TEST_F(ExploreTest, HistoryIsLoadedAndWrittenOnOpen)
{
    const QString a = makeFolder("A");
    const QString b = makeFolder("B");
    const QString plan = makeLibrary("B/plan.slb", {"P"});
    setIni(kHistory, 0, a);
    setIni(kHistory, 1, b);
    setIni(kHistory, 2, "X");
    FrmExplore d(mState, mPrompts);
    EXPECT_EQ(d.recentFolders().entries(), QStringList({b, a}));
    EXPECT_EQ(d.currentDir(), b);
    ASSERT_TRUE(d.setFileTypes(1));
    nameBox(d)->setText("plan");
    d.accept();
    EXPECT_EQ(d.fileName(), plan);
    EXPECT_EQ(QStringList({ini(kHistory, 0), ini(kHistory, 1), ini(kHistory, 2)}), QStringList({b, a, "X"}));
}

TEST_F(ExploreTest, TheDefaultExtensionIsAppendedUnlessTyped)
{
    const struct
    {
        int fileTypes, entry;
        const char *folder, *typed, *result;   // folder absolute when it starts with "/"
    } cases[] = {{1, 0, "Work", "plan", "Work/plan.slb"},
                 {3, 1, "Work", "door", "Work/door.sld"},
                 {5, 0, "Work", "door", "Work/door.wmf"},
                 {1, 0, "/", "quarvel-unwritten", "/quarvel-unwritten.slb"}};
    for (const auto &c : cases) {
        const bool absolute = c.folder[0] == '/';
        auto d = dialog(c.fileTypes, absolute ? QLatin1String(c.folder) : makeFolder(QLatin1String(c.folder)), 1,
                        QLatin1String(c.typed));
        control<QComboBox>(*d, "cboFileType")->setCurrentIndex(c.entry);
        d->accept();
        EXPECT_EQ(d->fileName(), absolute ? QDir::toNativeSeparators(QLatin1String(c.result))
                                          : path(QLatin1String(c.result)));
    }
}

// The box shows the list's folder however the list moved; Enter in it goes
// to the folder typed (or says it is not there); a double click on a file
// accepts it, and the history records the folder it came from.
TEST_F(ExploreTest, FolderBoxAndListAgree)
{
    const QString a = makeFolder("A"), b = makeFolder("A/B");
    const QString plan = makeLibrary("A/B/plan.slb", {"P"});
    auto d = dialog(1, a);
    auto *box = control<QComboBox>(*d, "cboPath");
    auto type = [&](const QString &text) {
        box->lineEdit()->setText(text);
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    };
    type(b);
    EXPECT_EQ(d->currentDir(), b);
    EXPECT_TRUE(d->isVisible());
    mPrompts.expectMessage(PromptIcon::Critical, QString("Directory %1 is not found").arg(path("nowhere")));
    type(path("nowhere"));
    EXPECT_EQ(box->currentText(), b);
    click(*d, "cmdUpPth");
    EXPECT_EQ(box->currentText(), a);
    d->openItem(b);
    EXPECT_EQ(box->currentText(), b);
    d->selectItem(plan);
    emit control<FileListPane>(*d, "ExplorerList1")->itemActivated(plan);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->fileName(), plan);
    EXPECT_EQ(ini(kHistory, 0), b);
}

// Made larger, the dialog shares the gain between the file list and the
// preview, keeps its buttons at the bottom, and opens at that size again;
// it never gets smaller than designed.
TEST_F(ExploreTest, ALargerDialogGrowsItsListAndPreviewAndKeepsItsSize)
{
    auto d = dialog(1, makeFolder("A"));
    const QSize designed = d->size();
    const QRect files = control<QWidget>(*d, "ExplorerList1")->geometry();
    const QRect preview = control<QWidget>(*d, "Slide1")->geometry();
    const QRect accept = control<QWidget>(*d, "cmdSave")->geometry();
    d->resize(designed + QSize(200, 100));
    EXPECT_EQ(control<QWidget>(*d, "ExplorerList1")->geometry(), files.adjusted(0, 0, 100, 100));
    EXPECT_EQ(control<QWidget>(*d, "Slide1")->geometry(), preview.adjusted(100, 0, 200, 100));
    EXPECT_EQ(control<QWidget>(*d, "cmdSave")->geometry(), accept.translated(100, 100));
    d->reject();
    EXPECT_EQ(FrmExplore(mState, mPrompts).size(), designed + QSize(200, 100));
    d->resize(designed - QSize(50, 50));
    EXPECT_EQ(d->size(), designed);
}

TEST_F(ExploreTest, MissingFileOkKeepsTheDialogAndCancelReturnsNothing)
{
    const QString missing = path("A/gone.slb");
    for (const auto &[language, text] : {std::pair{"En", QString("File %1 is not Found.").arg(missing)},
                                         {"Ru", QString("Файл %1 не найден").arg(missing)}}) {
        mState.LanguageCode = QLatin1String(language);
        auto d = dialog(1, makeFolder("A"));
        nameBox(*d)->setText("gone");
        for (const Answer answer : {Answer::Ok, Answer::Cancel}) {
            mPrompts.expectMessage(PromptIcon::Exclamation, text, answer, ScriptedPrompts::Buttons::OkCancel);
            d->accept();
            EXPECT_EQ(d->isVisible(), answer == Answer::Ok);
            EXPECT_TRUE(answer == Answer::Cancel || nameBox(*d)->text() == "gone");
        }
        EXPECT_EQ(d->fileName(), QString());
        EXPECT_EQ(ini(kHistory, 0), QString());
    }
}

TEST_F(ExploreTest, SaveModeAsksBeforeAnExistingFileAndThenWritesNoHistory)
{
    const QString folder = makeFolder("A");
    const QString plan = makeLibrary("A/plan.SLB", {"P"});

    auto d = dialog(1, folder, 1, "plan");
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        mPrompts.expectMessage(PromptIcon::Question, QString("File %1 already exists, rewrite existing file?").arg(plan),
                               answer);
        d->accept();
        EXPECT_EQ(d->isVisible(), answer == Answer::No);
        EXPECT_EQ(d->fileName(), answer == Answer::Yes ? plan : QString());
    }
    EXPECT_EQ(ini(kHistory, 0), QString());
    dialog(1, folder, 1, "fresh")->accept();   // a new file: the history is written
    EXPECT_EQ(ini(kHistory, 0), folder);

    // An upper-case extension opens as the file clicked; a folder is no file.
    makeFolder("A/wmf");
    auto open = dialog(1, folder);
    open->selectItem(path("A/wmf"));
    EXPECT_EQ(nameBox(*open)->text(), QString());
    open->selectItem(plan);
    open->accept();
    EXPECT_EQ(open->fileName(), plan);
}

TEST_F(ExploreTest, NewFolderRefusesBadNamesWithTheReason)
{
    const QString folder = makeFolder("Work");
    makeFile("Work/Taken", "a file");
    auto d = dialog(1, folder, 1);
    auto answer = [&](const char *name) {
        mPrompts.expectInput("Assign name of new Folder:", "Making a new Folder",
                             "New Folder", QString::fromUtf8(name));
    };
    for (const char *name : {"a/b", "a\\b", "c:", "*", "what?", "\"q\"", "<", ">", "a|b"}) {
        answer(name);
        mPrompts.expectMessage(PromptIcon::Critical,
                               QStringLiteral("Name of file must not contain following symbols:\r\n"
                                              "        \\ / : * ? \" < > |"),
                               Answer::Ok, ScriptedPrompts::Buttons::Plain, "Making a new Folder");
        click(*d, "cmdNewDir");
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList());
    answer("Taken");
    mPrompts.expectMessage(PromptIcon::Critical,
                           "Folder " + path("Work/Taken") + "\r\ncannot be created: a file of this name is already there.");
    click(*d, "cmdNewDir");
    answer("New Folder");
    click(*d, "cmdNewDir");
    EXPECT_TRUE(QFileInfo(path("Work/New Folder")).isDir());
    EXPECT_TRUE(d->isVisible());
}

// An unreadable metafile leaves the picture empty: no crash, no message
// (the scripted prompts fail on any box).
TEST_F(ExploreTest, PreviewOfALibraryASlideAndMetafiles)
{
    const QString folder = makeFolder("S");
    const QString library = makeLibrary("S/symbols.slb", {"ALPHA", "BETA", "GAMMA"});
    const QString door = makeSlide("S/door.sld");
    auto d = dialog(3, folder);
    d->selectItem(library);
    ASSERT_EQ(slides(*d)->count(), 3);
    EXPECT_EQ(nameBox(*d)->text(), "symbols");
    EXPECT_EQ(view(*d)->slideFile(), makeSlideSpec(library, "ALPHA"));
    slides(*d)->setCurrentRow(2);
    EXPECT_EQ(view(*d)->slideFile(), makeSlideSpec(library, "GAMMA"));
    EXPECT_TRUE(view(*d)->hasSlide());
    d->selectItem(door);
    EXPECT_EQ(view(*d)->slideFile(), door);
    EXPECT_TRUE(view(*d)->hasSlide());
    EXPECT_FALSE(slides(*d)->isEnabled());

    const QString good = makeFile("S/good.wmf", readFile(corpusDir("wmf/santa.wmf")));
    const QString bad = makeFile("S/bad.wmf", QByteArray("\xd7\xcd\xc6\x9a", 4) + QByteArray(40, '\xff'));
    auto m = dialog(5, folder);
    auto *picture = control<MetafileView>(*m, "Picture1");
    m->selectItem(good);
    EXPECT_EQ(picture->picture(), good);
    EXPECT_EQ(picture->lastError(), QString());
    m->selectItem(bad);
    EXPECT_NE(picture->lastError(), QString());
}

} // namespace
