#pragma once

#include <QChar>
#include <QStringView>

namespace rainquill {

// A character is a Unicode code point: a surrogate pair counts as one and is never split.
// A lone surrogate counts as one character of its own.

inline qsizetype NextCharacterEnd(QStringView text, qsizetype pos)
{
    if (QChar::isHighSurrogate(text[pos].unicode()) && pos + 1 < text.size()
        && QChar::isLowSurrogate(text[pos + 1].unicode()))
        return pos + 2;
    return pos + 1;
}

qsizetype CharacterCount(QStringView text);

// Whether a code unit can make one character with a unit beside it: a text without any
// has a character for every code unit.
inline bool MayJoinOthers(QChar unit)
{
    return unit.isSurrogate();
}

// The last place at or before `pos`, and after `from`, where the text may be cut between
// two characters; `pos` itself when there is none.
qsizetype CharacterStartAtOrBefore(QStringView text, qsizetype pos, qsizetype from);

// The whole step that cuts a text of L characters into groups: the step value rounded
// half to even, then 1 when that is more than L - 1 or not at least 1.
qsizetype WholeStep(double stepValue, qsizetype L);

// Calls visit(i, group) for each group of `step` characters of a text of L characters,
// i being the 1-based character position of the group's first character.
template<typename Visit>
void ForEachGroup(QStringView text, qsizetype L, qsizetype step, Visit &&visit)
{
    const qsizetype size = text.size();
    if (L == size) { // no surrogate pairs: characters are code units
        for (qsizetype pos = 0; pos < size; pos += step)
            visit(pos + 1, text.mid(pos, qMin(step, size - pos)));
        return;
    }
    qsizetype pos = 0;
    for (qsizetype i = 1; pos < size; i += step) {
        qsizetype end = pos;
        for (qsizetype n = 0; n < step && end < size; ++n)
            end = NextCharacterEnd(text, end);
        visit(i, text.mid(pos, end - pos));
        pos = end;
    }
}

} // namespace rainquill
