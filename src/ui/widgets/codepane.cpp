#include "ui/widgets/codepane.h"

#include "ui/base/widgetcolors.h"
#include "ui/widgets/codepaneaccessible.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>

#include <cmath>

namespace rainquill {

namespace {

constexpr int Margin = 4;
// Where a tab is laid out within a row: the next of the text layout's stops, at most this.
constexpr qreal TabAdvance = 80;

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
    p.setColor(QPalette::Base, DesignColor::Black);
    p.setColor(QPalette::Text, DesignColor::CodeText);
    setPalette(p);
    // A row is as wide as its characters' advances: no kerning between them.
    QFont f = font();
    f.setKerning(false);
    setFont(f);
    measureFont();
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &CodePane::scrollBarMoved);
    InstallCodePaneAccessible();
}

CodePane::~CodePane() = default;

void CodePane::measureFont()
{
    const QFontMetricsF metrics(font());
    m_text.setAdvance(
        [metrics](char32_t point) {
            return point == u'\t' ? TabAdvance : metrics.horizontalAdvance(QString::fromUcs4(&point, 1));
        },
        [metrics](char32_t point) { return -metrics.rightBearing(QChar(point)); });
    // A row's height with the fallback font of CJK text, which may be taller.
    QTextLayout sample(QStringLiteral("渐Ag"), font());
    sample.beginLayout();
    QTextLine line = sample.createLine();
    sample.endLayout();
    m_rowHeight = qMax(1, int(std::ceil(qMax(line.height(), QFontMetricsF(font()).lineSpacing()))));
    m_layouts.clear();
}

void CodePane::setCode(const QString &code)
{
    m_text.setText(code);
    m_layouts.clear();
    m_top = 0;
    m_anchor = m_caret = 0;
    m_caretX = -1;
    m_clickedWord = {-1, -1};
    syncScrollBar();
    viewport()->update();
    emit selectionChanged();
}

QTextLayout *CodePane::layout(qsizetype row) const
{
    if (m_layouts.size() > 512) // rows long gone from the screen
        m_layouts.clear();
    std::shared_ptr<QTextLayout> &cached = m_layouts[row];
    if (!cached) {
        const qsizetype start = m_text.rowStart(row);
        cached = std::make_shared<QTextLayout>(code().mid(start, m_text.rowEnd(row) - start), font(), viewport());
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        cached->setTextOption(option);
        cached->setCacheEnabled(true);
        cached->beginLayout();
        QTextLine line = cached->createLine();
        line.setLineWidth(m_text.width());
        line.setPosition(QPointF(0, 0));
        cached->endLayout();
    }
    return cached.get();
}

int CodePane::visibleRows() const
{
    return qMax(1, viewport()->height() / m_rowHeight);
}

void CodePane::setTop(qsizetype row)
{
    row = qMax<qsizetype>(0, row);
    // The last rows fill the pane: the top stays a pane's height above the end.
    if (!m_text.hasRow(row + visibleRows() - 1))
        row = qMax<qsizetype>(0, m_text.rowCount() - visibleRows());
    if (row != m_top)
        viewport()->update();
    m_top = row;
    syncScrollBar();
}

void CodePane::scrollBarMoved(int value)
{
    if (m_syncing)
        return;
    // The end of the bar is the end of the code, wherever the estimate put it.
    setTop(value >= verticalScrollBar()->maximum() ? m_text.rowCount() : value);
}

void CodePane::syncScrollBar()
{
    m_syncing = true;
    QScrollBar *bar = verticalScrollBar();
    const qsizetype rows = m_text.estimatedRowCount();
    bar->setRange(0, int(qMin<qsizetype>(INT_MAX, qMax<qsizetype>(0, rows - visibleRows()))));
    bar->setPageStep(visibleRows());
    bar->setValue(int(qMin<qsizetype>(INT_MAX, m_top)));
    m_syncing = false;
}

void CodePane::ensureVisible(qsizetype offset)
{
    const qsizetype row = m_text.rowOf(qBound<qsizetype>(0, offset, code().size()));
    if (row < m_top)
        setTop(row);
    else if (row >= m_top + visibleRows())
        setTop(row - visibleRows() + 1);
}

void CodePane::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    const qreal width = qMax(1, viewport()->width() - 2 * Margin);
    if (width != m_text.width()) {
        const qsizetype top = m_text.hasRow(m_top) ? m_text.rowStart(m_top) : 0;
        m_text.setWidth(width); // the rows wrap anew
        m_layouts.clear();
        m_top = m_text.rowOf(top);
    }
    setTop(m_top);
}

void CodePane::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        const qsizetype top = m_text.hasRow(m_top) ? m_text.rowStart(m_top) : 0;
        measureFont();
        m_top = m_text.rowOf(top);
        setTop(m_top);
        viewport()->update();
    }
}

void CodePane::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    const qsizetype from = qMin(m_anchor, m_caret), to = qMax(m_anchor, m_caret);
    QTextLayout::FormatRange selection;
    selection.format.setBackground(palette().brush(QPalette::Highlight));
    selection.format.setForeground(palette().brush(QPalette::HighlightedText));
    const qsizetype shown = viewport()->height() / m_rowHeight + 1;
    for (qsizetype row = m_top; row < m_top + shown && m_text.hasRow(row); ++row) {
        QTextLayout *rows = layout(row);
        const qsizetype start = m_text.rowStart(row), end = m_text.rowEnd(row);
        QList<QTextLayout::FormatRange> selections;
        if (from < to && from <= end && to > start) {
            selection.start = int(qMax(from, start) - start);
            selection.length = int(qMin(to, end) - start) - selection.start;
            selections.append(selection);
        }
        const QPointF at(Margin, (row - m_top) * m_rowHeight);
        rows->draw(&painter, at, selections);
        // The caret's row is looked up only when the caret is near: after "select all" it
        // is at the far end of the code, whose rows need not be found.
        if (hasFocus() && m_caret >= start && m_caret <= end && m_text.rowOf(m_caret) == row)
            rows->drawCursor(&painter, at, int(m_caret - start));
    }
}

qreal CodePane::xInRow(qsizetype row, qsizetype offset) const
{
    return layout(row)->lineAt(0).cursorToX(int(offset - m_text.rowStart(row)));
}

qsizetype CodePane::offsetAt(QPoint point) const
{
    qsizetype row = qMax<qsizetype>(0, m_top + qsizetype(std::floor(qreal(point.y()) / m_rowHeight)));
    if (!m_text.hasRow(row))
        row = m_text.rowCount() - 1;
    return m_text.rowStart(row) + layout(row)->lineAt(0).xToCursor(point.x() - Margin);
}

QRect CodePane::characterRect(qsizetype offset) const
{
    offset = qBound<qsizetype>(0, offset, code().size());
    const qsizetype row = m_text.rowOf(offset);
    QTextLayout *rows = layout(row);
    const QTextLine line = rows->lineAt(0);
    const int at = int(offset - m_text.rowStart(row));
    const qreal x = line.cursorToX(at);
    const qreal next = at < rows->text().size() ? line.cursorToX(rows->nextCursorPosition(at)) : x;
    const qreal width = next > x ? next - x : QFontMetricsF(font()).horizontalAdvance(u' ');
    return QRectF(Margin + x, (row - m_top) * m_rowHeight, width, m_rowHeight).toAlignedRect();
}

qsizetype CodePane::verticalTarget(qsizetype rows)
{
    const qsizetype from = m_text.rowOf(m_caret);
    if (m_caretX < 0)
        m_caretX = xInRow(from, m_caret);
    qsizetype row = qMax<qsizetype>(0, from + rows);
    if (!m_text.hasRow(row))
        row = m_text.rowCount() - 1;
    return m_text.rowStart(row) + layout(row)->lineAt(0).xToCursor(m_caretX);
}

void CodePane::tell()
{
    viewport()->update();
    emit selectionChanged();
    if (QAccessible::isActive()) {
        QAccessibleTextCursorEvent moved(this, int(m_text.toReader(m_caret)));
        QAccessible::updateAccessibility(&moved);
        QAccessibleTextSelectionEvent selected(this, int(m_text.toReader(qMin(m_anchor, m_caret))),
                                               int(m_text.toReader(qMax(m_anchor, m_caret))));
        QAccessible::updateAccessibility(&selected);
    }
}

void CodePane::setSelection(qsizetype anchor, qsizetype caret)
{
    m_anchor = qBound<qsizetype>(0, anchor, code().size());
    m_caret = qBound<qsizetype>(0, caret, code().size());
    tell();
}

void CodePane::moveCaret(qsizetype offset, bool extend)
{
    setSelection(extend ? m_anchor : offset, offset);
    ensureVisible(m_caret);
}

void CodePane::select(qsizetype anchor, qsizetype caret)
{
    m_caretX = -1;
    setSelection(anchor, caret);
    ensureVisible(m_caret);
}

void CodePane::selectAll()
{
    // As a text box does: the view stays where it is.
    setSelection(0, code().size());
    selectionMade();
}

QString CodePane::selectedText() const
{
    if (m_anchor == m_caret)
        return {};
    if (qAbs(m_caret - m_anchor) == code().size())
        return code(); // shared, not copied
    return code().mid(qMin(m_anchor, m_caret), qAbs(m_caret - m_anchor));
}

void CodePane::copy() const
{
    if (m_caret != m_anchor)
        QGuiApplication::clipboard()->setText(selectedText());
}

// The X11 primary selection holds the selection however it was made.
void CodePane::selectionMade()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (m_anchor != m_caret && clipboard->supportsSelection())
        clipboard->setText(selectedText(), QClipboard::Selection);
}

std::optional<qsizetype> CodePane::caretTarget(const QKeyEvent *event)
{
    const bool words = event->modifiers() & Qt::ControlModifier;
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_Left:
        return words ? m_text.previousWord(m_caret) : m_text.previousCharacter(m_caret);
    case Qt::Key_Right:
        return words ? m_text.nextWord(m_caret) : m_text.nextCharacter(m_caret);
    // Selecting up from the first row or down from the last goes to the code's end, as in
    // a text box.
    case Qt::Key_Up:
        if (extend && m_text.rowOf(m_caret) == 0)
            return 0;
        return verticalTarget(-1);
    case Qt::Key_Down:
        if (extend && !m_text.hasRow(m_text.rowOf(m_caret) + 1))
            return code().size();
        return verticalTarget(1);
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        // The view turns a page and the caret goes with it.
        const qsizetype rows = event->key() == Qt::Key_PageDown ? visibleRows() : -visibleRows();
        const qsizetype target = verticalTarget(rows);
        setTop(m_top + rows);
        return target;
    }
    case Qt::Key_Home:
    case Qt::Key_End: {
        if (words)
            return event->key() == Qt::Key_Home ? 0 : code().size();
        const qsizetype row = m_text.rowOf(m_caret);
        return event->key() == Qt::Key_Home ? m_text.rowStart(row) : m_text.rowEndForCaret(row);
    }
    default:
        return std::nullopt;
    }
}

void CodePane::keyPressEvent(QKeyEvent *event)
{
    const bool vertical = event->key() == Qt::Key_Up || event->key() == Qt::Key_Down
                          || event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown;
    if (event->matches(QKeySequence::Copy)) {
        copy();
    } else if (event->matches(QKeySequence::SelectAll)) {
        m_caretX = -1;
        selectAll();
    } else if (const std::optional<qsizetype> target = caretTarget(event)) {
        // Moving up and down keeps the column it started from; Shift pressed on its own
        // moves nothing and keeps it too.
        if (!vertical)
            m_caretX = -1;
        const bool extend = event->modifiers() & Qt::ShiftModifier;
        moveCaret(*target, extend);
        if (extend)
            selectionMade();
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
    m_dragging = true;
    const QPoint at = event->position().toPoint();
    if (m_tripleClick.isActive() && (at - m_tripleClickAt).manhattanLength() < QApplication::startDragDistance()) {
        // The third click: the line with its line break.
        m_tripleClick.stop();
        m_clickedWord = {-1, -1};
        const qsizetype line = m_text.lineOf(offsetAt(at));
        setSelection(m_text.lineStart(line), m_text.lineNext(line));
        selectionMade();
        m_dragging = false;
        return;
    }
    m_clickedWord = {-1, -1};
    moveCaret(offsetAt(at), event->modifiers() & Qt::ShiftModifier);
}

void CodePane::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    const qsizetype offset = offsetAt(at);
    const qsizetype row = m_text.rowOf(offset);
    if (m_text.rowEnd(row) > m_text.rowStart(row)) {
        m_clickedWord = m_text.wordAt(offset);
        setSelection(m_clickedWord.first, m_clickedWord.second);
        selectionMade();
    }
    m_dragging = true;
    m_tripleClickAt = at;
    m_tripleClick.start(QApplication::doubleClickInterval(), this);
}

void CodePane::dragTo(QPoint point)
{
    const qsizetype offset = offsetAt(point);
    if (m_clickedWord.first < 0) {
        setSelection(m_anchor, offset);
        return;
    }
    // After a double click, by words, as a stock text box goes: over the word clicked, that
    // word; past it, from its far end to the start or the end of the word under the pointer,
    // whichever the pointer is nearer. Off a word, or on one the row's end cuts, the
    // selection stays as it is.
    if (offset >= m_clickedWord.first && offset <= m_clickedWord.second) {
        setSelection(m_clickedWord.first, m_clickedWord.second);
        return;
    }
    const auto [start, end] = m_text.wordAt(offset);
    const qsizetype row = m_text.rowOf(start);
    if (start == end || m_text.rowOf(end) != row)
        return;
    const qreal startX = Margin + xInRow(row, start), endX = Margin + xInRow(row, end);
    if (point.x() < startX || point.x() > endX)
        return;
    const qsizetype anchor = offset < m_clickedWord.first ? m_clickedWord.second : m_clickedWord.first;
    setSelection(anchor, point.x() - startX < endX - point.x() ? start : end);
}

void CodePane::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton) || !m_dragging)
        return;
    m_dragAt = event->position().toPoint();
    // Past the edge the pane keeps scrolling, as long as the button is held.
    if (viewport()->rect().contains(m_dragAt))
        m_autoScroll.stop();
    else if (!m_autoScroll.isActive())
        m_autoScroll.start(100, this);
    m_caretX = -1;
    dragTo(m_dragAt);
}

void CodePane::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_autoScroll.stop();
    if (std::exchange(m_dragging, false))
        selectionMade();
}

void CodePane::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_tripleClick.timerId()) {
        m_tripleClick.stop();
    } else if (event->timerId() == m_autoScroll.timerId()) {
        const int height = viewport()->height();
        const int past = m_dragAt.y() < 0 ? -m_dragAt.y() : m_dragAt.y() - height + 1;
        if (past > 0) {
            setTop(m_top + (m_dragAt.y() < 0 ? -1 : 1));
            dragTo(m_dragAt);
        }
        // Faster the further the mouse is past the edge, as a text box does.
        const int distance = qMax(7, past);
        m_autoScroll.start(qMax(1, 4900 / (distance * distance)), this);
    } else {
        QAbstractScrollArea::timerEvent(event);
    }
}

void CodePane::wheelEvent(QWheelEvent *event)
{
    const int steps = event->angleDelta().y() / 40; // three rows a notch
    if (steps != 0)
        setTop(m_top - steps);
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
                   this, &CodePane::selectAll);
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
