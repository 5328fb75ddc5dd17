// The library editor without a window: every kind of edit undone and redone
// on a library Quarvel wrote and on one from other software, undo refused
// after another program changed the file, undo after a failed save, the
// history of the open file only, and the bound on the bytes it keeps.

#include "captions.h"
#include "featuretexts.h"
#include "libraryeditor.h"
#include "mainfixture.h"
#include "savefile.h"

#include <QFile>

using namespace quarvel;
using test::onDisk;
using test::tinySlide;

namespace {

class LibraryEditorTest : public test::MainFixture
{
protected:
    void SetUp() override
    {
        MainFixture::SetUp();
        makeLibrary("ours.slb", {"ALPHA", "BETA", "GAMMA", "DELTA"});
        ASSERT_TRUE(QFile::copy(test::corpusDir(QStringLiteral("slb/DOOR.SLB")), path("door.slb")));
        QFile(path("door.slb")).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        test::writeFile(path("NEW.sld"), tinySlide(9));
    }

    // Opens library as the window does.
    void open(const QString &library)
    {
        mState.CurrentLibrary = onDisk(library);
        mEditor.libraryOpened(library);
    }

    // Names and slide bytes in order.
    static std::vector<std::pair<QByteArray, QByteArray>> slidesOf(const QString &library)
    {
        std::vector<std::pair<QByteArray, QByteArray>> slides;
        const auto lib = onDisk(library);
        for (int i = 0; i < lib->slideCount(); ++i)
            slides.emplace_back(lib->slideNameBytes(i), lib->slideData(i));
        return slides;
    }

    void expectQuestion(const MessageText &q, Answer answer = Answer::Yes)
    {
        mPrompts.expectMessage(PromptIcon::Question, q.text, answer);
    }

    void expectFailure(const QString &detail)
    {
        mPrompts.expectMessage(PromptIcon::Critical,
                               failureMessage(Language::Russian, FailedAction::ChangeLibrary, detail).text);
    }

    void deleteRows(const QString &library, const QList<int> &rows)
    {
        expectQuestion(rows.size() == 1
                           ? deleteSlideQuestion(Language::Russian, mState.CurrentLibrary->slideName(rows.front()), library)
                           : deleteSlidesQuestion(Language::Russian, int(rows.size()), library));
        mEditor.deleteSlides(library, rows);
    }

    LibraryEditor mEditor{mState, mPrompts};
};

} // namespace

TEST_F(LibraryEditorTest, EveryEditIsUndoneAndRedone)
{
    using Edit = std::function<void(const QString &)>;
    // A slide file named after the library's second slide, so that adding
    // it replaces that slide.
    auto second = [this] {
        const QString name = mState.CurrentLibrary->slideName(1);
        const QString file = path(name + ".sld");
        test::writeFile(file, tinySlide(7));
        return std::pair{name, file};
    };
    const struct { const char *what; Edit edit; const char *undo; } edits[] = {
        {"add", [this](const QString &lib) { mEditor.addSlide(lib, path("NEW.sld"), "NEW"); },
         "Отменить добавление 1 слайда"},
        {"replace",
         [&](const QString &lib) {
             const auto [name, file] = second();
             expectQuestion(rewriteSlideQuestion(Language::Russian, name, lib));
             mEditor.addSlide(lib, file, name);
         },
         "Отменить замену 1 слайда"},
        {"delete one", [this](const QString &lib) { deleteRows(lib, {1}); }, "Отменить удаление 1 слайда"},
        {"delete many", [this](const QString &lib) { deleteRows(lib, {0, 2, 3}); }, "Отменить удаление 3 слайдов"},
        {"rename",
         [this](const QString &lib) {
             const QString old = mState.CurrentLibrary->slideName(2);
             const InputPrompt ask = renameSlideInput(Language::Russian, old);
             mPrompts.expectInput(ask.prompt, ask.title, old, QStringLiteral("Renamed"));
             mEditor.renameSlide(lib, 2);
         },
         "Отменить переименование 1 слайда"},
        {"drop",
         [&](const QString &lib) {
             const auto [name, file] = second();
             expectQuestion(rewriteSlideQuestion(Language::Russian, name, lib));
             mEditor.addSlideFiles(lib, {file, path("NEW.sld")});
         },
         "Отменить добавление 2 слайдов"},
    };
    for (const char *file : {"ours.slb", "door.slb"}) {
        const QString lib = path(file);
        const QByteArray original = test::readFile(lib);
        const auto slides = slidesOf(lib);
        for (const auto &e : edits) {
            SCOPED_TRACE(std::string(file) + ": " + e.what);
            test::writeFile(lib, original);
            open(lib);
            e.edit(lib);
            const QByteArray edited = test::readFile(lib);
            ASSERT_NE(edited, original);
            EXPECT_EQ(mEditor.undoCaption(Language::Russian), QString::fromUtf8(e.undo));
            mEditor.undo();
            if (QLatin1String(file) == QLatin1String("ours.slb")) {
                EXPECT_EQ(test::readFile(lib), original);
            }
            EXPECT_EQ(slidesOf(lib), slides);
            EXPECT_EQ(mEditor.redoCaption(Language::Russian), QString::fromUtf8(e.undo).replace("Отменить", "Повторить"));
            mEditor.redo();
            EXPECT_EQ(test::readFile(lib), edited);
            EXPECT_EQ(mEditor.history().index(), 1);
        }
    }
    EXPECT_EQ(editText(Language::English, EditKind::Delete, 3), "Delete 3 Slides");
    EXPECT_EQ(editText(Language::Russian, EditKind::Delete, 21), "удаление 21 слайда");
    EXPECT_EQ(editText(Language::Russian, EditKind::Delete, 11), "удаление 11 слайдов");
}

// Undo after another program changed the file, after the file vanished and
// after a failed save: nothing changes; the first two end the history, the
// failed save keeps it as it was.
TEST_F(LibraryEditorTest, UndoIsRefusedWhenItCannotBeSaved)
{
    const QString lib = path("ours.slb");
    const QString changed = QDir::toNativeSeparators(lib) + ": файл изменился после открытия; откройте его заново";
    const struct { const char *what; std::function<void()> meddle; QString detail; bool historyKept; } cases[] = {
        {"changed by another program", [&] { test::writeFile(lib, test::readFile(lib) + "x"); }, changed, false},
        {"gone", [&] { QFile::remove(lib); }, changed, false},
        {"disk full",
         [] { SaveFile::setWriteGate([](qint64 done, qint64 size) { return done + size < 100; }); },
         QDir::toNativeSeparators(lib) + ": не удаётся записать: на диске нет места", true},
    };
    const QByteArray original = test::readFile(lib);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        test::writeFile(lib, original);
        open(lib);
        deleteRows(lib, {1, 2});
        c.meddle();
        const QByteArray before = test::readFile(lib);
        expectFailure(c.detail);
        mEditor.undo();
        SaveFile::setWriteGate({});
        EXPECT_EQ(test::readFile(lib), before);
        EXPECT_EQ(mState.CurrentLibrary->slideCount(), 2);
        EXPECT_EQ(mEditor.history().count(), c.historyKept ? 1 : 0);
        EXPECT_EQ(mEditor.history().canUndo(), c.historyKept);
        if (c.historyKept) {
            mEditor.undo();
            EXPECT_EQ(test::readFile(lib), original);
        }
    }
}

// The history belongs to the open file as the last edit wrote it: opening it
// again keeps it, opening another file or the same one changed ends it.
TEST_F(LibraryEditorTest, HistoryBelongsToTheFileAsLastWritten)
{
    const QString lib = path("ours.slb");
    const QByteArray original = test::readFile(lib);
    open(lib);
    deleteRows(lib, {0});
    open(lib);   // refreshed
    ASSERT_EQ(mEditor.history().count(), 1);
    mEditor.undo();
    EXPECT_EQ(test::readFile(lib), original);
    mEditor.redo();

    open(path("door.slb"));
    EXPECT_EQ(mEditor.history().count(), 0);
    open(lib);
    EXPECT_EQ(mEditor.history().count(), 0);

    deleteRows(lib, {0});
    test::writeFile(lib, original);
    open(lib);
    EXPECT_EQ(mEditor.history().count(), 0);

    // A slide that cannot be kept (its entry points past the end of the
    // file) is deleted all the same, and the edit leaves no history.
    auto entry = [](const QByteArray &name, quint32 address) {
        QByteArray e = name.leftJustified(32, '\0');
        for (int i = 0; i < 4; ++i)
            e += char((address >> (8 * i)) & 0xFF);
        return e;
    };
    const QString damaged = path("dangling.slb");
    test::writeFile(damaged, QByteArray(kLibraryId, 32) + entry("ALPHA", 140) + entry("LOST", 0xFFFFFF)
                                 + QByteArray(36, '\0') + tinySlide(1));
    open(damaged);
    deleteRows(damaged, {1});
    EXPECT_EQ(slidesOf(damaged).size(), 1u);
    EXPECT_EQ(mEditor.history().count(), 0);
}

// With room for two slides, the oldest deletes are dropped as new ones come;
// one edit that keeps more than the bound leaves no history at all.
TEST_F(LibraryEditorTest, KeptBytesAreBounded)
{
    const QString lib = path("ours.slb");
    const qint64 slide = tinySlide(1).size();
    LibraryEditor editor(mState, mPrompts, 2 * slide + slide / 2);
    mState.CurrentLibrary = onDisk(lib);
    for (int i = 0; i < 3; ++i) {
        expectQuestion(deleteSlideQuestion(Language::Russian, mState.CurrentLibrary->slideName(0), lib));
        editor.deleteSlides(lib, {0});
    }
    EXPECT_EQ(editor.history().count(), 2);
    EXPECT_LE(editor.keptBytes(), 2 * slide + slide / 2);
    editor.undo();
    editor.undo();
    editor.undo();   // the oldest is gone
    EXPECT_EQ(slidesOf(lib).size(), 3u);
    EXPECT_EQ(onDisk(lib)->slideName(0), "BETA");

    makeLibrary("ours.slb", {"ALPHA", "BETA", "GAMMA", "DELTA"});
    mState.CurrentLibrary = onDisk(lib);
    expectQuestion(deleteSlidesQuestion(Language::Russian, 3, lib));
    editor.deleteSlides(lib, {0, 1, 2});
    EXPECT_EQ(slidesOf(lib).size(), 1u);
    EXPECT_EQ(editor.history().count(), 0);
}
