#include "frmexplore.h"

#include "captions.h"
#include "dialogpaths.h"
#include "dialogresizer.h"
#include "dialogtexts.h"
#include "filelistpane.h"
#include "filetypeset.h"
#include "metafileview.h"
#include "slidelibrary.h"
#include "slidespec.h"
#include "slideview.h"
#include "twips.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

#include <algorithm>
#include <limits>

namespace quarvel {

FrmExplore::FrmExplore(AppState &state, Prompts &prompts, QWidget *parent)
    : QDialog(parent)
    , mState(state)
    , mPrompts(prompts)
{
    setObjectName(QStringLiteral("frmExplore"));
    resize(twipsSize(8370, 4215));
    buildControls();
    // Larger, the dialog shares its gain in width between the file list and
    // the preview; the gain in height goes to both.
    auto *resizer = new DialogResizer(this, mState.SettingsFile);
    mFolders->anchorTo(*resizer, 1);
    resizer->anchor(mNewDir, {1, 0, 0, 0});
    resizer->anchor(mFiles, {0, 0, 0.5f, 1});
    for (QWidget *preview : std::initializer_list<QWidget *>{mSlide, mPicture})
        resizer->anchor(preview, {0.5f, 0, 0.5f, 1});
    resizer->anchor(mSlides, {0.5f, 1, 0.5f, 0});
    for (QWidget *label : std::initializer_list<QWidget *>{mFileNameLabel, mFileTypeLabel})
        resizer->anchor(label, {0, 1, 0, 0});
    for (QWidget *box : std::initializer_list<QWidget *>{mFileNameBox, mFileType})
        resizer->anchor(box, {0, 1, 0.5f, 0});
    for (QWidget *button : std::initializer_list<QWidget *>{mAccept, mCancel})
        resizer->anchor(button, {0.5f, 1, 0, 0});
    resizer->restoreSize();
    setOperation(0);

    // Load.
    mFileNameBox->clear();
    mAccept->setEnabled(false);
    mFolders->showListView();
    mFolders->loadHistory();
}

FrmExplore::~FrmExplore() = default;

void FrmExplore::buildControls()
{
    mFolders = new FolderBox(mState, mPrompts, this, 5325);
    mFolders->setOffersFolderToFavorites(true);
    mNewDir = makePictureButton(this, "cmdNewDir", style()->standardIcon(QStyle::SP_FileDialogNewFolder), 6960);
    mFolders->addViewButtons(7515);

    mFiles = new FileListPane(this);
    mFiles->setObjectName(QStringLiteral("ExplorerList1"));
    mFiles->setGeometry(twipsRect(120, 600, 5295, 2055));
    mFolders->setFileList(mFiles);

    mSlide = new SlideView(this);
    mSlide->setObjectName(QStringLiteral("Slide1"));
    mSlide->setNameCodec(NameCodec(mState.NameCodePage));
    mSlide->setGeometry(twipsRect(5520, 600, 2730, 2055));
    mPicture = new MetafileView(this);
    mPicture->setObjectName(QStringLiteral("Picture1"));
    mPicture->setBackColor(mSlide->viewBackColor());
    mPicture->setGeometry(mSlide->geometry());
    mPicture->hide();

    mSlides = new QListWidget(this);
    mSlides->setObjectName(QStringLiteral("List1"));
    mSlides->setUniformItemSizes(true);   // keeps long slide lists fast
    mSlides->setGeometry(twipsRect(5520, 2640, 2730, 1425));
    mSlides->setEnabled(false);

    mFileNameLabel = new QLabel(this);
    mFileNameLabel->setObjectName(QStringLiteral("lblFileName"));
    mFileNameLabel->setGeometry(twipsRect(120, 2865, 1395, 255));
    mFileNameBox = new QLineEdit(this);
    mFileNameBox->setObjectName(QStringLiteral("txtFileName"));
    mFileNameBox->setGeometry(twipsRect(1560, 2805, 3855, 315));
    mFileTypeLabel = new QLabel(this);
    mFileTypeLabel->setObjectName(QStringLiteral("lblFileType"));
    mFileTypeLabel->setGeometry(twipsRect(120, 3345, 1395, 255));
    mFileType = new QComboBox(this);
    mFileType->setObjectName(QStringLiteral("cboFileType"));
    mFileType->setGeometry(twipsRect(1560, 3285, 3855, 315));

    mAccept = new QPushButton(this);
    mAccept->setObjectName(QStringLiteral("cmdSave"));
    mAccept->setDefault(true);
    mAccept->setGeometry(twipsRect(2880, 3720, 1215, 375));
    mCancel = new QPushButton(this);
    mCancel->setObjectName(QStringLiteral("CancelButton"));
    mCancel->setGeometry(twipsRect(4200, 3720, 1215, 375));

    connect(mNewDir, &QToolButton::clicked, this, &FrmExplore::makeNewFolder);
    connect(mFiles, &FileListPane::itemSelected, this, [this](const QString &item) { selectItem(item); });
    // A double click on a file accepts it (one on a folder opens it).
    connect(mFiles, &FileListPane::itemActivated, this, [this](const QString &item) {
        if (listItemKind(item) != ListItem::Folder) {
            selectItem(item);
            accept();
        }
    });
    connect(mSlides, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            slideChosen();
    });
    connect(mFileNameBox, &QLineEdit::textChanged, this,
            [this](const QString &text) { mAccept->setEnabled(!text.isEmpty()); });
    connect(mFileType, &QComboBox::currentIndexChanged, this, &FrmExplore::fileTypeChosen);
    connect(mAccept, &QPushButton::clicked, this, &FrmExplore::accept);
    connect(mCancel, &QPushButton::clicked, this, &FrmExplore::reject);
}

// ---- Properties --------------------------------------------------------

bool FrmExplore::setFileTypes(qint16 vNewValue)
{
    mFileTypes = vNewValue;
    const QSignalBlocker quiet(mFileType);
    mFileType->clear();
    const std::optional<FileTypeSet> set = fileTypeSet(vNewValue);
    if (!set)
        return false;
    mFiles->model().setNameFilters({set->filter});
    mFileType->addItems(set->entries);
    mDefaultExtension = set->defaultExtension;
    mFileType->setCurrentIndex(0);
    fileTypeChosen(0);
    return true;
}

void FrmExplore::setCurrentDir(const QString &vNewValue)
{
    mFolders->setCurrentDir(vNewValue);
}

QString FrmExplore::currentDir() const
{
    return listFolder();
}

void FrmExplore::setFileName(const QString &vNewValue)
{
    mFileName = vNewValue;
    mFileNameBox->setText(vNewValue);
}

void FrmExplore::setOperation(qint32 vNewValue)
{
    mOperation = vNewValue;
    const ExploreCaptions c = exploreCaptions(languageOf(mState.LanguageCode), isSave());
    setWindowTitle(c.title);
    mAccept->setText(c.accept);
    mFileNameLabel->setText(c.fileNameLabel);
    mFileTypeLabel->setText(c.fileTypeLabel);
    mCancel->setText(c.cancel);
    mFolders->setToolTips(c.getDirTip, c.favoritesTip);
    mNewDir->setToolTip(c.newFolderTip);
    mNewDir->setEnabled(isSave());
    mFiles->applyLanguage(languageOf(mState.LanguageCode));
}

// ---- Folders -----------------------------------------------------------

void FrmExplore::makeNewFolder()
{
    if (!isSave())
        return;
    const Language lang = languageOf(mState.LanguageCode);
    const InputText ask = newFolderInput(lang);
    const std::optional<QString> name = mPrompts.input(ask.prompt, ask.title, ask.defaultText);
    if (!name || name->isEmpty())
        return;
    if (hasForbiddenNameCharacter(*name)) {
        mPrompts.message(invalidFolderNameMessage(lang));
        return;
    }
    QString failed;
    if (!MakeFolderPath(JoinPath(listFolder(), *name), &failed)) {
        QString parent;
        const FolderFailure why = whyFolderNotCreated(failed, &parent);
        mPrompts.message(folderNotCreatedMessage(lang, QDir::toNativeSeparators(failed), why, parent));
    }
    // The folder shown stays; the new folder appears in its list.
    mFiles->refresh();
}

// ---- File types --------------------------------------------------------

void FrmExplore::fileTypeChosen(int index)
{
    const FileTypeChoice choice = fileTypeChoice(mFileType->itemText(index));
    if (choice.filter)
        mFiles->model().setNameFilters({*choice.filter});
    if (choice.defaultExtension)
        mDefaultExtension = *choice.defaultExtension;
    if (choice.slideListVisible)
        mSlides->setVisible(*choice.slideListVisible);
    if (!listFolder().isEmpty())
        mFiles->refresh();
}

// ---- Preview -----------------------------------------------------------

void FrmExplore::selectItem(const QString &item)
{
    const QString path = QDir::toNativeSeparators(item);
    if (mFiles->selectedPath() != item)
        mFiles->setSelectedPath(item);
    const ListItem kind = listItemKind(path);
    const bool extension = kind == ListItem::SlideFile
                           || (kind == ListItem::Metafile && path.size() >= 4 && path.at(path.size() - 4) == u'.');
    if (extension)
        mFileNameBox->setText(GetShotName(path));
    if (kind == ListItem::Metafile) {
        // A metafile that cannot be read leaves the picture empty.
        mPicture->setPicture(path);
        mPicture->show();
        mSlide->hide();
        mSlides->clear();
        mSlides->setEnabled(false);
    } else if (extension) {
        mPicture->hide();
        mSlide->show();
        mSlides->setEnabled(true);
        GetSldList(path);
    } else {
        const QSignalBlocker quiet(mSlides);
        mSlides->clear();
        mSlides->setEnabled(false);
        mSlide->setSlideFile(QString());
    }
}

void FrmExplore::GetSldList(const QString &strLibeName)
{
    mPreview = std::make_unique<SlideLibrary>(NameCodec(mState.NameCodePage));
    if (strLibeName.isEmpty())
        return;
    {
        const QSignalBlocker quiet(mSlides);
        mSlides->clear();
    }
    mSlides->setEnabled(true);
    mPreview->setLibraryFile(strLibeName);
    const int count = std::min(mPreview->slideCount(), int(std::numeric_limits<qint16>::max()));
    const Language lang = languageOf(mState.LanguageCode);
    if (fileKindOf(strLibeName) == FileKind::Library) {
        QStringList names;
        for (int i = 0; i < count; ++i)
            names << (mState.CurrentSlideName = mPreview->slideName(i));
        {
            const QSignalBlocker quiet(mSlides);
            mSlides->addItems(names);
        }
        if (mSlides->count() > 0) {
            mSlides->setCurrentRow(0);   // shows the first slide
            return;
        }
        if (!isSave()) {
            const MessageText m = notLibraryMessage(lang, strLibeName);
            mPrompts.message({PromptIcon::Critical, m.text, m.title});
            mSlides->clear();
            mSlides->setEnabled(false);
            clearPreview();
        }
        return;
    }
    mState.CurrentSlideName = mPreview->slideName(0);
    if (mState.CurrentSlideName.isEmpty()) {
        if (!isSave()) {
            const MessageText m = notSlideMessage(lang, strLibeName);
            mPrompts.message({PromptIcon::Critical, m.text, m.title});
            mSlides->setEnabled(false);
            clearPreview();
        }
        return;
    }
    ShowSld(strLibeName, mState.CurrentSlideName);
    mSlides->setEnabled(false);
}

void FrmExplore::ShowSld(const QString &strLibeName, const QString &strSldName)
{
    mState.CurrentSlideSpec =
        fileKindOf(strLibeName) == FileKind::Library ? makeSlideSpec(strLibeName, strSldName) : strLibeName;
    mSlide->setSlideFile(mState.CurrentSlideSpec);
}

// The entries of List1 are the slides of the library on preview.
void FrmExplore::slideChosen()
{
    if (mPreview && mSlides->currentItem())
        ShowSld(mPreview->libraryFile(), mSlides->currentItem()->text());
}

void FrmExplore::clearPreview()
{
    mSlide->setSlideFile(QString());
    mFileNameBox->clear();
}

// ---- Accept and cancel -------------------------------------------------

void FrmExplore::accept()
{
    // The accept button is off while the name box is empty; an empty name
    // would make a hidden file of the bare extension.
    if (mFileNameBox->text().isEmpty())
        return;
    const QString path = chosenFilePath(listFolder(), mFileNameBox->text(), mDefaultExtension, mFiles->selectedPath());
    mFileName = path;
    const Language lang = languageOf(mState.LanguageCode);
    if (!isSave()) {
        if (FileExists(path)) {
            mFolders->writeHistory();
            QDialog::accept();
            return;
        }
        if (mPrompts.message(fileNotFoundQuestion(lang, path)) == Answer::Ok) {
            mFileName.clear();
            return;
        }
        mFileNameBox->clear();
        mFileName.clear();
        QDialog::reject();
        return;
    }
    if (FileExists(path)) {
        if (mPrompts.message(overwriteQuestion(lang, path)) == Answer::Yes)
            QDialog::accept();
        else
            mFileName.clear();
        return;
    }
    mFolders->writeHistory();
    QDialog::accept();
}

void FrmExplore::reject()
{
    mFileName.clear();
    QDialog::reject();
}

} // namespace quarvel
