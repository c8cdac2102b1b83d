#include "ui/codepane.h"

#include <QMimeData>
#include <QTextBlock>

namespace rainquill {

namespace {

constexpr qsizetype DisplayLineLength = 2000;

} // namespace

CodePane::CodePane(QWidget *parent) : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("TxtCode"));
    setReadOnly(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::black);
    p.setColor(QPalette::Text, QColor(192, 192, 192));
    setPalette(p);
    m_blockCodeStart.append(0);
}

void CodePane::setCode(const QString &code)
{
    m_code = code;
    m_blockCodeStart.clear();
    m_blockCodeStart.append(0);

    QString display;
    display.reserve(code.size() + code.size() / DisplayLineLength + 1);
    qsizetype lineLength = 0;
    for (qsizetype pos = 0; pos < code.size(); ++pos) {
        const QChar ch = code[pos];
        if (ch == u'\r' || ch == u'\n') {
            if (ch == u'\r' && pos + 1 < code.size() && code[pos + 1] == u'\n')
                ++pos;
            display.append(u'\n');
            m_blockCodeStart.append(pos + 1);
            lineLength = 0;
            continue;
        }
        if (lineLength >= DisplayLineLength && !ch.isLowSurrogate()) {
            display.append(u'\n');
            m_blockCodeStart.append(pos);
            lineLength = 0;
        }
        display.append(ch);
        ++lineLength;
    }
    setPlainText(display);
}

qsizetype CodePane::codePosition(int displayPosition) const
{
    const QTextBlock block = document()->findBlock(displayPosition);
    if (!block.isValid())
        return m_code.size();
    const qsizetype start = m_blockCodeStart.value(block.blockNumber(), m_code.size());
    return qMin(start + (displayPosition - block.position()), m_code.size());
}

QString CodePane::codeBetween(int displayStart, int displayEnd) const
{
    const qsizetype from = codePosition(displayStart);
    const qsizetype to = codePosition(displayEnd);
    return m_code.mid(from, qMax<qsizetype>(0, to - from));
}

QMimeData *CodePane::createMimeDataFromSelection() const
{
    const QTextCursor cursor = textCursor();
    auto *data = new QMimeData;
    data->setText(codeBetween(cursor.selectionStart(), cursor.selectionEnd()));
    return data;
}

} // namespace rainquill
