// The main window's New command around the builder: where the builder and
// the Save dialog start, and that the library reaches the disk only when a
// file was named.

#include "../main/mainfixture.h"
#include "builderprompts.h"

using namespace quarvel;

namespace {

TEST(NewCommand, StartFoldersAndWhatIsWritten)
{
    QTemporaryDir dir;
    const auto at = [&](const char *name) { return QDir::toNativeSeparators(dir.filePath(QLatin1String(name))); };
    QDir(dir.path()).mkdir(u"libs"_qs);
    AppState state;
    state.SettingsFile = at("Quarvel.ini");
    state.StartFolder = dir.path();
    test::BoundedPrompts prompts;   // no box is expected
    test::FakeDialogs dialogs;
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
        dialogs.onNewLibrary = [&, built = c.built]() -> std::unique_ptr<SlideLibrary> {
            if (!built)
                return nullptr;
            auto library = std::make_unique<SlideLibrary>();
            library->addSlideFile(slide, u"Porte"_qs);
            return library;
        };
        dialogs.answers = QStringList{c.saveTo};
        dialogs.newLibraryStarts.clear();
        dialogs.requests.clear();
        MainWindow window(state, prompts, dialogs);
        const QString onView = window.explorerList()->folder();
        window.commandNew();
        SCOPED_TRACE((c.slideFolder + u" / "_qs + c.libraryFolder).toStdString());
        EXPECT_EQ(dialogs.newLibraryStarts, QStringList{c.builderStart.isEmpty() ? onView : c.builderStart});
        ASSERT_EQ(dialogs.requests.size(), c.built ? 1u : 0u);
        if (c.built) {
            EXPECT_EQ(dialogs.requests[0].currentDir, c.saveStart.isEmpty() ? onView : c.saveStart);
            EXPECT_EQ(dialogs.requests[0].fileTypes, int(LibraryFiles));
            EXPECT_EQ(dialogs.requests[0].operation, 1);
        }
        EXPECT_EQ(state.NewLibrary, nullptr);
    }
    EXPECT_EQ(QDir(at("libs")).entryList(QDir::Files), QStringList{u"new.slb"_qs});
    SlideLibrary saved;
    saved.setLibraryFile(at("libs/new.slb"));
    EXPECT_EQ(saved.slideCount() == 1 ? saved.slideName(0) : QString(), u"PORTE"_qs);
}

} // namespace
