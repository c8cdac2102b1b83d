#pragma once

#include <QStringView>
#include <optional>

namespace rainquill {

// Reads the number at the start of a text, the way every numeric text of the program is
// read: spaces, tabs and line feeds are dropped wherever they stand, then the longest
// leading decimal number (sign, digits, one point, an exponent with E or D) or a
// hexadecimal (&H) or octal (&O) whole number is taken. A text without one reads as 0,
// an exponent too large for a double as infinity of its sign.
double LeadingNumber(QStringView text);

// The number a whole text spells, blanks around it allowed ("12", " 0.4 ", "&H1F"); no
// value when anything else is left over ("12abc", "1 2", "").
std::optional<double> EntireNumber(QStringView text);

// Rounds to the nearest whole number, ties to the even neighbour (2.5 -> 2, 3.5 -> 4).
// Inline: the code writer rounds three channels per group.
inline double RoundHalfEven(double value)
{
    // Adding and taking away 1.5 * 2^52 leaves no fraction bits, so the sum is rounded in
    // the default mode, to nearest with ties to even. Larger magnitudes are already whole.
    constexpr double shift = 6755399441055744.0;
    if (!(value > -shift / 2 && value < shift / 2))
        return value;
    return (value + shift) - shift;
}

} // namespace rainquill
