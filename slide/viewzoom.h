#pragma once

// Zoom and pan of a slide view, without the widget: where the view draws the
// slide's whole area. At zoom 1 that is the view's own rectangle (the slide
// fitted, as always); zoomed in, a larger rectangle that the view shows part
// of. Zooming keeps the point under the pointer where it is; panning and
// zooming never leave an empty margin beside a zoomed slide area.

#include <QPointF>
#include <QRectF>
#include <QSizeF>

namespace quarvel {

class ViewZoom
{
public:
    static constexpr double kMaxZoom = 256.0;

    double zoom() const { return mZoom; }
    bool isFitted() const { return mZoom == 1.0; }
    // Back to the fitted slide.
    void reset();

    // The rectangle, in view coordinates, that the slide's area is drawn into.
    QRectF target(const QSizeF &view) const;

    // Multiplies the zoom by factor (kept within 1 and kMaxZoom), point of
    // the view staying on the same spot of the slide.
    void zoomAt(const QPointF &point, double factor, const QSizeF &view);
    // Moves the slide by delta (view pixels).
    void pan(const QPointF &delta, const QSizeF &view);

private:
    void keepCovering(const QSizeF &view);

    double mZoom = 1.0;
    QPointF mOffset;   // top-left of the target, relative to the view
};

} // namespace quarvel
