#include "dialogresizer.h"

#include "inifile.h"
#include "panelayout.h"
#include "twips.h"

#include <QEvent>
#include <QWidget>

#include <cmath>

namespace quarvel {

const char *const DialogResizer::kSection = "DialogSizes";

QRect anchoredRect(const QRect &designed, const Anchor &anchor, const QSize &gain)
{
    auto part = [](float fraction, int whole) { return int(std::lround(fraction * float(whole))); };
    return {designed.x() + part(anchor.x, gain.width()), designed.y() + part(anchor.y, gain.height()),
            designed.width() + part(anchor.w, gain.width()), designed.height() + part(anchor.h, gain.height())};
}

DialogResizer::DialogResizer(QWidget *dialog, const QString &settingsFile)
    : QObject(dialog)
    , mDialog(dialog)
    , mSettingsFile(settingsFile)
    , mDesigned(dialog->size())
{
    dialog->setMinimumSize(mDesigned);
    dialog->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    dialog->installEventFilter(this);
}

void DialogResizer::anchor(QWidget *control, Anchor anchor)
{
    mControls.push_back({control, control->geometry(), anchor});
}

void DialogResizer::restoreSize()
{
    // Kept in twips, as "width height", so that it means the same at any
    // screen resolution.
    const QStringList saved = ReadIniString(mSettingsFile, QLatin1String(kSection), mDialog->objectName())
                                  .split(u' ', Qt::SkipEmptyParts);
    if (saved.size() != 2)
        return;
    bool wide = false, high = false;
    const float width = saved.at(0).toFloat(&wide), height = saved.at(1).toFloat(&high);
    if (wide && high && width > 0 && height > 0 && width < 100000 && height < 100000)
        mDialog->resize(twipsSize(width, height).expandedTo(mDesigned));
}

void DialogResizer::arrange()
{
    const QSize gain = (mDialog->size() - mDesigned).expandedTo(QSize(0, 0));
    for (const Anchored &a : mControls) {
        if (a.control)
            a.control->setGeometry(anchoredRect(a.designed, a.anchor, gain));
    }
}

bool DialogResizer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mDialog) {
        if (event->type() == QEvent::Resize) {
            arrange();
        } else if (event->type() == QEvent::Hide && !mSettingsFile.isEmpty()) {
            // Written only when it changes: a dialog used at its designed
            // size leaves the settings file alone.
            const float twipsPerPixel = 1440.0f / float(kDialogDpi);
            const QString size = QStringLiteral("%1 %2")
                                     .arg(std::lround(float(mDialog->width()) * twipsPerPixel))
                                     .arg(std::lround(float(mDialog->height()) * twipsPerPixel));
            const QString saved = ReadIniString(mSettingsFile, QLatin1String(kSection), mDialog->objectName());
            if (saved != size && !(saved.isEmpty() && mDialog->size() == mDesigned))
                WriteIniString(mSettingsFile, QLatin1String(kSection), mDialog->objectName(), size);
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quarvel
