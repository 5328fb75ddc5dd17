#include "filelistpane.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QHeaderView>
#include <QListView>
#include <QMenu>
#include <QStackedWidget>
#include <QTreeView>
#include <QVBoxLayout>

namespace quarvel {

namespace {
QString anyCase(const QString &extension)
{
    QString pattern = QStringLiteral("*.");
    for (QChar c : extension)
        pattern += QStringLiteral("[%1%2]").arg(c.toLower(), c.toUpper());
    return pattern;
}

QVBoxLayout *bareLayout(QWidget *owner)
{
    auto *layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}
} // namespace

QStringList slideFileFilters()
{
    return {anyCase(QStringLiteral("sld")), anyCase(QStringLiteral("slb")), anyCase(QStringLiteral("wmf"))};
}

FolderTreePane::FolderTreePane(QWidget *parent)
    : QWidget(parent)
    , mView(new QTreeView(this))
{
    mModel.setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    mModel.setRootPath(QString());
    mView->setModel(&mModel);
    for (int column = 1; column < mModel.columnCount(); ++column)
        mView->hideColumn(column);
    mView->setHeaderHidden(true);
    mView->setSortingEnabled(true);
    mView->sortByColumn(0, Qt::AscendingOrder);
    bareLayout(this)->addWidget(mView);
    connect(mView->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &index) {
                const QString folder = mModel.filePath(index);
                if (folder.isEmpty() || folder == mFolder)
                    return;
                mFolder = folder;
                emit folderSelected(folder);
            });
}

void FolderTreePane::goToPath(const QString &path)
{
    QString folder = path;
    if (!QFileInfo(path).isDir())
        folder = QFileInfo(path).absolutePath();
    const QModelIndex index = mModel.index(folder);
    if (!index.isValid())
        return;
    mFolder = QDir::cleanPath(folder);
    const QSignalBlocker quiet(mView->selectionModel());
    mView->setCurrentIndex(index);
    mView->scrollTo(index);
}

FileListPane::FileListPane(QWidget *parent)
    : QWidget(parent)
    , mStack(new QStackedWidget(this))
    , mListView(new QListView(mStack))
    , mDetailsView(new QTreeView(mStack))
{
    mModel.setFilter(QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot);
    mModel.setNameFilters(slideFileFilters());
    mModel.setNameFilterDisables(false);
    mListView->setModel(&mModel);
    // The model fills folders in the background; sort each once it is read.
    connect(&mModel, &QFileSystemModel::directoryLoaded, this, [this] { mModel.sort(0, Qt::AscendingOrder); });
    mListView->setViewMode(QListView::ListMode);
    mListView->setFlow(QListView::TopToBottom);
    mListView->setWrapping(true);
    mListView->setResizeMode(QListView::Adjust);
    mDetailsView->setModel(&mModel);
    mDetailsView->setRootIsDecorated(false);
    mDetailsView->setItemsExpandable(false);
    mDetailsView->setSelectionModel(mListView->selectionModel());   // one selection for both styles
    mStack->addWidget(mListView);
    mStack->addWidget(mDetailsView);
    bareLayout(this)->addWidget(mStack);

    connect(mListView->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &index) { onCurrentChanged(index); });
    for (QAbstractItemView *view : {static_cast<QAbstractItemView *>(mListView),
                                    static_cast<QAbstractItemView *>(mDetailsView)}) {
        connect(view, &QAbstractItemView::activated, this,
                [this](const QModelIndex &index) { emit itemActivated(mModel.filePath(index)); });
    }
}

QAbstractItemView *FileListPane::currentView() const
{
    return mStyle == Details ? static_cast<QAbstractItemView *>(mDetailsView) : mListView;
}

void FileListPane::onCurrentChanged(const QModelIndex &index)
{
    mSelected = index.isValid() ? mModel.filePath(index) : QString();
    if (!mQuiet && !mSelected.isEmpty())
        emit itemSelected(mSelected);
}

void FileListPane::setFolder(const QString &folder)
{
    mFolder = QDir::cleanPath(folder);
    const QModelIndex root = mModel.setRootPath(mFolder);
    mListView->setRootIndex(root);
    mDetailsView->setRootIndex(root);
}

void FileListPane::setSelectedPath(const QString &path)
{
    mSelected = path;
    const QModelIndex index = mModel.index(path);
    mQuiet = true;
    if (index.isValid()) {
        mListView->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        currentView()->scrollTo(index);
    }
    mQuiet = false;
    mSelected = path;
}

void FileListPane::refresh()
{
    // The model watches the folder itself; re-setting the root picks up
    // changes on file systems that do not report them.
    if (!mFolder.isEmpty())
        mModel.setRootPath(mFolder);
}

void FileListPane::setViewStyle(int style)
{
    mStyle = style == Details ? Details : List;
    mStack->setCurrentIndex(mStyle);
}

void FileListPane::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    QAction *list = menu.addAction(tr("List"));
    QAction *details = menu.addAction(tr("Details"));
    list->setCheckable(true);
    details->setCheckable(true);
    (mStyle == Details ? details : list)->setChecked(true);
    if (QAction *chosen = menu.exec(event->globalPos()))
        setViewStyle(chosen == details ? Details : List);
}

} // namespace quarvel
