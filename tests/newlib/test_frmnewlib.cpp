// The builder driven as a user would, with scripted answers: folders, the
// preview, the list commands and their states, Create in the builder's order
// and its failures, Cancel, and long lists behind a progress dialog.
// Screenshots of both languages go to the build folder.

#include "builderprompts.h"
#include "filelistpane.h"
#include "frmnewlib.h"
#include "inifile.h"
#include "slidelibrary.h"
#include "slideview.h"

#include <QApplication>
#include <QComboBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace quarvel;
using quarvel::test::BoundedPrompts;

namespace {

QStringList filesBelow(const QString &folder)
{
    QStringList out;
    for (const QFileInfo &e : QDir(folder).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot))
        out << e.filePath() << (e.isDir() ? filesBelow(e.filePath()) : QStringList());
    return out;
}

QStringList libraryNames(const SlideLibrary &library)
{
    QStringList out;
    for (int i = 0; i < library.slideCount(); ++i)
        out << library.slideName(i);
    return out;
}

class BuilderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mDir.isValid());
        mState.SettingsFile = at(QStringLiteral("Quarvel.ini"));
        mState.LanguageCode = QStringLiteral("En");
        QDir(mDir.path()).mkpath(QStringLiteral("slides/sub"));
        QDir(mDir.path()).mkpath(QStringLiteral("other"));
        test::writeSlide(mSlides, QStringLiteral("b.sld"), 2);
        test::writeSlide(mSlides, QStringLiteral("a.sld"), 1);
        test::writeSlide(mSlides, QStringLiteral("C.sld"), 3);
        test::writeSlide(mOther, QStringLiteral("a.sld"), 4);
        test::writeFile(at(QStringLiteral("other/junk.sld")), "not a slide");
        SlideLibrary library;
        library.addSlideFile(at(QStringLiteral("slides/a.sld")));
        library.saveLibrary(at(QStringLiteral("other/lib.sld")));   // a library under a slide's name
    }

    QString at(const QString &name) const { return QDir::toNativeSeparators(mDir.filePath(name)); }

    std::unique_ptr<FrmNewLib> builder(const QString &folder)
    {
        auto b = std::make_unique<FrmNewLib>(mState, mPrompts);
        b->setCurrentDir(folder);
        return b;
    }
    static void addFile(FrmNewLib &b, const QString &path)
    {
        b.selectItem(path);
        b.add();
    }
    static QStringList column(const FrmNewLib &b, int c)
    {
        QStringList out;
        for (int row = 0; row < b.grid()->rowCount(); ++row)
            out << b.grid()->item(row, c)->text();
        return out;
    }
    static QPushButton *button(const FrmNewLib &b, const char *name)
    {
        return b.findChild<QPushButton *>(QLatin1String(name));
    }
    // Add, Remove, Remove All, Create and the grid; Add All and Cancel are
    // always on.
    static QString enabled(const FrmNewLib &b)
    {
        QString out;
        for (const char *name : {"cmdAdd", "cmdRemove", "cmdRemoveAll", "cmdSave"})
            out += button(b, name)->isEnabled() ? u'1' : u'0';
        out += b.grid()->isEnabled() ? u'1' : u'0';
        EXPECT_TRUE(button(b, "cmdAddAll")->isEnabled() && button(b, "CancelButton")->isEnabled());
        return out;
    }
    void expectDuplicate(const QString &path, Answer answer)
    {
        mPrompts.expectMessage(PromptIcon::Question,
                               u"Slide "_qs + path + u" already be in list\r\nAdd this Slide under other name?"_qs,
                               answer);
    }
    void expectRename(const QString &typed)
    {
        mPrompts.expectInput(u"Enter new Name of Slide"_qs, u"New Name of Slide"_qs, QString(), typed);
    }
    void expectCritical(const QString &text) { mPrompts.expectMessage(PromptIcon::Critical, text); }

    QTemporaryDir mDir;
    AppState mState;
    BoundedPrompts mPrompts;
    const QString mSlides = at(QStringLiteral("slides"));
    const QString mOther = at(QStringLiteral("other"));
};

TEST_F(BuilderTest, CaptionsFollowTheLanguage)
{
    const std::pair<const char *, QStringList> cases[] = {
        {"En",
         {"Making a new Library", "< Add Slide", "<< Add All Slides", "Remove Slide >", "Remove All Slides >>",
          "Create", "Cancel", "Choice of Folder...", "Look in Favorites..."}},
        {"Ru",
         {"Создание новой Библиотеки", "< Добавить слайд", "<< Добавить все слайды", "Удалить слайд >",
          "Удалить все слайды >>", "Создать", "Отмена", "Выбрать папку...", "Посмотреть в Фаворитах..."}},
    };
    for (const auto &[code, texts] : cases) {
        mState.LanguageCode = QLatin1String(code);
        FrmNewLib b(mState, mPrompts);
        QStringList shown{b.windowTitle()};
        for (const char *name : {"cmdAdd", "cmdAddAll", "cmdRemove", "cmdRemoveAll", "cmdSave", "CancelButton"})
            shown << button(b, name)->text();
        shown << button(b, "cmdGetDir")->toolTip() << b.findChild<QToolButton *>(u"cmdFav"_qs)->toolTip();
        EXPECT_EQ(shown, texts);
        EXPECT_EQ(enabled(b), u"00000"_qs);
    }
}

TEST_F(BuilderTest, FolderBoxKeepsItsRule)
{
    // Keys 0 to 14 stored: a full box but for one entry, newest on top.
    for (int key = 0; key < 15; ++key)
        WriteIniString(mState.SettingsFile, u"LastOpenFolders"_qs, QString::number(key), key == 14 ? mSlides : u"/no/%1"_qs.arg(key));
    mState.DialogFolder = u"/left/alone"_qs;
    FrmNewLib b(mState, mPrompts);
    EXPECT_EQ(b.currentDir(), mSlides);
    EXPECT_EQ(b.recentFolders().entries().mid(0, 2), (QStringList{mSlides, u"/no/13"_qs}));

    b.setCurrentDir(mSlides);   // present: selected, not inserted
    b.setFavoritesPicker([this] { return mOther; });
    b.lookInFavorites();
    EXPECT_EQ(b.recentFolders().entries().size(), 15);
    EXPECT_EQ(b.recentFolders().entries().first(), mOther);
    EXPECT_EQ(b.currentDir(), mOther);
    EXPECT_EQ(mState.DialogFolder, u"/left/alone"_qs);

    QStringList starts;
    b.setFolderPicker([&](const QString &start) {
        starts << start;
        return starts.size() == 1 ? u"/"_qs : mSlides;   // one character changes nothing
    });
    b.pickFolder();
    EXPECT_EQ(b.currentDir(), mOther);
    b.pickFolder();
    EXPECT_EQ(starts, (QStringList{mOther, mOther}));
    EXPECT_EQ(b.findChild<QComboBox *>(u"cboPath"_qs)->currentText(), mSlides);

    b.openItem(at(u"slides/sub"_qs));
    b.goUp();
    b.goUp();
    EXPECT_EQ(b.currentDir(), QDir::toNativeSeparators(mDir.path()));
    EXPECT_EQ(b.recentFolders().entries().size(), 15);
}

TEST_F(BuilderTest, PreviewAndAddAndTheirStates)
{
    auto b = builder(mSlides);
    const QString a = at(u"slides/a.sld"_qs);
    b->selectItem(a);
    EXPECT_TRUE(b->preview()->hasSlide());
    EXPECT_EQ(mState.CurrentSlideSpec, a);
    EXPECT_EQ(enabled(*b), u"10000"_qs);
    b->add();
    EXPECT_EQ(column(*b, 0), QStringList{u"a"_qs});
    EXPECT_EQ(column(*b, 1), QStringList{a});
    EXPECT_TRUE(b->fileName().isEmpty());
    EXPECT_EQ(enabled(*b), u"00011"_qs);

    // Files that cannot be previewed are reported, yet can be added.
    mState.LanguageCode = u"Ru"_qs;
    const QString junk = at(u"other/junk.sld"_qs);
    const QString lib = at(u"other/lib.sld"_qs);
    expectCritical(u"Файл "_qs + junk + u"\r\nне является слайдом AutoCAD."_qs);
    addFile(*b, junk);
    EXPECT_FALSE(b->preview()->hasSlide());
    b->selectItem(a);
    expectCritical(u"Файл "_qs + lib + u"\r\nне является библиотекой слайдов  AutoCAD."_qs);
    addFile(*b, lib);
    EXPECT_TRUE(b->preview()->slideFile().isEmpty());
    EXPECT_EQ(b->grid()->rowCount(), 3);
}

TEST_F(BuilderTest, RowWorkRunsOncePerPressAndOnKeys)
{
    auto b = builder(mSlides);
    b->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(b.get()));
    b->addAll();
    const QString a = at(u"slides/a.sld"_qs);
    QFile::remove(a);
    QAbstractItemView *grid = b->grid();
    const QPoint row0 = grid->visualRect(grid->model()->index(0, 0)).center();
    for (int press = 0; press < 2; ++press) {   // a new row, then the current row again
        expectCritical(u"File "_qs + a + u" is not found"_qs);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, row0);
        EXPECT_TRUE(mPrompts.allShown());
    }
    EXPECT_EQ(enabled(*b), u"01111"_qs);
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(mState.CurrentSlideSpec, at(u"slides/b.sld"_qs));
}

TEST_F(BuilderTest, RemoveAndRemoveAll)
{
    auto b = builder(mSlides);
    b->addAll();
    b->grid()->setCurrentCell(1, 0);
    b->remove();
    EXPECT_EQ(column(*b, 0), (QStringList{u"a"_qs, u"C"_qs}));
    EXPECT_EQ(enabled(*b), u"00011"_qs);
    EXPECT_FALSE(b->preview()->hasSlide());
    b->grid()->setCurrentCell(0, 0);
    b->remove();
    b->grid()->setCurrentCell(0, 0);
    b->remove();
    EXPECT_EQ(enabled(*b), u"00000"_qs);

    b->addAll();   // the names are free again: no question
    b->grid()->setCurrentCell(2, 0);
    b->removeAll();
    EXPECT_EQ(b->grid()->rowCount() + b->chosenSlides().count(), 0);
    EXPECT_EQ(enabled(*b), u"00000"_qs);
}

TEST_F(BuilderTest, AddAllTwiceAsksAboutEveryFileInNameOrder)
{
    auto b = builder(mSlides);
    b->selectItem(at(u"slides/a.sld"_qs));
    b->addAll();
    const QStringList paths{at(u"slides/a.sld"_qs), at(u"slides/b.sld"_qs), at(u"slides/C.sld"_qs)};
    EXPECT_EQ(column(*b, 1), paths);
    EXPECT_EQ(enabled(*b), u"00011"_qs);
    expectDuplicate(paths[0], Answer::No);
    expectDuplicate(paths[1], Answer::Yes);
    expectRename(u"b2"_qs);
    expectDuplicate(paths[2], Answer::No);
    b->addAll();
    EXPECT_EQ(column(*b, 0), (QStringList{u"a"_qs, u"b"_qs, u"C"_qs, u"b2"_qs}));

    auto empty = builder(at(u"slides/sub"_qs));
    empty->addAll();
    EXPECT_EQ(enabled(*empty), u"00000"_qs);
}

TEST_F(BuilderTest, CreateGivesTheBuildersOrderAndTheTypedNames)
{
    auto b = builder(mSlides);
    addFile(*b, at(u"slides/a.sld"_qs));
    addFile(*b, at(u"slides/b.sld"_qs));
    expectDuplicate(at(u"other/a.sld"_qs), Answer::Yes);
    expectRename(u"Other_A"_qs);
    addFile(*b, at(u"other/a.sld"_qs));
    b->create();
    EXPECT_EQ(b->result(), QDialog::Accepted);
    std::unique_ptr<SlideLibrary> built = b->takeNewLib();
    ASSERT_NE(built, nullptr);
    built->saveLibrary(at(u"new.slb"_qs));
    SlideLibrary saved;
    saved.setLibraryFile(at(u"new.slb"_qs));
    EXPECT_EQ(libraryNames(saved), (QStringList{u"OTHER_A"_qs, u"B"_qs, u"A"_qs}));
    EXPECT_EQ(saved.slideData(0), test::tinySlide(4));
    EXPECT_EQ(saved.slideData(2), test::tinySlide(1));
}

TEST_F(BuilderTest, FailedCreateReportsTheRowAndTheBuilderStays)
{
    const QString a = at(u"slides/a.sld"_qs);
    const QString junk = at(u"other/junk.sld"_qs);
    const QString longName(32, u'L');
    auto b = builder(mSlides);
    b->show();
    addFile(*b, a);
    expectCritical(u"File "_qs + junk + u"\r\nis not file of AutoCAD slide."_qs);
    addFile(*b, junk);
    expectDuplicate(a, Answer::Yes);
    expectRename(longName);
    addFile(*b, a);
    const QStringList before = filesBelow(mDir.path());

    expectCritical(u"File "_qs + a + u"\r\nis a slide, but its name \""_qs + longName
                   + u"\" is too long: a slide library holds names of at most 31 bytes."_qs);
    b->create();
    b->grid()->setCurrentCell(2, 0);
    b->remove();
    expectCritical(u"File "_qs + junk + u"\r\nis not file of slides."_qs);
    b->create();
    EXPECT_TRUE(mPrompts.allShown());
    EXPECT_TRUE(b->isVisible());
    EXPECT_EQ(b->newLib(), nullptr);
    EXPECT_EQ(column(*b, 1), (QStringList{a, junk}));
    EXPECT_TRUE(b->preview()->slideFile().isEmpty());
    EXPECT_EQ(enabled(*b), u"00011"_qs);
    EXPECT_EQ(filesBelow(mDir.path()), before);
}

// As the New command shows it: modal, ended by Create or Cancel.
TEST_F(BuilderTest, ShownModallyItGivesALibraryOnlyOnCreate)
{
    const QStringList before = filesBelow(mDir.path());
    for (const char *end : {"CancelButton", "cmdSave"}) {
        QTimer::singleShot(0, [&] {
            QWidget *shown = QApplication::activeModalWidget();
            auto *b = qobject_cast<FrmNewLib *>(shown);
            if (!b) {
                ADD_FAILURE() << "the builder is not the modal window";
                return shown ? void(shown->close()) : void();
            }
            EXPECT_EQ(b->currentDir(), mSlides);
            b->addAll();
            b->selectItem(at(u"slides/a.sld"_qs));
            QTest::mouseClick(button(*b, end), Qt::LeftButton);
            EXPECT_EQ(b->fileName().isEmpty(), end == std::string("CancelButton"));
        });
        const std::unique_ptr<SlideLibrary> built = showNewLibrary(mState, mPrompts, nullptr, mSlides);
        EXPECT_EQ(built ? built->slideCount() : 0, end == std::string("cmdSave") ? 3 : 0);
    }
    EXPECT_EQ(filesBelow(mDir.path()), before);
}

// 2,000 slides: Add All and Create behind a modal progress dialog; a
// cancelled Create builds nothing and keeps the list.
TEST_F(BuilderTest, LongListsShowProgressAndCreateCanBeCancelled)
{
    constexpr int kSlides = 2000;
    QDir(mDir.path()).mkdir(u"many"_qs);
    for (int i = 0; i < kSlides; ++i)
        test::writeSlide(at(u"many"_qs), u"s%1.sld"_qs.arg(i, 4, 10, QLatin1Char('0')), i);
    auto b = builder(at(u"many"_qs));
    b->show();
    int seenMaximum = 0;
    // Runs at the first events the work lets through.
    const auto whenProgressShows = [&](bool cancel) {
        seenMaximum = 0;
        QTimer::singleShot(0, b.get(), [&, cancel] {
            auto *progress = b->findChild<QProgressDialog *>();
            if (!progress || !progress->isVisible() || progress->windowModality() != Qt::WindowModal)
                return;
            seenMaximum = progress->maximum();
            if (cancel)
                progress->cancel();
        });
    };
    whenProgressShows(false);
    b->addAll();
    EXPECT_EQ(seenMaximum, kSlides);
    ASSERT_EQ(b->grid()->rowCount(), kSlides);

    whenProgressShows(true);
    const QStringList before = filesBelow(mDir.path());
    b->create();
    EXPECT_EQ(seenMaximum, kSlides);
    EXPECT_EQ(b->newLib(), nullptr);
    EXPECT_EQ(b->grid()->rowCount(), kSlides);
    EXPECT_EQ(enabled(*b), u"00011"_qs);
    EXPECT_EQ(filesBelow(mDir.path()), before);

    whenProgressShows(false);
    b->create();
    ASSERT_NE(b->newLib(), nullptr);
    ASSERT_EQ(b->newLib()->slideCount(), kSlides);
    EXPECT_EQ(b->newLib()->slideName(0), u"S1999"_qs);
    EXPECT_EQ(b->newLib()->slideData(kSlides - 1), test::tinySlide(0));
}

TEST_F(BuilderTest, Screenshots)
{
    const QString folder = QCoreApplication::applicationDirPath() + u"/screenshots"_qs;
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const char *code : {"Ru", "En"}) {
        mState.LanguageCode = QLatin1String(code);
        auto b = builder(mSlides);
        b->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(b.get()));
        b->addAll();
        b->grid()->setCurrentCell(1, 0);
        b->selectItem(at(u"slides/C.sld"_qs));
        QFileSystemModel &files = b->fileList()->model();   // read in the background
        if (files.rowCount(files.index(mSlides)) < 4)
            QSignalSpy(&files, &QFileSystemModel::directoryLoaded).wait();
        const QString file = folder + u"/newlib-%1.png"_qs.arg(QString::fromLatin1(code).toLower());
        EXPECT_TRUE(b->grab().save(file)) << file.toStdString();
    }
}

} // namespace
