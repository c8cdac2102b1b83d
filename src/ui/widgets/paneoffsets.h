#pragma once

#include <QList>
#include <QObject>

class QTextDocument;

namespace rainquill {

// The offsets of a pane document's text as a screen reader reads it, a stock plain-text
// edit's: every line break one character, the pieces of a paragraph joined, so that the
// break the document keeps between two pieces is no character. The places of those breaks
// are found when first asked after a change.
class PaneOffsets : public QObject
{
    Q_OBJECT

public:
    explicit PaneOffsets(QTextDocument *document);

    // The number of characters of the text read this way.
    qsizetype size();
    // The offset of the document position: a place between two pieces is the end of the
    // first and the start of the second alike.
    qsizetype offsetOf(int position);
    // The document position of the character at the offset (of the end, for the size).
    int positionOf(qsizetype offset);

private:
    const QList<int> &joins();

    QTextDocument *m_document;
    QList<int> m_joins; // the positions of the breaks between pieces, in order
    bool m_valid = false;
};

} // namespace rainquill
