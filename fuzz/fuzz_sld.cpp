// libFuzzer target: one slide (either format, either byte order, damaged or
// not) decoded into a drawing, and the drawing exported as a metafile.
// Beyond "no crash, no out-of-bounds read" it checks what callers rely on.

#include "slideformat.h"
#include "wmfwriter.h"

#include <cstdint>
#include <cstdlib>

using namespace quarvel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto *bytes = reinterpret_cast<const char *>(data);
    const auto n = static_cast<qsizetype>(size);
    SlideDrawing drawing;
    const DecodeResult r = decodeSlide(bytes, n, &drawing);

    if (r.length < 0 || r.length > n)
        std::abort();
    for (const SlideDrawing::Batch &b : drawing.batches) {
        const std::size_t limit = b.kind == SlideDrawing::Kind::Lines ? drawing.lines.size() : drawing.points.size();
        if (std::size_t(b.first) + b.count > limit || b.count == 0)
            std::abort();
    }
    if (r.isSound()) {
        // A sound slide ends at its end-of-file record: what follows is
        // never read, so cutting it off must not change the outcome.
        const DecodeResult alone = decodeSlide(bytes, r.length);
        if (!alone.isSound() || alone.length != r.length || alone.stats.vectors != r.stats.vectors
            || alone.stats.fillPolygons != r.stats.fillPolygons)
            std::abort();
    }
    if (r.isSlide)
        (void)slideToWmf(r.header, drawing, Qt::black);
    return 0;
}
