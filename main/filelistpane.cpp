#include "filelistpane.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QHeaderView>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QMutex>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStyle>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace quarvel {

namespace {
// Paths leave the panes in the form this system writes them; the model gives
// Qt's "/" form.
QString pathOf(const QFileSystemModel &model, const QModelIndex &index)
{
    return QDir::toNativeSeparators(model.filePath(index));
}

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

FixedIconProvider::FixedIconProvider()
    : mFolder(QApplication::style()->standardIcon(QStyle::SP_DirIcon))
    , mFile(QApplication::style()->standardIcon(QStyle::SP_FileIcon))
{
}

FixedIconProvider *FixedIconProvider::shared()
{
    static FixedIconProvider *provider = new FixedIconProvider;   // lives as long as the models
    return provider;
}

QIcon FixedIconProvider::icon(IconType type) const
{
    return type == File ? mFile : mFolder;
}

QIcon FixedIconProvider::icon(const QFileInfo &info) const
{
    return info.isDir() ? mFolder : mFile;
}

namespace {
// Read by the models' reader threads; set from the window's thread when the
// language changes.
QMutex gTypeTextsLock;
QString gFolderType = QStringLiteral("Folder");
QString gFileType = QStringLiteral("%1 File");
} // namespace

void FixedIconProvider::setTypeTexts(const QString &folder, const QString &fileOfExtension)
{
    const QMutexLocker lock(&gTypeTextsLock);
    gFolderType = folder;
    gFileType = fileOfExtension;
}

QString FixedIconProvider::type(const QFileInfo &info) const
{
    const QMutexLocker lock(&gTypeTextsLock);
    if (info.isDir())
        return gFolderType;
    return gFileType.arg(info.suffix().toUpper()).trimmed();
}

void FileSystemModel::setHeaders(const QStringList &headers)
{
    mHeaders = headers;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

QVariant FileSystemModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < mHeaders.size())
        return mHeaders.at(section);
    return QFileSystemModel::headerData(section, orientation, role);
}

void FileListPane::applyLanguage(Language language)
{
    const FileListTexts texts = fileListTexts(language);
    mListText = texts.list;
    mDetailsText = texts.details;
    mModel.setHeaders(texts.columns);
    FixedIconProvider::setTypeTexts(texts.folderType, texts.fileType);
}

QStringList slideFileFilters()
{
    return {anyCase(QStringLiteral("sld")), anyCase(QStringLiteral("slb")), anyCase(QStringLiteral("wmf"))};
}

FolderTreePane::FolderTreePane(QWidget *parent)
    : QWidget(parent)
    , mView(new QTreeView(this))
{
    mModel.setIconProvider(FixedIconProvider::shared());
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
                const QString folder = pathOf(mModel, index);
                if (folder.isEmpty() || folder == mFolder)
                    return;
                mFolder = folder;
                mKeepInView = false;
                emit folderSelected(folder);
            });
    // Rows come in batches after each folder is read; once they are in, the
    // folder is brought back into view.
    mKeepTimer.setSingleShot(true);
    mKeepTimer.setInterval(0);
    connect(&mKeepTimer, &QTimer::timeout, this, [this] { keepInView(); });
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(&mModel, signal, &mKeepTimer, qOverload<>(&QTimer::start));
    connect(&mModel, &QAbstractItemModel::layoutChanged, &mKeepTimer, qOverload<>(&QTimer::start));
    connect(&mModel, &QFileSystemModel::directoryLoaded, &mKeepTimer, qOverload<>(&QTimer::start));
    // Scrolling is the user's: the tree then stays where it is put.
    connect(mView->verticalScrollBar(), &QScrollBar::sliderPressed, this, [this] { mKeepInView = false; });
    mView->viewport()->installEventFilter(this);
}

bool FolderTreePane::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mView->viewport() && (event->type() == QEvent::Wheel || event->type() == QEvent::MouseButtonPress))
        mKeepInView = false;
    return QWidget::eventFilter(watched, event);
}

void FolderTreePane::keepInView()
{
    if (mKeepInView && mView->currentIndex().isValid())
        mView->scrollTo(mView->currentIndex(), QAbstractItemView::PositionAtCenter);
}

void FolderTreePane::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    keepInView();
}

void FolderTreePane::goToPath(const QString &path)
{
    QString folder = path;
    if (!QFileInfo(path).isDir())
        folder = QFileInfo(path).absolutePath();
    const QModelIndex index = mModel.index(folder);
    if (!index.isValid())
        return;
    mFolder = QDir::toNativeSeparators(QDir::cleanPath(folder));
    const QSignalBlocker quiet(mView->selectionModel());
    mView->setCurrentIndex(index);
    mKeepInView = true;
    keepInView();
}

FileListPane::FileListPane(QWidget *parent)
    : QWidget(parent)
    , mStack(new QStackedWidget(this))
    , mListView(new QListView(mStack))
    , mDetailsView(new QTreeView(mStack))
{
    mModel.setIconProvider(FixedIconProvider::shared());
    mModel.setFilter(QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot);
    mModel.setNameFilters(slideFileFilters());
    mModel.setNameFilterDisables(false);
    // When another program deletes the selected file, the views would make
    // its neighbour current, and so open it. The item stays selected by its
    // name instead, with no current item; connected before the views, this
    // runs before they move the current item.
    connect(&mModel, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex &parent, int first, int last) {
                const QModelIndex current = mListView->selectionModel()->currentIndex();
                if (current.isValid() && current.parent() == parent && current.row() >= first && current.row() <= last)
                    mKeepSelected = mSelected;
            });
    connect(&mModel, &QAbstractItemModel::rowsRemoved, this, [this] {
        if (mKeepSelected.isEmpty())
            return;
        mQuiet = true;
        mListView->selectionModel()->clear();
        mQuiet = false;
        mSelected = mKeepSelected;
        mKeepSelected.clear();
    });
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
                [this](const QModelIndex &index) { emit itemActivated(pathOf(mModel, index)); });
        connect(view, &QAbstractItemView::clicked, this, [this](const QModelIndex &index) {
            if (mPressedOnSelected && index.isValid() && pathOf(mModel, index) == mSelected)
                emit selectedItemClicked(mSelected);
            mPressedOnSelected = false;
        });
        view->viewport()->installEventFilter(this);
    }
}

bool FileListPane::eventFilter(QObject *watched, QEvent *event)
{
    // Whether a click lands on the item already selected is known only
    // before the press has moved the selection.
    if (event->type() == QEvent::MouseButtonPress && watched == currentView()->viewport()) {
        const QModelIndex index = currentView()->indexAt(static_cast<QMouseEvent *>(event)->position().toPoint());
        mPressedOnSelected = index.isValid() && !mSelected.isEmpty() && pathOf(mModel, index) == mSelected;
    }
    // While the pointer drags across the list, the items it passes are not
    // opened one after the other: the one it rests on is, when the button
    // is let go.
    if (watched == currentView()->viewport()) {
        if (event->type() == QEvent::MouseMove && (static_cast<QMouseEvent *>(event)->buttons() & Qt::LeftButton)) {
            mDragging = true;
        } else if (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::MouseButtonPress) {
            const bool open = mDragging && mDraggedPast;
            mDragging = mDraggedPast = false;
            if (open && !mSelected.isEmpty())
                emit itemSelected(mSelected);
        }
    }
    return QWidget::eventFilter(watched, event);
}

QAbstractItemView *FileListPane::currentView() const
{
    return mStyle == Details ? static_cast<QAbstractItemView *>(mDetailsView) : mListView;
}

void FileListPane::onCurrentChanged(const QModelIndex &index)
{
    if (!mKeepSelected.isEmpty())
        return;   // the selected file is being taken out of the list
    mSelected = index.isValid() ? pathOf(mModel, index) : QString();
    if (mDragging && !mQuiet) {
        mDraggedPast = true;
        return;
    }
    if (!mQuiet && !mSelected.isEmpty())
        emit itemSelected(mSelected);
}

void FileListPane::setFolder(const QString &folder)
{
    const QString previous = mFolder;
    mFolder = QDir::toNativeSeparators(QDir::cleanPath(folder));
    const QModelIndex root = mModel.setRootPath(mFolder);
    mListView->setRootIndex(root);
    mDetailsView->setRootIndex(root);
    if (mFolder != previous) {
        // Nothing of the old folder stays selected.
        mSelected.clear();
        emit folderChanged(mFolder);
    }
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
    QAction *list = menu.addAction(mListText);
    QAction *details = menu.addAction(mDetailsText);
    list->setCheckable(true);
    details->setCheckable(true);
    (mStyle == Details ? details : list)->setChecked(true);
    if (QAction *chosen = menu.exec(event->globalPos()))
        setViewStyle(chosen == details ? Details : List);
}

} // namespace quarvel
