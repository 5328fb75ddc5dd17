#pragma once

// Slides drawn for the windows and for export, through the core rasteriser
// (raster.h), so that a slide looks the same, pixel for pixel, in the view,
// in exported pictures and in quarvel-cli's output. The slide keeps its
// physical shape (the header's aspect ratio), centred in the target
// rectangle, with y growing upward; vectors are one pixel wide at every
// size, and the colours are resolved against the background.

#include "slideformat.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QTransform>

namespace quarvel {

// The part of target the slide covers: the largest rectangle of the slide's
// shape that fits, centred.
QRectF slideRect(const SlideHeader &header, const QRectF &target);

// Maps slide coordinates (x right, y up) into target: the slide's pixel cell
// (x, y) becomes the matching cell of slideRect, and the point (x, y) lands
// on the centre of that cell.
QTransform slideTransform(const SlideHeader &header, const QRectF &target);

// The slide drawn on a palette image (Format_Indexed8) of the given size,
// centred in it; entry 0 of its colour table is the background. A null
// image when the size is empty or the memory cannot be had.
QImage renderToImage(const SlideHeader &header, const SlideDrawing &drawing, QSize size, QColor background);
// The same with the slide fitted into target (image pixels; it may reach
// outside the image, of which only the part inside is drawn): a zoomed view.
QImage renderToImage(const SlideHeader &header, const SlideDrawing &drawing, QSize size, QColor background,
                     const QRectF &target);

// The slide as an SVG document of the given size; empty when memory runs
// out (as renderToImage's image is then null).
QByteArray renderToSvg(const SlideHeader &header, const SlideDrawing &drawing, QSize size,
                       QColor background);

} // namespace quarvel
