#include "viewzoom.h"

#include <algorithm>

namespace quarvel {

void ViewZoom::reset()
{
    mZoom = 1.0;
    mOffset = {};
}

QRectF ViewZoom::target(const QSizeF &view) const
{
    return {mOffset, view * mZoom};
}

void ViewZoom::zoomAt(const QPointF &point, double factor, const QSizeF &view)
{
    const double zoom = std::clamp(mZoom * factor, 1.0, kMaxZoom);
    mOffset = point - (point - mOffset) * (zoom / mZoom);
    mZoom = zoom;
    keepCovering(view);
}

void ViewZoom::pan(const QPointF &delta, const QSizeF &view)
{
    mOffset += delta;
    keepCovering(view);
}

void ViewZoom::keepCovering(const QSizeF &view)
{
    // The target is never smaller than the view: its left and top edges
    // stay between the view's far edges less the target's size and 0.
    const QSizeF size = view * mZoom;
    mOffset.setX(std::clamp(mOffset.x(), view.width() - size.width(), 0.0));
    mOffset.setY(std::clamp(mOffset.y(), view.height() - size.height(), 0.0));
}

} // namespace quarvel
