#pragma once

// The folder controls at the top of the file dialog and of the new-library
// builder: the folder box (cboPath) with the recent folders, the folder
// button (cmdGetDir), the parent-folder button (cmdUpPth), the favourites
// button (cmdFav) and the two view-style buttons (Option1, Option2).
// FolderBox makes them on its dialog, keeps the recent folders, and moves the
// dialog's file list as the user picks a folder, goes up, or opens a
// subfolder. Both dialogs share it so that their folder handling cannot drift
// apart.

#include "appstate.h"
#include "frmgetdir.h"
#include "prompts.h"
#include "recentfolders.h"

#include <QObject>

#include <functional>

class QComboBox;
class QIcon;
class QPushButton;
class QToolButton;
class QWidget;

namespace quarvel {

class DialogResizer;
class FileListPane;

// A picture button of a dialog's top row: 375 twips square, left twips from
// the dialog's left edge.
QToolButton *makePictureButton(QWidget *owner, const char *name, const QIcon &icon, float left);

class FolderBox : public QObject
{
    Q_OBJECT

public:
    // Makes the box boxWidth twips wide at the dialog's left margin and the
    // three buttons right of it, in tab order, as children of owner. The
    // folder and favourites buttons ask through ShowFolderPicker and
    // ShowFavorites over owner until other pickers are set.
    FolderBox(AppState &state, Prompts &prompts, QWidget *owner, float boxWidth);

    // The list and details buttons, left twips from the dialog's left edge;
    // made apart from the box so that a dialog can put its own buttons
    // between them in tab order.
    void addViewButtons(float left);
    // The file list the box moves; a double click on a subfolder in it opens
    // that folder. The view buttons switch its view style.
    void setFileList(FileListPane *files);
    // Load: the list view, its button down.
    void showListView();
    // The file dialog offers its own folder to the favourites as the active
    // one (DialogFolder); the builder leaves DialogFolder as it was.
    void setOffersFolderToFavorites(bool offers) { mOffersFolder = offers; }
    void setToolTips(const QString &getDir, const QString &favorites);
    // The box grows and the buttons move right by share of what the dialog
    // gains in width.
    void anchorTo(DialogResizer &resizer, float share);

    void setFolderPicker(FolderPicker picker) { mFolderPicker = std::move(picker); }
    void setFavoritesPicker(std::function<QString()> picker) { mFavoritesPicker = std::move(picker); }

    // The recent folders from the settings file into the box (the top one
    // current), and the file list to the topmost of them that exists.
    void loadHistory();
    // The recent folders back to the settings file.
    void writeHistory() const;
    const RecentFolders &recentFolders() const { return mRecent; }

    // CurrentDir of both dialogs: the file list goes to the folder (one that
    // does not exist is refused) and the folder it then shows enters the box
    // by the recent-folder rule.
    void setCurrentDir(const QString &folder);
    // The file list's folder, with native separators; empty before it has one.
    QString folder() const;

    // The user's actions.
    void goUp();
    void lookInFavorites();
    void pickFolder();
    void openItem(const QString &item);
    // Enter in the folder box: the folder typed there, or a message that it
    // does not exist.
    void goToTyped();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool navigate(const QString &folder);
    void chooseFolder(const QString &folder);
    void showFolderBox();

    AppState &mState;
    Prompts &mPrompts;
    RecentFolders mRecent;
    FileListPane *mFiles = nullptr;
    FolderPicker mFolderPicker;
    std::function<QString()> mFavoritesPicker;
    bool mOffersFolder = false;

    QComboBox *mPath = nullptr;       // cboPath
    QPushButton *mGetDir = nullptr;   // cmdGetDir
    QToolButton *mUp = nullptr;       // cmdUpPth
    QToolButton *mFav = nullptr;      // cmdFav
    QToolButton *mList = nullptr;     // Option1
    QToolButton *mDetails = nullptr;  // Option2
};

} // namespace quarvel
