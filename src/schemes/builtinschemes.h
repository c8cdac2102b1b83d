#pragma once

#include "schemes/colorstrip.h"

#include <array>

namespace rainquill {

// The ten schemes fixed in the program, numbered 0-9 by the swatch that shows them and
// labelled one higher (①-⑩).
extern const std::array<ColorScheme, 10> BuiltInSchemes;

} // namespace rainquill
