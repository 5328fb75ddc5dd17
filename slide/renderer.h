#pragma once

// Drawing of a decoded slide on any QPainter. The slide keeps its physical
// shape (the header's aspect ratio), centred in the target rectangle, with y
// growing upward; vectors are one device pixel wide at every size, and the
// colours are resolved against the background the slide is drawn on.

#include "slideformat.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QTransform>

class QIODevice;
class QPainter;

namespace quarvel {

struct RenderOptions
{
    // Off by default: aliased one-pixel lines are crisp and several times
    // faster, and the slide was a pixel image to begin with.
    bool antialiasing = false;
};

// The part of target the slide covers: the largest rectangle of the slide's
// shape that fits, centred.
QRectF slideRect(const SlideHeader &header, const QRectF &target);

// Maps slide coordinates (x right, y up) into target: the slide's pixel cell
// (x, y) becomes the matching cell of slideRect, and the point (x, y) lands
// on the centre of that cell.
QTransform slideTransform(const SlideHeader &header, const QRectF &target);

// Fills target with background and draws the slide into it, clipped to the
// slide's rectangle. The painter's state is left as it was found.
void renderSlide(QPainter &painter, const SlideHeader &header, const SlideDrawing &drawing,
                 const QRectF &target, QColor background, RenderOptions options = {});

// The slide drawn on an image of the given size (the slide centred in it).
QImage renderToImage(const SlideHeader &header, const SlideDrawing &drawing, QSize size,
                     QColor background, RenderOptions options = {});

// The slide as an SVG document of the given size, written to device (which
// must be open for writing, or be openable by QSvgGenerator). Returns false
// when the document could not be written.
bool renderToSvg(QIODevice *device, const SlideHeader &header, const SlideDrawing &drawing,
                 QSize size, QColor background);
QByteArray renderToSvg(const SlideHeader &header, const SlideDrawing &drawing, QSize size,
                       QColor background);

} // namespace quarvel
