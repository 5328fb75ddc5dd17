#pragma once

// The AutoCAD Colour Index: 256 colours, of which 7 (and 0, ByBlock, drawn
// like it) is the foreground colour: white on a dark background, black on a
// light one.

#include <QColor>
#include <QRgb>

namespace quarvel {

QRgb aciColor(int index);
// The colour index is drawn in on the given background.
QRgb aciColorOn(int index, QColor background);
bool isDarkBackground(QColor background);

} // namespace quarvel
