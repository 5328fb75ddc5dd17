#pragma once

// Export of a decoded slide as a placeable Windows metafile, in Qt's types;
// the writer itself is the core's (core/wmfwriter.h).

#include "slideformat.h"

#include <QByteArray>
#include <QColor>

namespace quarvel {

// The metafile of a slide: vectors and fills in the slide's colours on the
// given background, sized to keep the slide's shape.
QByteArray slideToWmf(const SlideHeader &header, const SlideDrawing &drawing, QColor background);

} // namespace quarvel
