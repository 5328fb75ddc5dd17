#pragma once

// Resizable dialogs laid out in twips. A dialog opens at its designed size
// (or at the size it last had, kept in the settings file) and may be made
// larger: each control given an anchor moves and grows by fractions of what
// the dialog gained in width and height, the rest keep their places. The
// dialog never gets smaller than designed.

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

class QWidget;

namespace quarvel {

// Fractions of the gain in width (x, w) and height (y, h) by which a control
// moves right, moves down, grows wider and grows taller.
struct Anchor
{
    float x = 0, y = 0, w = 0, h = 0;
};

// Where a control designed at designed goes when the dialog has gained gain.
QRect anchoredRect(const QRect &designed, const Anchor &anchor, const QSize &gain);

class DialogResizer : public QObject
{
public:
    // dialog is at its designed size now; its size is kept in settingsFile
    // under its object name.
    DialogResizer(QWidget *dialog, const QString &settingsFile);

    // Records control's present geometry as designed and how it follows.
    void anchor(QWidget *control, Anchor anchor);
    // The size the dialog last had, when larger than designed.
    void restoreSize();

    static const char *const kSection;   // "DialogSizes"

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void arrange();

    struct Anchored
    {
        QPointer<QWidget> control;
        QRect designed;
        Anchor anchor;
    };
    QWidget *mDialog;
    QString mSettingsFile;
    QSize mDesigned;
    std::vector<Anchored> mControls;
};

} // namespace quarvel
