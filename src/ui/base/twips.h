#pragma once

#include <QRect>
#include <QtMath>

namespace rainquill {

// The windows are designed in twips; 15 twips make one pixel at 96 dpi, and Qt scales
// pixels for high-dpi screens by itself.
inline constexpr int TwipsPerPixel = 15;

inline int fromTwips(int twips)
{
    return qRound(double(twips) / TwipsPerPixel);
}

// A rectangle of the window's fixed layout: left, top, width, height in twips.
struct TwipsRect
{
    int left;
    int top;
    int width;
    int height;

    QRect toPixels() const { return {fromTwips(left), fromTwips(top), fromTwips(width), fromTwips(height)}; }
};

} // namespace rainquill
