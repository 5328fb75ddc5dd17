#pragma once

// Readable failure output for rectangles in twips.

#include "panelayout.h"

#include <ostream>

namespace quarvel {
inline void PrintTo(const TwipRect &r, std::ostream *os)
{
    *os << "{" << r.left << ", " << r.top << ", " << r.width << ", " << r.height << "}";
}
} // namespace quarvel
