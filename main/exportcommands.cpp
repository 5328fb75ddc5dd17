#include "exportcommands.h"

#include "captions.h"
#include "errortexts.h"
#include "featuretexts.h"
#include "filelistpane.h"
#include "paths.h"
#include "renderer.h"
#include "core/filenames.h"
#include "slideerror.h"
#include "slideexport.h"
#include "slidelibrary.h"
#include "slideview.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QListWidget>
#include <QMimeData>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QUrl>

namespace quarvel {

ExportCommands::ExportCommands(AppState &state, Prompts &prompts, MainDialogs &dialogs, QWidget *window,
                               FileListPane *files, QListWidget *list, SlideView *slide)
    : mState(state)
    , mPrompts(prompts)
    , mDialogs(dialogs)
    , mWindow(window)
    , mFiles(files)
    , mList(list)
    , mSlide(slide)
{
}

ExportCommands::~ExportCommands() = default;

void ExportCommands::exportFailed(const SlideError &error)
{
    const Language lang = languageOf(mState.LanguageCode);
    showMessage(mPrompts, failureMessage(lang, FailedAction::ExportSlide, errorText(error, lang)));
}

QString ExportCommands::saveDialog(const QString &offered, int fileTypes)
{
    return ShowSaveDialog(mState, [this](const ExploreRequest &r) { return mDialogs.explore(r); }, mFiles->folder(),
                          offered, fileTypes);
}

void ExportCommands::exportToSld()
{
    if (!mState.CurrentLibrary || !mList->currentItem())
        return;
    const QString path = saveDialog(mList->currentItem()->text(), SlideFiles);
    if (path.isEmpty())
        return;
    try {
        mState.CurrentLibrary->exportToSld(path, mList->currentRow());
    } catch (const SlideError &e) {
        exportFailed(e);
    }
    mFiles->refresh();
}

void ExportCommands::exportToWmf()
{
    exportShownSlide(MetafileFiles, [this](const SlideLibrary &library, int index, const QString &path) {
        library.exportToWmf(path, index, mSlide->viewBackColor());
    });
}

void ExportCommands::exportToDxf()
{
    exportShownSlide(DxfFiles, [](const SlideLibrary &library, int index, const QString &path) {
        ExportChoice choice;
        choice.format = ExportChoice::Format::Dxf;
        exportSlide(library, index, path, choice);
    });
}

// The slide on view, under the name of its file (a single slide) or its
// library entry, written by write after the save dialog.
void ExportCommands::exportShownSlide(int fileTypes,
                                      const std::function<void(const SlideLibrary &, int, const QString &)> &write)
{
    if (!mState.CurrentLibrary)
        return;
    const QString selected = mFiles->selectedPath();
    const bool single = fileKindOf(selected) == FileKind::Slide;
    const QString offered = single ? GetShotName(selected) : (mList->currentItem() ? mList->currentItem()->text() : QString());
    const QString path = saveDialog(offered, fileTypes);
    if (path.isEmpty())
        return;
    try {
        if (single) {
            SlideLibrary shown(NameCodec(mState.NameCodePage));
            shown.setLibraryFile(mSlide->slideFile());
            write(shown, 0, path);
        } else {
            write(*mState.CurrentLibrary, mList->currentRow(), path);
        }
    } catch (const SlideError &e) {
        exportFailed(e);
    }
    mFiles->refresh();
}

void ExportCommands::exportSlides(const QList<int> &selected)
{
    const SlideLibrary *library = mState.CurrentLibrary.get();
    if (!library || library->kind() != SlideLibrary::Kind::Library)
        return;
    ExportOffer offer;
    offer.selectedCount = int(selected.size());
    offer.slideCount = library->slideCount();
    offer.folder = mFiles->folder();
    if (mSlide->hasSlide())
        offer.aspect = mSlide->slideHeader().drawingAspect();
    const std::optional<ExportChoice> choice = mDialogs.exportChoice(offer);
    if (!choice)
        return;
    QList<int> rows = selected;
    if (choice->wholeLibrary || rows.isEmpty()) {
        rows.clear();
        for (int i = 0; i < library->slideCount(); ++i)
            rows << i;
    }
    const QStringList paths = exportPaths(*library, rows, *choice);
    const Language lang = languageOf(mState.LanguageCode);
    const auto existing = std::count_if(paths.begin(), paths.end(), [](const QString &p) { return QFileInfo::exists(p); });
    bool overwrite = true;
    if (existing > 0) {
        const MessageText q = exportOverwriteQuestion(lang, int(existing), QDir::toNativeSeparators(choice->folder));
        const Answer answer = mPrompts.message({PromptIcon::Question, q.text, q.title, true});
        if (answer == Answer::Cancel)
            return;
        overwrite = answer == Answer::Yes;
    }
    QDir().mkpath(choice->folder);
    // A long export shows its progress and can be stopped between slides.
    std::unique_ptr<QProgressDialog> progress;
    if (rows.size() > 100) {
        progress = std::make_unique<QProgressDialog>(exportProgressText(lang), cancelText(lang), 0, int(rows.size()), mWindow);
        progress->setWindowTitle(QString::fromLatin1(kProgramName));
        progress->setWindowModality(Qt::WindowModal);
        progress->setMinimumDuration(0);
    }
    for (int i = 0; i < rows.size(); ++i) {
        if (progress) {
            progress->setValue(i);
            if (progress->wasCanceled())
                break;
        }
        if (!overwrite && QFileInfo::exists(paths[i]))
            continue;
        try {
            exportSlide(*library, rows[i], paths[i], *choice);
        } catch (const SlideError &e) {
            exportFailed(e);
            break;
        }
    }
    mFiles->refresh();
}

std::unique_ptr<QMimeData> ExportCommands::slidesAsFiles(const QList<int> &rows)
{
    const SlideLibrary *library = mState.CurrentLibrary.get();
    if (!library || library->kind() != SlideLibrary::Kind::Library || rows.isEmpty())
        return nullptr;
    if (!mDragFolder)
        mDragFolder = std::make_unique<QTemporaryDir>();
    // A folder per drag: a file manager may still be copying the last one.
    const QString folder = mDragFolder->filePath(QString::number(++mDrags));
    QList<QUrl> urls;
    core::UniqueFileNames names(".sld");
    try {
        if (!mDragFolder->isValid() || !QDir().mkpath(folder))
            throw SlideError(QDir::toNativeSeparators(folder), QStringLiteral("cannot create the folder"));
        for (int row : rows) {
            const QString path =
                QDir(folder).filePath(QString::fromStdString(names.nameFor(library->slideName(row).toStdString())));
            library->exportToSld(path, row);
            urls << QUrl::fromLocalFile(path);
        }
    } catch (const SlideError &e) {
        exportFailed(e);
        return nullptr;
    }
    auto data = std::make_unique<QMimeData>();
    data->setUrls(urls);
    return data;
}

void ExportCommands::copyPicture()
{
    if (!mSlide->hasSlide() || !mSlide->isVisible())
        return;
    QSize size = mSlide->size();
    if (size.width() < 16 || size.height() < 16)
        size = QSize(640, 480);
    const QColor background = mSlide->viewBackColor();
    auto *data = new QMimeData;
    data->setImageData(renderToImage(mSlide->slideHeader(), mSlide->slideDrawing(), size, background));
    // Either form may be missing when memory runs out; the other still goes.
    if (const QByteArray svg = renderToSvg(mSlide->slideHeader(), mSlide->slideDrawing(), size, background); !svg.isEmpty())
        data->setData(QStringLiteral("image/svg+xml"), svg);
    QGuiApplication::clipboard()->setMimeData(data);
}

} // namespace quarvel
