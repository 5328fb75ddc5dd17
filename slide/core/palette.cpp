#include "palette.h"

#include <array>

namespace quarvel::core {

namespace {
constexpr std::array<Rgb, 256> kPalette = {{
#include "aci_palette.inc"
}};
} // namespace

Rgb aciColor(int index)
{
    return kPalette[static_cast<unsigned>(index) & 0xFF];
}

bool isDarkBackground(Rgb background)
{
    return 0.299 * background.r + 0.587 * background.g + 0.114 * background.b < 128.0;
}

Rgb aciColorOn(int index, Rgb background)
{
    if (index == 7 || index == 0)
        return isDarkBackground(background) ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
    return aciColor(index);
}

} // namespace quarvel::core
