#include "frmfav.h"

#include "dialogpaths.h"
#include "dialogresizer.h"
#include "dialogtexts.h"
#include "listgrid.h"
#include "twips.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace quarvel {

FrmFav::FrmFav(AppState &state, Prompts &prompts, QWidget *parent)
    : QDialog(parent)
    , mState(state)
    , mPrompts(prompts)
    , mList(state.SettingsFile)
    , mGrid(new QTableWidget(0, 2, this))
    , mSelected(new QLabel(this))
{
    setObjectName(QStringLiteral("frmFav"));
    resize(twipsSize(6480, 3495));
    mPicker = [this](const QString &start) { return ShowFolderPicker(mState, start, this); };
    const FavoriteCaptions captions = favoriteCaptions(languageOf(mState.LanguageCode));
    setWindowTitle(captions.title);

    auto *label = new QLabel(captions.folders, this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(twipsRect(120, 120, 2175, 255));

    mGrid->setObjectName(QStringLiteral("flexFav"));
    mGrid->setGeometry(twipsRect(120, 360, 4215, 2415));
    setUpListGrid(mGrid);
    // The path column fills the grid; a long path keeps both its ends.
    mGrid->setColumnWidth(0, twipsSize(1300, 0).width());
    mGrid->horizontalHeader()->setStretchLastSection(true);
    mGrid->setTextElideMode(Qt::ElideMiddle);

    mSelected->setObjectName(QStringLiteral("lblSelFolder"));
    mSelected->setGeometry(twipsRect(120, 3000, 4215, 255));

    auto button = [this](const char *name, const QString &caption, float top) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(twipsRect(4440, top, 1905, 375));
        b->setAutoDefault(false);
        return b;
    };
    mGoTo = button("cmdGoTo", captions.goTo, 360);
    QPushButton *add = button("cmdAdd", captions.add, 840);
    mAddActive = button("cmdAddActive", captions.addActive, 1320);
    mRemove = button("cmdDelete", captions.remove, 1920);
    QPushButton *removeAllButton = button("vmdRemoveAll", captions.removeAll, 2400);
    QPushButton *close = button("cmdClose", captions.close, 3000);

    // Larger, the grid takes the gain; the buttons keep to the right edge.
    auto *resizer = new DialogResizer(this, mState.SettingsFile);
    resizer->anchor(mGrid, {0, 0, 1, 1});
    resizer->anchor(mSelected, {0, 1, 1, 0});
    for (QWidget *b : std::initializer_list<QWidget *>{mGoTo, add, mAddActive, mRemove, removeAllButton})
        resizer->anchor(b, {1, 0, 0, 0});
    resizer->anchor(close, {1, 1, 0, 0});
    resizer->restoreSize();

    connect(mGrid, &QTableWidget::cellClicked, this, [this](int row) { clickRow(row); });
    connect(mGrid, &QTableWidget::cellDoubleClicked, this, [this] { goTo(); });
    connect(mGoTo, &QPushButton::clicked, this, &FrmFav::goTo);
    connect(add, &QPushButton::clicked, this, &FrmFav::addFolder);
    connect(mAddActive, &QPushButton::clicked, this, &FrmFav::addActiveFolder);
    connect(mRemove, &QPushButton::clicked, this, &FrmFav::removeFolder);
    connect(removeAllButton, &QPushButton::clicked, this, &FrmFav::removeAll);
    connect(close, &QPushButton::clicked, this, &FrmFav::reject);

    mState.FavoriteResult.clear();
    mActive = mState.DialogFolder;
    mList.load();
    fillGrid();
    showRowOrNone(0);
}

// The row shown as selected is the one Go To and Remove Folder work on.
void FrmFav::showRowOrNone(int row)
{
    if (mList.count() > 0) {
        clickRow(std::min(row, mList.count() - 1));
        return;
    }
    showSelected(QString());
}

void FrmFav::fillGrid()
{
    mGrid->clearContents();
    mGrid->setRowCount(mList.count());
    for (int row = 0; row < mList.count(); ++row) {
        const QString &folder = mList.folders().at(row);
        for (const auto &[column, text] : {std::pair{0, FavoriteList::displayName(folder)}, std::pair{1, folder}}) {
            auto *item = new QTableWidgetItem(text);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            mGrid->setItem(row, column, item);
        }
    }
}

void FrmFav::selectRow(int row)
{
    mGrid->setCurrentCell(row, 0);
    mGrid->selectRow(row);
}

int FrmFav::selectedRow() const
{
    const int row = mGrid->currentRow();
    return row < mList.count() ? row : -1;
}

// Every change of the label: it names the selected favourite (compacted, in
// full as its tooltip), and Go To and Remove Folder work only while it does.
void FrmFav::showSelected(const QString &folder)
{
    mSelected->setToolTip(folder);
    mSelected->setText(CompactPath(folder, 56));
    mGoTo->setEnabled(!folder.isEmpty());
    mRemove->setEnabled(!folder.isEmpty());
    updateAddActive();
}

void FrmFav::updateAddActive()
{
    // An empty active folder cannot be a favourite (see FavoriteList::add).
    mAddActive->setEnabled(!mActive.isEmpty() && mList.folderExist(mActive) == 0);
}

void FrmFav::clickRow(int row)
{
    if (mList.count() == 0 || row < 0 || row >= mList.count())
        return;
    selectRow(row);
    showSelected(mList.folders().at(row));
}

void FrmFav::goTo()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const QString folder = mList.folders().at(row);
    // A file or a pattern of that name would not do as a folder to go to.
    if (IsExistingFolder(folder)) {
        mState.FavoriteResult = folder;
        accept();
        return;
    }
    mPrompts.message(directoryNotFoundMessage(languageOf(mState.LanguageCode), folder));
}

void FrmFav::addFolder()
{
    const int row = selectedRow();
    const QString start = row >= 0 ? mList.folders().at(row) : mActive;
    const QString folder = mPicker(start);
    if (folder.isEmpty())
        return;
    if (isNetworkPath(folder)) {
        mPrompts.message(networkFolderMessage(languageOf(mState.LanguageCode)));
        return;
    }
    const int added = mList.add(folder);
    fillGrid();
    clickRow(added);
    mGrid->setFocus();
}

void FrmFav::addActiveFolder()
{
    const int added = mList.add(mActive);
    if (added < 0)
        return;
    fillGrid();
    clickRow(added);
    mGrid->setFocus();
}

void FrmFav::removeFolder()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    mList.remove(row);
    fillGrid();
    showRowOrNone(row);
}

void FrmFav::removeAll()
{
    mList.removeAll();
    fillGrid();
    showSelected(QString());
}

QString ShowFavorites(AppState &state, Prompts &prompts, QWidget *parent)
{
    FrmFav favorites(state, prompts, parent);
    favorites.exec();
    return state.FavoriteResult;
}

} // namespace quarvel
