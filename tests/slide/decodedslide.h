#pragma once

// A slide decoded once, for tests that draw or export it.

#include "slideformat.h"

namespace quarvel::test {

struct DecodedSlide
{
    SlideHeader header;
    SlideDrawing drawing;
    DecodeResult result;
};

inline DecodedSlide decodeBytes(const QByteArray &bytes)
{
    DecodedSlide d;
    d.result = decodeSlide(bytes, &d.drawing);
    d.header = d.result.header;
    return d;
}

} // namespace quarvel::test
