#pragma once

// The options dialog: the three default folders (start-up, new libraries,
// slides for a new library), whether the toolbar buttons show captions, and
// whether .sld and .slb files are associated with the program, and the code
// page that slide names in libraries are read and written in. Its texts are
// Russian whatever the interface language is.
//
// The dialog is made for one showing. Loading fills the boxes from the shared
// state, the settings file and the registry; OK stores what the boxes hold;
// Cancel and closing the window change nothing. The caller re-applies the main
// window's captions afterwards, so a changed caption choice shows at once.

#include "frmgetdir.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace quarvel {

class mdlRegFunctions;

class FrmConfig : public QDialog
{
    Q_OBJECT

public:
    // fileListFolder is the folder the main window's file list shows: Browse
    // opens there when its box is empty.
    FrmConfig(AppState &state, mdlRegFunctions &association, const QString &fileListFolder,
              QWidget *parent = nullptr);

    // The Browse buttons ask through this (ShowFolderPicker by default).
    void setFolderPicker(FolderPicker picker) { mPickFolder = std::move(picker); }

    // OK: the caption choice, the three folders and the association are
    // stored, then the dialog closes. Cancel is QDialog::reject (the Cancel
    // button, Escape and the window's close box all end there).
    void accept() override;

    // Browse for one of the three folder boxes (the buttons beside them).
    void browse(QLineEdit *box);

private:
    void createControls();
    void load();
    // Stores the folder in box under key, and in global, when the box names a
    // folder that can be used; otherwise both stay as they were.
    void storeFolder(const QLineEdit *box, const QString &key, QString &global);
    void storeStartFolder();

    AppState &mState;
    mdlRegFunctions &mAssociation;
    FolderPicker mPickFolder;
    QString mFileListFolder;

    QLineEdit *mDirStart = nullptr;
    QLineEdit *mDirLib = nullptr;
    QLineEdit *mDirSld = nullptr;
    QCheckBox *mAssociate = nullptr;
    QCheckBox *mButText = nullptr;
    QComboBox *mCodePage = nullptr;
};

// Shows the options dialog modally over parent and returns when it has
// closed. fileListFolder: the folder the main window's file list shows.
void showOptions(AppState &state, mdlRegFunctions &association, const QString &fileListFolder,
                 QWidget *parent);
// The same with the association of this platform (the system registry on
// Windows; elsewhere the program's own store and the desktop's files).
void showOptions(AppState &state, const QString &fileListFolder, QWidget *parent);

} // namespace quarvel
