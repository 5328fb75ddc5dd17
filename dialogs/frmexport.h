#pragma once

// The Export... dialog of the main window: which slides (the selected ones
// or the whole library), the format (SLD, WMF, PNG, SVG, DXF), for pictures
// the size in pixels (kept to the slide's shape unless asked otherwise, with
// common sizes to pick) and the background (black, white, or transparent
// for PNG and SVG), and the target folder.

#include "captions.h"
#include "frmgetdir.h"
#include "slideexport.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace quarvel {

class FrmExport : public QDialog
{
    Q_OBJECT

public:
    FrmExport(const ExportOffer &offer, Language language, FolderPicker picker = {}, QWidget *parent = nullptr);

    ExportChoice choice() const;

private:
    void formatChanged();
    void widthChanged();
    void heightChanged();
    void presetChosen(int index);
    void updateOk();

    ExportOffer mOffer;
    FolderPicker mPicker;
    bool mAdjusting = false;
    QRadioButton *mSelected;
    QRadioButton *mAll;
    QComboBox *mFormat;
    QSpinBox *mWidth;
    QSpinBox *mHeight;
    QCheckBox *mKeepShape;
    QComboBox *mPresets;
    QComboBox *mBackground;
    QLineEdit *mFolder;
    QDialogButtonBox *mButtons;
};

} // namespace quarvel
