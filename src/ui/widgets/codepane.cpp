#include "ui/widgets/codepane.h"

#include "ui/platform/accessibility.h"

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>

namespace rainquill {

namespace {

constexpr int Margin = 4;

bool isLineBreak(QChar ch)
{
    return ch == u'\r' || ch == u'\n';
}

} // namespace

CodePane::CodePane(QWidget *parent) : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("TxtCode"));
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::black);
    p.setColor(QPalette::Text, QColor(192, 192, 192));
    setPalette(p);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, [this](int action) {
        // The bar's arrows and page areas scroll by rows; a drag goes to the place dragged to.
        switch (action) {
        case QAbstractSlider::SliderSingleStepAdd: scrollRows(1); break;
        case QAbstractSlider::SliderSingleStepSub: scrollRows(-1); break;
        case QAbstractSlider::SliderPageStepAdd: scrollRows(visibleRows() - 1); break;
        case QAbstractSlider::SliderPageStepSub: scrollRows(1 - visibleRows()); break;
        default: return;
        }
        verticalScrollBar()->setSliderPosition(int(rowStart(m_top)));
    });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &CodePane::scrollBarMoved);
    InstallAccessibility();
}

CodePane::~CodePane() = default;

void CodePane::setCode(const QString &code)
{
    m_code = code;
    m_lineStarts = {0};
    m_allLinesFound = false;
    m_layouts.clear();
    m_top = {};
    m_anchor = m_caret = 0;
    m_caretX = -1;
    syncScrollBar();
    viewport()->update();
    emit selectionChanged();
}

qsizetype CodePane::lineEnd(qsizetype line) const
{
    const qsizetype start = lineStart(line);
    const qsizetype limit = qMin(m_code.size(), start + DisplayLineLength);
    qsizetype end = start;
    while (end < limit && !isLineBreak(m_code[end]))
        ++end;
    if (end == limit && end < m_code.size() && !isLineBreak(m_code[end]) && m_code[end].isLowSurrogate()
        && end > start + 1)
        --end; // a surrogate pair stays on one line
    return end;
}

bool CodePane::lineExists(qsizetype line)
{
    while (line >= m_lineStarts.size() && !m_allLinesFound) {
        const qsizetype last = m_lineStarts.size() - 1;
        qsizetype next = lineEnd(last);
        if (next == m_code.size()) {
            m_allLinesFound = true;
            break;
        }
        if (isLineBreak(m_code[next]))
            next += m_code[next] == u'\r' && next + 1 < m_code.size() && m_code[next + 1] == u'\n' ? 2 : 1;
        m_lineStarts.append(next);
    }
    return line < m_lineStarts.size();
}

qsizetype CodePane::lineOf(qsizetype offset)
{
    while (!m_allLinesFound && m_lineStarts.last() <= offset)
        lineExists(m_lineStarts.size());
    return std::upper_bound(m_lineStarts.cbegin(), m_lineStarts.cend(), offset) - m_lineStarts.cbegin() - 1;
}

QTextLayout *CodePane::layout(qsizetype line)
{
    std::shared_ptr<QTextLayout> &cached = m_layouts[line];
    if (!cached) {
        if (m_layouts.size() > 512) { // lines long gone from the screen
            m_layouts.clear();
            return layout(line);
        }
        const qsizetype start = lineStart(line);
        cached = std::make_shared<QTextLayout>(m_code.mid(start, lineEnd(line) - start), font(), viewport());
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        cached->setTextOption(option);
        cached->setCacheEnabled(true);
        cached->beginLayout();
        qreal y = 0;
        for (QTextLine row = cached->createLine(); row.isValid(); row = cached->createLine()) {
            row.setLineWidth(qMax(1, viewport()->width() - 2 * Margin));
            row.setPosition(QPointF(0, y));
            y += row.height();
        }
        cached->endLayout();
    }
    return cached.get();
}

CodePane::Row CodePane::rowOf(qsizetype offset)
{
    const qsizetype line = lineOf(offset);
    const int position = int(qMin(offset, lineEnd(line)) - lineStart(line));
    return {line, qMax(0, layout(line)->lineForTextPosition(position).lineNumber())};
}

qsizetype CodePane::rowStart(Row row)
{
    return lineStart(row.line) + layout(row.line)->lineAt(row.row).textStart();
}

bool CodePane::nextRow(Row &row)
{
    if (row.row + 1 < layout(row.line)->lineCount()) {
        ++row.row;
        return true;
    }
    if (!lineExists(row.line + 1))
        return false;
    row = {row.line + 1, 0};
    return true;
}

bool CodePane::previousRow(Row &row)
{
    if (row.row > 0) {
        --row.row;
        return true;
    }
    if (row.line == 0)
        return false;
    row = {row.line - 1, layout(row.line - 1)->lineCount() - 1};
    return true;
}

int CodePane::visibleRows()
{
    return qMax(1, viewport()->height() / QFontMetrics(font()).lineSpacing());
}

void CodePane::scrollRows(int rows)
{
    for (; rows < 0 && previousRow(m_top); ++rows) {
    }
    for (; rows > 0; --rows) {
        // Stops when the last row is at the bottom.
        Row below = m_top;
        int left = visibleRows();
        while (left > 0 && nextRow(below))
            --left;
        if (left > 0 || !nextRow(m_top))
            break;
    }
    syncScrollBar();
    viewport()->update();
}

void CodePane::scrollBarMoved(int value)
{
    if (m_syncing)
        return;
    m_top = rowOf(value);
    viewport()->update();
}

void CodePane::syncScrollBar()
{
    m_syncing = true;
    QScrollBar *bar = verticalScrollBar();
    bar->setRange(0, int(m_code.size()));
    bar->setPageStep(int(qMax<qsizetype>(1, qMin<qsizetype>(m_code.size(), visibleRows() * 80))));
    bar->setValue(int(rowStart(m_top)));
    m_syncing = false;
}

void CodePane::resizeEvent(QResizeEvent *event)
{
    const qsizetype top = rowStart(m_top);
    m_layouts.clear(); // rows wrap anew at the new width
    m_top = rowOf(top);
    QAbstractScrollArea::resizeEvent(event);
    syncScrollBar();
}

void CodePane::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    const qsizetype from = qMin(m_anchor, m_caret), to = qMax(m_anchor, m_caret);
    QTextLayout::FormatRange selection;
    selection.format.setBackground(palette().brush(QPalette::Highlight));
    selection.format.setForeground(palette().brush(QPalette::HighlightedText));
    qreal y = -layout(m_top.line)->lineAt(m_top.row).y();
    for (qsizetype line = m_top.line; y < viewport()->height() && lineExists(line); ++line) {
        QTextLayout *rows = layout(line);
        const qsizetype start = lineStart(line), end = lineEnd(line);
        QList<QTextLayout::FormatRange> selections;
        if (from < to && from <= end && to > start) {
            selection.start = int(qMax(from, start) - start);
            selection.length = int(qMin(to, end) - start) - selection.start;
            selections.append(selection);
        }
        const QPointF at(Margin, y);
        rows->draw(&painter, at, selections, viewport()->rect());
        if (hasFocus() && m_caret >= start && m_caret <= end && lineOf(m_caret) == line)
            rows->drawCursor(&painter, at, int(m_caret - start));
        y += rows->boundingRect().height();
    }
}

qsizetype CodePane::offsetAt(QPoint point)
{
    qreal y = -layout(m_top.line)->lineAt(m_top.row).y();
    if (point.y() < 0)
        return rowStart(m_top);
    for (qsizetype line = m_top.line; lineExists(line); ++line) {
        QTextLayout *rows = layout(line);
        for (int n = 0; n < rows->lineCount(); ++n) {
            const QTextLine row = rows->lineAt(n);
            if (point.y() < y + row.y() + row.height())
                return lineStart(line) + row.xToCursor(point.x() - Margin);
        }
        y += rows->boundingRect().height();
    }
    return m_code.size();
}

qsizetype CodePane::stepCharacter(qsizetype offset, int direction) const
{
    if (direction < 0) {
        if (offset == 0)
            return 0;
        --offset;
        if (offset > 0 && ((m_code[offset] == u'\n' && m_code[offset - 1] == u'\r')
                           || (m_code[offset].isLowSurrogate() && m_code[offset - 1].isHighSurrogate())))
            --offset;
        return offset;
    }
    if (offset >= m_code.size())
        return m_code.size();
    ++offset;
    if (offset < m_code.size() && ((m_code[offset] == u'\n' && m_code[offset - 1] == u'\r')
                                   || (m_code[offset].isLowSurrogate() && m_code[offset - 1].isHighSurrogate())))
        ++offset;
    return offset;
}

qsizetype CodePane::verticalTarget(int rows)
{
    Row row = rowOf(m_caret);
    if (m_caretX < 0)
        m_caretX = layout(row.line)->lineAt(row.row).cursorToX(int(m_caret - lineStart(row.line)));
    for (; rows < 0 && previousRow(row); ++rows) {
    }
    for (; rows > 0 && nextRow(row); --rows) {
    }
    return lineStart(row.line) + layout(row.line)->lineAt(row.row).xToCursor(m_caretX);
}

void CodePane::moveCaret(qsizetype offset, bool extend)
{
    m_caret = qBound<qsizetype>(0, offset, m_code.size());
    if (!extend)
        m_anchor = m_caret;
    showCaret();
    viewport()->update();
    emit selectionChanged();
    if (QAccessible::isActive()) {
        QAccessibleTextCursorEvent moved(this, int(m_caret));
        QAccessible::updateAccessibility(&moved);
    }
}

void CodePane::select(qsizetype anchor, qsizetype caret)
{
    m_anchor = qBound<qsizetype>(0, anchor, m_code.size());
    m_caretX = -1;
    moveCaret(caret, true);
}

void CodePane::showCaret()
{
    const Row caret = rowOf(m_caret);
    if (caret.line < m_top.line || (caret.line == m_top.line && caret.row < m_top.row)) {
        m_top = caret;
    } else {
        Row row = m_top;
        int shown = 1;
        while (shown < visibleRows() && (row.line != caret.line || row.row != caret.row) && nextRow(row))
            ++shown;
        if (row.line != caret.line || row.row != caret.row) {
            m_top = caret; // the caret's row becomes the last on screen
            for (int n = 1; n < visibleRows() && previousRow(m_top); ++n) {
            }
        }
    }
    syncScrollBar();
}

QString CodePane::selectedText() const
{
    return m_code.mid(qMin(m_anchor, m_caret), qAbs(m_caret - m_anchor));
}

void CodePane::copy() const
{
    if (m_caret != m_anchor)
        QGuiApplication::clipboard()->setText(selectedText());
}

std::optional<qsizetype> CodePane::caretTarget(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        return stepCharacter(m_caret, -1);
    case Qt::Key_Right:
        return stepCharacter(m_caret, 1);
    case Qt::Key_Up:
        return verticalTarget(-1);
    case Qt::Key_Down:
        return verticalTarget(1);
    case Qt::Key_PageUp:
        return verticalTarget(1 - visibleRows());
    case Qt::Key_PageDown:
        return verticalTarget(visibleRows() - 1);
    case Qt::Key_Home:
    case Qt::Key_End: {
        if (event->modifiers() & Qt::ControlModifier)
            return event->key() == Qt::Key_Home ? 0 : m_code.size();
        const Row row = rowOf(m_caret);
        const QTextLine line = layout(row.line)->lineAt(row.row);
        const qsizetype start = lineStart(row.line) + line.textStart();
        return event->key() == Qt::Key_Home ? start : qMin(start + line.textLength(), lineEnd(row.line));
    }
    default:
        return std::nullopt;
    }
}

void CodePane::keyPressEvent(QKeyEvent *event)
{
    const bool vertical = event->key() == Qt::Key_Up || event->key() == Qt::Key_Down
                          || event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown;
    if (!vertical)
        m_caretX = -1; // moving up and down keeps the column it started from
    if (event->matches(QKeySequence::Copy)) {
        copy();
    } else if (event->matches(QKeySequence::SelectAll)) {
        select(0, m_code.size());
    } else if (const std::optional<qsizetype> target = caretTarget(event)) {
        const qreal x = m_caretX;
        moveCaret(*target, event->modifiers() & Qt::ShiftModifier);
        m_caretX = vertical ? x : -1;
    } else if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        event->ignore(); // locked against typing; a multi-line box takes Enter all the same
        return;
    }
    event->accept();
}

bool CodePane::event(QEvent *event)
{
    // Copy and select all are the pane's own while it has the focus.
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::SelectAll)) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void CodePane::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    m_caretX = -1;
    moveCaret(offsetAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
}

void CodePane::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint at = event->position().toPoint();
    if (at.y() < 0)
        scrollRows(-1);
    else if (at.y() > viewport()->height())
        scrollRows(1);
    m_caretX = -1;
    moveCaret(offsetAt(at), true);
    if (QClipboard *clipboard = QGuiApplication::clipboard(); clipboard->supportsSelection())
        clipboard->setText(selectedText(), QClipboard::Selection);
}

void CodePane::wheelEvent(QWheelEvent *event)
{
    const int steps = event->angleDelta().y() / 40; // three rows a notch
    if (steps != 0)
        scrollRows(-steps);
    event->accept();
}

void CodePane::contextMenuEvent(QContextMenuEvent *event)
{
    // The menu a locked text box offers, in Qt's own words.
    QMenu menu(this);
    QAction *copyAction = menu.addAction(
        QCoreApplication::translate("QWidgetTextControl", "&Copy") + u'\t'
            + QKeySequence(QKeySequence::Copy).toString(QKeySequence::NativeText),
        this, &CodePane::copy);
    copyAction->setEnabled(m_caret != m_anchor);
    menu.addSeparator();
    menu.addAction(QCoreApplication::translate("QWidgetTextControl", "Select All") + u'\t'
                       + QKeySequence(QKeySequence::SelectAll).toString(QKeySequence::NativeText),
                   this, [this] { select(0, m_code.size()); });
    menu.exec(event->globalPos());
}

void CodePane::focusInEvent(QFocusEvent *event)
{
    viewport()->update();
    QAbstractScrollArea::focusInEvent(event);
}

void CodePane::focusOutEvent(QFocusEvent *event)
{
    viewport()->update();
    QAbstractScrollArea::focusOutEvent(event);
}

} // namespace rainquill
