#pragma once

#include <QAbstractScrollArea>
#include <QHash>
#include <QList>
#include <memory>
#include <optional>

class QTextLayout;

namespace rainquill {

// The code pane: shows the code, locked against typing, and lets the mouse and the
// keyboard select it and copy it exactly. It does no work for code that is not on screen:
// the code is held as it is, cut into display lines (at its line breaks, and every
// DisplayLineLength units of a longer line) only as far as the view has reached, and only
// the lines on screen are laid out. The vertical scroll bar runs over the code's units, so
// its positions are approximate; wheel, keys and the bar's arrows scroll by rows.
class CodePane : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit CodePane(QWidget *parent = nullptr);
    ~CodePane() override;

    const QString &code() const { return m_code; }
    // Shows the code from its start, nothing selected.
    void setCode(const QString &code);

    // The selection runs from the anchor to the caret, in code units.
    qsizetype anchor() const { return m_anchor; }
    qsizetype caret() const { return m_caret; }
    void select(qsizetype anchor, qsizetype caret);
    QString selectedText() const;
    void copy() const;

    static constexpr qsizetype DisplayLineLength = 2000;

signals:
    void selectionChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool event(QEvent *event) override;

private:
    // A place on screen: the display line, and the row of its layout.
    struct Row
    {
        qsizetype line = 0;
        int row = 0;
    };

    qsizetype lineStart(qsizetype line) const { return m_lineStarts[line]; }
    qsizetype lineEnd(qsizetype line) const;
    bool lineExists(qsizetype line);
    qsizetype lineOf(qsizetype offset);
    QTextLayout *layout(qsizetype line);
    Row rowOf(qsizetype offset);
    qsizetype rowStart(Row row);
    bool nextRow(Row &row);
    bool previousRow(Row &row);

    void scrollRows(int rows);
    void scrollBarMoved(int value);
    void syncScrollBar();
    void showCaret();
    int visibleRows();
    qsizetype offsetAt(QPoint point);
    qsizetype stepCharacter(qsizetype offset, int direction) const;
    void moveCaret(qsizetype offset, bool extend);
    qsizetype verticalTarget(int rows);
    // Where a navigation key takes the caret; nothing for any other key.
    std::optional<qsizetype> caretTarget(const QKeyEvent *event);

    QString m_code;
    QList<qsizetype> m_lineStarts{0}; // the display lines found so far
    bool m_allLinesFound = false;
    QHash<qsizetype, std::shared_ptr<QTextLayout>> m_layouts;
    Row m_top;
    qsizetype m_anchor = 0;
    qsizetype m_caret = 0;
    qreal m_caretX = -1; // kept while moving up and down
    bool m_syncing = false;
};

} // namespace rainquill
