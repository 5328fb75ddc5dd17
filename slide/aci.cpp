#include "aci.h"

namespace quarvel {

QRgb aciColor(int index)
{
    return toQRgb(core::aciColor(index));
}

bool isDarkBackground(QColor background)
{
    return core::isDarkBackground(toCoreRgb(background));
}

QRgb aciColorOn(int index, QColor background)
{
    return toQRgb(core::aciColorOn(index, toCoreRgb(background)));
}

} // namespace quarvel
