#pragma once

#include <QRect>
#include <QStringList>
#include <QtMath>

namespace rainquill {

// The windows are designed in twips; 15 twips make one pixel at 96 dpi, and Qt scales
// pixels for high-dpi screens by itself.
inline constexpr int TwipsPerPixel = 15;

inline int fromTwips(int twips)
{
    return qRound(double(twips) / TwipsPerPixel);
}

// A rectangle as the design gives it: left, top, width, height in twips.
struct TwipsRect
{
    int left;
    int top;
    int width;
    int height;

    QRect toPixels() const { return {fromTwips(left), fromTwips(top), fromTwips(width), fromTwips(height)}; }
};

// The windows ask for 宋体, with free fonts that carry the same characters after it.
inline QStringList CjkFontFamilies()
{
    return {QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
            QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")};
}

} // namespace rainquill
