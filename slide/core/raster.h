#pragma once

// Drawing of a decoded slide into 8-bit palette rows. The slide keeps its
// physical shape (the header's aspect ratio), centred in the target
// rectangle, with y growing upward. Vectors are one pixel wide at every size
// (aliased, each end lighting the pixel it falls in); fills are filled with
// the non-zero rule and outlined in their colour, so that areas tiled with
// small polygons show no seams. Nothing is drawn outside the slide's
// rectangle (rounded out to whole pixels) or outside the image.

#include "palette.h"
#include "slidedata.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quarvel::core {

struct RectF
{
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    friend bool operator==(const RectF &, const RectF &) = default;
};

// The part of target the slide covers: the largest rectangle of the slide's
// shape that fits, centred.
RectF slideRect(const SlideHeader &header, const RectF &target);

// Maps slide coordinates (x right, y up) into target: the slide's pixel
// cell (x, y) becomes the matching cell of slideRect, and the point (x, y)
// lands on the centre of that cell: device = (x * sx + dx, y * sy + dy).
struct SlideMapping
{
    double sx = 1;
    double dx = 0;
    double sy = -1;
    double dy = 0;
    double mapX(double x) const { return x * sx + dx; }
    double mapY(double y) const { return y * sy + dy; }
};
SlideMapping slideMapping(const SlideHeader &header, const RectF &target);

// Rows of 8-bit palette indices. Entry 0 of the palette is always the
// background; the slide's colours take the next entries in the order they
// are first drawn (two colour indices of one colour share an entry), so a
// slide of one colour on its background makes a two-entry palette.
struct PaletteImage
{
    int width = 0;
    int height = 0;
    std::size_t stride = 0;
    std::vector<std::uint8_t> pixels;   // height rows of stride bytes
    std::vector<Rgb> palette;           // at most 256 entries

    std::uint8_t *row(int y) { return pixels.data() + static_cast<std::size_t>(y) * stride; }
    const std::uint8_t *row(int y) const { return pixels.data() + static_cast<std::size_t>(y) * stride; }
};

// Pixel rows owned by someone else (a QImage, for example).
struct PixelRows
{
    std::uint8_t *bits = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
};

// Fills rows with entry 0 and draws the slide into target (in pixels of the
// rows; it may reach outside them). palette receives the entries used.
void drawSlide(const SlideHeader &header, const SlideDrawing &drawing, PixelRows rows, const RectF &target,
               Rgb background, std::vector<Rgb> &palette);

// The slide drawn on a new image of the given size, centred in it. Throws
// std::bad_alloc when the image cannot be had.
PaletteImage rasterize(const SlideHeader &header, const SlideDrawing &drawing, int width, int height,
                       Rgb background);

} // namespace quarvel::core
