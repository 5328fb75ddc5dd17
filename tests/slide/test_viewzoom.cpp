// Zoom and pan of the slide view: the point under the pointer stays put, the
// zoom stays within its bounds, and a zoomed slide area always covers the view.

#include "viewzoom.h"

#include <gtest/gtest.h>

using namespace quarvel;

TEST(ViewZoom, KeepsThePointUnderThePointerAndCoversTheView)
{
    const QSizeF view(400, 300);
    struct Step
    {
        enum { Zoom, Pan, Reset } kind;
        QPointF point;   // the pointer (Zoom) or the move (Pan)
        double factor;
        QRectF target;
    };
    const Step steps[] = {
        {Step::Zoom, {100, 50}, 2, {-100, -50, 800, 600}},      // (100, 50) stays on the same spot
        {Step::Zoom, {0, 0}, 2, {-200, -100, 1600, 1200}},
        {Step::Pan, {500, -5000}, 0, {0, -900, 1600, 1200}},     // no margin left or below
        {Step::Zoom, {400, 300}, 0.1, {0, 0, 400, 300}},        // never below the fitted slide
        {Step::Zoom, {200, 150}, 1e6, {-51000, -38250, 102400, 76800}},   // at most 256 times
        {Step::Reset, {}, 0, {0, 0, 400, 300}},
    };
    ViewZoom zoom;
    EXPECT_EQ(zoom.target(view), QRectF(0, 0, 400, 300));
    for (const Step &s : steps) {
        if (s.kind == Step::Zoom)
            zoom.zoomAt(s.point, s.factor, view);
        else if (s.kind == Step::Pan)
            zoom.pan(s.point, view);
        else
            zoom.reset();
        EXPECT_EQ(zoom.target(view), s.target) << s.point.x() << "," << s.point.y() << " x" << s.factor;
    }
    EXPECT_TRUE(zoom.isFitted());
}
