#include "engine/stepbox.h"

#include "engine/numbers.h"

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
    return QString::number(LeadingNumber(text) + delta, 'g', 15).toUpper();
}

} // namespace rainquill
