#include "ui/widgets/paneoffsets.h"

#include "ui/widgets/panedocument.h"

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

namespace rainquill {

PaneOffsets::PaneOffsets(QTextDocument *document) : QObject(document), m_document(document)
{
    connect(document, &QTextDocument::contentsChange, this, [this] { m_valid = false; });
}

const QList<int> &PaneOffsets::joins()
{
    if (!m_valid) {
        m_joins.clear();
        for (QTextBlock block = m_document->begin().next(); block.isValid(); block = block.next()) {
            if (PaneDocument::continuesParagraph(block))
                m_joins.append(block.position() - 1);
        }
        m_valid = true;
    }
    return m_joins;
}

qsizetype PaneOffsets::size()
{
    return m_document->characterCount() - 1 - joins().size();
}

qsizetype PaneOffsets::offsetOf(int position)
{
    const QList<int> &breaks = joins();
    return position - (std::lower_bound(breaks.cbegin(), breaks.cend(), position) - breaks.cbegin());
}

int PaneOffsets::positionOf(qsizetype offset)
{
    qsizetype position = qMax<qsizetype>(0, offset);
    for (const int join : joins()) {
        if (join > position)
            break;
        ++position; // the break is passed over
    }
    return int(qMin<qsizetype>(position, m_document->characterCount() - 1));
}

} // namespace rainquill
