#include "frmgetdir.h"

#include "dialogpaths.h"
#include "dialogresizer.h"
#include "dialogtexts.h"
#include "filelistpane.h"
#include "twips.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>

namespace quarvel {

FrmGetDir::FrmGetDir(AppState &state, QWidget *parent)
    : QDialog(parent)
    , mState(state)
    , mTree(new FolderTreePane(this))
    , mSelected(new QLabel(this))
    , mOk(new QPushButton(this))
{
    setObjectName(QStringLiteral("frmGetDir"));
    resize(twipsSize(4695, 4935));
    const FolderPickerCaptions captions = folderPickerCaptions(languageOf(mState.LanguageCode));
    setWindowTitle(captions.title);

    auto *prompt = new QLabel(captions.prompt, this);
    prompt->setObjectName(QStringLiteral("lbl1"));
    prompt->setGeometry(twipsRect(120, 120, 4455, 255));
    mTree->setObjectName(QStringLiteral("ExplorerTree1"));
    mTree->setGeometry(twipsRect(120, 360, 4455, 3375));
    mSelected->setObjectName(QStringLiteral("Label1"));
    mSelected->setGeometry(twipsRect(120, 3840, 4455, 495));
    mSelected->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    mSelected->setWordWrap(true);
    mOk->setObjectName(QStringLiteral("cmdOK"));
    mOk->setText(captions.ok);
    mOk->setGeometry(twipsRect(2040, 4440, 1215, 375));
    mOk->setDefault(true);
    auto *cancel = new QPushButton(captions.cancel, this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    cancel->setGeometry(twipsRect(3360, 4440, 1215, 375));

    // Larger, the tree takes the gain.
    auto *resizer = new DialogResizer(this, mState.SettingsFile);
    resizer->anchor(prompt, {0, 0, 1, 0});
    resizer->anchor(mTree, {0, 0, 1, 1});
    resizer->anchor(mSelected, {0, 1, 1, 0});
    resizer->anchor(mOk, {1, 1, 0, 0});
    resizer->anchor(cancel, {1, 1, 0, 0});
    resizer->restoreSize();

    connect(mTree, &FolderTreePane::folderSelected, this, [this] { folderSelected(); });
    connect(mOk, &QPushButton::clicked, this, &FrmGetDir::accept);
    connect(cancel, &QPushButton::clicked, this, &FrmGetDir::reject);

    mState.FolderPickerResult.clear();
    if (!mState.DialogFolder.isEmpty()) {
        mTree->goToPath(mState.DialogFolder);
        // The folder shown at the start counts as selected, so the label
        // names it and OK follows the same rules as for a click.
        if (!mTree->currentFolder().isEmpty())
            folderSelected();
    }
}

QString FrmGetDir::currentFolder() const
{
    return QDir::toNativeSeparators(mTree->currentFolder());
}

void FrmGetDir::selectFolder(const QString &folder)
{
    mTree->goToPath(folder);
    folderSelected();
}

void FrmGetDir::folderSelected()
{
    const QString p = currentFolder();
    mOk->setEnabled(canChooseFolder(p));
    mSelected->setToolTip(p);
    mSelected->setText(CompactPath(p, 54));
}

void FrmGetDir::accept()
{
    mState.FolderPickerResult = currentFolder();
    QDialog::accept();
}

void FrmGetDir::reject()
{
    mState.FolderPickerResult.clear();
    QDialog::reject();
}

QString ShowFolderPicker(AppState &state, const QString &start, QWidget *parent)
{
    if (!start.isEmpty())
        state.DialogFolder = start;
    FrmGetDir picker(state, parent);
    picker.exec();
    return state.FolderPickerResult;
}

} // namespace quarvel
