#include "metafileview.h"

#include "metafileimage.h"

#include <QPainter>

namespace quarvel {

MetafileView::MetafileView(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool MetafileView::setPicture(const QString &path)
{
    mPath = path;
    mError.clear();
    mImage = QImage();
    if (!path.isEmpty())
        replay();
    update();
    return mError.isEmpty();
}

void MetafileView::setBackColor(QColor color)
{
    mBack = color;
    update();
}

void MetafileView::replay()
{
    // The picture is played at the panel's size so it stays sharp.
    mImage = renderMetafile(mPath, size().expandedTo(QSize(16, 16)), &mError);
}

void MetafileView::resizeEvent(QResizeEvent *)
{
    if (!mPath.isEmpty() && mError.isEmpty())
        replay();
}

void MetafileView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), mBack);
    if (mImage.isNull())
        return;
    const QSize shown = mImage.size().scaled(size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown);
    painter.drawImage(target, mImage);
}

} // namespace quarvel
