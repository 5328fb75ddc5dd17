#include "aci.h"

#include <array>

namespace quarvel {

namespace {
struct Rgb
{
    unsigned char r, g, b;
};
constexpr std::array<Rgb, 256> kPalette = {{
#include "aci_palette.inc"
}};
} // namespace

QRgb aciColor(int index)
{
    const Rgb &c = kPalette[static_cast<unsigned>(index) & 0xFF];
    return qRgb(c.r, c.g, c.b);
}

bool isDarkBackground(QColor background)
{
    return 0.299 * background.red() + 0.587 * background.green() + 0.114 * background.blue() < 128.0;
}

QRgb aciColorOn(int index, QColor background)
{
    if (index == 7 || index == 0)
        return isDarkBackground(background) ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    return aciColor(index);
}

} // namespace quarvel
