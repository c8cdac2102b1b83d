#include "schemes/colorstrip.h"


#include <QRandomGenerator>
#include <algorithm>

namespace rainquill {

Rgb ColorToRGB(KeyColor value)
{
    const int blue = int(value / 65536);
    const int green = int((value - KeyColor(blue) * 65536) / 256);
    const int red = int(value - KeyColor(blue) * 65536 - KeyColor(green) * 256);
    return {red, green, blue};
}

KeyColor RGBToColor(Rgb c)
{
    return KeyColor(c.red) + 256 * KeyColor(c.green) + 65536 * KeyColor(c.blue);
}

ColorStrip Swapped(const ColorStrip &strip)
{
    ColorStrip swapped = strip;
    swapped.setStart(strip.end());
    swapped.setEnd(strip.start());
    return swapped;
}

ColorStrip RandomStrip(QRandomGenerator &generator)
{
    const auto draw = [&generator] {
        const float r = float(generator.generateDouble());
        // A double just below 1 can round up to 1.0f; the value must stay below 256.
        return std::min(int(r * 256.0f), 255);
    };
    ColorStrip strip;
    strip.StartRed = draw();
    strip.StartGreen = draw();
    strip.StartBlue = draw();
    strip.EndRed = draw();
    strip.EndGreen = draw();
    strip.EndBlue = draw();
    return strip;
}

Rgb StripPixel(const ColorStrip &strip, int x, int width)
{
    if (width < 2)
        return strip.end();
    const qint64 span = width - 1;
    const auto channel = [x, span](int a, int b) {
        // (a * (span - x) + b * x) / span reads the same from either end, so the rounding
        // of a tie, and with it the mirror, cannot depend on the direction.
        const qint64 weighted = qint64(a) * (span - x) + qint64(b) * x;
        qint64 whole = weighted / span;
        const qint64 twiceRest = 2 * (weighted % span);
        if (twiceRest > span || (twiceRest == span && whole % 2 == 1))
            ++whole;
        return int(whole);
    };
    return {channel(strip.StartRed, strip.EndRed), channel(strip.StartGreen, strip.EndGreen),
            channel(strip.StartBlue, strip.EndBlue)};
}

} // namespace rainquill
