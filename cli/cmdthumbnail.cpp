// quarvel-cli thumbnail: the picture file managers show for a slide or a
// library (the freedesktop thumbnailer runs "thumbnail %i %o %s"). Only the
// slides drawn are read: a library of thousands of slides costs its
// directory and four slides.

#include "commands.h"
#include "libraryaccess.h"
#include "output.h"
#include "paths.h"

#include "pngwriter.h"
#include "raster.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace quarvel::cli {

namespace {

constexpr int kMaxThumbnail = 8192;
constexpr core::Rgb kWhite{255, 255, 255};

// Draws slide index into the cell of image at (left, top), sized width x
// height, merging the cell's colours into the image's palette.
void drawCell(const core::Library &library, std::size_t index, core::PaletteImage &image, int left, int top,
              int width, int height)
{
    core::SlideDrawing drawing;
    core::DecodeResult r;
    try {
        r = library.decode(index, &drawing);
    } catch (const core::Error &) {
        return;   // an unreadable slide leaves its cell blank; the others still show
    }
    if (!r.isSlide)
        return;
    std::vector<core::Rgb> cellPalette;
    core::PixelRows rows{image.row(top) + left, width, height, static_cast<std::ptrdiff_t>(image.stride)};
    core::drawSlide(r.header, drawing, rows, {0, 0, double(width), double(height)}, kWhite, cellPalette);
    std::array<std::uint8_t, 256> remap{};
    for (std::size_t i = 0; i < cellPalette.size(); ++i) {
        auto found = std::find(image.palette.begin(), image.palette.end(), cellPalette[i]);
        if (i == 0)
            found = image.palette.begin();   // the background stays entry 0
        if (found == image.palette.end()) {
            if (image.palette.size() == 256)
                found = image.palette.begin() + 1;   // cannot happen with the colour index's 256 colours
            else
                found = image.palette.insert(image.palette.end(), cellPalette[i]);
        }
        remap[i] = static_cast<std::uint8_t>(found - image.palette.begin());
    }
    for (int y = 0; y < height; ++y) {
        std::uint8_t *row = image.row(top + y) + left;
        for (int x = 0; x < width; ++x)
            row[x] = remap[row[x]];
    }
}

} // namespace

int runThumbnail(const CommandContext &context, const Args &args)
{
    const ArgParser parser(args, {});
    parser.expectPositionals(3, 3, parser.positionals().empty() ? "INPUT" : parser.positionals().size() == 1 ? "OUTPUT.png" : "SIZE");
    const std::string &input = parser.positionals()[0];
    const std::string &output = parser.positionals()[1];
    int size = 0;
    if (!parseInt(parser.positionals()[2], size) || size < 1 || size > kMaxThumbnail)
        throw UsageError("SIZE wants 1.." + std::to_string(kMaxThumbnail) + " pixels, not \"" + parser.positionals()[2] + "\"");

    const core::Library library = openSlideFile(context, input);
    if (library.slideCount() == 0)
        throw core::Error(shownPath(input), core::Reason::Other, "the library holds no slide");

    core::PaletteImage image;
    if (library.slideCount() == 1) {
        // One slide: the longer side is size, the other follows its shape.
        core::SlideDrawing drawing;
        const core::DecodeResult r = library.decode(0, &drawing);
        if (!r.isSlide)
            throw core::Error(shownPath(input), core::Reason::NotASlide, {}, r.errorOffset).withDamage(r.damage, r.damageValue);
        const double aspect = r.header.drawingAspect();
        const int width = aspect >= 1 ? size : std::max(1, static_cast<int>(std::lround(size * aspect)));
        const int height = aspect >= 1 ? std::max(1, static_cast<int>(std::lround(size / aspect))) : size;
        image = core::rasterize(r.header, drawing, width, height, kWhite);
    } else {
        // The first four slides in a 2 x 2 grid (two in the top row when
        // there are only two or three).
        image.width = size;
        image.height = size;
        image.stride = static_cast<std::size_t>(size);
        image.pixels.assign(image.stride * static_cast<std::size_t>(size), 0);
        image.palette.assign(1, kWhite);
        const int half = size / 2;
        const std::size_t cells = std::min<std::size_t>(4, library.slideCount());
        for (std::size_t i = 0; i < cells; ++i) {
            const int column = static_cast<int>(i % 2);
            const int row = static_cast<int>(i / 2);
            const int left = column * half;
            const int top = row * half;
            const int width = column == 0 ? half : size - half;
            const int height = row == 0 ? half : size - half;
            if (width > 0 && height > 0)
                drawCell(library, i, image, left, top, width, height);
        }
    }
    writeOutput(output, [&](core::Sink &out) { core::writePng(out, image); });
    return 0;
}

} // namespace quarvel::cli
