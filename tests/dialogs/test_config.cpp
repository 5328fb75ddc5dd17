// The options dialog driven through its controls, over a settings file and a
// registry of our own: what it loads, what OK stores, that Cancel stores
// nothing. Screenshots of it and of the About box go to the build folder.

#include "flatbutton.h"
#include "frmabout.h"
#include "frmconfig.h"
#include "inifile.h"
#include "mainwindow.h"
#include "mdlregfunctions.h"
#include "memoryregistrystore.h"
#include "programdialogs.h"
#include "scriptedprompts.h"
#include "startup.h"
#include "testdata.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quarvel;

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
        auto dialog = std::make_unique<FrmConfig>(mState, mRegistry, path("other"), parent);
        dialog->setFolderPicker([this](const QString &start) {
            mPickerStarts.push_back(start);
            return mPickerAnswer;
        });
        return dialog;
    }
    template <typename T = QLineEdit>
    static T *get(const QWidget &dialog, const std::string &name)
    {
        T *found = dialog.findChild<T *>(QString::fromStdString(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    static void ok(const QWidget &dialog) { get<QAbstractButton>(dialog, "OKButton")->click(); }

    QTemporaryDir mDir;
    AppState mState;
    MemoryRegistryStore mStore;
    mdlRegFunctions mRegistry{mStore, mDir.filePath(QStringLiteral("program/quarvel"))};
    std::vector<QString> mPickerStarts;
    QString mPickerAnswer;
};

TEST_F(ConfigTest, LoadShowsTheSettingsInForce)
{
    // The start-up box is empty for the program's folder and whatever is no
    // folder; showing it does not change the shared state.
    for (const auto &[saved, shown] : {std::pair{"start", "start"}, {"program", ""}, {"gone", ""}, {"", ""}, {"a-file.txt", ""}}) {
        setSetting("DirStartUp", path(saved));
        EXPECT_EQ(get(*open(), "txtDirStart")->text(), path(shown)) << saved;
        EXPECT_EQ(mState.StartFolder, path("program"));
    }
    mState.LibraryFolder = path("lib");
    mState.SlideFolder = path("slides");
    for (const auto &[captions, checked] : {std::pair{"Use", true}, {"NotUse", false}, {"notuse", true}}) {
        mState.ButtonCaptions = QString::fromLatin1(captions);
        auto dialog = open();
        EXPECT_EQ(get(*dialog, "txtDirLib")->text(), path("lib"));
        EXPECT_EQ(get(*dialog, "txtDirSLD")->text(), path("slides"));
        EXPECT_EQ(get<QCheckBox>(*dialog, "chkButText")->isChecked(), checked) << captions;
    }
    for (const bool both : {false, true}) {
        mRegistry.AssociateSld();   // half an association is none
        if (both)
            mRegistry.AssociateSlb();
        EXPECT_EQ(get<QCheckBox>(*open(), "chkAssociate")->isChecked(), both);
    }
}

TEST_F(ConfigTest, CaptionsAreRussianWhateverTheLanguage)
{
    QStringList seen[2];
    for (const int english : {0, 1}) {
        mState.LanguageCode = QString::fromLatin1(english ? "En" : "Ru");
        auto dialog = open();
        seen[english] << dialog->windowTitle() << get<QGroupBox>(*dialog, "fraDir")->title();
        for (const QLabel *label : dialog->findChildren<QLabel *>())
            seen[english] << label->text();
        for (const QAbstractButton *button : dialog->findChildren<QAbstractButton *>())
            seen[english] << button->text();
    }
    EXPECT_EQ(seen[1], seen[0]);
    EXPECT_TRUE(seen[1].contains(QStringLiteral("Отмена")));
}

TEST_F(ConfigTest, BrowseFillsItsOwnBoxWithTheFolderPicked)
{
    // box text, picker's answer, where the picker opens, the box afterwards:
    // an empty box opens on the file list's folder; a cancelled or
    // one-character answer leaves the box alone.
    const char *const cases[][4] = {{"", "slides", "other", "slides"}, {"lib", "start", "lib", "start"},
                                    {"lib", "", "lib", "lib"},         {"lib", "/", "lib", "lib"}};
    for (const std::string row : {"DirStart", "DirLib", "DirSLD"}) {
        for (const auto &[text, answer, start, result] : cases) {
            auto dialog = open();
            for (QLineEdit *box : dialog->findChildren<QLineEdit *>())
                box->setText(QStringLiteral("other box"));
            get(*dialog, "txt" + row)->setText(path(text));
            mPickerAnswer = strlen(answer) > 1 ? path(answer) : QString::fromLatin1(answer);
            mPickerStarts.clear();
            get<QAbstractButton>(*dialog, "cmd" + row)->click();
            EXPECT_EQ(mPickerStarts, std::vector<QString>{path(start)}) << row;
            for (QLineEdit *box : dialog->findChildren<QLineEdit *>())
                EXPECT_EQ(box->text(), box->objectName() == QString::fromStdString("txt" + row) ? path(result) : "other box") << row;
        }
    }
}

TEST_F(ConfigTest, OkStoresAnExistingStartFolderOrClearsTheSetting)
{
    // typed, held in the file at OK, DirStartUp and StartFolder afterwards.
    // A missing folder clears the setting, and the run keeps the value held.
    const char *const cases[][4] = {
        {"start", "other", "start", "start"}, {"start/", "", "start/", "start/"},
        {"gone", "other", "", "other"},       {"gone", "vanished", "", "vanished"},
        {"gone", "", "", "program"},          {"a-file.txt", "other", "", "other"},
        {"st*", "other", "", "other"},        {"", "other", "", "program"},
    };
    for (const auto &[typed, held, written, startFolder] : cases) {
        auto dialog = open();
        setSetting("DirStartUp", path(held));
        get(*dialog, "txtDirStart")->setText(path(typed));
        ok(*dialog);
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_EQ(setting("DirStartUp"), path(written)) << typed;
        EXPECT_EQ(mState.StartFolder, path(startFolder)) << typed;
    }
}

TEST_F(ConfigTest, OkStoresAnExistingLibraryOrSlideFolderAndIgnoresTheRest)
{
    const std::tuple<const char *, const char *, QString AppState::*> rows[] = {
        {"txtDirLib", "DirLib", &AppState::LibraryFolder}, {"txtDirSLD", "DirSLD", &AppState::SlideFolder}};
    for (const auto &[box, key, global] : rows) {
        for (const auto &[typed, stored] : {std::pair{"lib", true}, {"slides/", true}, {"", true},
                                            {"gone", false}, {"a-file.txt", false}, {"sl*", false}}) {
            setSetting(key, path("other"));
            mState.*global = path("other");
            auto dialog = open();
            get(*dialog, box)->setText(path(typed));
            ok(*dialog);
            EXPECT_EQ(setting(key), path(stored ? typed : "other")) << key << " " << typed;
            EXPECT_EQ(mState.*global, path(stored ? typed : "other")) << key << " " << typed;
        }
    }
}

TEST_F(ConfigTest, CaptionChoiceRedrawsTheToolbarAndHoldsAfterARestart)
{
    test::ScriptedPrompts prompts;
    MainWindow *window = nullptr;
    bool shown = true;
    ProgramDialogs::Hooks hooks;
    hooks.options = [&] {
        auto dialog = open(window);
        get<QCheckBox>(*dialog, "chkButText")->setChecked(shown);
        ok(*dialog);
    };
    ProgramDialogs dialogs(mState, prompts, nullptr, hooks);
    MainWindow main(mState, prompts, dialogs);
    window = &main;
    for (const bool choice : {false, true, false}) {
        shown = choice;
        main.commandOptions();
        const QString expected = choice ? QStringLiteral("Use") : QStringLiteral("NotUse");
        EXPECT_EQ(setting("UseCapt"), expected);
        EXPECT_EQ(main.button(ButtonNew)->text().isEmpty(), !choice);

        AppState restarted;
        restarted.ProgramFolder = mState.ProgramFolder;
        restarted.SettingsFile = mState.SettingsFile;
        readStartupState(restarted, prompts, QString());
        EXPECT_EQ(restarted.ButtonCaptions, expected);
    }
}

TEST_F(ConfigTest, OkWritesOrRemovesTheAssociationEveryTime)
{
    for (const bool before : {false, true}) {
        for (const bool checked : {false, true}) {
            SCOPED_TRACE(testing::Message() << "before " << before << ", checked " << checked);
            // Left by another program: an open command of its own where ours
            // is missing, and a class description that nobody checks.
            RegKey key = RegKey::Null;
            mRegistry.RemoveAssociation();
            mStore.createKey(RegKey::LocalMachine, "Software\\CLASSES\\AutoCADSlideLibrary\\Shell\\open\\command", &key);
            mRegistry.SetKeyValue(key, QString(), kRegSz, "other %1");
            mStore.closeKey(key);
            if (before) {
                mRegistry.AssociateSld();
                mRegistry.AssociateSlb();
            }
            mStore.createKey(RegKey::ClassesRoot, "AutoCADSlide", &key);
            mRegistry.SetKeyValue(key, QString(), kRegSz, "changed");
            mStore.closeKey(key);
            auto dialog = open();
            get<QCheckBox>(*dialog, "chkAssociate")->setChecked(checked);
            ok(*dialog);
            EXPECT_EQ(mRegistry.IsAssociated(), checked);
            EXPECT_EQ(mRegistry.KeyValueIs(RegKey::ClassesRoot, "AutoCADSlide", "AutoCAD Slide"), checked);
            for (const QString shell : {"AutoCADSlide\\Shell", "AutoCADSlideLibrary\\Shell"}) {
                EXPECT_EQ(mStore.keyExists(RegKey::ClassesRoot, shell), checked);
                EXPECT_EQ(mStore.keyExists(RegKey::LocalMachine, "Software\\CLASSES\\" + shell), checked);
            }
        }
    }
}

TEST_F(ConfigTest, CancelAndTheCloseBoxChangeNothing)
{
    setSetting("DirStartUp", path("start"));
    mState.LibraryFolder = path("lib");
    mState.StartFolder = path("other");   // the folder of a file opened at start
    const QByteArray file = test::readFile(mState.SettingsFile);
    for (const bool byButton : {true, false}) {
        auto dialog = open();
        for (QLineEdit *box : dialog->findChildren<QLineEdit *>())
            box->setText(path("slides"));
        get<QCheckBox>(*dialog, "chkButText")->setChecked(false);
        get<QCheckBox>(*dialog, "chkAssociate")->setChecked(true);
        dialog->show();
        byButton ? get<QAbstractButton>(*dialog, "CancelButton")->click() : void(dialog->close());
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        EXPECT_EQ(test::readFile(mState.SettingsFile), file);
        EXPECT_EQ(QStringList({mState.StartFolder, mState.LibraryFolder, mState.SlideFolder, mState.ButtonCaptions}),
                  QStringList({path("other"), path("lib"), QString(), QStringLiteral("Use")}));
        EXPECT_FALSE(mStore.keyExists(RegKey::ClassesRoot, ".sld"));
    }
}

TEST_F(ConfigTest, Screenshots)
{
    const QString out = QCoreApplication::applicationDirPath() + QStringLiteral("/screenshots");
    ASSERT_TRUE(QDir().mkpath(out));
    test::ScriptedPrompts prompts;
    ProgramDialogs dialogs(mState, prompts);
    MainWindow main(mState, prompts, dialogs);   // both are shown over it, as in the program
    setSetting("DirStartUp", path("start"));
    mState.LibraryFolder = path("lib");
    mRegistry.AssociateSld();
    mRegistry.AssociateSlb();
    auto options = open(&main);
    FrmAbout about(&main);
    EXPECT_FALSE(get<QLabel>(about, "picIcon")->pixmap().isNull()) << "the icon of the window it belongs to";
    for (const auto &[dialog, file] : {std::pair<QWidget *, QString>{options.get(), "options"}, {&about, "about"}}) {
        dialog->show();
        QCoreApplication::processEvents();
        EXPECT_TRUE(dialog->grab().save(out + "/" + file + ".png"));
    }
}

} // namespace
