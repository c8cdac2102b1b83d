#pragma once

#include "engine/preview.h"
#include "schemes/colorstrip.h"

#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>
#include <memory>

namespace rainquill {

class PaneCount;
class PaneOffsets;

// The input pane: the user's text, and the coloured preview shown in its place. Its
// text reads with every line break as CR LF; `changed` is raised once for every change,
// whether typed, pasted or set by the program. It holds the text as a stock plain-text
// edit does, a block a paragraph (see PaneDocument), and lays out only what it shows.
class InputPane : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit InputPane(QWidget *parent = nullptr);

    QString text() const;
    // The number of characters of text(), as CharacterCount counts them.
    qsizetype characterCount() const;
    // The offsets a screen reader reads (every line break one character).
    PaneOffsets &offsets() const;

    // Replaces the whole text by plain, uncoloured text; the caret goes to the start.
    void replaceText(const QString &text);
    // Empties the pane as one step to undo, which brings back what it held.
    void clearText();
    // The colour of the text inserted next at the caret.
    void setSelectionColor(KeyColor color);
    void insertAtCaret(const QString &text);
    void setBackgroundColor(KeyColor color);

    // The preview of `text` (as `text()` returns it), coloured run by run, built away from
    // the widget; showDocument swaps it in whole, one change for the whole rebuild, with the
    // caret at the end and the end in view.
    std::unique_ptr<QTextDocument> buildPreview(QStringView text, const QList<PreviewRun> &runs) const;
    void showDocument(std::unique_ptr<QTextDocument> document);

    // Where the character at the document position is painted, in the viewport's pixels.
    QRect characterRect(int position) const;

signals:
    void changed();

protected:
    void insertFromMimeData(const QMimeData *source) override;
    QMimeData *createMimeDataFromSelection() const override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void swapIn(std::unique_ptr<QTextDocument> next);
    void watch(QTextDocument *document);
    void stepOverJoin(const QKeyEvent *event);
    void selectParagraph();
    void offerSelection();

    template<typename Edit>
    void quietly(Edit &&edit);

    bool m_quiet = false;
    QPointer<PaneCount> m_count;
    QPointer<PaneOffsets> m_offsets;
    QTimer m_tripleClick; // runs from a double click for as long as a third click counts
    QPoint m_doubleClickAt;
    QTimer m_selectionOffer; // the X11 selection, offered once the selection has settled
};

} // namespace rainquill
