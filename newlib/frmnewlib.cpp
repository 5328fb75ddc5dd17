#include "frmnewlib.h"

#include "dialogpaths.h"
#include "dialogresizer.h"
#include "filelistpane.h"
#include "listgrid.h"
#include "newlibtexts.h"
#include "slidelibrary.h"
#include "slidespec.h"
#include "slideview.h"
#include "twips.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>

namespace quarvel {

namespace {

// Work over many items: when the list is long, a progress dialog modal to the
// builder from the first item on, and the events handled between items, so
// that the windows repaint and the progress dialog's Cancel is heard.
class LongWork
{
public:
    LongWork(QWidget *owner, const QString &label, const QString &cancel, int total)
    {
        if (total <= FrmNewLib::kProgressFrom)
            return;
        mProgress = std::make_unique<QProgressDialog>(label, cancel, 0, total, owner);
        mProgress->setWindowTitle(QString::fromUtf16(kProgramTitle));
        mProgress->setWindowModality(Qt::WindowModal);
        mProgress->setAutoClose(false);
        mProgress->setAutoReset(false);
        mProgress->setMinimumDuration(0);
        mProgress->show();
        QCoreApplication::processEvents();
        mSinceEvents.start();
    }

    // done items are finished; false once the user has cancelled.
    bool advance(int done)
    {
        if (!mProgress)
            return true;
        // Repainting after every item would cost more than the items
        // themselves; a few times a second keeps the windows live.
        if (mSinceEvents.elapsed() >= kEventsEveryMs || done >= mProgress->maximum()) {
            mProgress->setValue(done);
            QCoreApplication::processEvents();
            mSinceEvents.restart();
        }
        return !mProgress->wasCanceled();
    }

    // Before a message, so that the message is not hidden behind it.
    void close() { mProgress.reset(); }

private:
    static constexpr qint64 kEventsEveryMs = 40;

    std::unique_ptr<QProgressDialog> mProgress;
    QElapsedTimer mSinceEvents;
};

QTableWidgetItem *gridCell(const QString &text)
{
    auto *cell = new QTableWidgetItem(text);
    cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return cell;
}

} // namespace

FrmNewLib::FrmNewLib(AppState &state, Prompts &prompts, QWidget *parent)
    : QDialog(parent)
    , mState(state)
    , mPrompts(prompts)
{
    setObjectName(QStringLiteral("frmNewLib"));
    resize(twipsSize(7335, 5280));
    mChosen.setCodec(NameCodec(mState.NameCodePage));
    buildControls();
    // Larger, the file list and the grid take most of the gain in width and
    // the preview the rest; the gain in height is shared between the top
    // and the bottom half.
    auto *resizer = new DialogResizer(this, mState.SettingsFile);
    mFolders->anchorTo(*resizer, 1);
    resizer->anchor(mFiles, {0, 0, 0.6f, 0.5f});
    resizer->anchor(mSlide, {0.6f, 0, 0.4f, 0.5f});
    resizer->anchor(mGrid, {0, 0.5f, 0.6f, 0.5f});
    for (QWidget *button : std::initializer_list<QWidget *>{mAdd, mAddAll, mRemove, mRemoveAll})
        resizer->anchor(button, {0.6f, 0.5f, 0.4f, 0});
    for (QWidget *button : std::initializer_list<QWidget *>{mCreate, mCancel})
        resizer->anchor(button, {1, 1, 0, 0});
    resizer->restoreSize();

    // Load.
    mNewLib.reset();
    mGrid->setRowCount(0);
    mGrid->setColumnWidth(0, twipsSize(1300, 0).width());
    // The path column fills the grid; a path too long for it keeps both its
    // ends, and shows in full as the cell's tooltip.
    mGrid->horizontalHeader()->setStretchLastSection(true);
    mGrid->setTextElideMode(Qt::ElideMiddle);
    mFolders->showListView();
    mFolders->loadHistory();
    applyCaptions();
    mAdd->setEnabled(false);
    mRemove->setEnabled(false);
    mRemoveAll->setEnabled(false);
    mCreate->setEnabled(false);
    mGrid->setEnabled(false);
}

FrmNewLib::~FrmNewLib() = default;

void FrmNewLib::buildControls()
{
    // Unlike the file dialog, the builder does not offer its own folder to
    // the favourites as the active one.
    mFolders = new FolderBox(mState, mPrompts, this, 4245);
    mFolders->addViewButtons(6435);

    mFiles = new FileListPane(this);
    mFiles->setObjectName(QStringLiteral("ExplorerList1"));
    mFiles->model().setNameFilters({QStringLiteral("*.sld")});
    mFiles->setGeometry(twipsRect(120, 600, 4215, 2055));
    mFolders->setFileList(mFiles);

    mSlide = new SlideView(this);
    mSlide->setObjectName(QStringLiteral("Slide1"));
    mSlide->setNameCodec(NameCodec(mState.NameCodePage));
    mSlide->setGeometry(twipsRect(4440, 600, 2730, 2040));

    mGrid = new QTableWidget(0, 2, this);
    mGrid->setObjectName(QStringLiteral("flexNewLibeSlides"));
    mGrid->setGeometry(twipsRect(120, 2760, 4215, 2415));
    setUpListGrid(mGrid);
    // Rows of one text line, as a long list needs.
    mGrid->verticalHeader()->setDefaultSectionSize(mGrid->fontMetrics().height() + 6);
    mGrid->viewport()->installEventFilter(this);

    auto button = [this](const char *name, float left, float top, float width) {
        auto *b = new QPushButton(this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        b->setGeometry(twipsRect(left, top, width, 375));
        return b;
    };
    mAdd = button("cmdAdd", 4440, 2760, 2775);
    mAddAll = button("cmdAddAll", 4440, 3240, 2775);
    mRemove = button("cmdRemove", 4440, 3720, 2775);
    mRemoveAll = button("cmdRemoveAll", 4440, 4200, 2775);
    mCreate = button("cmdSave", 4440, 4800, 1215);
    mCreate->setDefault(true);
    mCancel = button("CancelButton", 6000, 4800, 1215);

    connect(mFiles, &FileListPane::itemSelected, this, &FrmNewLib::selectItem);
    // In another folder nothing is selected, so there is nothing to add.
    connect(mFiles, &FileListPane::folderChanged, this, [this] {
        mFileName.clear();
        mAdd->setEnabled(false);
    });
    // The list's own insertions and removals run with its signals blocked, so
    // only the user's choices arrive here.
    connect(mGrid, &QTableWidget::currentCellChanged, this, [this](int row, int, int previous, int) {
        if (row != previous && !mPressing)
            selectRow(row);
    });
    connect(mGrid, &QTableWidget::cellPressed, this, [this](int row, int) {
        mPressing = false;
        selectRow(row);
    });
    connect(mAdd, &QPushButton::clicked, this, &FrmNewLib::add);
    connect(mAddAll, &QPushButton::clicked, this, &FrmNewLib::addAll);
    connect(mRemove, &QPushButton::clicked, this, &FrmNewLib::remove);
    connect(mRemoveAll, &QPushButton::clicked, this, &FrmNewLib::removeAll);
    connect(mCreate, &QPushButton::clicked, this, &FrmNewLib::create);
    connect(mCancel, &QPushButton::clicked, this, &FrmNewLib::reject);
}

bool FrmNewLib::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mGrid->viewport()) {
        if (event->type() == QEvent::MouseButtonPress)
            mPressing = true;
        else if (event->type() == QEvent::MouseButtonRelease)
            mPressing = false;
    }
    return QDialog::eventFilter(watched, event);
}

void FrmNewLib::applyCaptions()
{
    const NewLibCaptions c = newLibCaptions(languageOf(mState.LanguageCode));
    setWindowTitle(c.title);
    mFolders->setToolTips(c.getDirTip, c.favoritesTip);
    mAdd->setText(c.add);
    mAddAll->setText(c.addAll);
    mRemove->setText(c.remove);
    mRemoveAll->setText(c.removeAll);
    mCreate->setText(c.create);
    mCancel->setText(c.cancel);
    mFiles->applyLanguage(languageOf(mState.LanguageCode));
}

// ---- Folders -----------------------------------------------------------

void FrmNewLib::setCurrentDir(const QString &vNewValue)
{
    mFolders->setCurrentDir(vNewValue);
}

QString FrmNewLib::currentDir() const
{
    return listFolder();
}

QStringList FrmNewLib::slideFilesOfFolder() const
{
    const QString folder = listFolder();
    if (folder.isEmpty())
        return {};
    return QDir(folder).entryList({QStringLiteral("*.sld")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

// ---- Preview -----------------------------------------------------------

void FrmNewLib::selectItem(const QString &item)
{
    const QString path = QDir::toNativeSeparators(item);
    // Only a slide file can be added; a folder is never one, whatever its
    // name ends with.
    const bool slide = listItemKind(path) == ListItem::SlideFile && fileKindOf(path) == FileKind::Slide;
    if (slide)
        GetSldList(path);
    mFileName = slide ? path : QString();
    mAdd->setEnabled(slide);
}

void FrmNewLib::GetSldList(const QString &strLibeName)
{
    mPreview = std::make_unique<SlideLibrary>(NameCodec(mState.NameCodePage));
    if (strLibeName.isEmpty())
        return;
    mPreview->setLibraryFile(strLibeName);
    const Language lang = languageOf(mState.LanguageCode);
    mState.CurrentSlideName = mPreview->slideName(0);
    if (mState.CurrentSlideName.isEmpty()) {
        message(previewNotSlideMessage(lang, strLibeName));
        mSlide->setSlideFile(QString());
        return;
    }
    ShowSld(strLibeName, mState.CurrentSlideName);
    // The view reports rather than throws; a named slide it cannot show is
    // the failure the preview names.
    if (!mSlide->hasSlide()) {
        message(previewNotLibraryMessage(lang, strLibeName));
        mSlide->setSlideFile(QString());
    }
}

void FrmNewLib::ShowSld(const QString &strLibeName, const QString &strSldName)
{
    mState.CurrentSlideSpec =
        fileKindOf(strLibeName) == FileKind::Library ? makeSlideSpec(strLibeName, strSldName) : strLibeName;
    mSlide->setSlideFile(mState.CurrentSlideSpec);
}

// ---- The list of chosen slides -------------------------------------------

void FrmNewLib::selectRow(int row)
{
    if (row >= 0 && row < mChosen.count()) {
        const QString path = mChosen.at(row).path;
        if (FileExists(path))
            GetSldList(path);
        else
            message(rowFileNotFoundMessage(languageOf(mState.LanguageCode), path));
    }
    mRemove->setEnabled(row >= 0);
    mRemoveAll->setEnabled(row >= 0);
}

void FrmNewLib::addToList(const QString &path, AddAllRun *run)
{
    const int row = mChosen.AddSldToList(path, mPrompts, languageOf(mState.LanguageCode), run);
    if (row < 0)
        return;
    const QSignalBlocker quiet(mGrid);
    mGrid->insertRow(row);
    mGrid->setItem(row, 0, gridCell(mChosen.at(row).name));
    QTableWidgetItem *pathCell = gridCell(path);
    pathCell->setToolTip(path);
    mGrid->setItem(row, 1, pathCell);
    mGrid->setCurrentCell(row, 0);
    mGrid->setEnabled(true);
}

void FrmNewLib::showRowsEnabled(bool enabled)
{
    mGrid->setEnabled(enabled);
    mCreate->setEnabled(enabled);
}

void FrmNewLib::updateCreate()
{
    showRowsEnabled(!mChosen.isEmpty());
}

void FrmNewLib::add()
{
    if (!mFileName.isEmpty()) {
        addToList(mFileName);
        mFileName.clear();
        mAdd->setEnabled(false);
    }
    updateCreate();
}

void FrmNewLib::addAll()
{
    const QString folder = listFolder();
    const QStringList files = slideFilesOfFolder();
    const NewLibCaptions c = newLibCaptions(languageOf(mState.LanguageCode));
    LongWork work(this, c.addingSlides, c.cancel, int(files.size()));
    AddAllRun run;
    for (int i = 0; i < files.size(); ++i) {
        addToList(JoinPath(folder, files.at(i)), &run);
        if (run.stopped || !work.advance(i + 1))
            break;
    }
    // Also for a folder without slides: Add All ends the Add candidate.
    mFileName.clear();
    mAdd->setEnabled(false);
    updateCreate();
}

void FrmNewLib::remove()
{
    const int row = mGrid->currentRow();
    if (row < 0 || row >= mChosen.count())
        return;
    {
        const QSignalBlocker quiet(mGrid);
        if (mChosen.count() >= 2) {
            mChosen.remove(row);
            mGrid->removeRow(row);
        } else {
            mChosen.clear();
            mGrid->setRowCount(0);
        }
        // Remove is off until the user picks a row again, so no row is
        // shown as picked either.
        mGrid->setCurrentItem(nullptr);
        mGrid->clearSelection();
    }
    updateCreate();
    mRemove->setEnabled(false);
    mRemoveAll->setEnabled(false);
    mSlide->setSlideFile(QString());
}

void FrmNewLib::removeAll()
{
    {
        const QSignalBlocker quiet(mGrid);
        mChosen.clear();
        mGrid->setRowCount(0);
    }
    showRowsEnabled(false);
    mRemove->setEnabled(false);
    mRemoveAll->setEnabled(false);
    ShowSld(QString(), QString());
}

// ---- Create and cancel ---------------------------------------------------

std::unique_ptr<SlideLibrary> FrmNewLib::CreateNewLib()
{
    auto library = std::make_unique<SlideLibrary>(NameCodec(mState.NameCodePage));
    const Language lang = languageOf(mState.LanguageCode);
    const NewLibCaptions c = newLibCaptions(lang);
    const int rows = mChosen.count();
    LongWork work(this, c.creatingLibrary, c.cancel, rows);
    // The library takes each slide at its end, so the list's last row
    // becomes the library's first slide.
    for (int row = rows - 1; row >= 0; --row) {
        const ChosenSlide slide = mChosen.at(row);   // a copy: events run between rows
        mSlide->setSlideFile(slide.path);
        if (const std::optional<AddFailure> failure = addChosenSlide(*library, slide, lang)) {
            work.close();
            message(slideNotAddedMessage(lang, slide.path, slide.name, *failure));
            mSlide->setSlideFile(QString());
            return nullptr;
        }
        if (!work.advance(rows - row))
            return nullptr;
    }
    return library;
}

void FrmNewLib::create()
{
    mNewLib = CreateNewLib();
    if (mNewLib)
        QDialog::accept();
}

void FrmNewLib::reject()
{
    mFileName.clear();
    mNewLib.reset();
    QDialog::reject();
}

std::unique_ptr<SlideLibrary> showNewLibrary(AppState &state, Prompts &prompts, QWidget *parent,
                                             const QString &startFolder)
{
    FrmNewLib dialog(state, prompts, parent);
    dialog.setCurrentDir(startFolder);
    dialog.exec();
    return dialog.takeNewLib();
}

} // namespace quarvel
