#pragma once

// The main window: folder tree and file list, the slide list and slide view of
// the open library, the metafile panel, the path box and the toolbar. Its
// rules (layout in twips, splitters, captions, command states) come from the
// widget-free models; the window applies them and wires the commands.

#include "appstate.h"
#include "commandstates.h"
#include "maindialogs.h"
#include "panelayout.h"
#include "prompts.h"
#include "splitterdrag.h"

#include <QHash>
#include <QIcon>
#include <QMainWindow>

#include <array>
#include <memory>
#include <functional>

class QAction;
class QLineEdit;
class QListWidget;
class QMenu;
class QMimeData;

namespace quarvel {

class ExportCommands;
class FileListPane;
class LibraryBrowser;
class LibraryEditor;
class FlatButton;
class SlideCommands;
class SlideFilterBar;
class TileView;
class FolderTreePane;
class MetafileView;
class SlideView;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Runs the window's initialisation and load: the start file (if any) is
    // opened and the saved layout restored. The window is not shown.
    MainWindow(AppState &state, Prompts &prompts, MainDialogs &dialogs, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Library browsing.
    void GetSldList(const QString &strLibeName);
    void ShowSld(const QString &strLibeName, const QString &strSldName);
    void SetButtEnabled(const QString &strLibeName, qint32 lngListCount);
    // Selects path in the file list and does the selection work, as if the
    // user had selected it.
    void selectFile(const QString &path);

    // Layout.
    void RedrawButtons();
    void SetControlPos();
    const PaneLayout &paneLayout() const { return mLayout; }

    // Language commands and the caption setters they end in.
    void chooseLanguage(const QString &languageCode);
    void applyLanguage();

    // Commands, as the toolbar and the menus run them.
    void commandNew();
    void commandOpen();
    void commandSaveAs();
    void commandAdd();
    void commandDelete();
    void commandExport();
    void exportToSld();
    void exportToWmf();
    void exportToDxf();
    void commandFavorites();
    void commandOptions();
    void commandAbout();
    // View > Refresh: the folder read again, and the open file opened again
    // with the same slide selected where it is still there.
    void commandRefresh();

    // Work on the selected slides of the open library (never on slides the
    // filter hides): Select All, Rename, Copy picture; the tile view toggle.
    void commandSelectAll();
    void commandRename();
    void commandCopyPicture();
    // Adds slide files to the open library in one save, asking before each
    // one that would replace a slide of the same name (files dropped on the
    // lists).
    void addSlideFiles(const QStringList &files);
    // Export...: the selected slides or the whole library, as the dialog
    // chooses, asking once about files that exist already.
    void commandExportSlides();
    // The slides of rows written as .sld files in a folder of their own
    // (kept while the window lives), as the file list of a drag; nothing
    // when they cannot be written (the reason is shown).
    std::unique_ptr<QMimeData> slidesAsFiles(const QList<int> &rows);
    void setTilesShown(bool shown);
    // Rows of the slide list that are selected and not hidden, ascending.
    QList<int> selectedSlides() const;

    // The export format a plain click on the Export button runs.
    ExportFormat exportFormat() const { return mExportFormat; }

    // Controls by the names the program knows them by (tests look at them).
    FolderTreePane *explorerTree() const { return mTree; }
    FileListPane *explorerList() const { return mFileList; }
    QListWidget *slideList() const { return mList; }
    SlideView *slideView() const { return mSlide; }
    MetafileView *pictureView() const { return mPicture; }
    QLineEdit *pathBox() const { return mPathBox; }
    FlatButton *button(ToolbarButton which) const { return mButtons[which]; }
    QAction *menuAction(const QString &name) const { return mActions.value(name); }
    QMenu *exportPopup() const { return mExportPopup; }
    TileView *tileView() const { return mTiles; }
    LibraryEditor &editor() const { return *mEditor; }
    SlideFilterBar *filterBar() const { return mFilter; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildPanes();
    void buildToolbar();
    void buildMenus();
    void buildFeatures();
    void applyFilter();
    void placeSlideList(const QRect &rect);
    void connectCommands();
    void applyLayout();
    void applyStates(const CommandStates &states);
    void setExportFormat(ExportFormat format);
    void fileSelected(const QString &path);
    // Undo and Redo in the Actions menu (mnuAUndo, mnuARedo).
    void buildHistory();
    void applyHistoryTexts();
    void paneAreaResized();
    void splitterMouse(QEvent *event);
    double dpi() const;
    float toTwips(int pixels) const;
    QString shownFolder() const;


    AppState &mState;
    Prompts &mPrompts;
    MainDialogs &mDialogs;
    PaneLayout mLayout;
    SplitterState mSplitter;
    bool mApplyingLayout = false;
    ExportFormat mExportFormat = ExportFormat::Sld;
    QIcon mSldPicture;
    QIcon mWmfPicture;

    QWidget *mPaneArea = nullptr;
    FolderTreePane *mTree = nullptr;
    FileListPane *mFileList = nullptr;
    QListWidget *mList = nullptr;
    SlideView *mSlide = nullptr;
    MetafileView *mPicture = nullptr;
    QLineEdit *mPathBox = nullptr;
    QWidget *mBar = nullptr;
    std::array<FlatButton *, ToolbarButtonCount> mButtons{};
    QHash<QString, QAction *> mActions;
    QMenu *mExportPopup = nullptr;
    SlideFilterBar *mFilter = nullptr;
    TileView *mTiles = nullptr;
    QString mTitleFile;
    std::unique_ptr<LibraryEditor> mEditor;
    std::unique_ptr<ExportCommands> mExport;
    std::unique_ptr<SlideCommands> mFileCommands;
    std::unique_ptr<LibraryBrowser> mBrowser;
};

} // namespace quarvel
