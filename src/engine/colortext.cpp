#include "engine/colortext.h"

namespace rainquill {

namespace {

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

} // namespace

QString HexText(Rgb color)
{
    const quint32 value = quint32(color.red) << 16 | quint32(color.green) << 8 | quint32(color.blue);
    return QLatin1Char('#') + QString::number(value, 16).rightJustified(6, QLatin1Char('0')).toUpper();
}

Rgb RgbFromValue(quint32 rrggbb)
{
    return {int(rrggbb >> 16 & 0xFF), int(rrggbb >> 8 & 0xFF), int(rrggbb & 0xFF)};
}

std::optional<Rgb> RgbFromHexText(QStringView text)
{
    if (text.startsWith(QLatin1Char('#')))
        text = text.mid(1);
    if (text.size() != 6)
        return std::nullopt;
    quint32 value = 0;
    for (const QChar c : text) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = value << 4 | quint32(digit);
    }
    return RgbFromValue(value);
}

} // namespace rainquill
