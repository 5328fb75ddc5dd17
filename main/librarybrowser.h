#pragma once

// The open file on view: the file selected in the file list is read into
// AppState::CurrentLibrary, its slide names fill the slide list and the
// slide (or metafile) is shown, with the slide specification and any damage
// in the path box. After an edit, undo or redo the list follows the library.

#include "appstate.h"
#include "commandstates.h"
#include "prompts.h"

#include <QString>

#include <functional>

class QLineEdit;
class QListWidget;
class QWidget;

namespace quarvel {

namespace core {
class Error;
}

struct EditShown;
struct MessageText;
class FileListPane;
class FolderTreePane;
class LibraryEditor;
class LibraryWatcher;
class MetafileView;
class SlideView;

class LibraryBrowser
{
public:
    struct Panes
    {
        FolderTreePane *tree;
        FileListPane *files;
        QListWidget *list;
        SlideView *slide;
        MetafileView *picture;
        QLineEdit *pathBox;
    };

    LibraryBrowser(const Panes &panes, AppState &state, Prompts &prompts, LibraryEditor &editor);

    // The window's command states, applied for the file on view.
    std::function<void(const CommandStates &)> applyStates;

    // Reads strLibeName into a new library object and lists its slides;
    // a file that is not a library or slide is refused with its message.
    void GetSldList(const QString &strLibeName);
    void ShowSld(const QString &strLibeName, const QString &strSldName);
    // The work of a selection in the file list.
    void fileSelected(const QString &path);
    // A file chosen in the Open dialog: its folder shown, the file opened.
    void openChosen(const QString &path);
    // View > Refresh: the folder read again, and the open file opened again
    // with the same slide selected where it is still there.
    void reopen();
    // Another code page of slide names: the open file is read again and its
    // names shown anew, the same slide selected.
    void codePageChanged();
    // Changes other programs make to the open file are followed: every file
    // read is watched from then on, the editor's own saves excepted. Not
    // while a command of window waits for the user: the watcher reports
    // again once it is done.
    void followOtherPrograms(QWidget *window);

private:
    // The watched file is still the one selected, and no command is under
    // way; otherwise the watcher is told to stop or to report again later.
    bool canFollow(const QString &path);
    // Another program changed the open file: it is read again, the slide on
    // view and the selected slides kept where their names are still there.
    void readChanged(const QString &path);
    // The open file is gone: nothing is open, and the path box says why.
    void showVanished(const QString &path, const core::Error &reason);
    void showNothingOpen();
    void showOnPathBox(const QString &text, const QString &damage);
    void SetButtEnabled(const QString &strLibeName, qint32 lngListCount);
    void message(const MessageText &text);
    // After an edit, undo or redo: the list, tiles and title show the open
    // library, the slides it concerns selected.
    void showEdited(const EditShown &shown);
    // After a failed save read the library again: the list follows when the
    // file is not what it shows.
    void libraryReread();

    FolderTreePane *mTree;
    FileListPane *mFileList;
    QListWidget *mList;
    SlideView *mSlide;
    MetafileView *mPicture;
    QLineEdit *mPathBox;
    AppState &mState;
    Prompts &mPrompts;
    LibraryEditor *mEditor;
    LibraryWatcher *mWatcher = nullptr;
    QWidget *mWindow = nullptr;
};

} // namespace quarvel
