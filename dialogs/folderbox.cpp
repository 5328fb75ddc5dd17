#include "folderbox.h"

#include "captions.h"
#include "dialogpaths.h"
#include "dialogresizer.h"
#include "dialogtexts.h"
#include "filelistpane.h"
#include "frmfav.h"
#include "twips.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QWidget>

#include <algorithm>

// The favourites picture is the main window's, so the command looks the same
// in every window.
static void initMainIcons()
{
    Q_INIT_RESOURCE(icons);
}

namespace quarvel {

QToolButton *makePictureButton(QWidget *owner, const char *name, const QIcon &icon, float left)
{
    auto *b = new QToolButton(owner);
    b->setObjectName(QLatin1String(name));
    b->setIcon(icon);
    b->setGeometry(twipsRect(left, 120, 375, 375));
    return b;
}

FolderBox::FolderBox(AppState &state, Prompts &prompts, QWidget *owner, float boxWidth)
    : QObject(owner)
    , mState(state)
    , mPrompts(prompts)
{
    initMainIcons();
    mFolderPicker = [this, owner](const QString &start) { return ShowFolderPicker(mState, start, owner); };
    mFavoritesPicker = [this, &prompts, owner] { return ShowFavorites(mState, prompts, owner); };

    // The buttons keep the spacing of the original layout whatever the
    // box's width.
    const float getDirLeft = 120 + boxWidth + 75;
    mPath = new QComboBox(owner);
    mPath->setObjectName(QStringLiteral("cboPath"));
    mPath->setEditable(true);
    mPath->setInsertPolicy(QComboBox::NoInsert);
    mPath->setGeometry(twipsRect(120, 150, boxWidth, 315));

    mGetDir = new QPushButton(QStringLiteral("..."), owner);
    mGetDir->setObjectName(QStringLiteral("cmdGetDir"));
    mGetDir->setAutoDefault(false);
    mGetDir->setGeometry(twipsRect(getDirLeft, 150, 315, 315));

    mUp = makePictureButton(owner, "cmdUpPth", owner->style()->standardIcon(QStyle::SP_FileDialogToParent),
                            getDirLeft + 435);
    mFav = makePictureButton(owner, "cmdFav", QIcon(QStringLiteral(":/icons/favorites.svg")), getDirLeft + 960);

    connect(mPath, &QComboBox::activated, this, [this](int position) {
        mRecent.select(position);
        navigate(mPath->itemText(position));
    });
    mPath->lineEdit()->installEventFilter(this);
    connect(mGetDir, &QPushButton::clicked, this, &FolderBox::pickFolder);
    connect(mUp, &QToolButton::clicked, this, &FolderBox::goUp);
    connect(mFav, &QToolButton::clicked, this, &FolderBox::lookInFavorites);
}

void FolderBox::addViewButtons(float left)
{
    auto *owner = static_cast<QWidget *>(parent());
    mList = makePictureButton(owner, "Option1", owner->style()->standardIcon(QStyle::SP_FileDialogListView), left);
    mDetails = makePictureButton(owner, "Option2", owner->style()->standardIcon(QStyle::SP_FileDialogDetailedView),
                                 left + 375);
    auto *views = new QButtonGroup(this);
    for (QToolButton *option : {mList, mDetails}) {
        option->setCheckable(true);
        views->addButton(option);
    }
    connect(views, &QButtonGroup::buttonClicked, this, [this] {
        mFiles->setViewStyle(mList->isChecked() ? FileListPane::List : FileListPane::Details);
    });
}

void FolderBox::setFileList(FileListPane *files)
{
    mFiles = files;
    connect(mFiles, &FileListPane::itemActivated, this, &FolderBox::openItem);
    // The box shows the list's folder at all times, however the list got
    // there, and the recent folders record it.
    connect(mFiles, &FileListPane::folderChanged, this, [this] {
        mRecent.choose(folder());
        showFolderBox();
    });
}

bool FolderBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mPath->lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            goToTyped();
            return true;   // Enter here is not the dialog's accept
        }
    }
    return QObject::eventFilter(watched, event);
}

void FolderBox::goToTyped()
{
    const QString typed = mPath->currentText().trimmed();
    if (typed.isEmpty())
        return;
    if (!IsExistingFolder(typed)) {
        mPrompts.message(directoryNotFoundMessage(languageOf(mState.LanguageCode), typed));
        showFolderBox();
        return;
    }
    chooseFolder(QDir::toNativeSeparators(QDir::cleanPath(typed)));
}

void FolderBox::showListView()
{
    mList->setChecked(true);
    mFiles->setViewStyle(FileListPane::List);
}

void FolderBox::anchorTo(DialogResizer &resizer, float share)
{
    resizer.anchor(mPath, {0, 0, share, 0});
    for (QWidget *button : std::initializer_list<QWidget *>{mGetDir, mUp, mFav, mList, mDetails}) {
        if (button)
            resizer.anchor(button, {share, 0, 0, 0});
    }
}

void FolderBox::setToolTips(const QString &getDir, const QString &favorites)
{
    mGetDir->setToolTip(getDir);
    mFav->setToolTip(favorites);
}

QString FolderBox::folder() const
{
    return QDir::toNativeSeparators(mFiles->folder());
}

// The file list refuses a folder it cannot show; the dialog goes on with the
// folder it had.
bool FolderBox::navigate(const QString &folder)
{
    if (folder.isEmpty() || !IsExistingFolder(folder))
        return false;
    if (folder != this->folder())
        mFiles->setFolder(folder);
    return true;
}

void FolderBox::loadHistory()
{
    mRecent.load(mState.SettingsFile);
    showFolderBox();
    // Loading selects each stored folder in key order, and each selection
    // navigates: the folder shown at the end is the last of them that the
    // file list took, the topmost one that exists.
    const QStringList &entries = mRecent.entries();
    const auto shown = std::find_if(entries.cbegin(), entries.cend(), [](const QString &f) { return IsExistingFolder(f); });
    if (shown != entries.cend())
        navigate(*shown);
}

void FolderBox::writeHistory() const
{
    mRecent.write(mState.SettingsFile);
}

void FolderBox::setCurrentDir(const QString &folder)
{
    navigate(folder);
    const QString shown = this->folder();
    if (!shown.isEmpty())
        chooseFolder(shown);
}

void FolderBox::showFolderBox()
{
    const QSignalBlocker quiet(mPath);
    mPath->clear();
    mPath->addItems(mRecent.entries());
    mPath->setCurrentIndex(mRecent.selected());
}

void FolderBox::chooseFolder(const QString &folder)
{
    const int selected = mRecent.choose(folder);
    showFolderBox();
    navigate(mRecent.entries().at(selected));
}

void FolderBox::goUp()
{
    navigate(GetUpDir(folder()));
}

void FolderBox::lookInFavorites()
{
    if (mOffersFolder)
        mState.DialogFolder = folder();
    const QString folder = mFavoritesPicker();
    if (!folder.isEmpty())
        chooseFolder(folder);
}

void FolderBox::pickFolder()
{
    const QString folder = mFolderPicker(mPath->currentText());
    if (folder.size() >= 2)
        chooseFolder(folder);
}

void FolderBox::openItem(const QString &item)
{
    navigate(JoinPath(folder(), NameOfPath(QDir::toNativeSeparators(item))));
}

} // namespace quarvel
