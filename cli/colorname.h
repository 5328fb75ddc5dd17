#pragma once

// Background colours given on the command line: #RGB, #RRGGBB or an SVG
// colour keyword ("white", "lightgray", ...), without regard to case.

#include "palette.h"

#include <optional>
#include <string>

namespace quarvel::cli {

std::optional<core::Rgb> parseColor(const std::string &text);

} // namespace quarvel::cli
