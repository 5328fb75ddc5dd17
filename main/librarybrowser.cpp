#include "librarybrowser.h"

#include "captions.h"
#include "errortexts.h"
#include "featuretexts.h"
#include "filelistpane.h"
#include "libraryeditor.h"
#include "librarywatcher.h"
#include "metafileview.h"
#include "paths.h"
#include "slidecommands.h"
#include "slidelibrary.h"
#include "slidespec.h"
#include "slideview.h"

#include <QApplication>
#include <QFileInfo>
#include <QHash>
#include <QItemSelection>
#include <QLineEdit>
#include <QListWidget>

namespace quarvel {

LibraryBrowser::LibraryBrowser(const Panes &panes, AppState &state, Prompts &prompts, LibraryEditor &editor)
    : mTree(panes.tree)
    , mFileList(panes.files)
    , mList(panes.list)
    , mSlide(panes.slide)
    , mPicture(panes.picture)
    , mPathBox(panes.pathBox)
    , mState(state)
    , mPrompts(prompts)
    , mEditor(&editor)
{
    mEditor->onEdited = [this](const EditShown &shown) { showEdited(shown); };
    mEditor->onReread = [this] { libraryReread(); };
}

void LibraryBrowser::message(const MessageText &text)
{
    showMessage(mPrompts, text);
}

void LibraryBrowser::SetButtEnabled(const QString &strLibeName, qint32 lngListCount)
{
    applyStates(setButtEnabled(strLibeName, lngListCount));
}

void LibraryBrowser::showNothingOpen()
{
    mEditor->clearHistory();
    mSlide->setSlideFile(QString());
    mPathBox->clear();
    mList->setEnabled(false);
    applyStates(noLibraryStates());
}

void LibraryBrowser::GetSldList(const QString &strLibeName)
{
    if (mWatcher)
        mWatcher->watch(strLibeName);
    mState.CurrentLibrary = std::make_unique<SlideLibrary>(NameCodec(mState.NameCodePage));
    SlideLibrary &library = *mState.CurrentLibrary;
    if (!strLibeName.isEmpty()) {
        {
            const QSignalBlocker quiet(mList);
            mList->clear();
        }
        mList->setEnabled(true);
        library.setLibraryFile(strLibeName);
        mEditor->libraryOpened(strLibeName);
        const OpenCheck opened = checkOpened(library, strLibeName, languageOf(mState.LanguageCode));
        if (!opened.names.isEmpty())
            mState.CurrentSlideName = opened.names.last();
        if (opened.refusal) {
            message(*opened.refusal);
            if (opened.dropObject)
                mState.CurrentLibrary = std::make_unique<SlideLibrary>(NameCodec(mState.NameCodePage));
            showNothingOpen();
            return;
        }
        if (fileKindOf(strLibeName) == FileKind::Library) {
            {
                const QSignalBlocker quiet(mList);
                mList->addItems(opened.names);
            }
            mList->setCurrentRow(0);   // shows the first slide
        } else {
            ShowSld(strLibeName, mState.CurrentSlideName);
        }
    }
    SetButtEnabled(strLibeName, mList->count());
    mList->setEnabled(mList->count() > 1);
}

void LibraryBrowser::ShowSld(const QString &strLibeName, const QString &strSldName)
{
    const QString spec = fileKindOf(strLibeName) == FileKind::Library ? makeSlideSpec(strLibeName, strSldName)
                                                                       : strLibeName;
    showOnPathBox(spec, damageNote(mState.CurrentLibrary.get(), strSldName, languageOf(mState.LanguageCode)));
    mState.CurrentSlideSpec = spec;
    mSlide->setSlideFile(spec);
}

void LibraryBrowser::showOnPathBox(const QString &text, const QString &damage)
{
    // A damage is said next to what is on view, in the colour of a warning.
    mPathBox->setText(damage.isEmpty() ? text : text + QStringLiteral("  \u2014  ") + damage);
    mPathBox->setToolTip(damage);
    QPalette palette = mPathBox->palette();
    palette.setColor(QPalette::Text, damage.isEmpty() ? QApplication::palette().color(QPalette::Text) : QColor(176, 0, 0));
    mPathBox->setPalette(palette);
}

void LibraryBrowser::fileSelected(const QString &path)
{
    const ListItem item = listItemKind(path);
    if (item == ListItem::Metafile) {
        mSlide->hide();
        mPicture->show();
        if (!mPicture->setPicture(path))
            message(metafileUnreadableMessage(languageOf(mState.LanguageCode), path));
        mState.CurrentLibrary.reset();
        mList->clear();
        mPathBox->setText(path);
        applyStates(noLibraryStates());
    } else if (item == ListItem::SlideFile) {
        mPicture->hide();
        mPicture->setPicture(QString());
        mSlide->show();
        mList->setEnabled(true);
        GetSldList(path);
    } else {
        // Nothing is open: an empty view, also where a metafile was shown.
        mPicture->hide();
        mPicture->setPicture(QString());
        mSlide->show();
        mState.CurrentLibrary.reset();
        mList->clear();
        mSlide->setSlideFile(QString());
        mPathBox->clear();
        applyStates(noLibraryStates());
    }
    if (item != ListItem::SlideFile)
        mEditor->clearHistory();
    mTree->goToPath(path);
    mList->setEnabled(mList->count() > 1);
}

void LibraryBrowser::libraryReread()
{
    // The list follows when the file is not what it shows.
    const SlideLibrary &open = *mState.CurrentLibrary;
    bool same = open.slideCount() == mList->count();
    for (int i = 0; same && i < mList->count(); ++i)
        same = open.slideName(i) == mList->item(i)->text();
    if (!same)
        reopen();
}

void LibraryBrowser::showEdited(const EditShown &shown)
{
    const QString library = mFileList->selectedPath();
    const SlideLibrary &open = *mState.CurrentLibrary;
    if (shown.namesOnly && open.slideCount() == mList->count()) {
        for (int row : shown.rows)
            mList->item(row)->setText(open.slideName(row));
        if (shown.current >= 0 && shown.current != mList->currentRow())
            mList->setCurrentRow(shown.current);
        else if (shown.rows.contains(mList->currentRow()))
            ShowSld(library, mList->currentItem()->text());
    } else {
        {
            const QSignalBlocker quiet(mList);
            QStringList names;
            for (int i = 0; i < open.slideCount(); ++i)
                names << open.slideName(i);
            mList->clear();
            mList->addItems(names);   // one insertion: the filter runs once
        }
        mList->setCurrentRow(-1);
        mList->setCurrentRow(shown.current);
        for (int row : shown.rows.size() > 1 ? shown.rows : QList<int>())
            mList->selectionModel()->select(mList->model()->index(row, 0), QItemSelectionModel::Select);
    }
    SetButtEnabled(library, mList->count());
}

void LibraryBrowser::openChosen(const QString &path)
{
    mTree->goToPath(path);
    mFileList->setFolder(QFileInfo(path).absolutePath());
    mFileList->setSelectedPath(path);
    mPicture->hide();
    mSlide->show();
    GetSldList(mFileList->selectedPath());
    if (mList->currentItem())
        ShowSld(mFileList->selectedPath(), mList->currentItem()->text());
}

void LibraryBrowser::reopen()
{
    mFileList->refresh();
    const QString selected = mFileList->selectedPath();
    if (selected.isEmpty())
        return;
    const QString slide = mList->currentItem() ? mList->currentItem()->text() : QString();
    fileSelected(selected);
    const QList<QListWidgetItem *> same = mList->findItems(slide, Qt::MatchExactly);
    if (!slide.isEmpty() && !same.isEmpty())
        mList->setCurrentItem(same.first());
}

void LibraryBrowser::codePageChanged()
{
    mSlide->setNameCodec(NameCodec(mState.NameCodePage));
    const int row = mList->currentRow();
    if (mState.CurrentLibrary && !mFileList->selectedPath().isEmpty()) {
        fileSelected(mFileList->selectedPath());
        if (row >= 0 && row < mList->count())
            mList->setCurrentRow(row);
    }
}


void LibraryBrowser::followOtherPrograms(QWidget *window)
{
    auto &watcher = *new LibraryWatcher(window);
    mWatcher = &watcher;
    mWindow = window;
    mEditor->onSaved = [this](const QString &file) { mWatcher->noteOwnSave(file); };
    QObject::connect(&watcher, &LibraryWatcher::changed, window, [this](const QString &path) {
        if (canFollow(path))
            readChanged(path);
    });
    QObject::connect(&watcher, &LibraryWatcher::vanished, window, [this](const QString &path, const core::Error &reason) {
        if (canFollow(path))
            showVanished(path, reason);
    });
}

bool LibraryBrowser::canFollow(const QString &path)
{
    // Another file was chosen since (a metafile, a folder): nothing to follow.
    if (mFileList->selectedPath() != path) {
        mWatcher->watch(QString());
        return false;
    }
    // A command is under way with a dialog or message up: the open file is
    // not read again under it, or it would go on with rows and objects that
    // are no longer what it asked about.
    if (QApplication::activeModalWidget() != nullptr || !mWindow->isEnabled()) {
        mWatcher->postpone();
        return false;
    }
    return true;
}

void LibraryBrowser::readChanged(const QString &path)
{
    const QString current = mList->currentItem() ? mList->currentItem()->text() : QString();
    QStringList selected;
    for (const QModelIndex &index : mList->selectionModel()->selectedIndexes())
        selected << index.data().toString();
    // A file that was gone is back: the file list shows it selected again.
    if (!mState.CurrentLibrary)
        mFileList->setSelectedPath(path);
    GetSldList(path);
    QHash<QString, int> rows;
    for (int row = mList->count() - 1; row >= 0; --row)
        rows.insert(mList->item(row)->text(), row);
    if (const auto row = rows.constFind(current); row != rows.constEnd())
        mList->setCurrentRow(*row);
    QItemSelection kept;
    for (const QString &name : selected) {
        if (const auto row = rows.constFind(name); row != rows.constEnd())
            kept.select(mList->model()->index(*row, 0), mList->model()->index(*row, 0));
    }
    if (!kept.isEmpty())
        mList->selectionModel()->select(kept, QItemSelectionModel::ClearAndSelect);
}

void LibraryBrowser::showVanished(const QString &path, const core::Error &reason)
{
    mState.CurrentLibrary.reset();
    {
        const QSignalBlocker quiet(mList);
        mList->clear();
    }
    showNothingOpen();
    showOnPathBox(path, errorReasonText(reason, languageOf(mState.LanguageCode)));
}

} // namespace quarvel
