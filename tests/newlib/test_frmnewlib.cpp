// The builder driven as a user would, with scripted answers: Add All twice,
// Create in the builder's order with the typed names and its failures,
// Cancel, and long lists behind a progress dialog. Screenshots of both
// languages go to the build folder.

#include "builderprompts.h"
#include "filelistpane.h"
#include "frmnewlib.h"
#include "slidelibrary.h"

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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

class BuilderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mState.SettingsFile = at(u"Quarvel.ini"_qs);
        mState.LanguageCode = u"En"_qs;
        for (const QString &folder : {u"slides"_qs, u"other"_qs})
            QDir(mDir.path()).mkpath(folder);
        test::writeSlide(mSlides, u"b.sld"_qs, 2);
        test::writeSlide(mSlides, u"a.sld"_qs, 1);
        test::writeSlide(mSlides, u"C.sld"_qs, 3);
        test::writeSlide(at(u"other"_qs), u"a.sld"_qs, 4);
        test::writeFile(at(u"other/junk.sld"_qs), "not a slide");
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
    // Within Add All the question also offers Yes / No to All and Cancel.
    void expectDuplicate(const QString &path, Answer answer, bool toAll = false)
    {
        const QString text = u"Slide "_qs + path + u" already be in list\r\nAdd this Slide under other name?"_qs;
        using Buttons = BoundedPrompts::Buttons;
        mPrompts.expectMessage(PromptIcon::Question, text, answer, toAll ? Buttons::ToAll : Buttons::Plain);
    }
    void expectRename(const std::optional<QString> &typed)
    {
        mPrompts.expectInput(u"Enter new Name of Slide"_qs, u"New Name of Slide"_qs, QString(), typed);
    }

    QTemporaryDir mDir;
    AppState mState;
    BoundedPrompts mPrompts;
    const QString mSlides = at(u"slides"_qs);
};

TEST_F(BuilderTest, AddAllTwiceAsksAboutEveryFileInNameOrder)
{
    auto b = builder(mSlides);
    // Add is on for a selected slide file only: never for a folder, and off
    // again once the list shows another folder.
    auto *add = b->findChild<QPushButton *>(u"cmdAdd"_qs);
    QDir(mSlides).mkdir(u"x.sld"_qs);
    for (const auto &[item, enabled] : {std::pair{at(u"slides/x.sld"_qs), false}, {at(u"slides/a.sld"_qs), true},
                                        {at(u"other"_qs), false}}) {
        b->selectItem(item);
        EXPECT_EQ(add->isEnabled(), enabled) << item.toStdString();
    }
    b->selectItem(at(u"slides/a.sld"_qs));
    b->openItem(at(u"slides/x.sld"_qs));
    EXPECT_FALSE(add->isEnabled());
    b->setCurrentDir(mSlides);
    b->addAll();
    const QStringList paths{at(u"slides/a.sld"_qs), at(u"slides/b.sld"_qs), at(u"slides/C.sld"_qs)};
    EXPECT_EQ(column(*b, 1), paths);
    auto expectToAll = [&](const QString &path, Answer answer) { expectDuplicate(path, answer, true); };
    expectToAll(paths[0], Answer::No);
    expectToAll(paths[1], Answer::Yes);
    expectRename(u"b2"_qs);
    expectToAll(paths[2], Answer::No);
    b->addAll();
    EXPECT_EQ(column(*b, 0), (QStringList{u"a"_qs, u"b"_qs, u"C"_qs, u"b2"_qs}));
    expectToAll(paths[0], Answer::NoToAll);   // no further question
    b->addAll();
    expectToAll(paths[0], Answer::Cancel);    // the Add All ends there
    b->addAll();
    expectToAll(paths[0], Answer::YesToAll);  // a name for each; Cancel skips one
    expectRename(u"a2"_qs);
    expectRename(std::nullopt);
    expectRename(u"C2"_qs);
    b->addAll();
    EXPECT_EQ(column(*b, 0), (QStringList{u"a"_qs, u"b"_qs, u"C"_qs, u"b2"_qs, u"a2"_qs, u"C2"_qs}));
}

// A name no library can hold is not taken, from a file or typed: another is
// asked for at once (Cancel skips the file). A file that is no slide fails
// Create; the builder stays with its rows, and nothing is written.
TEST_F(BuilderTest, NamesFollowTheLibraryRuleAndAFailedCreateKeepsTheBuilder)
{
    const QString a = at(u"slides/a.sld"_qs);
    const QString junk = at(u"other/junk.sld"_qs);
    const QString spaced = test::writeSlide(mSlides, u"имя слайда.sld"_qs, 5);
    const QString longName(32, u'L');
    auto b = builder(mSlides);
    b->show();
    addFile(*b, a);
    // The preview says so; the row is added all the same.
    mPrompts.expectMessage(PromptIcon::Critical, u"File "_qs + junk + u"\r\nis not file of AutoCAD slide."_qs);
    addFile(*b, junk);
    expectDuplicate(a, Answer::Yes);
    expectRename(longName);
    mPrompts.expectMessage(PromptIcon::Critical,
                           u"slide name \""_qs + longName + u"\" takes 32 bytes; a library holds at most 31"_qs,
                           Answer::Ok, BoundedPrompts::Buttons::Plain, u"New Name of Slide"_qs);
    expectRename(u"A2"_qs);
    addFile(*b, a);
    expectRename(std::nullopt);
    addFile(*b, spaced);
    EXPECT_EQ(column(*b, 0), (QStringList{u"a"_qs, u"junk"_qs, u"A2"_qs}));
    const QStringList before = filesBelow(mDir.path());

    mPrompts.expectMessage(PromptIcon::Critical, u"File "_qs + junk + u"\r\nis not file of slides."_qs);
    b->create();
    EXPECT_TRUE(b->isVisible());
    EXPECT_EQ(b->newLib(), nullptr);
    EXPECT_EQ(filesBelow(mDir.path()), before);
}

// As the New command shows it: modal, ended by Create or Cancel, and writing
// no file either way. Rows a, b, Other_A give a library OTHER_A, B, A; the
// row added under a typed name keeps it, so no name is there twice.
TEST_F(BuilderTest, CreateGivesTheBuildersOrderAndTheTypedNamesAndCancelNothing)
{
    const QStringList before = filesBelow(mDir.path());
    std::unique_ptr<SlideLibrary> built;
    for (const char *end : {"CancelButton", "cmdSave"}) {
        QTimer::singleShot(0, [&] {
            auto *b = qobject_cast<FrmNewLib *>(QApplication::activeModalWidget());
            if (!b) {
                ADD_FAILURE() << "the builder is not the modal window";
                return QApplication::activeModalWidget() ? void(QApplication::activeModalWidget()->close()) : void();
            }
            addFile(*b, at(u"slides/a.sld"_qs));
            addFile(*b, at(u"slides/b.sld"_qs));
            expectDuplicate(at(u"other/a.sld"_qs), Answer::Yes);
            expectRename(u"Other_A"_qs);
            addFile(*b, at(u"other/a.sld"_qs));
            QTest::mouseClick(b->findChild<QPushButton *>(QLatin1String(end)), Qt::LeftButton);
        });
        built = showNewLibrary(mState, mPrompts, nullptr, mSlides);
        EXPECT_EQ(built != nullptr, end == std::string("cmdSave"));
    }
    EXPECT_EQ(filesBelow(mDir.path()), before);
    ASSERT_TRUE(built && built->slideCount() == 3);
    EXPECT_EQ(QStringList({built->slideName(0), built->slideName(1), built->slideName(2)}),
              (QStringList{u"OTHER_A"_qs, u"B"_qs, u"A"_qs}));
    EXPECT_EQ(built->slideData(0), test::tinySlide(4));
    EXPECT_EQ(built->slideData(2), test::tinySlide(1));
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
    EXPECT_EQ(filesBelow(mDir.path()), before);

    b->create();   // the list kept after Cancel still builds
    EXPECT_EQ(b->newLib() ? b->newLib()->slideCount() : 0, kSlides);
}

TEST_F(BuilderTest, Screenshots)
{
    for (const char *code : {"Ru", "En"}) {
        mState.LanguageCode = QLatin1String(code);
        auto b = builder(mSlides);
        b->show();
        b->addAll();
        b->selectItem(at(u"slides/C.sld"_qs));
        QFileSystemModel &files = b->fileList()->model();   // read in the background
        if (files.rowCount(files.index(mSlides)) < 3)
            QSignalSpy(&files, &QFileSystemModel::directoryLoaded).wait();
        test::screenshot(*b, u"newlib-"_qs + QString::fromLatin1(code).toLower());
    }
}

} // namespace
