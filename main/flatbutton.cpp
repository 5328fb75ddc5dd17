#include "flatbutton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

#include <algorithm>

namespace quarvel {

namespace {
constexpr int kDropDownWidth = 12;
}

FlatButton::FlatButton(QWidget *parent)
    : QToolButton(parent)
{
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setIconSize(QSize(26, 26));
    // Captions sit under the picture in a button a little wider than the
    // picture, so they use a smaller type than the rest of the window.
    QFont small = font();
    small.setPointSizeF(std::max(6.0, small.pointSizeF() * 0.8));
    setFont(small);
}

void FlatButton::setCaption(const QString &caption)
{
    mCaption = caption;
    setText(mShowCaption ? caption : QString());
}

void FlatButton::setShowCaption(bool show)
{
    mShowCaption = show;
    setToolButtonStyle(show ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
    setText(show ? mCaption : QString());
}

void FlatButton::setPicture(const QIcon &icon, const QString &pictureKey)
{
    setIcon(icon);
    mPictureKey = pictureKey;
}

void FlatButton::setDropDown(bool enabled)
{
    mDropDown = enabled;
    update();
}

void FlatButton::reset()
{
    mDropDownDown = false;
    setDown(false);
    update();
}

QRect FlatButton::dropDownZone() const
{
    return QRect(width() - kDropDownWidth, 0, kDropDownWidth, height());
}

void FlatButton::mousePressEvent(QMouseEvent *event)
{
    if (mDropDown && isEnabled() && event->button() == Qt::LeftButton
        && dropDownZone().contains(event->position().toPoint())) {
        mDropDownDown = true;
        update();
        emit dropDownRequested();
        return;
    }
    QToolButton::mousePressEvent(event);
}

void FlatButton::paintEvent(QPaintEvent *event)
{
    QToolButton::paintEvent(event);
    if (!mDropDown)
        return;
    QPainter painter(this);
    const QRect zone = dropDownZone();
    if (mDropDownDown)
        painter.fillRect(zone, palette().color(QPalette::Midlight));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(zone.topLeft() + QPoint(0, 4), zone.bottomLeft() - QPoint(0, 4));
    const QPoint c = zone.center();
    const QPolygon arrow({c + QPoint(-3, -1), c + QPoint(3, -1), c + QPoint(0, 2)});
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawPolygon(arrow);
}

} // namespace quarvel
