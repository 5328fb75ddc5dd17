#pragma once

// The favourites dialog frmFav: the favourite folders in a two-column grid
// (name, path), with Go To, Add Folder, Add Active Folder, Remove Folder,
// Remove All and Close. Reached through ShowFavorites, which leaves the
// folder chosen with Go To in the shared FavoriteResult. Every change to the
// list is in the settings file at once.

#include "appstate.h"
#include "favoritelist.h"
#include "frmgetdir.h"
#include "prompts.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

namespace quarvel {

class FrmFav : public QDialog
{
    Q_OBJECT

public:
    // Load: FavoriteResult := "", the grid filled from the settings file with
    // the first row current, the captions of the language.
    FrmFav(AppState &state, Prompts &prompts, QWidget *parent = nullptr);

    // Add Folder asks through this (ShowFolderPicker by default).
    void setFolderPicker(FolderPicker picker) { mPicker = std::move(picker); }

    // What a click on a row of the grid does: it becomes the selected row and
    // the label shows its folder.
    void clickRow(int row);

    // The commands, as their buttons run them.
    void goTo();
    void addFolder();
    void addActiveFolder();
    void removeFolder();
    void removeAll();

    const FavoriteList &favorites() const { return mList; }

private:
    void fillGrid();
    void showSelected(const QString &folder);
    void selectRow(int row);
    void showRowOrNone(int row);
    int selectedRow() const;
    void updateAddActive();

    AppState &mState;
    Prompts &mPrompts;
    FavoriteList mList;
    FolderPicker mPicker;
    // The main window's folder when the dialog opened; the folder picker
    // changes DialogFolder, never this.
    QString mActive;
    QTableWidget *mGrid;
    QLabel *mSelected;
    QPushButton *mGoTo;
    QPushButton *mAddActive;
    QPushButton *mRemove;
};

// Shows frmFav modally and returns FavoriteResult: the folder chosen with Go
// To, or empty. DialogFolder is offered as the active folder.
QString ShowFavorites(AppState &state, Prompts &prompts, QWidget *parent = nullptr);

} // namespace quarvel
