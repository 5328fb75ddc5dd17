// The main window's commands on many slides: multi-select and filter with
// Delete, Rename, the tile view, Copy picture and the window title; and
// screenshots of them in both languages.

#include "captions.h"
#include "featuretexts.h"
#include "mainfixture.h"
#include "slidefilter.h"
#include "slideview.h"
#include "tileview.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

using namespace quarvel;
using test::tinySlide;

namespace {

const QStringList kTen = {"DOOR1", "WIN1", "DOOR2", "WIN2", "DOOR3", "WIN3", "DOOR4", "WIN4", "DOOR5", "WIN5"};

class ManySlidesTest : public test::MainFixture
{
protected:
    void SetUp() override
    {
        MainFixture::SetUp();
        makeLibrary("ten.slb", kTen);
    }

    QString libPath() const { return path("ten.slb"); }
    std::unique_ptr<MainWindow> makeWindow() { return MainFixture::makeWindow("ten.slb"); }

    static void selectRows(MainWindow &w, const QList<int> &rows)
    {
        QListWidget *list = w.slideList();
        list->setCurrentRow(rows.front());
        for (int row : rows)
            list->selectionModel()->select(list->model()->index(row, 0), QItemSelectionModel::Select);
    }
};

} // namespace

TEST_F(ManySlidesTest, DeleteTakesOnlyTheVisibleSelectionAndKeepsTheRestByteForByte)
{
    struct Case
    {
        const char *filter;
        QList<int> rows;   // empty: Select All
        const char *question;
        QStringList kept;
        const char *count;
    };
    const Case cases[] = {
        {"", {1, 4, 8}, "Удалить 3 слайда из %1?", {"DOOR1", "DOOR2", "WIN2", "WIN3", "DOOR4", "WIN4", "WIN5"}, "10 из 10"},
        // Every slide selected, then the filter hides the doors: only the
        // windows go.
        {"wIn", {}, "Удалить 5 слайдов из %1?", {"DOOR1", "DOOR2", "DOOR3", "DOOR4", "DOOR5"}, "5 из 10"},
    };
    const QByteArray original = test::readFile(libPath());
    for (const Case &c : cases) {
        SCOPED_TRACE(c.question);
        test::writeFile(libPath(), original);
        auto w = makeWindow();
        if (c.rows.isEmpty())
            w->commandSelectAll();
        else
            selectRows(*w, c.rows);
        w->filterBar()->edit()->setText(c.filter);
        EXPECT_EQ(w->filterBar()->countText(), c.count);
        mPrompts.expectMessage(PromptIcon::Question, QString(c.question).arg(libPath()), Answer::Yes);
        w->commandDelete();
        const auto saved = test::onDisk(libPath());
        ASSERT_EQ(saved->slideCount(), c.kept.size());
        for (int i = 0; i < c.kept.size(); ++i) {
            EXPECT_EQ(saved->slideName(i), c.kept[i]);
            EXPECT_EQ(saved->slideData(i), tinySlide(kTen.indexOf(c.kept[i]) + 1)) << i;
        }
        w->filterBar()->edit()->clear();
        EXPECT_EQ(listTexts(*w), c.kept);
    }

    // The last slide of a library stays.
    test::writeFile(libPath(), original);
    auto w = makeWindow();
    w->commandSelectAll();
    mPrompts.expectMessage(PromptIcon::Exclamation, lastSlideKeptMessage(Language::Russian).text);
    w->commandDelete();
    EXPECT_EQ(w->slideList()->count(), 10);
}

TEST_F(ManySlidesTest, RenameChecksTheNameSavesOnceAndKeepsTheSelection)
{
    auto w = makeWindow();
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8("ten.slb — Quarvel"));
    selectRows(*w, {1, 3});
    w->slideList()->setCurrentRow(3, QItemSelectionModel::NoUpdate);
    const InputPrompt ask = renameSlideInput(Language::Russian, "WIN2");
    const QByteArray before = test::readFile(libPath());
    // Taken in another case, a blank, too long for 31 bytes, a character the
    // code page lacks; then cancelled: nothing changes.
    struct Try { QString typed; NameProblem problem; };
    for (const Try &t : {Try{"door1", NameProblem::Taken}, Try{"A B", NameProblem::BadCharacter},
                         Try{QString(32, 'X'), NameProblem::TooLong}, Try{QString::fromUtf8("猫"), NameProblem::NotInCodePage}}) {
        mPrompts.expectInput(ask.prompt, ask.title, "WIN2", t.typed);
        mPrompts.expectMessage(PromptIcon::Exclamation, badSlideNameMessage(Language::Russian, t.typed, t.problem).text);
        mPrompts.expectInput(ask.prompt, ask.title, t.typed, std::nullopt);
        w->commandRename();
    }
    EXPECT_EQ(test::readFile(libPath()), before);

    mPrompts.expectInput(ask.prompt, ask.title, "WIN2", QString::fromUtf8("окно2"));
    w->commandRename();
    EXPECT_EQ(test::onDisk(libPath())->slideName(3), QString::fromUtf8("окно2"));
    EXPECT_EQ(test::onDisk(libPath())->slideData(3), tinySlide(4));
    EXPECT_EQ(w->slideList()->currentRow(), 3);
    EXPECT_EQ(w->selectedSlides(), QList<int>({1, 3}));
    EXPECT_EQ(w->slideView()->slideFile(), libPath() + QString::fromUtf8("(окно2)"));
    EXPECT_TRUE(w->slideView()->hasSlide());
}

TEST_F(ManySlidesTest, TilesShareTheSelectionAndDrawThumbnailsAndCopyPutsBothPictures)
{
    auto w = makeWindow();
    w->resize(1000, 640);
    w->show();
    w->menuAction("mnuVTiles")->trigger();
    EXPECT_TRUE(w->tileView()->isVisible());
    QCoreApplication::processEvents();
    w->tileView()->thumbnails().waitForIdle();
    const QImage thumb = w->tileView()->thumbnails().thumbnail(4);
    EXPECT_GT(test::pixelsOtherThan(thumb, qRgb(0, 0, 0)), 20);

    w->tileView()->setCurrentIndex(w->tileView()->model()->index(5, 0));
    EXPECT_EQ(w->slideView()->slideFile(), libPath() + "(WIN3)");

    w->commandCopyPicture();
    const QMimeData *copied = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(copied);
    EXPECT_FALSE(qvariant_cast<QImage>(copied->imageData()).isNull());
    EXPECT_TRUE(copied->data("image/svg+xml").contains("<svg"));

    w->menuAction("mnuVTiles")->trigger();
    EXPECT_TRUE(w->explorerList()->isVisible());
    w->selectFile(mDir.path());
    EXPECT_EQ(w->windowTitle(), "Quarvel");
}

TEST_F(ManySlidesTest, DroppedSlidesAreAddedInOneSaveAndADroppedLibraryOpens)
{
    auto w = makeWindow();
    test::writeFile(path("win1.sld"), tinySlide(20));
    test::writeFile(path("new.sld"), tinySlide(21));
    QDir(mDir.path()).mkdir("folder.sld");   // a folder is never a slide file
    auto drop = [](QWidget *target, const QStringList &paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString &p : paths)
            urls << QUrl::fromLocalFile(p);
        data.setUrls(urls);
        // The drop goes where the drag was taken when it entered.
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent event(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
        return event.isAccepted();
    };
    // win1 differs from WIN1 only in case: asked once, replaced at the end.
    mPrompts.expectMessage(PromptIcon::Question,
                           rewriteSlideQuestion(Language::Russian, "win1", libPath()).text, Answer::Yes);
    EXPECT_TRUE(drop(w->slideList()->viewport(), {path("win1.sld"), path("folder.sld"), path("new.sld")}));
    QStringList names = kTen;
    names.removeOne("WIN1");
    names << "WIN1" << "NEW";
    EXPECT_EQ(listTexts(*w), names);
    EXPECT_EQ(w->slideList()->currentRow(), 10);
    const auto saved = test::onDisk(libPath());
    ASSERT_EQ(saved->slideCount(), 11);
    for (const auto &[index, color] : {std::pair{9, 20}, {10, 21}, {0, 1}})
        EXPECT_EQ(saved->slideData(index), tinySlide(color)) << index;

    // Dragged out: the slides as .sld files, byte for byte.
    const std::unique_ptr<QMimeData> out = w->slidesAsFiles({0, 10});
    ASSERT_TRUE(out);
    ASSERT_EQ(out->urls().size(), 2);
    EXPECT_TRUE(out->urls()[0].toLocalFile().endsWith("/DOOR1.sld"));
    EXPECT_EQ(test::readFile(out->urls()[0].toLocalFile()), tinySlide(1));
    EXPECT_EQ(test::readFile(out->urls()[1].toLocalFile()), tinySlide(21));

    makeLibrary("other.slb", {"ONLY"});
    // A library dropped on the list, or anywhere on the window, is opened.
    EXPECT_TRUE(drop(w->slideList()->viewport(), {path("other.slb")}));
    EXPECT_EQ(listTexts(*w), QStringList({"ONLY"}));
    EXPECT_TRUE(drop(w.get(), {path("folder.sld"), libPath()}));
    EXPECT_EQ(listTexts(*w), names);
}

TEST_F(ManySlidesTest, ExportWritesPicturesAndAsksOnceAboutFilesThatExist)
{
    auto w = makeWindow();
    selectRows(*w, {0, 1, 2, 3, 4});
    ExportChoice choice{.format = ExportChoice::Format::Png, .size = {320, 240},
                        .background = ExportChoice::Background::White, .folder = path("out")};
    mDialogs.choice = choice;
    w->commandExportSlides();
    ASSERT_EQ(mDialogs.offers.size(), 1u);
    EXPECT_EQ(mDialogs.offers[0].selectedCount, 5);
    EXPECT_EQ(mDialogs.offers[0].slideCount, 10);
    EXPECT_EQ(QDir(choice.folder).entryList(QDir::Files).size(), 5);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(kTen[i].toStdString());
        const QImage image(QDir(choice.folder).filePath(kTen[i] + ".png"));
        ASSERT_EQ(image.size(), QSize(320, 240));
        EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
        EXPECT_GT(test::pixelsOtherThan(image, qRgb(255, 255, 255)), 100);   // the vector, as long as the picture is wide
    }

    // The whole library over the five: skipped (No), then overwritten (Yes);
    // Cancel writes nothing.
    const QString first = QDir(choice.folder).filePath("DOOR1.png");
    test::writeFile(first, "old");
    choice.wholeLibrary = true;
    mDialogs.choice = choice;
    for (auto [answer, existing] : {std::pair{Answer::Cancel, 5}, {Answer::No, 5}, {Answer::Yes, 10}}) {
        const QString folder = QDir::toNativeSeparators(choice.folder);
        mPrompts.expectMessage(PromptIcon::Question, exportOverwriteQuestion(Language::Russian, existing, folder).text,
                               answer, test::ScriptedPrompts::Buttons::OkCancel);
        w->commandExportSlides();
        EXPECT_EQ(QDir(choice.folder).entryList(QDir::Files).size(), answer == Answer::Cancel ? 5 : 10);
        EXPECT_EQ(test::readFile(first) == "old", answer != Answer::Yes);
    }
}

// A drag across the file list opens the file it was pressed on and the one
// it is let go on, not every file in between.
TEST_F(ManySlidesTest, DraggingAcrossTheFileListOpensOnlyWhereItEnds)
{
    for (const char *name : {"B", "C", "D"})
        makeLibrary(QString(name).toLower() + ".slb", {name});
    auto w = makeWindow();
    w->show();
    QAbstractItemView *view = w->explorerList()->currentView();
    QStringList opened;
    QObject::connect(w->explorerList(), &FileListPane::itemSelected, [&](const QString &p) { opened << QFileInfo(p).fileName(); });
    const QPoint b = itemCenter(*w, path("b.slb")), c = itemCenter(*w, path("c.slb")), d = itemCenter(*w, path("d.slb"));
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, b);
    for (const QPoint &p : {c, d}) {
        QMouseEvent move(QEvent::MouseMove, p, view->viewport()->mapToGlobal(p), Qt::NoButton, Qt::LeftButton, {});
        QCoreApplication::sendEvent(view->viewport(), &move);
    }
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, d);
    EXPECT_EQ(opened, QStringList({"b.slb", "d.slb"}));
    EXPECT_EQ(listTexts(*w), QStringList({"D"}));
}

TEST_F(ManySlidesTest, AnotherNameCodePageFromOptionsRereadsTheNames)
{
    SlideLibrary lib;
    lib.addSlideData(tinySlide(1), "A", "A");
    lib.addSlideData(tinySlide(2), "\xC4\xC2\xC5\xD0\xDC", "door");   // ДВЕРЬ in code page 1251
    lib.saveLibrary(libPath());
    auto w = makeWindow();
    w->slideList()->setCurrentRow(1);
    EXPECT_EQ(w->slideList()->item(1)->text(), QString::fromUtf8("ДВЕРЬ"));
    mDialogs.onOptions = [this] { mState.NameCodePage = 1252; };
    w->commandOptions();
    EXPECT_EQ(w->slideList()->item(1)->text(), QString::fromUtf8("ÄÂÅÐÜ"));
    EXPECT_EQ(w->slideList()->currentRow(), 1);
    EXPECT_EQ(w->slideView()->slideFile(), libPath() + QString::fromUtf8("(ÄÂÅÐÜ)"));
    EXPECT_TRUE(w->slideView()->hasSlide());
}

TEST_F(ManySlidesTest, Screenshots)
{
    const QFileInfo lib(test::corpusDir("slb/NIGHT.slb"));
    mState.StartFolder = lib.absolutePath();
    for (const char *lang : {"Ru", "En"}) {
        auto w = MainFixture::makeWindow(lib.fileName());
        w->chooseLanguage(lang);
        w->resize(1000, 640);
        w->show();
        w->setTilesShown(true);
        w->filterBar()->edit()->setText("a");
        QCoreApplication::processEvents();
        w->tileView()->viewport()->repaint();
        w->tileView()->thumbnails().waitForIdle();
        test::screenshot(*w, QString("tiles-filter-") + lang);
        QMenu menu;
        menu.addActions(w->slideList()->actions());
        test::screenshot(menu, QString("context-menu-") + lang);
    }
}
