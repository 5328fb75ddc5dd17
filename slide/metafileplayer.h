#pragma once

// The system-specific half of renderMetafile: plays a metafile that passed
// checkMetafile. libwmf on Linux (metafileplayer_wmf.cpp), GDI on Windows
// (metafileplayer_gdi.cpp).

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace quarvel {

// Plays the metafile in bytes (a placeable header allowed) into an image no
// larger than maxSize, keeping its shape, on a transparent background.
// Returns a null image and sets *reason when it cannot be played.
QImage playMetafile(QByteArray &bytes, QSize maxSize, QString *reason);

} // namespace quarvel
