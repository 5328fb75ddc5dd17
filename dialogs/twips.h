#pragma once

// The dialogs are laid out in twips as designed, at 15 twips to a pixel (96
// dots per inch), whatever the screen: their controls keep their designed
// places and proportions.

#include "panelayout.h"

#include <QRect>
#include <QSize>

namespace quarvel {

inline constexpr double kDialogDpi = 96;

inline QRect twipsRect(float left, float top, float width, float height)
{
    return toPixels(TwipRect{left, top, width, height}, kDialogDpi);
}

inline QSize twipsSize(float width, float height)
{
    return twipsRect(0, 0, width, height).size();
}

} // namespace quarvel
