#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

namespace rainquill {

// The program's one line-break rule. CR LF, CR alone, LF alone, the line separator U+2028
// and the paragraph separator U+2029 each break a line; the panes show each as a line
// break, and the text is read back, converted and written with each as CR LF.

inline bool IsLineBreak(QChar ch)
{
    return ch == u'\r' || ch == u'\n' || ch == QChar::LineSeparator || ch == QChar::ParagraphSeparator;
}

// The number of code units of the line break that starts at `pos`: 2 for CR LF, 1 for
// any other break, 0 where none starts.
inline qsizetype LineBreakLength(QStringView text, qsizetype pos)
{
    if (pos >= text.size() || !IsLineBreak(text[pos]))
        return 0;
    return text[pos] == u'\r' && pos + 1 < text.size() && text[pos + 1] == u'\n' ? 2 : 1;
}

// The text with every line break written as CR LF.
QString WithCrLfBreaks(QStringView text);

} // namespace rainquill
