// The options dialog driven through its controls, over a settings file and a
// registry of our own: what OK stores, that Cancel stores nothing. The About
// box: Russian texts whatever the locale.
// Screenshots of both go to the build folder.

#include "dialogfixture.h"
#include "frmabout.h"
#include "frmconfig.h"
#include "mainwindow.h"
#include "mdlregfunctions.h"
#include "memoryregistrystore.h"
#include "programdialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProcess>

using namespace quarvel;
using test::click;
using test::control;

namespace {

class ConfigTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char *folder : {"program", "start", "lib", "slides", "other"})
            ASSERT_TRUE(QDir(mDir.path()).mkdir(QString::fromLatin1(folder)));
        test::writeFile(path("a-file.txt"), "not a folder");
        mState.ProgramFolder = mState.StartFolder = path("program");
        mState.SettingsFile = path("program/Quarvel.ini");
    }

    // Relative to the temporary folder; "" stays empty.
    QString path(const char *rel) const { return *rel ? mDir.filePath(QString::fromUtf8(rel)) : QString(); }
    QString setting(const char *key) const { return ReadIniString(mState.SettingsFile, "Settings", key); }
    void setSetting(const char *key, const QString &value) { WriteIniString(mState.SettingsFile, "Settings", key, value); }
    std::unique_ptr<FrmConfig> open(QWidget *parent = nullptr)
    {
        return std::make_unique<FrmConfig>(mState, mRegistry, path("other"), parent);
    }
    static void ok(const QWidget &dialog) { click(dialog, "OKButton"); }

    QTemporaryDir mDir;
    AppState mState;
    MemoryRegistryStore mStore;
    mdlRegFunctions mRegistry{mStore, mDir.filePath(u"program/quarvel"_qs)};
};

TEST_F(ConfigTest, OkStoresAnExistingStartFolderOrClearsTheSetting)
{
    // typed, held in the file at OK, DirStartUp and StartFolder afterwards.
    // A missing folder clears the setting, and the run keeps the value held.
    const char *const cases[][4] = {
        {"start", "other", "start", "start"}, {"start/", "", "start/", "start/"},
        {"gone", "vanished", "", "vanished"}, {"gone", "", "", "program"},
        {"a-file.txt", "other", "", "other"}, {"st*", "other", "", "other"},
        {"", "other", "", "program"},
    };
    for (const auto &[typed, held, written, startFolder] : cases) {
        auto dialog = open();
        setSetting("DirStartUp", path(held));
        control<QLineEdit>(*dialog, "txtDirStart")->setText(path(typed));
        ok(*dialog);
        EXPECT_EQ(setting("DirStartUp"), path(written)) << typed;
        EXPECT_EQ(mState.StartFolder, path(startFolder)) << typed;
    }
}

TEST_F(ConfigTest, OkStoresAnExistingLibraryOrSlideFolderAndIgnoresTheRest)
{
    const std::tuple<const char *, const char *, QString AppState::*> rows[] = {
        {"txtDirLib", "DirLib", &AppState::LibraryFolder}, {"txtDirSLD", "DirSLD", &AppState::SlideFolder}};
    for (const auto &[box, key, global] : rows) {
        for (const auto &[typed, stored] : {std::pair{"lib", true}, {"", true}, {"gone", false}, {"a-file.txt", false}}) {
            setSetting(key, path("other"));
            mState.*global = path("other");
            auto dialog = open();
            control<QLineEdit>(*dialog, box)->setText(path(typed));
            ok(*dialog);
            EXPECT_EQ(setting(key), path(stored ? typed : "other")) << key << " " << typed;
            EXPECT_EQ(mState.*global, path(stored ? typed : "other")) << key << " " << typed;
        }
    }
}

// The toolbar redrawn on return is the main window's part, tested there.
// Stored under the keys start-up reads (tested with hand-made files there).
TEST_F(ConfigTest, CaptionChoiceAndNameCodePageAreStored)
{
    for (const auto &[choice, codePage] : {std::pair{false, 936}, std::pair{true, 1251}}) {
        auto dialog = open();
        control<QCheckBox>(*dialog, "chkButText")->setChecked(choice);
        auto *codePages = control<QComboBox>(*dialog, "cboCodePage");
        EXPECT_EQ(codePages->currentData().toInt(), mState.NameCodePage);
        codePages->setCurrentIndex(codePages->findData(codePage));
        ok(*dialog);
        const QString expected = choice ? u"Use"_qs : u"NotUse"_qs;
        EXPECT_EQ(mState.ButtonCaptions, expected);
        EXPECT_EQ(mState.NameCodePage, codePage);
        EXPECT_EQ(setting("UseCapt"), expected);
        EXPECT_EQ(setting("NameCodePage"), QString::number(codePage));
    }
}

// Over an association whose class description was changed since: only a
// rewrite on OK restores it, as IsAssociated does not check it.
TEST_F(ConfigTest, OkWritesOrRemovesTheAssociationEveryTime)
{
    for (const bool checked : {false, true}) {
        SCOPED_TRACE(checked);
        mRegistry.AssociateSld();
        mRegistry.AssociateSlb();
        RegKey key = RegKey::Null;
        mStore.createKey(RegKey::ClassesRoot, "AutoCADSlide", &key);
        mRegistry.SetKeyValue(key, QString(), kRegSz, "changed");
        mStore.closeKey(key);
        auto dialog = open();
        control<QCheckBox>(*dialog, "chkAssociate")->setChecked(checked);
        ok(*dialog);
        EXPECT_EQ(mRegistry.IsAssociated(), checked);
        EXPECT_EQ(mRegistry.KeyValueIs(RegKey::ClassesRoot, "AutoCADSlide", "AutoCAD Slide"), checked);
    }
}

#ifdef Q_OS_WIN
// The dialog over the system registry, for this program: a click on the tick
// box and OK write the keys that Windows' own reg.exe finds; a click again
// takes the open commands away and leaves the extension keys.
TEST_F(ConfigTest, TheTickBoxWritesTheSystemRegistry)
{
    mdlRegFunctions system;
    system.RemoveAssociation();
    const auto query = [](const QString &key) {
        QProcess reg;
        reg.start(u"reg"_qs, {u"query"_qs, key, u"/ve"_qs});
        const bool found = reg.waitForFinished(60000) && reg.exitStatus() == QProcess::NormalExit && reg.exitCode() == 0;
        return found ? QString::fromLocal8Bit(reg.readAllStandardOutput()) : QString();
    };
    for (const bool checked : {true, false}) {
        SCOPED_TRACE(checked);
        auto dialog = std::make_unique<FrmConfig>(mState, system, path("other"));
        EXPECT_EQ(control<QCheckBox>(*dialog, "chkAssociate")->isChecked(), !checked);
        click(*dialog, "chkAssociate");
        ok(*dialog);
        EXPECT_EQ(system.IsAssociated(), checked);
        for (const char *key : {"HKCR\\AutoCADSlide\\Shell\\open\\command",
                                "HKLM\\Software\\Classes\\AutoCADSlideLibrary\\Shell\\open\\command"}) {
            const QString found = query(QLatin1String(key));
            EXPECT_EQ(found.contains(system.openCommand(), Qt::CaseInsensitive), checked) << key << ": " << found.toStdString();
        }
        EXPECT_TRUE(query(u"HKCR\\.slb"_qs).contains(u"AutoCADSlideLibrary"_qs));
    }
}
#endif

TEST_F(ConfigTest, CancelChangesNothing)
{
    setSetting("DirStartUp", path("start"));
    mState.LibraryFolder = path("lib");
    mState.StartFolder = path("other");   // the folder of a file opened at start
    const QByteArray file = test::readFile(mState.SettingsFile);
    auto dialog = open();
    for (QLineEdit *box : dialog->findChildren<QLineEdit *>())
        box->setText(path("slides"));
    control<QCheckBox>(*dialog, "chkButText")->setChecked(false);
    control<QCheckBox>(*dialog, "chkAssociate")->setChecked(true);
    click(*dialog, "CancelButton");
    EXPECT_EQ(test::readFile(mState.SettingsFile), file);
    EXPECT_EQ(QStringList({mState.StartFolder, mState.LibraryFolder, mState.SlideFolder, mState.ButtonCaptions}),
              QStringList({path("other"), path("lib"), QString(), u"Use"_qs}));
    EXPECT_FALSE(mStore.keyExists(RegKey::ClassesRoot, ".sld"));
}

// Title and version in Russian whatever the locale; the licence's five blocks.
TEST(About, TitleAndVersionAreRussianWhateverTheLocale)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English));
    FrmAbout box;
    QLocale::setDefault(before);
    EXPECT_EQ(box.windowTitle(), u"О программе Quarvel"_qs);
    EXPECT_EQ(box.findChild<QLabel *>("lblVersion")->text(), u"Версия 2.2"_qs);
    EXPECT_EQ(box.findChild<QPlainTextEdit *>("Text1")->toPlainText().split(u"\n\n"_qs).size(), 5);
}

TEST_F(ConfigTest, Screenshots)
{
    test::ScriptedPrompts prompts;
    ProgramDialogs dialogs(mState, prompts);
    MainWindow main(mState, prompts, dialogs);   // both are shown over it, as in the program
    setSetting("DirStartUp", path("start"));
    mState.LibraryFolder = path("lib");
    auto options = open(&main);
    FrmAbout about(&main);
    test::screenshot(*options, "options");
    test::screenshot(about, "about");
}

} // namespace
