#pragma once

// PNG output of a palette image, streamed: rows are packed to the smallest
// bit depth the palette allows (1 bit for a slide of one colour on its
// background, the common case) and deflated through zlib piece by piece, so
// memory stays small whatever the picture's size.

#include "raster.h"
#include "sink.h"

namespace quarvel::core {

struct PngOptions
{
    // The background (palette entry 0) becomes fully transparent.
    bool transparentBackground = false;
    // zlib's level: 1, the fastest, suits the long flat runs of a slide.
    int compression = 1;
};

// Writes image as a PNG file to out. Throws core::Error (OutOfMemory when
// zlib cannot get its memory) or whatever out throws.
void writePng(Sink &out, const PaletteImage &image, const PngOptions &options = {});

} // namespace quarvel::core
