#pragma once

// PNG output tuned for slides: a drawn slide holds a handful of flat colours,
// so it is stored as a palette image (1 bit per pixel for one colour on the
// background, the common case, else 8; RGB would be 32) at zlib's fastest
// level: the PNG filters and zlib spend their time per byte of pixel data.
// Pictures with more than 256 colours (antialiased ones) are stored as RGB.

#include <QByteArray>
#include <QImage>

namespace quarvel::cli {

// The PNG file of image; empty when it cannot be encoded.
QByteArray encodePng(const QImage &image);

// The image as a palette image when it has at most 256 colours; a null image
// otherwise. Faster than QImage::convertToFormat, which searches the nearest
// palette entry for every pixel.
QImage toExactPalette(const QImage &image);

} // namespace quarvel::cli
