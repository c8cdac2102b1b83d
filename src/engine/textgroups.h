#pragma once

#include <QChar>
#include <QList>
#include <QString>
#include <QStringView>

#include <array>

namespace rainquill {

// A character is what the reader sees as one: an extended grapheme cluster of Unicode's
// default segmentation (an emoji with its modifiers and joined parts, a flag, a letter
// with its accents, a Hangul syllable of jamo), except that a line break CR LF stays two
// characters, CR then LF.

namespace detail {
// One bit for every UTF-16 code unit that may make a character with a unit beside it.
extern const std::array<quint64, 1024> &JoiningUnits;
} // namespace detail

// Whether a code unit may make one character with a unit beside it: a surrogate, or a
// code point that extends, joins or prepends. A text without any has a character for
// every code unit, and between two units that are neither there is always a boundary.
inline bool MayJoinOthers(QChar unit)
{
    const char16_t u = unit.unicode();
    return u >= 0x300 && (detail::JoiningUnits[u >> 6] >> (u & 63) & 1);
}

inline bool MayJoinAny(QStringView text)
{
    for (const QChar unit : text) {
        if (MayJoinOthers(unit))
            return true;
    }
    return false;
}

// The characters of a text, found once: where a character takes more than one code unit
// (only near units that may join: between two units that are neither there is always a
// boundary), the system's break iterator decides, and what it decided is kept, so that
// counting and walking do not ask it again.
class Characters
{
public:
    explicit Characters(QStringView text);

    QStringView text() const { return m_text; }
    qsizetype count() const { return m_count; }
    // Every character a single code unit.
    bool single() const { return m_count == m_text.size(); }

    // The end of the character that starts at `pos`; fastest when called in order.
    qsizetype next(qsizetype pos) const;

private:
    QStringView m_text;
    qsizetype m_count;
    QList<qint32> m_starts; // of the characters of several units, in order
    QList<qint32> m_ends;
    mutable qsizetype m_cursor = 0;
};

qsizetype CharacterCount(QStringView text);

// The last place at or before `pos`, and after `from` (a boundary), where the text may be
// cut between two characters; `pos` itself when there is none.
qsizetype CharacterStartAtOrBefore(QStringView text, qsizetype pos, qsizetype from);

// Text from outside (a page, a file, an argument) as a caption, a tool tip or a message
// shows it: at most `maxCharacters` characters, and at most four code units for each of
// them, so that a character of a thousand accents cannot pass the bound; when anything
// is left out, the text ends between two characters and "…" follows. Only the start of
// the text is looked at, whatever its length.
inline constexpr qsizetype ShownCharacters = 256;
QString BoundedText(QStringView text, qsizetype maxCharacters = ShownCharacters);

// The whole step that cuts a text of L characters into groups: the step value rounded
// half to even, then 1 when that is more than L - 1 or not at least 1.
qsizetype WholeStep(double stepValue, qsizetype L);

// Calls visit(i, group) for each group of `step` characters of the text, i being the
// 1-based character position of the group's first character.
template<typename Visit>
void ForEachGroup(const Characters &characters, qsizetype step, Visit &&visit)
{
    const QStringView text = characters.text();
    const qsizetype size = text.size();
    if (characters.single()) {
        for (qsizetype pos = 0; pos < size; pos += step)
            visit(pos + 1, text.mid(pos, qMin(step, size - pos)));
        return;
    }
    qsizetype pos = 0;
    for (qsizetype i = 1; pos < size; i += step) {
        qsizetype end = pos;
        for (qsizetype n = 0; n < step && end < size; ++n)
            end = characters.next(end);
        visit(i, text.mid(pos, end - pos));
        pos = end;
    }
}

} // namespace rainquill
