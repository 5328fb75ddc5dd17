#pragma once

// The file dialog frmExplore, in open and in save mode: a folder box with the
// recent folders, a file list filtered by file type, a preview of the
// selected file (a slide, the slides of a library, or a metafile), and the
// file name and file type boxes. The caller sets FileTypes, CurrentDir,
// FileName (save mode) and Operation in this order, shows the dialog modally
// and reads FileName: the full path chosen, or empty when the user cancelled.
// The dialog never creates or changes the chosen file.

#include "appstate.h"
#include "folderbox.h"
#include "prompts.h"

#include <QDialog>

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

namespace quarvel {

class FileListPane;
class MetafileView;
class SlideLibrary;
class SlideView;

class FrmExplore : public QDialog
{
    Q_OBJECT

public:
    // Load: empty file name, the first view style, and the folder box filled
    // from the recent folders of the settings file (the top one current).
    FrmExplore(AppState &state, Prompts &prompts, QWidget *parent = nullptr);
    ~FrmExplore() override;

    // FileTypes: fills the file type box for code 1, 2, 3, 5 or 6 and chooses
    // its first entry. Any other code fills nothing and returns false; the
    // dialog then has no file type and must not be shown.
    bool setFileTypes(qint16 vNewValue);
    qint16 fileTypes() const { return mFileTypes; }

    // CurrentDir: the file list goes to the folder (a folder that does not
    // exist is refused) and the folder it then shows enters the folder box by
    // the recent-folder rule. Reads the file list's folder.
    void setCurrentDir(const QString &vNewValue);
    QString currentDir() const;

    // FileName: the result. Writing it also fills the file name box (save
    // mode offers a name without folder and extension this way).
    void setFileName(const QString &vNewValue);
    QString fileName() const { return mFileName; }

    // Operation: 0 opens, anything else saves. Sets the captions and enables
    // the new-folder button in save mode.
    void setOperation(qint32 vNewValue);
    qint32 operation() const { return mOperation; }

    // Appended to the typed name on accept; set by the file type.
    QString defaultExtension() const { return mDefaultExtension; }

    // The preview of one file, and of one slide of it.
    void GetSldList(const QString &strLibeName);
    void ShowSld(const QString &strLibeName, const QString &strSldName);

    // What a click on an item of the file list does (item is its full path),
    // and what a double click does (a subfolder is opened).
    void selectItem(const QString &item);
    void openItem(const QString &item) { mFolders->openItem(item); }
    // The folder box (tests drive its Enter key).
    FolderBox &folderBox() const { return *mFolders; }

    // The folder button and the favourites button ask through these
    // (ShowFolderPicker and ShowFavorites by default).
    void setFolderPicker(FolderPicker picker) { mFolders->setFolderPicker(std::move(picker)); }
    void setFavoritesPicker(std::function<QString()> picker) { mFolders->setFavoritesPicker(std::move(picker)); }

    // The accept button (also Enter): checks the path, asks where needed,
    // and hides the dialog only when the choice is settled.
    void accept() override;
    // Cancel, Escape and the window frame: FileName := "".
    void reject() override;

    const RecentFolders &recentFolders() const { return mFolders->recentFolders(); }

private:
    void buildControls();
    void fileTypeChosen(int index);
    void makeNewFolder();
    void slideChosen();
    void clearPreview();
    bool isSave() const { return mOperation != 0; }
    QString listFolder() const { return mFolders->folder(); }

    AppState &mState;
    Prompts &mPrompts;
    qint16 mFileTypes = 0;
    qint32 mOperation = 0;
    QString mFileName;
    QString mDefaultExtension;
    // A fresh object for every preview.
    std::unique_ptr<SlideLibrary> mPreview;

    FolderBox *mFolders = nullptr;       // cboPath and its buttons
    QToolButton *mNewDir = nullptr;      // cmdNewDir
    FileListPane *mFiles = nullptr;      // ExplorerList1
    SlideView *mSlide = nullptr;         // Slide1
    MetafileView *mPicture = nullptr;    // Picture1
    QListWidget *mSlides = nullptr;      // List1
    QLabel *mFileNameLabel = nullptr;    // lblFileName
    QLineEdit *mFileNameBox = nullptr;   // txtFileName
    QLabel *mFileTypeLabel = nullptr;    // lblFileType
    QComboBox *mFileType = nullptr;      // cboFileType
    QPushButton *mAccept = nullptr;      // cmdSave
    QPushButton *mCancel = nullptr;      // CancelButton
};

} // namespace quarvel
