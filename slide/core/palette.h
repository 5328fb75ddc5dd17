#pragma once

// The AutoCAD Colour Index: 256 colours, of which 7 (and 0, ByBlock, drawn
// like it) is the foreground colour: white on a dark background, black on a
// light one.

#include <cstdint>

namespace quarvel::core {

struct Rgb
{
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb &, const Rgb &) = default;
};

// The colour of an index as listed (7 and 0 as white).
Rgb aciColor(int index);
bool isDarkBackground(Rgb background);
// The colour an index is drawn in on the given background.
Rgb aciColorOn(int index, Rgb background);

} // namespace quarvel::core
