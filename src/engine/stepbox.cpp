#include "engine/stepbox.h"

#include "engine/numbers.h"

#include <algorithm>

namespace rainquill {

QString SettleStepText(const QString &text)
{
    const double v = LeadingNumber(text);
    if (v == 0)
        return QStringLiteral("1");
    if (v > 100)
        return QStringLiteral("100");
    return text;
}

QString StepArrowText(const QString &text, int delta)
{
    // A text too large for a double reads as an infinity; the arrow writes the largest
    // number of 15 digits that still reads back as a finite one.
    constexpr double limit = 1.79769313486231e308;
    const double value = std::clamp(LeadingNumber(text) + delta, -limit, limit);
    return QString::number(value, 'g', 15).toUpper();
}

} // namespace rainquill
