#pragma once

// The main window's export commands: the slide on view as .sld, .wmf or
// .dxf after the save dialog, Export... of many slides, the slides of a drag
// written as .sld files, and the slide on view copied as a picture. They
// read the window's panes and change nothing in the open library.

#include "appstate.h"
#include "maindialogs.h"
#include "prompts.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>

class QListWidget;
class QMimeData;
class QTemporaryDir;
class QWidget;

namespace quarvel {

class FileListPane;
class SlideLibrary;
class SlideView;

class ExportCommands
{
public:
    ExportCommands(AppState &state, Prompts &prompts, MainDialogs &dialogs, QWidget *window, FileListPane *files,
                   QListWidget *list, SlideView *slide);
    ~ExportCommands();

    void exportToSld();
    void exportToWmf();
    void exportToDxf();
    // Export...: the given rows (ascending) or the whole library, as the
    // dialog chooses, asking once about files that exist already.
    void exportSlides(const QList<int> &selected);
    // The slides of rows written as .sld files in a folder of their own
    // (kept while this object lives); nothing when they cannot be written
    // (the reason is shown).
    std::unique_ptr<QMimeData> slidesAsFiles(const QList<int> &rows);
    void copyPicture();

private:
    void exportShownSlide(int fileTypes, const std::function<void(const SlideLibrary &, int, const QString &)> &write);
    void exportFailed(const class SlideError &error);
    QString saveDialog(const QString &offered, int fileTypes);

    AppState &mState;
    Prompts &mPrompts;
    MainDialogs &mDialogs;
    QWidget *mWindow;
    FileListPane *mFiles;
    QListWidget *mList;
    SlideView *mSlide;
    std::unique_ptr<QTemporaryDir> mDragFolder;
    int mDrags = 0;
};

} // namespace quarvel
