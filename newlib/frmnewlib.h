#pragma once

// The new-library builder frmNewLib: the user browses folders for slide
// files, gathers them into a list of chosen slides under names that are
// unique in the list, and Create builds a library of them in memory. The
// caller sets CurrentDir, shows the dialog modally and reads NewLib: the
// library built, or none after Cancel. Nothing is written to disk here; the
// caller asks where the library goes and saves it.

#include "appstate.h"
#include "chosenslides.h"
#include "folderbox.h"
#include "prompts.h"

#include <QDialog>

#include <functional>
#include <memory>

class QPushButton;
class QTableWidget;

namespace quarvel {

class FileListPane;
class SlideLibrary;
class SlideView;

class FrmNewLib : public QDialog
{
    Q_OBJECT

public:
    // Lists of more items than this show a progress dialog while they are
    // added or built.
    static constexpr int kProgressFrom = 100;

    // Load: no result, an empty and disabled list, the first view style, the
    // folder box filled from the recent folders of the settings file (the top
    // one current), the captions of the language.
    FrmNewLib(AppState &state, Prompts &prompts, QWidget *parent = nullptr);
    ~FrmNewLib() override;

    // CurrentDir: the file list goes to the folder (one that does not exist
    // is refused) and the folder it then shows enters the folder box by the
    // recent-folder rule. Reads the file list's folder.
    void setCurrentDir(const QString &vNewValue);
    QString currentDir() const;

    // FileName: the candidate for Add.
    void setFileName(const QString &vNewValue) { mFileName = vNewValue; }
    QString fileName() const { return mFileName; }

    // NewLib: the library built by Create; none while the dialog is open and
    // after Cancel.
    SlideLibrary *newLib() const { return mNewLib.get(); }
    std::unique_ptr<SlideLibrary> takeNewLib() { return std::move(mNewLib); }

    // The preview of one file, and of one slide of it.
    void GetSldList(const QString &strLibeName);
    void ShowSld(const QString &strLibeName, const QString &strSldName);
    int SlideExist(const QString &strShotSLDName) const { return mChosen.SlideExist(strShotSLDName); }

    // A library of the listed slides, from the last row to the first, each
    // under its name in the list; none, after a message, when a row's slide
    // cannot be added or the user cancels the progress dialog.
    std::unique_ptr<SlideLibrary> CreateNewLib();

    // What the user's actions do, as the controls run them: a click on an
    // item of the file list (item is its full path), a double click on one,
    // a row of the list chosen, and the buttons.
    void selectItem(const QString &item);
    void openItem(const QString &item) { mFolders->openItem(item); }
    void selectRow(int row);
    void goUp() { mFolders->goUp(); }
    void lookInFavorites() { mFolders->lookInFavorites(); }
    void pickFolder() { mFolders->pickFolder(); }
    void add();
    void addAll();
    void remove();
    void removeAll();
    void create();
    // Cancel, Escape and the window frame: no result.
    void reject() override;

    // The folder button and the favourites button ask through these
    // (ShowFolderPicker and ShowFavorites by default).
    void setFolderPicker(FolderPicker picker) { mFolders->setFolderPicker(std::move(picker)); }
    void setFavoritesPicker(std::function<QString()> picker) { mFolders->setFavoritesPicker(std::move(picker)); }

    const ChosenSlides &chosenSlides() const { return mChosen; }
    const RecentFolders &recentFolders() const { return mFolders->recentFolders(); }
    FileListPane *fileList() const { return mFiles; }
    SlideView *preview() const { return mSlide; }
    QTableWidget *grid() const { return mGrid; }

private:
    void buildControls();
    void applyCaptions();
    QString listFolder() const { return mFolders->folder(); }
    QStringList slideFilesOfFolder() const;
    void addToList(const QString &path, AddAllRun *run = nullptr);
    void updateCreate();
    void showRowsEnabled(bool enabled);
    void clearPreview() { ShowSld(QString(), QString()); }
    void message(const MessageSpec &spec) { mPrompts.message(spec); }
    bool eventFilter(QObject *watched, QEvent *event) override;

    AppState &mState;
    Prompts &mPrompts;
    ChosenSlides mChosen;
    QString mFileName;
    std::unique_ptr<SlideLibrary> mNewLib;
    // A fresh object for every preview.
    std::unique_ptr<SlideLibrary> mPreview;
    // While a mouse button goes down on the list, the row change it causes
    // is left to the press itself, which also covers a press on the row
    // already current: the row's work runs once per press.
    bool mPressing = false;

    FolderBox *mFolders = nullptr;       // cboPath and its buttons
    FileListPane *mFiles = nullptr;      // ExplorerList1
    SlideView *mSlide = nullptr;         // Slide1
    QTableWidget *mGrid = nullptr;       // flexNewLibeSlides
    QPushButton *mAdd = nullptr;         // cmdAdd
    QPushButton *mAddAll = nullptr;      // cmdAddAll
    QPushButton *mRemove = nullptr;      // cmdRemove
    QPushButton *mRemoveAll = nullptr;   // cmdRemoveAll
    QPushButton *mCreate = nullptr;      // cmdSave
    QPushButton *mCancel = nullptr;      // CancelButton
};

// The New command's dialog: frmNewLib loaded, CurrentDir := startFolder,
// shown modally over parent; its NewLib once it has closed.
std::unique_ptr<SlideLibrary> showNewLibrary(AppState &state, Prompts &prompts, QWidget *parent,
                                             const QString &startFolder);

} // namespace quarvel
