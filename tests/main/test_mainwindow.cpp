// The main window driven as a user would: browsing states, the commands that
// change a library (with scripted dialogs and answers), language, layout and
// the keys written on close. Screenshots go to the build folder.

#include "captions.h"
#include "errortexts.h"
#include "flatbutton.h"
#include "inifile.h"
#include "librarywatcher.h"
#include "mainfixture.h"
#include "metafileview.h"
#include "savefile.h"
#include "slideview.h"
#include "startup.h"
#include "tileview.h"

#include <QAction>
#include <QDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QTreeView>

using namespace quarvel;
using test::onDisk;
using test::tinySlide;

namespace {

class MainWindowTest : public test::MainFixture
{
protected:
    void SetUp() override
    {
        MainFixture::SetUp();
        makeLibrary("one.slb", {"ALPHA"});
        makeLibrary("two.slb", {"ALPHA", "BETA"});
        makeLibrary("three.slb", {"ALPHA", "BETA", "GAMMA"});
        test::writeFile(path("door.sld"), test::tinySlide(3));
        test::writeFile(path("beta.sld"), test::tinySlide(5));
        test::writeFile(path("junk.slb"), "not a library");
        test::writeFile(path("junk.sld"), "not a slide");
        test::writeFile(path("picture.wmf"), test::readFile(test::corpusDir("wmf/santa.wmf")));
        for (const char *folder : {"folder", "wmf", "dir.slb"})
            QDir(mDir.path()).mkdir(folder);
    }

    void expectDeleteQuestion(const QString &slide, const QString &lib, Answer answer)
    {
        const QString text = "Вы уверены, что хотите удалить слайд " + slide + " из библиотеки \r\n" + path(lib) + "?";
        mPrompts.expectMessage(PromptIcon::Question, text, answer);
    }
};

// Another program at work on the files the window shows (quarvel-cli, cp,
// rm), run to its end. The window's event loop does not run meanwhile, so
// several of them make one burst of changes.
int otherProgram(const QString &program, const QStringList &args)
{
    QProcess process;
    process.start(program, args);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// Another program copying and deleting a file: the system's own commands.
int copyByAnotherProgram(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    return otherProgram("cmd", {"/c", "copy", "/y", from, to});
#else
    return otherProgram("cp", {from, to});
#endif
}

int deleteByAnotherProgram(const QString &file)
{
#ifdef Q_OS_WIN
    return otherProgram("cmd", {"/c", "del", file});
#else
    return otherProgram("rm", {file});
#endif
}

int cli(const QStringList &args)
{
    return otherProgram(QStringLiteral(QUARVEL_CLI), args);
}

struct Expect { int listCount; bool listEnabled, saveAs, add, del, exportSlide, pictureShown; };
const Expect kNothingOpen{0, false, false, false, false, false, false};

void expectState(const MainWindow &w, const Expect &e)
{
    EXPECT_EQ(w.slideList()->count(), e.listCount);
    EXPECT_EQ(w.slideList()->isEnabled(), e.listEnabled);
    EXPECT_EQ(w.button(ButtonSave)->isEnabled(), e.saveAs);
    EXPECT_EQ(w.button(ButtonAdd)->isEnabled(), e.add);
    EXPECT_EQ(w.button(ButtonDelete)->isEnabled(), e.del);
    EXPECT_EQ(w.button(ButtonExport)->isEnabled(), e.exportSlide);
    EXPECT_EQ(w.menuAction("mnuFSaveAs")->isEnabled(), e.saveAs);
    EXPECT_EQ(w.menuAction("mnuADelete")->isEnabled(), e.del);
    EXPECT_EQ(w.pictureView()->isVisibleTo(w.centralWidget()), e.pictureShown);
    EXPECT_EQ(w.slideView()->isVisibleTo(w.centralWidget()), !e.pictureShown);
}

} // namespace

TEST_F(MainWindowTest, BrowsingStatesFollowTheFileOnView)
{
    auto w = makeWindow();
    struct Case { const char *file, *shown; Expect expect; }; // shown: in Text1 and Slide1
    for (const Case &c : {Case{"one.slb", "one.slb(ALPHA)", {1, false, true, true, false, true, false}},
                          Case{"two.slb", "two.slb(ALPHA)", {2, true, true, true, true, true, false}},
                          Case{"door.sld", "door.sld", {0, false, true, false, false, true, false}},
                          Case{"picture.wmf", "picture.wmf", {0, false, false, false, false, false, true}},
                          Case{"wmf", "", kNothingOpen},   // folders, whatever their names end with
                          Case{"dir.slb", "", kNothingOpen}}) {
        SCOPED_TRACE(c.file);
        w->selectFile(path(c.file));
        const QString shown = *c.shown ? path(c.shown) : QString();
        EXPECT_EQ(w->pathBox()->text(), shown);
        if (!c.expect.pictureShown) {
            EXPECT_EQ(w->slideView()->slideFile(), shown);
        }
        expectState(*w, c.expect);
    }
    // A single slide file leaves the Export button on the metafile format.
    w->selectFile(path("door.sld"));
    w->selectFile(path("three.slb"));
    EXPECT_EQ(w->exportFormat(), ExportFormat::Wmf);
}

// Open asks again for a file that is gone; a file that is not what it says
// leaves nothing open.
TEST_F(MainWindowTest, FilesThatAreGoneOrNotWhatTheySay)
{
    auto w = makeWindow();
    mDialogs.answers = {path("gone.slb"), path("two.slb")};
    mPrompts.expectMessage(PromptIcon::Exclamation, "Файл " + path("gone.slb") + " не найден.");
    w->commandOpen();
    EXPECT_EQ(mDialogs.requests.size(), 2u);
    EXPECT_EQ(mDialogs.requests.front().fileTypes, int(LibraryAndSlideFiles));
    EXPECT_EQ(listTexts(*w), QStringList({"ALPHA", "BETA"}));
    EXPECT_TRUE(w->isEnabled());
    w->commandOpen(); // cancelled: nothing changes
    EXPECT_EQ(listTexts(*w), QStringList({"ALPHA", "BETA"}));

    w->selectFile(path("three.slb"));
    mPrompts.expectMessage(PromptIcon::Critical, "Файл " + path("junk.slb")
                                                     + "\r\nне является библиотекой слайдов AutoCAD.");
    w->selectFile(path("junk.slb"));
    expectState(*w, kNothingOpen);
    EXPECT_TRUE(w->pathBox()->text().isEmpty());
    EXPECT_TRUE(w->slideView()->slideFile().isEmpty());

    w->chooseLanguage("En");
    mPrompts.expectMessage(PromptIcon::Critical, "File " + path("junk.sld") + "\r\nis not file of AutoCAD slide.");
    w->selectFile(path("junk.sld"));
    expectState(*w, kNothingOpen);

    // A metafile that cannot be played leaves the panel empty and says so.
    const QString badWmf = path("bad.wmf");
    test::writeFile(badWmf, "garbage");
    mPrompts.expectMessage(PromptIcon::Critical, metafileUnreadableMessage(Language::English, badWmf).text);
    w->selectFile(badWmf);
    EXPECT_TRUE(w->pictureView()->picture() == badWmf && !w->pictureView()->lastError().isEmpty());
}

TEST_F(MainWindowTest, StartFileOpensAtLoadAndKeysAreWrittenOnClose)
{
    auto w = makeWindow("two.slb");
    EXPECT_EQ(listTexts(*w), QStringList({"ALPHA", "BETA"}));
    EXPECT_EQ(w->pathBox()->text(), path("two.slb(ALPHA)"));
    // First start: the designed layout, placed in pixels.
    EXPECT_EQ(w->explorerTree()->geometry(), toPixels(w->paneLayout().tree, 96));
    w->show();
    w->close();
    for (const char *key : kWindowKeys)
        EXPECT_FALSE(ReadIniString(mState.SettingsFile, "Settings", key).isEmpty()) << key;
    EXPECT_DOUBLE_EQ(ReadIniNumber(mState.SettingsFile, "Settings", "WinW"), 9135);
}

// A folder on the command line, however it is written, starts the window in
// it with nothing selected and no message; a path that is neither a file nor
// a folder is reported and the window starts in the program's folder.
TEST_F(MainWindowTest, ACommandLineFolderStartsTheWindowInIt)
{
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(mDir.path()));
    const QString sep = QDir::separator();
    const QString native = QDir::toNativeSeparators(mDir.path());
    const struct { QString line, folder; bool missing; } cases[] = {
        {native + sep + u"folder"_qs, path("folder"), false},
        {u"\""_qs + native + sep + u"dir.slb"_qs + sep + u"\""_qs, path("dir.slb"), false},
        {u"wmf"_qs, path("wmf"), false},
        {u"."_qs + sep + u"dir.slb"_qs + sep, path("dir.slb"), false},
        {u"."_qs, mDir.path(), false},
        {native + sep + u"gone"_qs + sep, mDir.path(), true},
        {u"gone.slb"_qs, mDir.path(), true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        if (c.missing)
            mPrompts.expectMessage(PromptIcon::Critical, u"Файл "_qs + commandLineFileOf(c.line) + u" не найден"_qs);
        readStartupState(mState, mPrompts, c.line);
        EXPECT_EQ(mState.StartFile, QString());
        const MainWindow w(mState, mPrompts, mDialogs);
        const QString canonical = QFileInfo(c.folder).canonicalFilePath();
        EXPECT_EQ(QFileInfo(w.explorerList()->folder()).canonicalFilePath(), canonical);
        EXPECT_EQ(QFileInfo(w.explorerTree()->currentFolder()).canonicalFilePath(), canonical);
        EXPECT_FALSE(w.explorerList()->folder().endsWith(u'/')) << "no trailing separator";
        EXPECT_EQ(w.explorerList()->selectedPath(), QString());
        EXPECT_TRUE(w.pathBox()->text().isEmpty());
        expectState(w, kNothingOpen);
    }
    QDir::setCurrent(saved);
}

TEST_F(MainWindowTest, LanguageCommandsSwitchEveryCaption)
{
    auto w = makeWindow();
    EXPECT_EQ(w->button(ButtonNew)->caption(), "Новый");
    w->chooseLanguage("En");
    EXPECT_EQ(ReadIniString(mState.SettingsFile, "Settings", "Lang"), "En");
    EXPECT_EQ(w->button(ButtonExit)->toolTip(), "Exit Quarvel");
    EXPECT_EQ(w->menuAction("mnuFOpen")->text(), "Open...");
    EXPECT_TRUE(w->menuAction("mnuTLEng")->isChecked() && !w->menuAction("mnuTLRus")->isChecked());
    // The file list's own texts follow too.
    QFileSystemModel &files = w->explorerList()->model();
    EXPECT_EQ(files.headerData(0, Qt::Horizontal).toString(), "Name");
    EXPECT_EQ(files.iconProvider()->type(QFileInfo(path("two.slb"))), "SLB File");
    w->chooseLanguage("Ru");
    EXPECT_EQ(files.headerData(3, Qt::Horizontal).toString(), "Изменён");
    EXPECT_EQ(files.iconProvider()->type(QFileInfo(path("folder"))), "Папка");
    w->chooseLanguage("En");

    // The options dialog's caption choice is applied on return.
    mDialogs.onOptions = [this] { mState.ButtonCaptions = "NotUse"; };
    w->commandOptions();
    EXPECT_TRUE(w->button(ButtonNew)->text().isEmpty());
    EXPECT_FLOAT_EQ(w->paneLayout().tree.top, 660);
    EXPECT_EQ(w->button(ButtonExport)->width(), toPixels({0, 0, 780, 600}, 96).width());
}

TEST_F(MainWindowTest, AddAsksBeforeReplacingAndKeepsOneSlideOfThatName)
{
    auto w = makeWindow("three.slb");
    // "beta.sld" differs from slide BETA only in case: the rewrite question.
    const QString question = "Слайд beta в библиотеке " + path("three.slb")
                             + " уже есть.\r\nПерезаписать существующий в библиотеке слайд?";
    mDialogs.answers = {path("beta.sld")};
    mPrompts.expectMessage(PromptIcon::Question, question, Answer::No);
    w->commandAdd();
    EXPECT_EQ(listTexts(*w), QStringList({"ALPHA", "BETA", "GAMMA"}));
    EXPECT_EQ(mDialogs.requests.back().fileTypes, int(SlideFiles));
    EXPECT_EQ(mDialogs.requests.back().currentDir, QDir::toNativeSeparators(mDir.path())) << "the folder on view";

    mDialogs.answers = {path("beta.sld")};
    mPrompts.expectMessage(PromptIcon::Question, question, Answer::Yes);
    w->commandAdd();
    EXPECT_EQ(listTexts(*w), QStringList({"ALPHA", "GAMMA", "BETA"}));
    EXPECT_EQ(w->slideList()->currentRow(), 2);
    EXPECT_EQ(onDisk(path("three.slb"))->slideData(2), tinySlide(5));

    // A new slide is appended, shown, and enables Delete on a one-slide library.
    w->selectFile(path("one.slb"));
    EXPECT_FALSE(w->button(ButtonDelete)->isEnabled());
    mDialogs.answers = {path("door.sld")};
    w->commandAdd();
    EXPECT_EQ(listTexts(*w), QStringList({"ALPHA", "DOOR"}));
    EXPECT_EQ(w->slideList()->currentRow(), 1);
    EXPECT_TRUE(w->button(ButtonDelete)->isEnabled());
}

TEST_F(MainWindowTest, FailedEditsLeaveTheLibraryAndTheListAsTheyWere)
{
    auto w = makeWindow("three.slb");
    const QString lib = path("three.slb");
    const QByteArray before = test::readFile(lib);
    auto expectRefusal = [&](const QString &detail) {
        mPrompts.expectMessage(PromptIcon::Critical,
                               failureMessage(Language::Russian, FailedAction::ChangeLibrary, detail).text);
    };
    mDialogs.answers = {path("junk.sld")};
    expectRefusal(path("junk.sld") + ": не слайд AutoCAD: нет заголовка слайда");
    w->commandAdd();

    // The disk fills up halfway through the save of a delete, then of an add.
    SaveFile::setWriteGate([half = before.size() / 2](qint64 done, qint64 size) { return done + size < half; });
    const QString full = QDir::toNativeSeparators(lib) + ": не удаётся записать: на диске нет места";
    expectDeleteQuestion("ALPHA", "three.slb", Answer::Yes);
    expectRefusal(full);
    w->commandDelete();
    test::writeFile(path("EXTRA.sld"), tinySlide(3));
    mDialogs.answers = {path("EXTRA.sld")};
    expectRefusal(full);
    w->commandAdd();
    SaveFile::setWriteGate({});
    EXPECT_EQ(test::readFile(lib), before);
    EXPECT_EQ(listTexts(*w), QStringList({"ALPHA", "BETA", "GAMMA"}));
    EXPECT_EQ(w->slideView()->slideFile(), path("three.slb(ALPHA)"));
    EXPECT_EQ(mState.CurrentLibrary->slideCount(), 3);

    // A name the library cannot hold asks for another, saying why, until one
    // fits; Cancel adds nothing.
    const QString longName = path("a_slide_name_much_longer_than_31_bytes.sld");
    test::writeFile(longName, tinySlide(2));
    const QString ask = "\r\nВведите новое имя Слайда", title = "Новое имя Слайда";
    const QString tooLong = "имя слайда \"a_slide_name_much_longer_than_31_bytes\" занимает 38 байт; "
                            "в библиотеке допустимо не более 31";
    for (const bool cancel : {true, false}) {
        mDialogs.answers = {longName};
        mPrompts.expectInput(tooLong + ask, title, "a_slide_name_much_longer_than_31_bytes",
                             cancel ? std::nullopt : std::optional<QString>("с пробелом"));
        if (!cancel) {
            mPrompts.expectInput("имя слайда \"с пробелом\" содержит недопустимый символ:  " + ask, title, "с пробелом",
                                 "Short1");
        }
        w->commandAdd();
    }
    EXPECT_EQ(listTexts(*w), QStringList({"ALPHA", "BETA", "GAMMA", "SHORT1"}));
}

TEST_F(MainWindowTest, DeleteSelectsTheNeighbourAndStopsAtOneSlide)
{
    auto w = makeWindow("three.slb");
    auto deleteRow = [&](int row, const char *name) {
        w->slideList()->setCurrentRow(row);
        expectDeleteQuestion(name, "three.slb", Answer::Yes);
        w->commandDelete();
    };
    deleteRow(2, "GAMMA"); // the last entry: the one before it is selected
    EXPECT_EQ(listTexts(*w), QStringList({"ALPHA", "BETA"}));
    EXPECT_EQ(w->slideList()->currentRow(), 1);
    makeLibrary("three.slb", {"ALPHA", "BETA", "GAMMA"});
    w->selectFile(path("three.slb"));
    deleteRow(1, "BETA"); // a middle entry: the one that took its place
    EXPECT_EQ(listTexts(*w), QStringList({"ALPHA", "GAMMA"}));
    EXPECT_EQ(w->slideList()->currentRow(), 1);
    deleteRow(0, "ALPHA");
    EXPECT_FALSE(w->button(ButtonDelete)->isEnabled());
    EXPECT_EQ(onDisk(path("three.slb"))->slideCount(), 1);
    EXPECT_EQ(onDisk(path("three.slb"))->slideName(0), "GAMMA");

    w->selectFile(path("two.slb"));
    expectDeleteQuestion("ALPHA", "two.slb", Answer::No);
    w->commandDelete();
    EXPECT_EQ(listTexts(*w), QStringList({"ALPHA", "BETA"}));
}

// Delete of two selected slides taken back and done again by the keys; the
// Undo item names what it would undo, in the interface language.
TEST_F(MainWindowTest, DeleteIsUndoneAndRedoneByTheKeys)
{
    makeLibrary("four.slb", {"ALPHA", "BETA", "GAMMA", "DELTA"});
    const QString lib = path("four.slb");
    const QByteArray original = test::readFile(lib);
    auto w = makeWindow("four.slb");
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    QListWidget *list = w->slideList();
    list->setFocus();
    list->setCurrentRow(1);
    list->selectionModel()->select(list->model()->index(2, 0), QItemSelectionModel::Select);
    mPrompts.expectMessage(PromptIcon::Question, "Удалить 2 слайда из " + lib + "?", Answer::Yes);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(listTexts(*w), QStringList({"ALPHA", "DELTA"}));
    const QByteArray edited = test::readFile(lib);
    EXPECT_EQ(onDisk(lib)->slideCount(), 2);
    QAction *undo = w->menuAction("mnuAUndo");
    ASSERT_TRUE(undo);
    EXPECT_EQ(undo->text(), "Отменить удаление 2 слайдов");
    EXPECT_TRUE(list->actions().contains(undo));
    w->chooseLanguage("En");
    EXPECT_EQ(undo->text(), "&Undo Delete 2 Slides");

    QTest::keyClick(w.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(listTexts(*w), QStringList({"ALPHA", "BETA", "GAMMA", "DELTA"}));
    EXPECT_EQ(test::readFile(lib), original);
    EXPECT_EQ(w->selectedSlides(), QList<int>({1, 2}));
    EXPECT_EQ(w->slideView()->slideFile(), path("four.slb(BETA)"));
    EXPECT_EQ(w->menuAction("mnuARedo")->text(), "&Redo Delete 2 Slides");
    EXPECT_FALSE(undo->isEnabled());

    QTest::keyClick(w.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(listTexts(*w), QStringList({"ALPHA", "DELTA"}));
    EXPECT_EQ(test::readFile(lib), edited);
    QTest::keyClick(w.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(test::readFile(lib), original);
    QTest::keyClick(w.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(test::readFile(lib), edited);
    EXPECT_EQ(w->slideList()->currentRow(), 1);
    w->chooseLanguage("Ru");
}

TEST_F(MainWindowTest, ExportAndSaveAsWriteTheSelectedSlide)
{
    auto w = makeWindow("three.slb");
    w->slideList()->setCurrentRow(1);
    mDialogs.answers = {path("out.sld")};
    w->commandExport(); // the button starts on SLD
    EXPECT_EQ(mDialogs.requests.back().fileName, "BETA");
    EXPECT_EQ(mDialogs.requests.back().operation, 1);
    EXPECT_EQ(test::readFile(path("out.sld")), tinySlide(2));

    mDialogs.answers = {path("out.wmf")};
    w->exportToWmf();
    EXPECT_EQ(test::readFile(path("out.wmf")).left(4), QByteArray("\xD7\xCD\xC6\x9A", 4));
    mDialogs.answers = {path("out.dxf")};
    w->exportToDxf(); // offered beside the button's formats, not remembered by it
    EXPECT_EQ(mDialogs.requests.back().fileTypes, int(DxfFiles));
    EXPECT_TRUE(test::readFile(path("out.dxf")).startsWith("0\nSECTION\n2\nHEADER\n"));
    w->commandExport(); // cancelled, still on WMF
    EXPECT_EQ(mDialogs.requests.back().fileTypes, int(MetafileFiles));

    mDialogs.answers = {path("copy.slb")};
    w->commandSaveAs();
    EXPECT_EQ(mDialogs.requests.back().fileName, "three");
    EXPECT_EQ(test::readFile(path("copy.slb")), test::readFile(path("three.slb")));

    // A single slide file saves as a library holding that slide.
    w->selectFile(path("door.sld"));
    mDialogs.answers = {path("door.slb")};
    w->commandSaveAs();
    EXPECT_EQ(onDisk(path("door.slb"))->slideName(0), "DOOR");
}

// A library changed on disk is read again by View > Refresh and by a click
// on it in the file list, the slide on view kept where it still is.
TEST_F(MainWindowTest, RefreshAndAClickOnTheOpenFileReadItAgain)
{
    auto w = makeWindow("two.slb");
    w->show();
    w->slideList()->setCurrentRow(1);
    makeLibrary("two.slb", {"ALPHA", "NEW", "BETA"});
    w->menuAction("mnuVRefresh")->trigger();
    EXPECT_EQ(listTexts(*w), QStringList({"ALPHA", "NEW", "BETA"}));
    EXPECT_EQ(w->pathBox()->text(), path("two.slb(BETA)"));

    makeLibrary("two.slb", {"ONE", "TWO"});
    QTest::mouseClick(w->explorerList()->currentView()->viewport(), Qt::LeftButton, {}, itemCenter(*w, path("two.slb")));
    EXPECT_EQ(listTexts(*w), QStringList({"ONE", "TWO"}));
}

// A library changed by another program is read again by itself, once per
// burst of changes, keeping the slide on view and the selection by name; the
// window's own edits are not read again, an edit between the change and the
// re-read is refused, and nothing is read under an open question.
TEST_F(MainWindowTest, ChangesByAnotherProgramAreReadOncePerBurst)
{
    auto w = makeWindow("three.slb");
    const QString lib = path("three.slb");
    QSignalSpy rereads(w->findChild<LibraryWatcher *>(), &LibraryWatcher::changed);
    QListWidget *list = w->slideList();
    list->setCurrentRow(1);
    list->selectionModel()->select(list->model()->index(2, 0), QItemSelectionModel::Select);
    test::writeFile(path("NEW.sld"), tinySlide(7));
    test::writeFile(path("ZED.sld"), tinySlide(8));
    for (const QStringList &args : {QStringList{"add", lib, path("NEW.sld")}, QStringList{"add", lib, path("ZED.sld")},
                                    QStringList{"delete", lib, "ALPHA"}})
        ASSERT_EQ(cli(args), 0);
    ASSERT_TRUE(rereads.wait(5000));
    EXPECT_EQ(listTexts(*w), QStringList({"BETA", "GAMMA", "NEW", "ZED"}));
    EXPECT_EQ(w->pathBox()->text(), path("three.slb(BETA)"));
    EXPECT_EQ(w->selectedSlides(), QList<int>({0, 1}));

    // The window's own Delete and Add.
    expectDeleteQuestion("BETA", "three.slb", Answer::Yes);
    list->setCurrentRow(0);
    w->commandDelete();
    mDialogs.answers = {path("door.sld")};
    w->commandAdd();
    EXPECT_EQ(listTexts(*w), QStringList({"GAMMA", "NEW", "ZED", "DOOR"}));
    EXPECT_FALSE(rereads.wait(3 * LibraryWatcher::kQuietMs));
    EXPECT_EQ(rereads.count(), 1);

    // Changed again (the rename of the last save dropped the file's watch),
    // and edited before the window has seen it.
    ASSERT_EQ(cli({"delete", lib, "NEW"}), 0);
    expectDeleteQuestion("GAMMA", "three.slb", Answer::Yes);
    mPrompts.expectMessage(PromptIcon::Critical,
                           failureMessage(Language::Russian, FailedAction::ChangeLibrary,
                                          QDir::toNativeSeparators(lib)
                                              + ": файл изменился после открытия; откройте его заново")
                               .text);
    list->setCurrentRow(0);
    w->commandDelete();
    EXPECT_EQ(listTexts(*w), QStringList({"GAMMA", "ZED", "DOOR"}));
    ASSERT_EQ(cli({"delete", lib, "ZED"}), 0);
    ASSERT_TRUE(rereads.wait(5000));
    EXPECT_EQ(listTexts(*w), QStringList({"GAMMA", "DOOR"}));

    // Not under a command that waits for the user: read once it is answered.
    QDialog question(w.get());
    question.setModal(true);
    question.show();
    ASSERT_EQ(cli({"delete", lib, "GAMMA"}), 0);
    ASSERT_TRUE(rereads.wait(5000));
    EXPECT_FALSE(QTest::qWaitFor([&] { return w->slideList()->count() == 1; }, 2 * LibraryWatcher::kQuietMs));
    question.hide();
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->slideList()->count() == 1; }, 5000));
}

// A library deleted by another program leaves nothing open, saying why, and
// no other file opened in its place; made again, it is read. The file list
// follows files that come and go, its selection kept.
TEST_F(MainWindowTest, AVanishedLibraryLeavesNothingOpenUntilItIsBack)
{
    auto w = makeWindow("three.slb");
    w->show();
    const QString lib = path("three.slb");
    itemCenter(*w, lib);   // the file list has read the folder
    FileListPane *files = w->explorerList();
    auto listed = [files](const QString &name) {
        const QModelIndex root = files->currentView()->rootIndex();
        for (int row = 0; row < files->model().rowCount(root); ++row) {
            if (files->model().fileName(files->model().index(row, 0, root)) == name)
                return true;
        }
        return false;
    };
    ASSERT_EQ(copyByAnotherProgram(path("door.sld"), path("fresh.sld")), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return listed("fresh.sld"); }, 5000));
    EXPECT_EQ(files->selectedPath(), lib);
    EXPECT_EQ(QDir::toNativeSeparators(files->model().filePath(files->currentView()->currentIndex())), lib);

    ASSERT_EQ(deleteByAnotherProgram(lib), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !listed("three.slb"); }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w->pathBox()->text().startsWith(lib + "("); }, 5000));
    EXPECT_EQ(w->pathBox()->text(), lib + "  \u2014  не удаётся прочитать: нет такого файла или папки");
    expectState(*w, kNothingOpen);
    EXPECT_EQ(files->selectedPath(), lib);
    EXPECT_FALSE(mState.CurrentLibrary);

    ASSERT_EQ(copyByAnotherProgram(path("two.slb"), lib), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->slideList()->count() == 2; }, 5000));
    EXPECT_EQ(listTexts(*w), QStringList({"ALPHA", "BETA"}));
    EXPECT_EQ(w->pathBox()->text(), path("three.slb(ALPHA)"));
    EXPECT_TRUE(w->button(ButtonDelete)->isEnabled());

    // Replaced by a copy of the same size and time with its slides swapped:
    // the tiles show the new slides.
    w->setTilesShown(true);
    ThumbnailCache &tiles = w->tileView()->thumbnails();
    tiles.thumbnail(0);
    tiles.thumbnail(1);
    tiles.waitForIdle();
    const QImage beta = tiles.thumbnail(1);
    SlideLibrary swapped;
    swapped.addSlideData(tinySlide(2), "ALPHA", "ALPHA");
    swapped.addSlideData(tinySlide(1), "BETA", "BETA");
    swapped.saveLibrary(path("swapped.tmp"));
    ASSERT_EQ(otherProgram("touch", {"-r", lib, path("swapped.tmp")}), 0);
    ASSERT_EQ(otherProgram("mv", {path("swapped.tmp"), lib}), 0);
    QSignalSpy rereads(w->findChild<LibraryWatcher *>(), &LibraryWatcher::changed);
    ASSERT_TRUE(rereads.wait(5000));
    tiles.thumbnail(0);
    tiles.waitForIdle();
    EXPECT_EQ(tiles.thumbnail(0), beta);
}

// The tree follows the file list to a favourite, and shows the folder it
// selects, at start-up too.
TEST_F(MainWindowTest, TheTreeShowsTheFolderOnView)
{
    const QString deep = path("d0/d1/d2/d3/d4/d5/d6/d7/d8/d9/d10/d11");
    QDir().mkpath(deep);
    mState.StartFolder = deep;
    auto w = makeWindow();
    w->show();
    auto *tree = w->explorerTree()->findChild<QTreeView *>();
    auto shown = [&](const QString &folder) {
        const QModelIndex index = static_cast<QFileSystemModel *>(tree->model())->index(folder);
        auto inView = [&] {
            const QRect r = tree->visualRect(index);
            return r.height() > 0 && r.top() >= 0 && r.bottom() <= tree->viewport()->height();
        };
        for (int i = 0; i < 300 && !inView(); ++i)
            QTest::qWait(10);
        QTest::qWait(100);   // the folders read meanwhile must not move it away
        return tree->currentIndex() == index && inView();
    };
    EXPECT_TRUE(shown(deep));
    mDialogs.favorite = path("folder");
    w->commandFavorites();
    EXPECT_EQ(w->explorerList()->folder(), path("folder"));
    EXPECT_TRUE(shown(path("folder")));
}

// A damaged file says what is wrong next to what is on view; a damaged
// library stays editable; Save As of a damaged slide asks first.
TEST_F(MainWindowTest, DamagedFilesSayWhatIsWrongAndStayEditable)
{
    const QByteArray three = test::readFile(path("three.slb"));
    test::writeFile(path("cut.slb"), three.left(three.size() - 6));
    const QByteArray door = test::readFile(path("door.sld"));
    test::writeFile(path("cut.sld"), door.left(door.size() - 1));
    QByteArray noise(2000, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919 + 13) % 251);
    test::writeFile(path("noise.slb"), QByteArray(kLibraryId, 32) + noise);
    auto w = makeWindow();

    w->selectFile(path("cut.slb"));
    EXPECT_EQ(listTexts(*w), QStringList({"ALPHA", "BETA", "GAMMA"}));
    EXPECT_EQ(w->pathBox()->text(), path("cut.slb(ALPHA)"));
    w->slideList()->setCurrentRow(2);
    const QString cutData = "данные обрываются внутри записи";
    EXPECT_EQ(w->pathBox()->text(), path("cut.slb(GAMMA)") + "  —  слайд \"GAMMA\" повреждён (байт 33 слайда): " + cutData);
    w->slideList()->setCurrentRow(0);
    expectDeleteQuestion("ALPHA", "cut.slb", Answer::Yes);
    w->commandDelete();
    EXPECT_EQ(listTexts(*w), QStringList({"BETA", "GAMMA"}));

    w->selectFile(path("cut.sld"));
    const QString damage = "слайд повреждён (байт 41): " + cutData;
    EXPECT_EQ(w->pathBox()->text(), path("cut.sld") + "  —  " + damage);
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        mDialogs.answers = {path("cut.slb")};
        mPrompts.expectMessage(PromptIcon::Question, saveDamagedQuestion(Language::Russian, path("cut.sld"), damage).text,
                               answer);
        w->commandSaveAs();
        EXPECT_EQ(onDisk(path("cut.slb"))->slideCount(), answer == Answer::Yes ? 1 : 2);
    }

    const QString unreadable = "каталог библиотеки не читается: каталог библиотеки выходит за конец файла";
    mPrompts.expectMessage(PromptIcon::Critical, openFailedMessage(Language::Russian, path("noise.slb"), unreadable).text);
    w->selectFile(path("noise.slb"));
    expectState(*w, kNothingOpen);
}

// The window in both languages, with and without captions, and with a
// library cut short, as a failed copy leaves it: what is wrong is said next
// to the slide on view.
TEST_F(MainWindowTest, Screenshots)
{
    const QFileInfo night(test::corpusDir("slb/NIGHT.slb"));
    test::writeFile(path("WELDS.SLB"), test::readFile(test::corpusDir("slb/WELDS.SLB")).left(3000));
    for (const char *lang : {"Ru", "En"}) {
        for (const char *captions : {"Use", "NotUse", ""}) {
            mState.ButtonCaptions = *captions ? captions : "Use";
            mState.StartFolder = *captions ? night.absolutePath() : mDir.path();
            auto w = makeWindow(*captions ? night.fileName() : "WELDS.SLB");
            w->chooseLanguage(lang);
            w->resize(1000, 640);
            w->slideList()->setCurrentRow(*captions ? 9 : w->slideList()->count() - 1);
            if (!*captions) {
                EXPECT_TRUE(w->pathBox()->text().contains(lang == std::string("Ru") ? "повреждена" : "damaged"));
            }
            test::screenshot(*w, *captions ? QString("main-%1-%2").arg(lang, captions) : QString("damaged-") + lang);
        }
    }
}
