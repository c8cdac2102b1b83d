#pragma once

#include "engine/gradient.h"

#include <QtGlobal>

class QRandomGenerator;

namespace rainquill {

// A colour as the colour dialog hands it over: red + 256 * green + 65536 * blue.
using KeyColor = quint32;

// The pair of key colours every conversion runs through, start (left end of the
// gradient) and end (right end), six components 0-255 in this fixed order.
struct ColorStrip
{
    int StartRed = 0;
    int StartGreen = 0;
    int StartBlue = 0;
    int EndRed = 0;
    int EndGreen = 0;
    int EndBlue = 0;

    Rgb start() const { return {StartRed, StartGreen, StartBlue}; }
    Rgb end() const { return {EndRed, EndGreen, EndBlue}; }
    void setStart(Rgb c) { StartRed = c.red, StartGreen = c.green, StartBlue = c.blue; }
    void setEnd(Rgb c) { EndRed = c.red, EndGreen = c.green, EndBlue = c.blue; }

    friend bool operator==(const ColorStrip &, const ColorStrip &) = default;
};

// A ready-made key-colour pair; applying it copies its six components into the strip.
using ColorScheme = ColorStrip;

// Splits a colour value into its channels.
Rgb ColorToRGB(KeyColor value);

// The colour value of three channels.
KeyColor RGBToColor(Rgb c);

// The strip with its start and end colours exchanged.
ColorStrip Swapped(const ColorStrip &strip);

// Six random components, drawn in strip order, each the whole part of r * 256 for the
// generator's next single-precision r in [0, 1).
ColorStrip RandomStrip(QRandomGenerator &generator);

// The colour of pixel column x of a drawing `width` pixels wide: the gradient at logical
// column 255 * x / (width - 1), each channel rounded half to even from the exact
// fraction. Pixel 0 is the start colour, the last pixel the end colour, and the drawing of
// the swapped strip is the exact mirror of this one. At a width of 256 pixel x is the
// gradient's column x.
Rgb StripPixel(const ColorStrip &strip, int x, int width);

} // namespace rainquill
