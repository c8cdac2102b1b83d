#pragma once

#include "engine/gradient.h"

#include <QString>
#include <optional>

namespace rainquill {

// A colour as people read it: "#" and six upper-case hexadecimal digits, red first.
QString HexText(Rgb color);

// The colour written as 0xRRGGBB.
Rgb RgbFromValue(quint32 rrggbb);

// The colour of six hexadecimal digits in either case, with or without a "#" before
// them; nothing for any other text.
std::optional<Rgb> RgbFromHexText(QStringView text);

} // namespace rainquill
