#include "frmconfig.h"

#include "appstate.h"
#include "dialogresizer.h"
#include "inifile.h"
#include "namecodec.h"
#include "mdlregfunctions.h"
#include "paths.h"
#include "twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quarvel {

namespace {

const QString kSettings = QStringLiteral("Settings");
const QString kDirStartUp = QStringLiteral("DirStartUp");
const QString kDirLib = QStringLiteral("DirLib");
const QString kDirSld = QStringLiteral("DirSLD");
const QString kUseCapt = QStringLiteral("UseCapt");
const QString kNameCodePage = QStringLiteral("NameCodePage");

// The code pages of slide names by their Russian names (the dialog is in
// Russian only).
QString codePageCaption(int number)
{
    static const std::pair<int, const char *> kNames[] = {
        {437, "DOS, США"}, {850, "DOS, западноевропейская"}, {866, "DOS, кириллица"}, {874, "Тайская"},
        {932, "Японская"}, {936, "Китайская упрощённая"}, {949, "Корейская"}, {950, "Китайская традиционная"},
        {1250, "Центральноевропейская"}, {1251, "Кириллица"}, {1252, "Западноевропейская"}, {1253, "Греческая"},
        {1254, "Турецкая"}, {1255, "Иврит"}, {1256, "Арабская"}, {1257, "Балтийская"}, {1258, "Вьетнамская"}};
    for (const auto &[page, name] : kNames) {
        if (page == number)
            return QStringLiteral("%1 — %2").arg(number).arg(QString::fromUtf8(name));
    }
    return QString::number(number);
}

const QString kUse = QStringLiteral("Use");
const QString kNotUse = QStringLiteral("NotUse");

// Whether a folder box may be stored. An empty box passes, as the directory
// lookup lets it: it clears the setting, and the program falls back to its
// own folder (start-up) or to the folder on view (libraries, slides). A file
// or a wildcard pattern would pass a bare directory lookup too, but is no
// folder to start in or save to, and start-up would drop it again; it is
// refused like a folder that does not exist.
bool isUsableFolder(const QString &text)
{
    return text.isEmpty() || IsExistingFolder(text);
}

} // namespace

FrmConfig::FrmConfig(AppState &state, mdlRegFunctions &association, const QString &fileListFolder,
                     QWidget *parent)
    : QDialog(parent)
    , mState(state)
    , mAssociation(association)
    , mFileListFolder(fileListFolder)
{
    mPickFolder = [this](const QString &start) { return ShowFolderPicker(mState, start, this); };
    createControls();
    load();
    // Opens at the size its layout needs (or the size it last had); larger,
    // the folder boxes grow.
    adjustSize();
    (new DialogResizer(this, mState.SettingsFile))->restoreSize();
}

void FrmConfig::createControls()
{
    setObjectName(QStringLiteral("frmConfig"));
    setWindowTitle(QStringLiteral("Настройка программы"));
    setModal(true);

    // Laid out rather than placed, so that no caption is cut whatever font
    // the desktop uses; the designed widths are the least the boxes get.
    auto *frame = new QGroupBox(QStringLiteral("Папки, используемые по умолчанию"), this);
    frame->setObjectName(QStringLiteral("fraDir"));
    auto *rows = new QGridLayout(frame);

    // The three rows differ only in their names and caption.
    const auto addRow = [&](const char *name, const QString &caption) {
        const QString suffix = QString::fromLatin1(name);
        const int row = rows->rowCount();
        auto *label = new QLabel(caption, frame);
        label->setObjectName(QStringLiteral("lbl") + suffix);
        rows->addWidget(label, row, 0, 1, 2);

        auto *box = new QLineEdit(frame);
        box->setObjectName(QStringLiteral("txt") + suffix);
        box->setMinimumWidth(twipsSize(4215, 375).width());
        rows->addWidget(box, row + 1, 0);
        label->setBuddy(box);

        auto *browse = new QPushButton(QStringLiteral("Пролистать..."), frame);
        browse->setObjectName(QStringLiteral("cmd") + suffix);
        browse->setAutoDefault(false);
        rows->addWidget(browse, row + 1, 1);
        connect(browse, &QPushButton::clicked, this, [this, box] { this->browse(box); });
        return box;
    };
    mDirStart = addRow("DirStart", QStringLiteral("Начальная папка запуска:"));
    mDirLib = addRow("DirLib", QStringLiteral("Папка для сохранения Библиотек Слайдов:"));
    mDirSld = addRow("DirSLD", QStringLiteral("Папка для выбора Слайдов при создании Библиотек:"));

    // The "c" before the product name is the Latin letter, as the caption
    // has always been written.
    mAssociate = new QCheckBox(QStringLiteral("Ассоциировать файлы SLD и SLB c Quarvel"), this);
    mAssociate->setObjectName(QStringLiteral("chkAssociate"));

    mButText = new QCheckBox(QStringLiteral("Отображать подписи к кнопкам"), this);
    mButText->setObjectName(QStringLiteral("chkButText"));

    mCodePage = new QComboBox(this);
    mCodePage->setObjectName(QStringLiteral("cboCodePage"));
    for (int page : NameCodec::supportedCodePages())
        mCodePage->addItem(codePageCaption(page), page);
    auto *codePageLabel = new QLabel(QStringLiteral("Кодовая страница имён слайдов:"), this);
    codePageLabel->setObjectName(QStringLiteral("lblCodePage"));
    codePageLabel->setBuddy(mCodePage);
    auto *codePageRow = new QHBoxLayout;
    codePageRow->addWidget(codePageLabel);
    codePageRow->addWidget(mCodePage, 1);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &FrmConfig::accept);

    auto *cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &FrmConfig::reject);

    for (QPushButton *button : {ok, cancel})
        button->setMinimumWidth(twipsSize(1215, 375).width());

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(mButText);
    bottom->addStretch();
    bottom->addWidget(ok);
    bottom->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(mAssociate);
    layout->addLayout(codePageRow);
    layout->addLayout(bottom);
    layout->addStretch();
    layout->setSizeConstraint(QLayout::SetMinimumSize);
}

void FrmConfig::load()
{
    mDirLib->setText(mState.LibraryFolder);
    mDirSld->setText(mState.SlideFolder);

    // The start-up folder comes from the file rather than from the shared
    // state, which holds the folder of a file opened from the command line.
    // It is only shown here: the shared state changes on OK, never on Cancel.
    QString startFolder = ReadIniString(mState.SettingsFile, kSettings, kDirStartUp);
    if (startFolder.isEmpty() || !IsExistingFolder(startFolder))
        startFolder = mState.ProgramFolder;
    // An empty box stands for the program's folder.
    mDirStart->setText(startFolder == mState.ProgramFolder ? QString() : startFolder);

    mButText->setChecked(mState.ButtonCaptions != kNotUse);
    mAssociate->setChecked(mAssociation.IsAssociated());
    mCodePage->setCurrentIndex(std::max(0, mCodePage->findData(mState.NameCodePage)));
}

void FrmConfig::browse(QLineEdit *box)
{
    const QString start = box->text().isEmpty() ? mFileListFolder : box->text();
    const QString folder = mPickFolder(start);
    // A single character is no folder the picker can have meant (a bare
    // separator, or a drive letter without its root).
    if (folder.size() > 1)
        box->setText(folder);
}

void FrmConfig::accept()
{
    const QString &ini = mState.SettingsFile;

    mState.ButtonCaptions = mButText->isChecked() ? kUse : kNotUse;
    WriteIniString(ini, kSettings, kUseCapt, mState.ButtonCaptions);

    const int codePage = mCodePage->currentData().toInt();
    if (codePage > 0 && codePage != mState.NameCodePage) {
        mState.NameCodePage = codePage;
        WriteIniString(ini, kSettings, kNameCodePage, QString::number(codePage));
    }

    storeStartFolder();
    storeFolder(mDirSld, kDirSld, mState.SlideFolder);
    storeFolder(mDirLib, kDirLib, mState.LibraryFolder);

    // Written or removed on every OK, so that OK also repairs an association
    // that another program (or another copy of this one) has changed.
    if (mAssociate->isChecked()) {
        mAssociation.AssociateSld();
        mAssociation.AssociateSlb();
    } else {
        mAssociation.RemoveAssociation();
    }

    QDialog::accept();
}

void FrmConfig::storeStartFolder()
{
    const QString &ini = mState.SettingsFile;
    // An empty value, in the box or in the file, stands for the program's
    // folder, which is where the next start begins.
    const auto startFolderFor = [this](const QString &value) {
        return value.isEmpty() ? mState.ProgramFolder : value;
    };
    const QString text = mDirStart->text();
    if (isUsableFolder(text)) {
        WriteIniString(ini, kSettings, kDirStartUp, text);
        mState.StartFolder = startFolderFor(text);
    } else {
        // A folder that is not there is not kept: the next start begins in
        // the program's folder. This run keeps what the file said until now.
        mState.StartFolder = startFolderFor(ReadIniString(ini, kSettings, kDirStartUp));
        WriteIniString(ini, kSettings, kDirStartUp, QString());
    }
}

void FrmConfig::storeFolder(const QLineEdit *box, const QString &key, QString &global)
{
    const QString text = box->text();
    if (!isUsableFolder(text))
        return;
    WriteIniString(mState.SettingsFile, kSettings, key, text);
    global = text;
}

void showOptions(AppState &state, mdlRegFunctions &association, const QString &fileListFolder,
                 QWidget *parent)
{
    FrmConfig dialog(state, association, fileListFolder, parent);
    dialog.exec();
}

void showOptions(AppState &state, const QString &fileListFolder, QWidget *parent)
{
    mdlRegFunctions association;
    showOptions(state, association, fileListFolder, parent);
}

} // namespace quarvel
