#include "ui/codepane.h"

#include <QMimeData>
#include <QShowEvent>
#include <QTextBlock>

namespace rainquill {

namespace {

constexpr qsizetype DisplayLineLength = 2000;

} // namespace

CodePane::CodePane(QWidget *parent) : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("TxtCode"));
    setReadOnly(true);
    // Locked against typing, but with a caret: the keyboard selects and copies as the
    // mouse does.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
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
    m_displayStale = !isVisible();
    if (!m_displayStale)
        fillDisplay();
}

void CodePane::showEvent(QShowEvent *event)
{
    if (m_displayStale) {
        m_displayStale = false;
        fillDisplay();
    }
    QPlainTextEdit::showEvent(event);
}

void CodePane::fillDisplay()
{
    const QString &code = m_code;
    m_blockCodeStart.clear();
    m_blockCodeStart.append(0);

    // Lines of the code, each cut into display lines of at most DisplayLineLength units
    // (never inside a surrogate pair); CR LF, CR and LF all end a line.
    QString display;
    display.reserve(code.size() + code.size() / DisplayLineLength + 1);
    const qsizetype size = code.size();
    qsizetype pos = 0;
    while (pos < size) {
        qsizetype end = pos;
        const qsizetype limit = qMin(size, pos + DisplayLineLength);
        while (end < limit && code[end] != u'\r' && code[end] != u'\n')
            ++end;
        if (end == limit && end < size && code[end].isLowSurrogate())
            --end;
        display.append(QStringView(code).mid(pos, end - pos));
        if (end == size)
            break;
        display.append(u'\n');
        if (code[end] == u'\r' || code[end] == u'\n') {
            end += (code[end] == u'\r' && end + 1 < size && code[end + 1] == u'\n') ? 2 : 1;
        }
        m_blockCodeStart.append(end);
        pos = end;
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
