#pragma once

// SVG output of a decoded slide, streamed element by element: the same
// placement as the rasteriser (shape kept, centred, y up, clipped to the
// slide's rectangle), vectors one pixel wide at the picture's size, fills filled with
// the non-zero rule and outlined.

#include "palette.h"
#include "sink.h"
#include "slidedata.h"

namespace quarvel::core {

struct SvgOptions
{
    bool transparentBackground = false;
};

// Writes the slide as an SVG document of width x height pixels to out.
// Throws whatever out throws (std::bad_alloc included).
void writeSvg(Sink &out, const SlideHeader &header, const SlideDrawing &drawing, int width, int height,
              Rgb background, const SvgOptions &options = {});

} // namespace quarvel::core
