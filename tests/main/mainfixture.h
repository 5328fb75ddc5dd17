#pragma once

// What the main window's tests share: a scratch folder with its settings
// file, slides told apart by their bytes, dialogs answered from a queue and
// scripted prompts.

#include "filelistpane.h"
#include "mainwindow.h"
#include "scriptedprompts.h"
#include "slideexport.h"
#include "slidelibrary.h"
#include "testdata.h"

#include <QAbstractItemView>
#include <QDir>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace quarvel::test {

inline int pixelsOtherThan(const QImage &image, QRgb background)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) != background;
    return count;
}

inline std::unique_ptr<SlideLibrary> onDisk(const QString &file)
{
    auto lib = std::make_unique<SlideLibrary>();
    lib->setLibraryFile(file);
    return lib;
}

// Dialogs answer from a queue or a set choice (none: cancelled) and keep each request.
struct FakeDialogs : MainDialogs
{
    QString explore(const ExploreRequest &request) override
    {
        requests.push_back(request);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    QString favorites() override { return favorite; }
    void options() override
    {
        if (onOptions)
            onOptions();
    }
    void about() override {}
    std::unique_ptr<SlideLibrary> newLibrary(const QString &startFolder) override
    {
        newLibraryStarts << startFolder;
        return onNewLibrary ? onNewLibrary() : nullptr;
    }
    std::optional<ExportChoice> exportChoice(const ExportOffer &offer) override
    {
        offers.push_back(offer);
        return choice;
    }

    QStringList answers;
    QString favorite;
    std::vector<ExploreRequest> requests;
    std::function<void()> onOptions;
    QStringList newLibraryStarts;
    std::function<std::unique_ptr<SlideLibrary>()> onNewLibrary;   // none: the builder is cancelled
    std::optional<ExportChoice> choice;
    std::vector<ExportOffer> offers;
};

class MainFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mDir.isValid());
        mState.ProgramFolder = mState.StartFolder = mDir.path();
        mState.SettingsFile = path("Quarvel.ini");
    }

    // As the program writes paths (on Windows with "\\").
    QString path(const QString &name) const { return QDir::toNativeSeparators(mDir.filePath(name)); }

    void makeLibrary(const QString &name, const QStringList &slides)
    {
        SlideLibrary lib;
        for (int i = 0; i < slides.size(); ++i)
            lib.addSlideData(tinySlide(i + 1), slides[i].toLatin1(), slides[i]);
        lib.saveLibrary(path(name));
    }

    std::unique_ptr<MainWindow> makeWindow(const QString &startFile = {})
    {
        mState.StartFile = startFile;
        return std::make_unique<MainWindow>(mState, mPrompts, mDialogs);
    }

    static QStringList listTexts(const MainWindow &w)
    {
        QStringList texts;
        for (int i = 0; i < w.slideList()->count(); ++i)
            texts << w.slideList()->item(i)->text();
        return texts;
    }

    // Where a file's item shows in the file list, once the list has read it.
    static QPoint itemCenter(MainWindow &w, const QString &file)
    {
        QAbstractItemView *view = w.explorerList()->currentView();
        const QModelIndex item = w.explorerList()->model().index(file);
        for (int i = 0; i < 200 && view->visualRect(item).isEmpty(); ++i)
            QTest::qWait(10);
        return view->visualRect(item).center();
    }

    QTemporaryDir mDir;
    AppState mState;
    ScriptedPrompts mPrompts;
    FakeDialogs mDialogs;
};

} // namespace quarvel::test
