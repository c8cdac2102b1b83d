#include "engine/textgroups.h"

#include "engine/numbers.h"

#include <algorithm>

namespace rainquill {

qsizetype CharacterCount(QStringView text)
{
    if (std::none_of(text.begin(), text.end(), MayJoinOthers))
        return text.size();
    qsizetype count = 0;
    for (qsizetype pos = 0; pos < text.size(); pos = NextCharacterEnd(text, pos))
        ++count;
    return count;
}

qsizetype CharacterStartAtOrBefore(QStringView text, qsizetype pos, qsizetype from)
{
    if (pos > from + 1 && pos < text.size() && text[pos].isLowSurrogate() && text[pos - 1].isHighSurrogate())
        return pos - 1;
    return pos;
}

qsizetype WholeStep(double stepValue, qsizetype L)
{
    const double whole = RoundHalfEven(stepValue);
    if (!(whole >= 1) || whole > double(L - 1))
        return 1;
    return qsizetype(whole);
}

} // namespace rainquill
