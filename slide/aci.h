#pragma once

// The AutoCAD Colour Index in Qt's colour types: 256 colours, of which 7
// (and 0, ByBlock, drawn like it) is the foreground colour: white on a dark
// background, black on a light one. The table and the rule live in the core
// (palette.h); these are its Qt faces.

#include "palette.h"

#include <QColor>
#include <QRgb>

namespace quarvel {

QRgb aciColor(int index);
// The colour index is drawn in on the given background.
QRgb aciColorOn(int index, QColor background);
bool isDarkBackground(QColor background);

inline core::Rgb toCoreRgb(QColor color)
{
    const QRgb c = color.rgb();
    return {static_cast<std::uint8_t>(qRed(c)), static_cast<std::uint8_t>(qGreen(c)),
            static_cast<std::uint8_t>(qBlue(c))};
}
inline QRgb toQRgb(core::Rgb c) { return qRgb(c.r, c.g, c.b); }

} // namespace quarvel
