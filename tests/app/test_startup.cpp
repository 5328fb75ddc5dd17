// Start-up: the command line, the state read from the settings file, one
// running copy, the splash and busy pointer around the main window, the
// window keys written on close, and the prompts.

#include "scriptedprompts.h"
#include "startup.h"
#include "testdata.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <tuple>

using namespace quarvel;
using quarvel::test::ScriptedPrompts;

namespace {

TEST(CommandLine, OneFileFromTheWholeLine)
{
    const struct { const char *line, *file; } cases[] = {
        {"", ""},
        {"  /home/u/My Slides/plan.slb  ", "/home/u/My Slides/plan.slb"},
        {"  \"/home/u/My Slides/plan.slb\"  ", "/home/u/My Slides/plan.slb"},
        {"\" /home/u/plan.slb \"", " /home/u/plan.slb "},
        {"\"/home/u/plan.slb", "/home/u/plan.slb"},
        {"\"\"/a\"\"", "\"/a\""},
        {"\t/a\t", "\t/a\t"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(commandLineFileOf(QString::fromUtf8(c.line)), QString::fromUtf8(c.file)) << c.line;

    EXPECT_EQ(commandLineFromArguments({u"quarvel"_qs}), QString());
    EXPECT_EQ(commandLineFromArguments({u"quarvel"_qs, u"/u/My"_qs, u"plan.slb"_qs}), u"/u/My plan.slb"_qs);
}

class StartupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mDir.isValid());
        for (const char *folder : {"prog", "start", "My Slides", "locks"})
            ASSERT_TRUE(QDir(mDir.path()).mkdir(QString::fromUtf8(folder)));
        ASSERT_TRUE(QFile(path("My Slides/plan one.slb")).open(QIODevice::WriteOnly));
        mState.ProgramFolder = path("prog");
        mState.SettingsFile = path("prog/Quarvel.ini");
    }

    QString path(const char *relative) const
    {
        return QDir::toNativeSeparators(mDir.filePath(QString::fromUtf8(relative)));
    }
    void settings(const QByteArray &bytes) { ASSERT_TRUE(test::writeFile(mState.SettingsFile, bytes)); }
    QByteArray settingsBytes() const { return test::readFile(mState.SettingsFile); }
    void start(const QString &commandLine) { readStartupState(mState, mPrompts, commandLine); }
    std::optional<RunningProgram> run(const MainWindowFactory &factory)
    {
        return runStartup(mState, mPrompts, path("My Slides/plan one.slb"), factory, path("locks"));
    }

    QTemporaryDir mDir;
    AppState mState;
    ScriptedPrompts mPrompts;
};

TEST_F(StartupTest, FirstRunWithoutSettingsFile)
{
    mState.LanguageCode = u"En"_qs;
    mState.ButtonCaptions = u"NotUse"_qs;
    mState.NewLibrary = std::make_unique<SlideLibrary>();
    start(QString());
    EXPECT_EQ(mState.StartFolder, path("prog"));
    EXPECT_EQ(mState.LanguageCode, u"Ru"_qs);
    EXPECT_EQ(mState.ButtonCaptions, u"Use"_qs);
    EXPECT_EQ(mState.NewLibrary, nullptr);
    EXPECT_EQ(settingsBytes(), test::settingsText("[Settings]\nLang=En\n"));
}

TEST_F(StartupTest, CommandLineFileQuotedOrNotRelativeOrMissing)
{
    settings("[Settings]\nDirStartUp=" + path("start").toUtf8() + "\n");
    const QByteArray before = settingsBytes();
    const QString file = path("My Slides/plan one.slb");
    start(u"  \""_qs + file + u"\" "_qs);
    EXPECT_EQ(mState.CommandLineFile, file);
    EXPECT_EQ(mState.StartFolder, path("My Slides"));
    EXPECT_EQ(mState.StartFile, u"plan one.slb"_qs);
    EXPECT_EQ(settingsBytes(), before) << "an existing settings file is only read";

    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(path("My Slides")));
    start(u"./plan one.slb"_qs);
    QDir::setCurrent(saved);
    EXPECT_EQ(mState.StartFolder, QDir::toNativeSeparators(QDir(path("My Slides")).canonicalPath()));

    const QString missing = path("My Slides/none.slb");
    mPrompts.expectMessage(PromptIcon::Critical, u"Файл "_qs + missing + u" не найден"_qs);
    start(u'"' + missing + u'"');
    EXPECT_EQ(mState.CommandLineFile, missing);
    EXPECT_EQ(mState.StartFolder, path("start"));
    EXPECT_EQ(mState.StartFile, QString());
}

TEST_F(StartupTest, FolderSettingsMustNameExistingFolders)
{
    const struct { const char *what; QString value, startFolder, otherFolders; } cases[] = {
        {"existing folder", path("start"), path("start"), path("start")},
        {"missing folder", path("gone"), path("prog"), QString()},
        {"empty", QString(), path("prog"), QString()},
        {"a file", path("My Slides/plan one.slb"), path("prog"), QString()},
        {"a wildcard pattern", path("st*"), path("prog"), QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray value = c.value.toUtf8();
        settings("[Settings]\nDirStartUp=" + value + "\nDirLib=" + value + "\nDirSLD=" + value + "\n");
        start(QString());
        EXPECT_EQ(mState.StartFolder, c.startFolder);
        EXPECT_EQ(mState.LibraryFolder, c.otherFolders);
        EXPECT_EQ(mState.SlideFolder, c.otherFolders);
    }
}

TEST_F(StartupTest, ButtonCaptionsLanguageAndCodePage)
{
    const struct { const char *file, *captions; int codePage; } cases[] = {
        {"[Settings]\nLang=En\nUseCapt=NotUse\nNameCodePage=1252\n", "NotUse", 1252},
        {"[Settings]\nUseCapt=Use\nNameCodePage=99999\n", "Use", 1251},
        {"[Settings]\nUseCapt=notuse\nNameCodePage=abc\n", "Use", 1251},
        {"[Settings]\nUseCapt=  NotUse  \n", "NotUse", 1251},
        {"[Other]\nUseCapt=NotUse\nNameCodePage=1252\n", "Use", 1251},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        settings(c.file);
        start(QString());
        EXPECT_EQ(mState.ButtonCaptions, QString::fromUtf8(c.captions));
        EXPECT_EQ(mState.NameCodePage, c.codePage);
        EXPECT_EQ(mState.LanguageCode, u"Ru"_qs) << "every run starts in Russian";
    }
}

TEST_F(StartupTest, ASecondCopyIsRefusedAndTouchesNothing)
{
    const SingleInstanceGuard first(mState.ProgramFolder, path("locks"));
    ASSERT_FALSE(first.anotherIsRunning());
    mPrompts.expectMessage(PromptIcon::Exclamation, u"Программа уже запущена"_qs);
    bool created = false;
    EXPECT_FALSE(run([&](AppState &) {
                     created = true;
                     return std::make_unique<QWidget>();
                 }).has_value());
    EXPECT_FALSE(created);
    EXPECT_FALSE(QFile::exists(mState.SettingsFile));
    EXPECT_EQ(mState.CommandLineFile, QString());
#ifndef Q_OS_WIN
    // As if the first copy had been running for a day. (On Windows the holder
    // keeps anyone else from writing its lock file, its time included.)
    QFile lock(SingleInstanceGuard::lockFilePath(mState.ProgramFolder, path("locks")));
    ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
    ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
#endif
    // Another installed copy is another program.
    EXPECT_TRUE(SingleInstanceGuard(mState.ProgramFolder, path("locks")).anotherIsRunning());
    EXPECT_FALSE(SingleInstanceGuard(path("other"), path("locks")).anotherIsRunning());
}

TEST_F(StartupTest, SplashAndBusyPointerWhileTheMainWindowIsMade)
{
    const auto splashes = [] {
        int count = 0;
        for (const QWidget *w : QApplication::topLevelWidgets())
            count += w->objectName() == u"frmStart" && w->isVisible();
        return count;
    };
    int splashesSeen = 0;
    bool busy = false;
    QString startFile;
    auto running = run([&](AppState &state) {
        splashesSeen = splashes();
        busy = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        startFile = state.StartFile;
        return std::make_unique<QWidget>();
    });
    ASSERT_TRUE(running.has_value());
    EXPECT_EQ(splashesSeen, 1);
    EXPECT_TRUE(busy);
    EXPECT_EQ(startFile, u"plan one.slb"_qs);
    EXPECT_TRUE(running->mainWindow->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(splashes(), 0);
    EXPECT_TRUE(SingleInstanceGuard(mState.ProgramFolder, path("locks")).anotherIsRunning());
    running.reset();
    EXPECT_FALSE(SingleInstanceGuard(mState.ProgramFolder, path("locks")).anotherIsRunning())
        << "the lock ends with the copy that held it";
}

// The real boxes: the buttons read in the interface language whether or not
// Qt's translations are installed. Screenshots of both go to the build folder.
TEST(Prompts, BoxButtonsFollowTheLanguage)
{
    for (const auto &[code, text, yes, no] : {std::tuple{"Ru", "Переписать существующий файл?", "Да", "Нет"},
                                              {"En", "Rewrite existing file?", "Yes", "No"}}) {
        const QString language = QLatin1String(code);
        WidgetPrompts prompts;
        prompts.setLanguageCode(&language);
        QStringList seen;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            for (QAbstractButton *b : box->buttons())
                seen << b->text();
            test::screenshot(*box, u"message-"_qs + language);
            box->button(QMessageBox::Yes)->click();
        });
        EXPECT_EQ(prompts.message({PromptIcon::Question, QString::fromUtf8(text)}), Answer::Yes);
        EXPECT_EQ(QSet<QString>(seen.begin(), seen.end()), QSet<QString>({QString::fromUtf8(yes), QString::fromUtf8(no)}))
            << code;
    }
}

} // namespace
