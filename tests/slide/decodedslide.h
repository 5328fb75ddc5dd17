#pragma once

// A slide decoded once, for tests that draw or export it.

#include "slideformat.h"

namespace quarvel::test {

struct DecodedSlide
{
    SlideHeader header;
    SlideDrawing drawing;
};

inline DecodedSlide decodeBytes(const QByteArray &bytes)
{
    DecodedSlide d;
    d.header = decodeSlide(bytes, &d.drawing).header;
    return d;
}

} // namespace quarvel::test
