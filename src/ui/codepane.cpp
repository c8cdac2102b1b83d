#include "ui/codepane.h"

#include "ui/documentswap.h"

#include <QKeyEvent>
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
    setTabChangesFocus(true);
    // Locked against typing, but with a caret: the keyboard selects and copies as the
    // mouse does.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::black);
    p.setColor(QPalette::Text, QColor(192, 192, 192));
    setPalette(p);
}

void CodePane::setCode(const QString &code)
{
    setCode(code, buildDisplay(code));
}

void CodePane::setCode(const QString &code, Display display)
{
    m_code = code;
    m_displayStale = !display.document;
    if (!m_displayStale)
        show(std::move(display));
}

void CodePane::showEvent(QShowEvent *event)
{
    if (m_displayStale) {
        m_displayStale = false;
        try {
            show(buildDisplay(m_code));
        } catch (const std::bad_alloc &) {
            // Too little memory to show the code: the pane stays as it was, the code is
            // still whole for copying.
        }
    }
    QPlainTextEdit::showEvent(event);
}

void CodePane::keyPressEvent(QKeyEvent *event)
{
    // The pane uses Enter itself, as a multi-line box does, though it is locked.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

CodePane::Display CodePane::buildDisplay(const QString &code) const
{
    Display result;
    if (!isVisible())
        return result;
    result.blockCodeStart.append(0);

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
        result.blockCodeStart.append(end);
        pos = end;
    }
    result.document = std::make_unique<QTextDocument>();
    result.document->setDocumentLayout(new QPlainTextDocumentLayout(result.document.get()));
    result.document->setDefaultFont(document()->defaultFont());
    result.document->setUndoRedoEnabled(false);
    result.document->setPlainText(display);
    return result;
}

void CodePane::show(Display display)
{
    SwapDocument(this, display.document.release());
    m_blockCodeStart = std::move(display.blockCodeStart);
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
