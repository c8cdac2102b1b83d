#pragma once

#include "ui/widgets/codetext.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QHash>
#include <memory>
#include <optional>

class QTextLayout;

namespace rainquill {

// The code pane: shows the code, locked against typing, and lets the mouse and the
// keyboard select it and copy it exactly. Its model (CodeText) finds the rows without
// laying out text; the pane lays out only the rows on screen. The vertical scroll bar runs
// over the rows: over those found so far and an estimate of the rest, until the bar is
// taken to its end, which finds them all.
class CodePane : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit CodePane(QWidget *parent = nullptr);
    ~CodePane() override;

    const QString &code() const { return m_text.text(); }
    const CodeText &model() const { return m_text; }
    // Shows the code from its start, nothing selected.
    void setCode(const QString &code);

    // The selection runs from the anchor to the caret, in code units.
    qsizetype anchor() const { return m_anchor; }
    qsizetype caret() const { return m_caret; }
    // Selects and brings the caret into view.
    void select(qsizetype anchor, qsizetype caret);
    void selectAll();
    QString selectedText() const;
    void copy() const;

    // The row at the top of the pane, and how many whole rows the pane shows.
    qsizetype topRow() const { return m_top; }
    int visibleRows() const;
    // Where the character at the offset is painted, in the viewport's coordinates (for a
    // row off screen, where it would be painted); the code's end gives the caret's place.
    QRect characterRect(qsizetype offset) const;
    // The offset nearest to a point of the viewport.
    qsizetype offsetAt(QPoint point) const;
    // Scrolls as little as it takes to show the row of the offset.
    void ensureVisible(qsizetype offset);

signals:
    void selectionChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool event(QEvent *event) override;

private:
    QTextLayout *layout(qsizetype row) const;
    // Where an offset of the row stands, from the row's left edge.
    qreal xInRow(qsizetype row, qsizetype offset) const;
    void measureFont();
    void setTop(qsizetype row);
    void scrollBarMoved(int value);
    void syncScrollBar();
    qsizetype verticalTarget(qsizetype rows);
    // Where a navigation key takes the caret; nothing for any other key.
    std::optional<qsizetype> caretTarget(const QKeyEvent *event);
    void moveCaret(qsizetype offset, bool extend);
    void setSelection(qsizetype anchor, qsizetype caret);
    void dragTo(QPoint point);
    void selectionMade();
    void tell();

    CodeText m_text;
    mutable QHash<qsizetype, std::shared_ptr<QTextLayout>> m_layouts;
    int m_rowHeight = 1;
    qsizetype m_top = 0;
    qsizetype m_anchor = 0;
    qsizetype m_caret = 0;
    qreal m_caretX = -1; // kept while moving up and down
    bool m_syncing = false;

    // The mouse: a drag, scrolling on while it is past the edge; after a double click it
    // extends by words; a third click soon after selects the line.
    bool m_dragging = false;
    QPoint m_dragAt;
    QBasicTimer m_autoScroll;
    std::pair<qsizetype, qsizetype> m_clickedWord{-1, -1};
    QBasicTimer m_tripleClick;
    QPoint m_tripleClickAt;
};

} // namespace rainquill
