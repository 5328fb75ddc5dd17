// The main window's New command around the builder: where the builder and
// the Save dialog start, and that the library reaches the disk only when a
// file was named.

#include "builderprompts.h"
#include "filelistpane.h"
#include "mainwindow.h"
#include "slidelibrary.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quarvel;

namespace {

class BuilderDialogs : public MainDialogs
{
public:
    QString explore(const ExploreRequest &request) override
    {
        saveStarts << request.currentDir;
        EXPECT_EQ(request.fileTypes, int(LibraryFiles));
        EXPECT_EQ(request.operation, 1);
        return saveAnswer;
    }
    QString favorites() override { return {}; }
    void options() override {}
    void about() override {}
    std::unique_ptr<SlideLibrary> newLibrary(const QString &startFolder) override
    {
        builderStarts << startFolder;
        if (slide.isEmpty())
            return nullptr;
        auto library = std::make_unique<SlideLibrary>();
        library->addSlideFile(slide, u"Porte"_qs);
        return library;
    }

    QString slide;        // the builder's one row; none: the builder is cancelled
    QString saveAnswer;   // empty: the Save dialog is cancelled
    QStringList builderStarts, saveStarts;
};

TEST(NewCommand, StartFoldersAndWhatIsWritten)
{
    QTemporaryDir dir;
    const auto at = [&](const char *name) { return dir.filePath(QLatin1String(name)); };
    QDir(dir.path()).mkdir(u"libs"_qs);
    AppState state;
    state.SettingsFile = at("Quarvel.ini");
    state.StartFolder = dir.path();
    test::BoundedPrompts prompts;   // no box is expected
    BuilderDialogs dialogs;
    const QString slide = test::writeSlide(dir.path(), u"door.sld"_qs, 5);
    const struct
    {
        QString slideFolder, libraryFolder;   // DirSLD, DirLib
        bool built;
        QString saveTo;
        QString builderStart, saveStart;   // empty: the folder on view
    } cases[] = {
        {dir.path(), at("libs"), true, at("libs/new.slb"), dir.path(), at("libs")},
        {at("gone"), slide, true, QString(), {}, {}},   // missing, or a file: the folder on view
        {QString(), at("gone"), false, at("libs/never.slb"), {}, {}},   // the builder cancelled
    };
    for (const auto &c : cases) {
        state.SlideFolder = c.slideFolder;
        state.LibraryFolder = c.libraryFolder;
        dialogs.slide = c.built ? slide : QString();
        dialogs.saveAnswer = c.saveTo;
        dialogs.builderStarts.clear();
        dialogs.saveStarts.clear();
        MainWindow window(state, prompts, dialogs);
        const QString onView = window.explorerList()->folder();
        window.commandNew();
        SCOPED_TRACE((c.slideFolder + u" / "_qs + c.libraryFolder).toStdString());
        EXPECT_EQ(dialogs.builderStarts, QStringList{c.builderStart.isEmpty() ? onView : c.builderStart});
        EXPECT_EQ(dialogs.saveStarts, c.built ? QStringList{c.saveStart.isEmpty() ? onView : c.saveStart} : QStringList());
        EXPECT_EQ(state.NewLibrary, nullptr);
    }
    EXPECT_EQ(QDir(at("libs")).entryList(QDir::Files), QStringList{u"new.slb"_qs});
    SlideLibrary saved;
    saved.setLibraryFile(at("libs/new.slb"));
    EXPECT_EQ(saved.slideCount() == 1 ? saved.slideName(0) : QString(), u"PORTE"_qs);
}

} // namespace
