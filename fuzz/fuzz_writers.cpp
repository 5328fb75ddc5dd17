// libFuzzer target: one slide decoded into a drawing, and the drawing put
// through the rasteriser and every picture writer (PNG, SVG, metafile, DXF).
// Beyond "no crash, no out-of-bounds access, no hang" it checks what the
// writers' readers rely on.

#include "dxfwriter.h"
#include "pngwriter.h"
#include "raster.h"
#include "svgwriter.h"
#include "wmfwriter.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace quarvel::core;

namespace {

// Keeps the first bytes and the count; the rest is thrown away.
class HeadSink : public Sink
{
public:
    void write(const char *data, std::size_t size) override
    {
        if (head.size() < 64)
            head.append(data, std::min<std::size_t>(size, 64 - head.size()));
        total += size;
    }
    std::string head;
    std::size_t total = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    SlideDrawing drawing;
    const DecodeResult r = decodeSlide(reinterpret_cast<const char *>(data), size, &drawing);
    if (!r.isSlide)
        return 0;
    // The last input byte picks the picture's size, so odd and tiny sizes
    // (and sizes that letterbox either way) come up too.
    const int pick = size > 0 ? data[size - 1] : 0;
    const int width = 1 + (pick & 0x0F) * 9;
    const int height = 1 + (pick >> 4) * 7;
    const Rgb background = pick & 1 ? Rgb{255, 255, 255} : Rgb{0, 0, 0};

    const PaletteImage image = rasterize(r.header, drawing, width, height, background);
    if (image.palette.empty() || image.palette.size() > 256 || image.palette[0] != background
        || image.pixels.size() != image.stride * image.height)
        std::abort();
    for (const std::uint8_t entry : image.pixels) {
        if (entry >= image.palette.size())
            std::abort();
    }

    HeadSink png;
    writePng(png, image, {.transparentBackground = (pick & 2) != 0});
    if (png.head.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0)
        std::abort();

    HeadSink svg;
    writeSvg(svg, r.header, drawing, width, height, background);
    if (svg.head.compare(0, 5, "<?xml") != 0)
        std::abort();

    HeadSink wmf;
    writeWmf(wmf, r.header, drawing, background);   // checks its own header totals
    if (wmf.total < 40 || wmf.total % 2 != 0)
        std::abort();

    HeadSink dxf;
    writeDxf(dxf, r.header, drawing);
    if (dxf.head.compare(0, 10, "0\nSECTION\n") != 0)
        std::abort();
    return 0;
}
