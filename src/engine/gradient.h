#pragma once

#include "engine/numbers.h"

#include <QtGlobal>

namespace rainquill {

// One colour as three channels 0-255.
struct Rgb
{
    int red = 0;
    int green = 0;
    int blue = 0;

    friend bool operator==(const Rgb &, const Rgb &) = default;
};

// The exact value of one channel at the 1-based character position i of a text of
// length L, running in a straight line from a (before the first character) to b (at the
// last): a + (b - a) * i / L, with the product formed exactly.
inline double GradientChannel(int a, int b, qint64 i, qint64 L)
{
    const qint64 product = qint64(b - a) * i;
    const double quotient = double(product) / double(L);
    return a + quotient;
}

// The colour of the group that starts at position i, each channel rounded half to even.
inline Rgb GroupColor(Rgb start, Rgb end, qint64 i, qint64 L)
{
    return {int(RoundHalfEven(GradientChannel(start.red, end.red, i, L))),
            int(RoundHalfEven(GradientChannel(start.green, end.green, i, L))),
            int(RoundHalfEven(GradientChannel(start.blue, end.blue, i, L)))};
}

} // namespace rainquill
