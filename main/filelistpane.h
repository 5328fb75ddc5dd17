#pragma once

// The panes that follow the file system: the folder tree (ExplorerTree1) and
// the file list of one folder (ExplorerList1), which shows folders and the
// files Quarvel handles. The window decides what a selection means; these
// panes only report what the user did and do what they are told.

#include "captions.h"

#include <QAbstractFileIconProvider>
#include <QFileSystemModel>
#include <QIcon>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class QAbstractItemView;
class QListView;
class QStackedWidget;
class QTreeView;

namespace quarvel {

// A file-system model whose column headers are in the interface language.
class FileSystemModel : public QFileSystemModel
{
public:
    using QFileSystemModel::QFileSystemModel;
    void setHeaders(const QStringList &headers);
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QStringList mHeaders;
};

class FolderTreePane : public QWidget
{
    Q_OBJECT

public:
    explicit FolderTreePane(QWidget *parent = nullptr);

    QString currentFolder() const { return mFolder; }
    // Shows and selects a folder (for a file, its folder) without reporting it.
    void goToPath(const QString &path);

signals:
    // The user chose another folder.
    void folderSelected(const QString &folder);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void keepInView();

    QFileSystemModel mModel;
    QTreeView *mView;
    QString mFolder;
    // The folder gone to is brought back into view as the folders on the way
    // to it are read (each moves the rows below it), until the user acts.
    bool mKeepInView = false;
    QTimer mKeepTimer;
};

class FileListPane : public QWidget
{
    Q_OBJECT

public:
    enum ViewStyle { List = 0, Details = 1 };

    explicit FileListPane(QWidget *parent = nullptr);

    QString folder() const { return mFolder; }
    void setFolder(const QString &folder);
    // The selected item as a full path; setting it selects quietly, the
    // caller runs the selection work itself.
    QString selectedPath() const { return mSelected; }
    void setSelectedPath(const QString &path);
    void refresh();

    int viewStyle() const { return mStyle; }
    void setViewStyle(int style);

    // The view that currently shows the files (tests drive it).
    QAbstractItemView *currentView() const;
    QFileSystemModel &model() { return mModel; }

    // The context menu, the Details columns and the type texts in the
    // interface language.
    void applyLanguage(Language language);

signals:
    void itemSelected(const QString &path);
    void itemActivated(const QString &path);
    // The list shows another folder (whoever moved it).
    void folderChanged(const QString &folder);
    // The user clicked the item that was already selected.
    void selectedItemClicked(const QString &path);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onCurrentChanged(const QModelIndex &index);

    FileSystemModel mModel;
    QStackedWidget *mStack;
    QString mListText = QStringLiteral("List");
    QString mDetailsText = QStringLiteral("Details");
    QListView *mListView;
    QTreeView *mDetailsView;
    QString mFolder;
    QString mSelected;
    int mStyle = List;
    bool mQuiet = false;
    QString mKeepSelected;   // the selected file, while the model takes its row out
    bool mDragging = false;      // the pointer moves with the button down
    bool mDraggedPast = false;   // the current item changed meanwhile
    bool mPressedOnSelected = false;
};

// The icons of the folder tree and the file lists: one folder picture and one
// file picture, made once. The platform's provider asks the MIME database
// and the icon theme about every file, which takes seconds of the window's
// thread in a folder of thousands of slides.
class FixedIconProvider : public QAbstractFileIconProvider
{
public:
    // The type texts of the interface language (English until set).
    static void setTypeTexts(const QString &folder, const QString &fileOfExtension);

    QIcon icon(IconType type) const override;
    QIcon icon(const QFileInfo &info) const override;
    // "Folder" or the extension upper-cased and "file", with no MIME lookup.
    QString type(const QFileInfo &info) const override;

    // The one provider every model shares (made on first use, in the window's
    // thread).
    static FixedIconProvider *shared();

private:
    FixedIconProvider();
    QIcon mFolder;
    QIcon mFile;
};

// The name filters of the file list: slides, libraries and metafiles in any
// letter case.
QStringList slideFileFilters();

} // namespace quarvel
