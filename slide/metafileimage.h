#pragma once

// Windows metafiles (.wmf) found while browsing are shown as pictures. They
// are played by libwmf, on Windows by GDI; before a file reaches the player,
// a structural check of our own turns away what is plainly not a metafile or
// is cut short.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace quarvel {

// Checks the headers and walks the records; returns an empty string for a
// metafile that can be played, else the reason it cannot.
QString checkMetafile(const QByteArray &bytes);

// Plays a metafile into an image no larger than maxSize, keeping its shape,
// on a transparent background. Returns a null image and sets *error (which
// names the file) when the file cannot be read or played.
QImage renderMetafile(const QString &path, QSize maxSize, QString *error = nullptr);

} // namespace quarvel
