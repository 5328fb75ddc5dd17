#pragma once

// Writes new-format (level 2) slides record by record. Quarvel itself stores
// slides it did not make byte for byte; this writer makes new slides: the
// bundled sample, test data and the seeds of the fuzz targets.

#include "slidedata.h"

#include <span>
#include <string>

namespace quarvel::core {

class SlideWriter
{
public:
    // highX/highY: largest x and y of the drawing area; aspect: physical
    // width / height (0 means square pixels).
    SlideWriter(int highX, int highY, double aspect = 0.0, ByteOrder order = ByteOrder::LowFirst);

    void color(int aci);
    // An ordinary vector; from-x must lie in 0..32767 (its high byte is the record type).
    void vector(int x1, int y1, int x2, int y2);
    void offsetVector(int dx1, int dy1, int dx2, int dy2);
    void commonEndpoint(int dx, int dy);
    // A filled polygon in the form AutoCAD writes: start record, vertices,
    // closing record. Polygons of more than 9 vertices are split into a fan of
    // triangles; polygons without area (all y = 0) are skipped.
    void fill(std::span<const Point> polygon);
    // One raw solid-fill record, for building damaged input in tests.
    void fillRecord(int x, int y);

    // Appends the end-of-file record and returns the slide.
    std::string finish();

private:
    void put16(int value);
    void putRecordHead(std::uint8_t type, int lowByte);
    void fillOne(std::span<const Point> polygon);

    std::string mBytes;
    ByteOrder mOrder;
};

} // namespace quarvel::core
