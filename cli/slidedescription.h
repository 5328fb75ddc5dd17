#pragma once

// A small text language for making slides by hand (the bundled sample, test
// and fuzz input): one statement per line, "#" starts a comment.
//
//   size W H            drawing area, W x H dots; must come first
//   aspect A            physical width / height (default: W / H)
//   color N             colour index 0..255
//   line X1 Y1 X2 Y2    polyline X Y X Y ...    polygon X Y X Y ...
//   rect X Y W H        fill X Y X Y X Y ...    circle CX CY R
//   disc CX CY R        arc CX CY R FROM TO     (degrees, counter-clockwise)
//   offset DX1 DY1 DX2 DY2                      endpoint DX DY
//
// Connected lines are written compactly: the first vector of a chain is
// stored backwards (a vector leaves its from point as the last point), and
// the following segments as common-endpoint vectors wherever their offsets
// fit in a byte.

#include <string>

namespace quarvel::cli {

// The slide the text describes. Throws core::Error naming source and the
// line at fault.
std::string slideFromDescription(const std::string &text, const std::string &source);

} // namespace quarvel::cli
