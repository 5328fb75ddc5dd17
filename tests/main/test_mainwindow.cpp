// The main window driven as a user would: browsing states, the commands that
// change a library (with scripted dialogs and answers), language, layout and
// the keys written on close. Screenshots go to the build folder.

#include "captions.h"
#include "filelistpane.h"
#include "flatbutton.h"
#include "inifile.h"
#include "mainwindow.h"
#include "metafileview.h"
#include "savefile.h"
#include "scriptedprompts.h"
#include "slidelibrary.h"
#include "slideview.h"
#include "slidewriter.h"
#include "testdata.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>

using namespace quarvel;
using quarvel::test::ScriptedPrompts;

namespace {

QByteArray slideWithColor(int color)
{
    SlideWriter w(199, 99);
    w.color(color);
    w.vector(10, 10, 180, 90);
    const QPoint tri[] = {QPoint(20, 20), QPoint(60, 20), QPoint(40, 70)};
    w.fill(tri);
    return w.finish();
}

class FakeDialogs : public MainDialogs
{
public:
    QString explore(const ExploreRequest &request) override
    {
        requests.push_back(request);
        if (answers.empty())
            return {};
        QString next = answers.front();
        answers.pop_front();
        return next;
    }
    QString favorites() override { return favorite; }
    void options() override { ++optionsShown; }
    void about() override {}
    std::unique_ptr<SlideLibrary> newLibrary(const QString &) override { return nullptr; }

    std::deque<QString> answers;
    std::vector<ExploreRequest> requests;
    QString favorite;
    int optionsShown = 0;
};

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mDir.isValid());
        mState.ProgramFolder = mDir.path();
        mState.SettingsFile = path(QStringLiteral("Quarvel.ini"));
        mState.StartFolder = mDir.path();
        makeLibrary(QStringLiteral("one.slb"), {"ALPHA"});
        makeLibrary(QStringLiteral("two.slb"), {"ALPHA", "BETA"});
        makeLibrary(QStringLiteral("three.slb"), {"ALPHA", "BETA", "GAMMA"});
        test::writeFile(path(QStringLiteral("door.sld")), slideWithColor(3));
        test::writeFile(path(QStringLiteral("beta.sld")), slideWithColor(5));
        test::writeFile(path(QStringLiteral("junk.slb")), "not a library");
        test::writeFile(path(QStringLiteral("junk.sld")), "not a slide");
        test::writeFile(path(QStringLiteral("picture.wmf")),
                        test::readFile(test::corpusDir(QStringLiteral("wmf/santa.wmf"))));
        QDir(mDir.path()).mkdir(QStringLiteral("folder"));
    }

    QString path(const QString &name) const { return QDir(mDir.path()).filePath(name); }

    void makeLibrary(const QString &name, std::initializer_list<const char *> slides)
    {
        SlideLibrary lib;
        int color = 1;
        for (const char *slide : slides)
            lib.addSlideData(slideWithColor(color++), slide, QString::fromLatin1(slide));
        lib.saveLibrary(path(name));
    }

    std::unique_ptr<MainWindow> makeWindow(const QString &startFile = {})
    {
        mState.StartFile = startFile;
        auto window = std::make_unique<MainWindow>(mState, mPrompts, mDialogs);
        return window;
    }

    static QStringList listTexts(const MainWindow &w)
    {
        QStringList texts;
        for (int i = 0; i < w.slideList()->count(); ++i)
            texts << w.slideList()->item(i)->text();
        return texts;
    }

    QTemporaryDir mDir;
    AppState mState;
    ScriptedPrompts mPrompts;
    FakeDialogs mDialogs;
};

struct Expect
{
    int listCount;
    bool listEnabled;
    bool saveAs, add, del, exportSlide;
    bool pictureShown;
};

void expectState(const MainWindow &w, const Expect &e)
{
    EXPECT_EQ(w.slideList()->count(), e.listCount);
    EXPECT_EQ(w.slideList()->isEnabled(), e.listEnabled);
    EXPECT_EQ(w.button(ButtonSave)->isEnabled(), e.saveAs);
    EXPECT_EQ(w.button(ButtonAdd)->isEnabled(), e.add);
    EXPECT_EQ(w.button(ButtonDelete)->isEnabled(), e.del);
    EXPECT_EQ(w.button(ButtonExport)->isEnabled(), e.exportSlide);
    EXPECT_EQ(w.menuAction(QStringLiteral("mnuFSaveAs"))->isEnabled(), e.saveAs);
    EXPECT_EQ(w.menuAction(QStringLiteral("mnuADelete"))->isEnabled(), e.del);
    EXPECT_EQ(w.pictureView()->isVisibleTo(w.centralWidget()), e.pictureShown);
    EXPECT_EQ(w.slideView()->isVisibleTo(w.centralWidget()), !e.pictureShown);
}

} // namespace

TEST_F(MainWindowTest, BrowsingStatesFollowTheFileOnView)
{
    auto w = makeWindow();
    struct Case
    {
        const char *file;
        const char *spec;   // what Text1 and Slide1 show ("" for nothing)
        Expect expect;
    };
    const Case cases[] = {
        {"one.slb", "one.slb(ALPHA)", {1, false, true, true, false, true, false}},
        {"two.slb", "two.slb(ALPHA)", {2, true, true, true, true, true, false}},
        {"three.slb", "three.slb(ALPHA)", {3, true, true, true, true, true, false}},
        {"door.sld", "door.sld", {0, false, true, false, false, true, false}},
        {"picture.wmf", "picture.wmf", {0, false, false, false, false, false, true}},
        {"folder", "", {0, false, false, false, false, false, false}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        w->selectFile(path(QString::fromLatin1(c.file)));
        const QString spec = *c.spec ? path(QString::fromLatin1(c.spec)) : QString();
        EXPECT_EQ(w->pathBox()->text(), spec);
        if (!w->pictureView()->isVisibleTo(w->centralWidget()))
            EXPECT_EQ(w->slideView()->slideFile(), spec);
        expectState(*w, c.expect);
    }
    // A single slide file leaves the Export button on the metafile format.
    w->selectFile(path(QStringLiteral("door.sld")));
    EXPECT_EQ(w->exportFormat(), ExportFormat::Wmf);
    w->selectFile(path(QStringLiteral("three.slb")));
    EXPECT_EQ(w->exportFormat(), ExportFormat::Wmf);
    w->slideList()->setCurrentRow(2);
    EXPECT_EQ(w->slideView()->slideFile(), path(QStringLiteral("three.slb(GAMMA)")));
    EXPECT_TRUE(w->slideView()->hasSlide());
}

TEST_F(MainWindowTest, FilesThatAreNotWhatTheySayLeaveNothingOpen)
{
    auto w = makeWindow();
    w->selectFile(path(QStringLiteral("three.slb")));
    const QString junkLib = path(QStringLiteral("junk.slb"));
    const QString junkSld = path(QStringLiteral("junk.sld"));
    mPrompts.expectMessage(PromptIcon::Critical,
                           QStringLiteral("Файл ") + junkLib + QStringLiteral("\r\nне является библиотекой слайдов AutoCAD."));
    w->selectFile(junkLib);
    expectState(*w, {0, false, false, false, false, false, false});
    EXPECT_TRUE(w->pathBox()->text().isEmpty());
    EXPECT_TRUE(w->slideView()->slideFile().isEmpty());

    w->chooseLanguage(QStringLiteral("En"));
    mPrompts.expectMessage(PromptIcon::Critical,
                           QStringLiteral("File ") + junkSld + QStringLiteral("\r\nis not file of AutoCAD slide."));
    w->selectFile(junkSld);
    expectState(*w, {0, false, false, false, false, false, false});

    // A metafile that cannot be played leaves the panel empty and says so.
    const QString badWmf = path(QStringLiteral("bad.wmf"));
    test::writeFile(badWmf, "garbage");
    mPrompts.expectMessage(PromptIcon::Critical, metafileUnreadableMessage(Language::English, badWmf).text);
    w->selectFile(badWmf);
    EXPECT_TRUE(w->pictureView()->picture() == badWmf && !w->pictureView()->lastError().isEmpty());
}

TEST_F(MainWindowTest, StartFileOpensAtLoadAndKeysAreWrittenOnClose)
{
    auto w = makeWindow(QStringLiteral("two.slb"));
    EXPECT_EQ(listTexts(*w), QStringList({"ALPHA", "BETA"}));
    EXPECT_EQ(w->slideList()->currentRow(), 0);
    EXPECT_EQ(w->pathBox()->text(), path(QStringLiteral("two.slb(ALPHA)")));
    // First start: the designed window, 9135 x 6570 twips with the tree at 945.
    EXPECT_FLOAT_EQ(w->paneLayout().windowWidth, 9135);
    EXPECT_FLOAT_EQ(w->paneLayout().windowHeight, 6570);
    EXPECT_FLOAT_EQ(w->paneLayout().tree.top, 945);
    EXPECT_EQ(w->explorerTree()->geometry(), toPixels(w->paneLayout().tree, 96));
    w->show();
    w->close();
    const QString section = QStringLiteral("Settings");
    EXPECT_EQ(ReadIniString(mState.SettingsFile, section, QStringLiteral("WinMode")), QStringLiteral("0"));
    for (const char *key : kWindowKeys)
        EXPECT_FALSE(ReadIniString(mState.SettingsFile, section, QLatin1String(key)).isEmpty()) << key;
    EXPECT_DOUBLE_EQ(ReadIniNumber(mState.SettingsFile, section, QStringLiteral("WinW")), 9135);
}

TEST_F(MainWindowTest, LanguageCommandsSwitchEveryCaption)
{
    auto w = makeWindow();
    EXPECT_EQ(w->button(ButtonNew)->caption(), QString::fromUtf8("Новый"));
    EXPECT_EQ(w->button(ButtonExit)->toolTip(), QString::fromUtf8("Выход из программы"));
    EXPECT_TRUE(w->menuAction(QStringLiteral("mnuTLRus"))->isChecked());
    w->chooseLanguage(QStringLiteral("En"));
    EXPECT_EQ(ReadIniString(mState.SettingsFile, QStringLiteral("Settings"), QStringLiteral("Lang")), QStringLiteral("En"));
    EXPECT_EQ(w->button(ButtonNew)->caption(), QStringLiteral("New..."));
    EXPECT_EQ(w->button(ButtonExit)->toolTip(), QStringLiteral("Exit Quarvel"));
    EXPECT_EQ(w->menuAction(QStringLiteral("mnuFOpen"))->text(), QStringLiteral("Open..."));
    EXPECT_TRUE(w->menuAction(QStringLiteral("mnuTLEng"))->isChecked());
    EXPECT_FALSE(w->menuAction(QStringLiteral("mnuTLRus"))->isChecked());

    mState.ButtonCaptions = QStringLiteral("NotUse");
    w->commandOptions();
    EXPECT_EQ(mDialogs.optionsShown, 1);
    EXPECT_TRUE(w->button(ButtonNew)->text().isEmpty());
    EXPECT_FLOAT_EQ(w->paneLayout().tree.top, 660);
    EXPECT_EQ(w->button(ButtonExport)->width(), toPixels({0, 0, 780, 600}, 96).width());
}

TEST_F(MainWindowTest, AddAsksBeforeReplacingAndKeepsOneSlideOfThatName)
{
    auto w = makeWindow(QStringLiteral("three.slb"));
    const QString lib = path(QStringLiteral("three.slb"));
    // "beta.sld" differs from slide BETA only in case: the rewrite question.
    mDialogs.answers = {path(QStringLiteral("beta.sld"))};
    mPrompts.expectMessage(PromptIcon::Question,
                           QString::fromUtf8("Слайд beta в библиотеке ") + lib
                               + QString::fromUtf8(" уже есть.\r\nПерезаписать существующий в библиотеке слайд?"),
                           Answer::No);
    w->commandAdd();
    EXPECT_EQ(listTexts(*w), QStringList({"ALPHA", "BETA", "GAMMA"}));
    EXPECT_EQ(mDialogs.requests.back().fileTypes, int(SlideFiles));
    EXPECT_EQ(mDialogs.requests.back().currentDir, mDir.path());

    mDialogs.answers = {path(QStringLiteral("beta.sld"))};
    mPrompts.expectMessage(PromptIcon::Question, mPrompts.shown().back().text, Answer::Yes);
    w->commandAdd();
    EXPECT_EQ(listTexts(*w), QStringList({"ALPHA", "GAMMA", "BETA"}));
    EXPECT_EQ(w->slideList()->currentRow(), 2);
    SlideLibrary saved;
    saved.setLibraryFile(lib);
    EXPECT_EQ(saved.slideCount(), 3);
    EXPECT_EQ(saved.slideData(2), slideWithColor(5));

    // A new slide is appended, shown, and enables Delete on a one-slide library.
    w->selectFile(path(QStringLiteral("one.slb")));
    EXPECT_FALSE(w->button(ButtonDelete)->isEnabled());
    mDialogs.answers = {path(QStringLiteral("door.sld"))};
    w->commandAdd();
    EXPECT_EQ(listTexts(*w), QStringList({"ALPHA", "DOOR"}));
    EXPECT_EQ(w->slideList()->currentRow(), 1);
    EXPECT_TRUE(w->button(ButtonDelete)->isEnabled());
}

TEST_F(MainWindowTest, FailedEditsLeaveTheLibraryAndTheListAsTheyWere)
{
    auto w = makeWindow(QStringLiteral("three.slb"));
    const QString lib = path(QStringLiteral("three.slb"));
    const QByteArray before = test::readFile(lib);

    auto refusal = [](const QString &detail) {
        return failureMessage(Language::Russian, FailedAction::ChangeLibrary, detail).text;
    };
    // Not a slide.
    const QString junk = path(QStringLiteral("junk.sld"));
    mDialogs.answers = {junk};
    mPrompts.expectMessage(PromptIcon::Critical,
                           refusal(junk + QStringLiteral(": not an AutoCAD slide (no slide header)")));
    w->commandAdd();

    // A name that takes more than 31 bytes: the file is a slide, its name is too long.
    const QString longName = path(QStringLiteral("a_slide_name_much_longer_than_31_bytes.sld"));
    test::writeFile(longName, slideWithColor(2));
    mDialogs.answers = {longName};
    mPrompts.expectMessage(PromptIcon::Critical,
                           refusal(longName + QStringLiteral(": the slide name \"a_slide_name_much_longer_than_31_bytes\" "
                                                             "takes 38 bytes; a library holds at most 31")));
    w->commandAdd();

    // The disk fills up halfway through the save of a delete.
    SaveFile::setWriteGate([](qint64 written, qint64 size) { return written + size < 250; });
    mPrompts.expectMessage(PromptIcon::Question,
                           deleteSlideQuestion(Language::Russian, QStringLiteral("ALPHA"), lib).text, Answer::Yes);
    mPrompts.expectMessage(PromptIcon::Critical,
                           refusal(QDir::toNativeSeparators(lib) + QStringLiteral(": cannot write: No space left on device")));
    w->commandDelete();
    SaveFile::setWriteGate({});
    EXPECT_EQ(test::readFile(lib), before);
    EXPECT_EQ(listTexts(*w), QStringList({"ALPHA", "BETA", "GAMMA"}));
    EXPECT_EQ(w->slideView()->slideFile(), path(QStringLiteral("three.slb(ALPHA)")));
    EXPECT_EQ(mState.CurrentLibrary->slideCount(), 3);
}

TEST_F(MainWindowTest, DeleteSelectsTheNeighbourAndStopsAtOneSlide)
{
    auto w = makeWindow(QStringLiteral("three.slb"));
    const QString lib = path(QStringLiteral("three.slb"));
    auto deleteRow = [&](int row, const char *name) {
        w->slideList()->setCurrentRow(row);
        mPrompts.expectMessage(PromptIcon::Question,
                               deleteSlideQuestion(Language::Russian, QLatin1String(name), lib).text, Answer::Yes);
        w->commandDelete();
    };
    deleteRow(2, "GAMMA");   // the last entry: the one before it is selected
    EXPECT_EQ(listTexts(*w), QStringList({"ALPHA", "BETA"}));
    EXPECT_EQ(w->slideList()->currentRow(), 1);
    EXPECT_EQ(w->slideView()->slideFile(), path(QStringLiteral("three.slb(BETA)")));
    makeLibrary(QStringLiteral("three.slb"), {"ALPHA", "BETA", "GAMMA"});
    w->selectFile(lib);
    deleteRow(1, "BETA");    // a middle entry: the one that took its place
    EXPECT_EQ(listTexts(*w), QStringList({"ALPHA", "GAMMA"}));
    EXPECT_EQ(w->slideList()->currentRow(), 1);
    deleteRow(0, "ALPHA");
    EXPECT_FALSE(w->button(ButtonDelete)->isEnabled());
    SlideLibrary saved;
    saved.setLibraryFile(lib);
    ASSERT_EQ(saved.slideCount(), 1);
    EXPECT_EQ(saved.slideName(0), QStringLiteral("GAMMA"));
    // No answers No.
    w->selectFile(path(QStringLiteral("two.slb")));
    mPrompts.expectMessage(PromptIcon::Question,
                           deleteSlideQuestion(Language::Russian, QStringLiteral("ALPHA"), path(QStringLiteral("two.slb"))).text,
                           Answer::No);
    w->commandDelete();
    EXPECT_EQ(listTexts(*w), QStringList({"ALPHA", "BETA"}));
}

TEST_F(MainWindowTest, ExportAndSaveAsWriteTheSelectedSlide)
{
    auto w = makeWindow(QStringLiteral("three.slb"));
    w->slideList()->setCurrentRow(1);
    const QString sld = path(QStringLiteral("out.sld"));
    mDialogs.answers = {sld};
    w->commandExport();   // the button starts on SLD
    EXPECT_EQ(mDialogs.requests.back().fileName, QStringLiteral("BETA"));
    EXPECT_EQ(mDialogs.requests.back().operation, 1);
    EXPECT_EQ(test::readFile(sld), slideWithColor(2));

    const QString wmf = path(QStringLiteral("out.wmf"));
    mDialogs.answers = {wmf};
    w->exportToWmf();
    EXPECT_EQ(w->exportFormat(), ExportFormat::Wmf);
    EXPECT_EQ(test::readFile(wmf).left(4), QByteArray("\xD7\xCD\xC6\x9A", 4));
    mDialogs.answers = {};
    w->commandExport();   // cancelled, still on WMF
    EXPECT_EQ(mDialogs.requests.back().fileTypes, int(MetafileFiles));

    const QString copy = path(QStringLiteral("copy.slb"));
    mDialogs.answers = {copy};
    w->commandSaveAs();
    EXPECT_EQ(mDialogs.requests.back().fileName, QStringLiteral("three"));
    EXPECT_EQ(test::readFile(copy), test::readFile(path(QStringLiteral("three.slb"))));

    // A single slide file saves as a library holding that slide.
    w->selectFile(path(QStringLiteral("door.sld")));
    mDialogs.answers = {path(QStringLiteral("door.slb"))};
    w->commandSaveAs();
    SlideLibrary saved;
    saved.setLibraryFile(path(QStringLiteral("door.slb")));
    EXPECT_EQ(saved.slideName(0), QStringLiteral("DOOR"));
}

TEST_F(MainWindowTest, OpenAsksAgainForAFileThatIsGone)
{
    auto w = makeWindow();
    const QString gone = path(QStringLiteral("gone.slb"));
    mDialogs.answers = {gone, path(QStringLiteral("two.slb"))};
    mPrompts.expectMessage(PromptIcon::Exclamation, QStringLiteral("Файл ") + gone + QString::fromUtf8(" не найден."));
    w->commandOpen();
    EXPECT_EQ(mDialogs.requests.size(), 2u);
    EXPECT_EQ(mDialogs.requests.front().fileTypes, int(LibraryAndSlideFiles));
    EXPECT_EQ(listTexts(*w), QStringList({"ALPHA", "BETA"}));
    EXPECT_TRUE(w->isEnabled());
    // Cancel changes nothing.
    w->commandOpen();
    EXPECT_EQ(listTexts(*w), QStringList({"ALPHA", "BETA"}));
}

TEST_F(MainWindowTest, Screenshots)
{
    const QString out = QCoreApplication::applicationDirPath() + QStringLiteral("/screenshots");
    QDir().mkpath(out);
    const QString lib = test::corpusDir(QStringLiteral("slb/NIGHT.slb"));
    mState.StartFolder = QFileInfo(lib).absolutePath();
    for (const char *captions : {"Use", "NotUse"}) {
        for (const char *lang : {"Ru", "En"}) {
            mState.ButtonCaptions = QLatin1String(captions);
            auto w = makeWindow(QFileInfo(lib).fileName());
            w->chooseLanguage(QLatin1String(lang));
            w->resize(1000, 640);
            w->show();
            QCoreApplication::processEvents();
            w->slideList()->setCurrentRow(9);
            const QString file = QStringLiteral("%1/main-%2-%3.png").arg(out, QLatin1String(lang), QLatin1String(captions));
            EXPECT_TRUE(w->grab().save(file));
        }
    }
}
