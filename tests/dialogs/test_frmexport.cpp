// The Export... dialog: what it offers for the slides on hand, the size kept
// to the slide's shape, what each format allows, and the choice it returns;
// screenshots in both languages.

#include "dialogfixture.h"
#include "frmexport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardItemModel>

using namespace quarvel;
using test::control;

TEST(FrmExport, OffersSizesOfTheSlidesShapeAndWhatEachFormatAllows)
{
    ExportOffer offer{5, 783, 2.0, "/home/user/out"};
    FrmExport d(offer, Language::English, [](const QString &) { return QStringLiteral("/picked"); });
    ExportChoice c = d.choice();
    EXPECT_FALSE(c.wholeLibrary);
    EXPECT_EQ(c.size, QSize(640, 320));

    auto *presets = control<QComboBox>(d, "cboSize");
    struct Pick { int preset; bool keepShape; QSize size; };
    for (const Pick &p : {Pick{1, true, {320, 160}}, Pick{4, true, {1024, 512}}, Pick{1, false, {320, 240}}}) {
        control<QCheckBox>(d, "chkKeepShape")->setChecked(p.keepShape);
        emit presets->activated(p.preset);
        EXPECT_EQ(d.choice().size, p.size) << p.preset;
    }
    control<QCheckBox>(d, "chkKeepShape")->setChecked(true);
    control<QSpinBox>(d, "txtHeight")->setValue(100);
    EXPECT_EQ(d.choice().size, QSize(200, 100));

    auto *background = control<QComboBox>(d, "cboBackground");
    background->setCurrentIndex(int(ExportChoice::Background::Transparent));
    auto *transparent = qobject_cast<QStandardItemModel *>(background->model())->item(2);
    struct Format { ExportChoice::Format format; bool size, background; };
    for (const Format &f : {Format{ExportChoice::Format::Svg, true, true}, Format{ExportChoice::Format::Wmf, false, true},
                            Format{ExportChoice::Format::Dxf, false, false}, Format{ExportChoice::Format::Sld, false, false}}) {
        control<QComboBox>(d, "cboFormat")->setCurrentIndex(int(f.format));
        EXPECT_EQ(control<QSpinBox>(d, "txtWidth")->isEnabled(), f.size);
        EXPECT_EQ(background->isEnabled(), f.background);
        EXPECT_EQ(transparent->isEnabled(), f.size);
        EXPECT_EQ(d.choice().format, f.format);
    }
    // Transparency is for pictures: a metafile falls back to black.
    EXPECT_EQ(d.choice().background, ExportChoice::Background::Black);

    control<QRadioButton>(d, "optAll")->setChecked(true);
    test::click(d, "cmdBrowse");
    c = d.choice();
    EXPECT_TRUE(c.wholeLibrary);
    EXPECT_EQ(c.folder, "/picked");
    control<QLineEdit>(d, "txtFolder")->clear();
    EXPECT_FALSE(d.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->isEnabled());

    // Nothing selected: the whole library.
    FrmExport none(ExportOffer{0, 10, 1.0, "/x"}, Language::Russian);
    EXPECT_FALSE(control<QRadioButton>(none, "optSelected")->isEnabled());
    EXPECT_TRUE(none.choice().wholeLibrary);
}

TEST(FrmExport, Screenshots)
{
    for (Language language : {Language::Russian, Language::English}) {
        FrmExport d(ExportOffer{5, 783, 4.0 / 3.0, "/home/user/slides"}, language);
        test::screenshot(d, "export-" + languageCodeOf(language));
    }
}
