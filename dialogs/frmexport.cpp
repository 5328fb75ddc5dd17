#include "frmexport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include <cmath>

namespace quarvel {

namespace {

QString pick(Language language, const char *english, const char *russian)
{
    return QString::fromUtf8(language == Language::Russian ? russian : english);
}

constexpr QSize kPresets[] = {{320, 240}, {640, 480}, {800, 600}, {1024, 768}, {1920, 1080}, {3840, 2160}};
constexpr int kMaxSide = 16384;

} // namespace

FrmExport::FrmExport(const ExportOffer &offer, Language language, FolderPicker picker, QWidget *parent)
    : QDialog(parent)
    , mOffer(offer)
    , mPicker(std::move(picker))
    , mSelected(new QRadioButton(this))
    , mAll(new QRadioButton(this))
    , mFormat(new QComboBox(this))
    , mWidth(new QSpinBox(this))
    , mHeight(new QSpinBox(this))
    , mKeepShape(new QCheckBox(this))
    , mPresets(new QComboBox(this))
    , mBackground(new QComboBox(this))
    , mFolder(new QLineEdit(this))
    , mButtons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setObjectName(QStringLiteral("frmExport"));
    setWindowTitle(pick(language, "Export", "Экспорт"));
    mSelected->setObjectName(QStringLiteral("optSelected"));
    mAll->setObjectName(QStringLiteral("optAll"));
    mFormat->setObjectName(QStringLiteral("cboFormat"));
    mWidth->setObjectName(QStringLiteral("txtWidth"));
    mHeight->setObjectName(QStringLiteral("txtHeight"));
    mKeepShape->setObjectName(QStringLiteral("chkKeepShape"));
    mPresets->setObjectName(QStringLiteral("cboSize"));
    mBackground->setObjectName(QStringLiteral("cboBackground"));
    mFolder->setObjectName(QStringLiteral("txtFolder"));

    mSelected->setText(pick(language, "Selected slides (%1)", "Выбранные слайды (%1)").arg(offer.selectedCount));
    mAll->setText(pick(language, "Whole library (%1)", "Вся библиотека (%1)").arg(offer.slideCount));
    mSelected->setEnabled(offer.selectedCount > 0);
    (offer.selectedCount > 0 ? mSelected : mAll)->setChecked(true);

    for (const char *format : {"SLD", "WMF", "PNG", "SVG", "DXF"})
        mFormat->addItem(QString::fromLatin1(format));
    mFormat->setCurrentIndex(int(ExportChoice::Format::Png));
    for (QSpinBox *side : {mWidth, mHeight}) {
        side->setRange(16, kMaxSide);
        side->setSuffix(pick(language, " px", " пикс."));
    }
    mKeepShape->setText(pick(language, "Keep the slide's shape", "Сохранять пропорции слайда"));
    mKeepShape->setChecked(true);
    mPresets->addItem(pick(language, "Common sizes", "Обычные размеры"));
    for (const QSize &size : kPresets)
        mPresets->addItem(QStringLiteral("%1 × %2").arg(size.width()).arg(size.height()));
    mBackground->addItem(pick(language, "Black", "Чёрный"));
    mBackground->addItem(pick(language, "White", "Белый"));
    mBackground->addItem(pick(language, "Transparent", "Прозрачный"));
    mFolder->setText(QDir::toNativeSeparators(offer.folder));
    auto *browse = new QPushButton(QStringLiteral("..."), this);
    browse->setObjectName(QStringLiteral("cmdBrowse"));
    browse->setToolTip(pick(language, "Choose the folder", "Выбрать папку"));
    mButtons->button(QDialogButtonBox::Ok)->setText(pick(language, "OK", "ОК"));
    mButtons->button(QDialogButtonBox::Cancel)->setText(pick(language, "Cancel", "Отмена"));

    auto *form = new QFormLayout;
    auto *which = new QVBoxLayout;
    which->addWidget(mSelected);
    which->addWidget(mAll);
    form->addRow(pick(language, "Slides:", "Слайды:"), which);
    form->addRow(pick(language, "Format:", "Формат:"), mFormat);
    auto *size = new QHBoxLayout;
    size->addWidget(mWidth);
    size->addWidget(new QLabel(QStringLiteral("×"), this));
    size->addWidget(mHeight);
    size->addWidget(mPresets, 1);
    form->addRow(pick(language, "Size:", "Размер:"), size);
    form->addRow(QString(), mKeepShape);
    form->addRow(pick(language, "Background:", "Фон:"), mBackground);
    auto *folder = new QHBoxLayout;
    folder->addWidget(mFolder, 1);
    folder->addWidget(browse);
    form->addRow(pick(language, "Folder:", "Папка:"), folder);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(mButtons);

    connect(mFormat, &QComboBox::currentIndexChanged, this, &FrmExport::formatChanged);
    connect(mWidth, &QSpinBox::valueChanged, this, &FrmExport::widthChanged);
    connect(mHeight, &QSpinBox::valueChanged, this, &FrmExport::heightChanged);
    connect(mKeepShape, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            widthChanged();
    });
    connect(mPresets, &QComboBox::activated, this, &FrmExport::presetChosen);
    connect(mFolder, &QLineEdit::textChanged, this, &FrmExport::updateOk);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString folder = mPicker ? mPicker(mFolder->text()) : QString();
        if (!folder.isEmpty())
            mFolder->setText(folder);
    });
    connect(mButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(mButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    mWidth->setValue(640);
    widthChanged();
    formatChanged();
    updateOk();
}

void FrmExport::formatChanged()
{
    const auto format = ExportChoice::Format(mFormat->currentIndex());
    const bool picture = exportIsPicture(format);
    for (QWidget *w : {static_cast<QWidget *>(mWidth), static_cast<QWidget *>(mHeight),
                       static_cast<QWidget *>(mKeepShape), static_cast<QWidget *>(mPresets)})
        w->setEnabled(picture);
    // A metafile has a black or white background; slides and drawings none.
    mBackground->setEnabled(picture || format == ExportChoice::Format::Wmf);
    if (!picture && mBackground->currentIndex() == int(ExportChoice::Background::Transparent))
        mBackground->setCurrentIndex(int(ExportChoice::Background::Black));
    if (auto *items = qobject_cast<QStandardItemModel *>(mBackground->model()))
        items->item(int(ExportChoice::Background::Transparent))->setEnabled(picture);
}

void FrmExport::widthChanged()
{
    if (mAdjusting || !mKeepShape->isChecked() || mOffer.aspect <= 0)
        return;
    mAdjusting = true;
    mHeight->setValue(int(std::lround(mWidth->value() / mOffer.aspect)));
    mAdjusting = false;
}

void FrmExport::heightChanged()
{
    if (mAdjusting || !mKeepShape->isChecked() || mOffer.aspect <= 0)
        return;
    mAdjusting = true;
    mWidth->setValue(int(std::lround(mHeight->value() * mOffer.aspect)));
    mAdjusting = false;
}

void FrmExport::presetChosen(int index)
{
    if (index <= 0)
        return;
    const QSize box = kPresets[index - 1];
    mAdjusting = true;
    if (mKeepShape->isChecked() && mOffer.aspect > 0) {
        // The largest picture of the slide's shape that fits the size chosen.
        const int height = std::min(box.height(), int(std::lround(box.width() / mOffer.aspect)));
        mHeight->setValue(height);
        mWidth->setValue(std::min(box.width(), int(std::lround(height * mOffer.aspect))));
    } else {
        mWidth->setValue(box.width());
        mHeight->setValue(box.height());
    }
    mAdjusting = false;
    mPresets->setCurrentIndex(0);
}

void FrmExport::updateOk()
{
    mButtons->button(QDialogButtonBox::Ok)->setEnabled(!mFolder->text().trimmed().isEmpty());
}

ExportChoice FrmExport::choice() const
{
    ExportChoice choice;
    choice.wholeLibrary = mAll->isChecked();
    choice.format = ExportChoice::Format(mFormat->currentIndex());
    choice.size = QSize(mWidth->value(), mHeight->value());
    choice.background = ExportChoice::Background(mBackground->currentIndex());
    choice.folder = QDir::fromNativeSeparators(mFolder->text().trimmed());
    return choice;
}

} // namespace quarvel
