#include "engine/textgroups.h"

#include "engine/numbers.h"

#include <unicode/ubrk.h>
#include <unicode/uchar.h>

namespace rainquill {

namespace {

std::array<quint64, 1024> joiningUnits()
{
    std::array<quint64, 1024> bits{};
    for (UChar32 c = 0x300; c <= 0xFFFF; ++c) {
        bool joins = c >= 0xD800 && c <= 0xDFFF;
        switch (u_getIntPropertyValue(c, UCHAR_GRAPHEME_CLUSTER_BREAK)) {
        case U_GCB_EXTEND:
        case U_GCB_ZWJ:
        case U_GCB_SPACING_MARK:
        case U_GCB_PREPEND:
        case U_GCB_L:
        case U_GCB_V:
        case U_GCB_T:
            joins = true;
            break;
        default:
            // An LV or LVT syllable joins only a V or a T after it, which are marked.
            break;
        }
        if (joins)
            bits[size_t(c >> 6)] |= quint64(1) << (c & 63);
    }
    return bits;
}

const std::array<quint64, 1024> allJoiningUnits = joiningUnits();

// The system's character break iterator, opened once and cloned for every walker.
UBreakIterator *prototype()
{
    static UBreakIterator *const iterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        UBreakIterator *opened = ubrk_open(UBRK_CHARACTER, "", nullptr, 0, &status);
        return U_SUCCESS(status) ? opened : nullptr;
    }();
    return iterator;
}

} // namespace

const std::array<quint64, 1024> &detail::JoiningUnits = allJoiningUnits;

Characters::Characters(QStringView text) : m_text(text), m_count(text.size())
{
    if (!MayJoinAny(text))
        return;
    UErrorCode status = U_ZERO_ERROR;
    UBreakIterator *icu = prototype() ? ubrk_clone(prototype(), &status) : nullptr;
    if (icu)
        ubrk_setText(icu, reinterpret_cast<const UChar *>(text.utf16()), int32_t(text.size()), &status);
    const qsizetype size = text.size();
    bool inStep = false; // the iterator stands at pos: its next boundary follows
    for (qsizetype pos = 0; pos + 1 < size;) {
        qsizetype end = pos + 1;
        if (!MayJoinOthers(text[pos]) && !MayJoinOthers(text[pos + 1])) {
            inStep = false;
        } else if (icu && U_SUCCESS(status)) {
            end = qMax<qsizetype>(pos + 1, inStep ? ubrk_next(icu) : ubrk_following(icu, int32_t(pos)));
            inStep = true;
        } else if (text[pos].isHighSurrogate() && text[pos + 1].isLowSurrogate()) {
            end = pos + 2; // without the break iterator, a surrogate pair is one character
        }
        if (end > pos + 1) {
            m_starts.append(qint32(pos));
            m_ends.append(qint32(end));
            m_count -= end - pos - 1;
        }
        pos = end;
    }
    if (icu)
        ubrk_close(icu);
}

qsizetype Characters::next(qsizetype pos) const
{
    // The cursor is the first character of several units at or after pos.
    if ((m_cursor > 0 && m_starts[m_cursor - 1] >= pos) || (m_cursor < m_starts.size() && m_starts[m_cursor] < pos))
        m_cursor = std::lower_bound(m_starts.cbegin(), m_starts.cend(), pos) - m_starts.cbegin();
    if (m_cursor < m_starts.size() && m_starts[m_cursor] == pos)
        return m_ends[m_cursor++];
    return qMin(pos + 1, m_text.size());
}

qsizetype CharacterCount(QStringView text)
{
    return Characters(text).count();
}

qsizetype CharacterStartAtOrBefore(QStringView text, qsizetype pos, qsizetype from)
{
    if (pos <= from || pos >= text.size())
        return pos;
    // Back to a certain boundary, then forward character by character.
    qsizetype start = pos;
    while (start > from && (MayJoinOthers(text[start]) || MayJoinOthers(text[start - 1])))
        --start;
    if (start == pos)
        return pos;
    const qsizetype end = qMin(text.size(), pos + 64); // past the character that holds pos
    const Characters characters(text.mid(start, end - start));
    qsizetype last = 0;
    for (qsizetype at = 0; at <= pos - start; at = characters.next(at))
        last = at;
    return start + last > from ? start + last : pos;
}

QString BoundedText(QStringView text, qsizetype maxCharacters)
{
    const qsizetype maxUnits = 4 * maxCharacters;
    // A boundary up to maxUnits is the one the whole text has: whether a character ends
    // there looks at the text before it and at the one code point after, never further.
    const qsizetype window = qMin(text.size(), maxUnits + 2);
    const Characters characters(text.first(window));
    qsizetype end = 0;
    for (qsizetype count = 0; count < maxCharacters && end < window; ++count) {
        const qsizetype next = characters.next(end);
        if (next > maxUnits)
            break;
        end = next;
    }
    if (end == text.size())
        return text.toString();
    QString shown;
    shown.reserve(end + 1);
    shown.append(text.first(end)).append(u'\u2026');
    return shown;
}

qsizetype WholeStep(double stepValue, qsizetype L)
{
    const double whole = RoundHalfEven(stepValue);
    if (!(whole >= 1) || whole > double(L - 1))
        return 1;
    return qsizetype(whole);
}

} // namespace rainquill
