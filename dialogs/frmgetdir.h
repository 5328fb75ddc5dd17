#pragma once

// The folder picker frmGetDir: a folder tree in which the user chooses one
// folder. Reached through ShowFolderPicker, which leaves the choice in the
// shared FolderPickerResult.

#include "appstate.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;

namespace quarvel {

class FolderTreePane;

// How a dialog asks for a folder: ShowFolderPicker in the program, a scripted
// answer in tests. Gets the start folder, returns the folder or empty.
using FolderPicker = std::function<QString(const QString &start)>;

class FrmGetDir : public QDialog
{
    Q_OBJECT

public:
    // Load: the tree shows DialogFolder, the captions follow the language.
    explicit FrmGetDir(AppState &state, QWidget *parent = nullptr);

    // The tree's current folder in the platform's spelling.
    QString currentFolder() const;
    // Shows folder in the tree and does what the user's selection of it does.
    void selectFolder(const QString &folder);

    // OK: FolderPickerResult := the tree's folder.
    void accept() override;
    // Cancel, Escape and the window frame: FolderPickerResult := "".
    void reject() override;

private:
    void folderSelected();

    AppState &mState;
    FolderTreePane *mTree;
    QLabel *mSelected;
    QPushButton *mOk;
};

// Stores a non-empty start in DialogFolder (where it stays), shows the picker
// modally and returns FolderPickerResult: the folder chosen or empty.
QString ShowFolderPicker(AppState &state, const QString &start, QWidget *parent = nullptr);

} // namespace quarvel
