// Zoom and pan of the slide view: the point under the pointer stays put, the
// zoom stays within its bounds, a zoomed slide area always covers the view,
// and the zoomed view is drawn from the vectors.

#include "slideview.h"
#include "slidewriter.h"
#include "testdata.h"
#include "viewzoom.h"

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <gtest/gtest.h>

using namespace quarvel;

TEST(ViewZoom, KeepsThePointUnderThePointerAndCoversTheView)
{
    const QSizeF view(400, 300);
    // A zoom by factor at point, or (factor 0) a pan by point.
    const struct { QPointF point; double factor; QRectF target; } steps[] = {
        {{100, 50}, 2, {-100, -50, 800, 600}},                  // (100, 50) stays on the same spot
        {{500, -5000}, 0, {0, -300, 800, 600}},                 // no margin left or below
        {{400, 300}, 0.1, {0, 0, 400, 300}},                    // never below the fitted slide
        {{200, 150}, 1e6, {-51000, -38250, 102400, 76800}},     // at most 256 times
    };
    ViewZoom zoom;
    for (const auto &s : steps) {
        if (s.factor == 0)
            zoom.pan(s.point, view);
        else
            zoom.zoomAt(s.point, s.factor, view);
        EXPECT_EQ(zoom.target(view), s.target) << s.point.x() << "," << s.point.y() << " x" << s.factor;
    }
}

// The view zoomed by the wheel draws the slide afresh: a one-pixel line stays
// one pixel wide, and stays under the pointer; a double click fits it again.
TEST(ViewZoom, TheViewRedrawsFromVectorsAroundThePointer)
{
    QTemporaryDir dir;
    SlideWriter w(199, 99);
    w.color(1);
    w.vector(0, 20, 199, 20);   // well below the middle
    const QString file = dir.filePath("line.sld");
    ASSERT_TRUE(test::writeFile(file, w.finish()));

    SlideView view;
    view.resize(200, 100);
    view.setSlideFile(file);
    ASSERT_TRUE(view.hasSlide());
    auto litRows = [&] {
        const QImage image = view.grab().toImage();
        QList<int> rows;
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixel(120, y) != qRgb(0, 0, 0))
                rows << y;
        }
        return rows;
    };
    const QList<int> fitted = litRows();
    ASSERT_EQ(fitted.size(), 1);
    const QPointF pointer(120, fitted[0]);
    QWheelEvent wheel(pointer, view.mapToGlobal(pointer), {}, {0, 120 * 8}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&view, &wheel);
    EXPECT_GT(view.zoom().zoom(), 5.0);
    const QList<int> zoomed = litRows();
    ASSERT_EQ(zoomed.size(), 1);
    EXPECT_LE(std::abs(zoomed[0] - fitted[0]), 1);

    QMouseEvent click(QEvent::MouseButtonDblClick, pointer, view.mapToGlobal(pointer), Qt::LeftButton,
                      Qt::LeftButton, {});
    QCoreApplication::sendEvent(&view, &click);
    EXPECT_TRUE(view.zoom().isFitted());
    EXPECT_EQ(litRows(), fitted);
}
