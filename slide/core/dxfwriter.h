#pragma once

// Export of a decoded slide as an AutoCAD R12 ASCII drawing exchange file,
// the form every CAD program reads: a HEADER with the version and the
// drawing's extents, the LTYPE and LAYER tables, and the ENTITIES (a LINE
// per vector; a SOLID per fill of three or four corners, convex larger fills
// split into fans of SOLIDs, and any other fill as a closed POLYLINE of its
// outline), all on layer 0 in the slide's colour numbers. Coordinates are
// the slide's own, y up, with x stretched when the slide's pixels were not
// square so that the drawing keeps its physical shape.

#include "sink.h"
#include "slidedata.h"

namespace quarvel::core {

// Throws whatever out throws.
void writeDxf(Sink &out, const SlideHeader &header, const SlideDrawing &drawing);

} // namespace quarvel::core
