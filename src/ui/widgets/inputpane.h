#pragma once

#include "engine/preview.h"
#include "schemes/colorstrip.h"

#include <QPlainTextEdit>
#include <memory>
#include <optional>

namespace rainquill {

// The input pane: the user's text, and the coloured preview shown in its place. Its
// text reads with every line break as CR LF; `changed` is raised once for every change,
// whether typed, pasted or set by the program. It lays out only what it shows, so that a
// long text costs no more to type into, scroll or convert than what is on screen.
class InputPane : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit InputPane(QWidget *parent = nullptr);

    QString text() const;
    // The number of characters of text(), as CharacterCount counts them; for a text whose
    // characters are all single code units, found without reading more of the text than
    // the last change reached.
    qsizetype characterCount() const;

    // Replaces the whole text by plain, uncoloured text; the caret goes to the start.
    void replaceText(const QString &text);
    // The colour of the text inserted next at the caret.
    void setSelectionColor(KeyColor color);
    void insertAtCaret(const QString &text);
    void setBackgroundColor(KeyColor color);

    // The preview of `text` (as `text()` returns it), coloured run by run, built away from
    // the widget; showDocument swaps it in whole, one change for the whole rebuild, with the
    // caret at the end and the end in view.
    std::unique_ptr<QTextDocument> buildPreview(QStringView text, const QList<PreviewRun> &runs) const;
    void showDocument(std::unique_ptr<QTextDocument> document);

signals:
    void changed();

protected:
    void insertFromMimeData(const QMimeData *source) override;
    QMimeData *createMimeDataFromSelection() const override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void swapIn(std::unique_ptr<QTextDocument> next);
    void watch(QTextDocument *document);

    // What a block adds to the count of characters, beyond its code units: its line
    // separators, whether it continues a paragraph, and whether it holds a code unit that
    // may join another. Kept in the block's user state until the block changes.
    struct BlockCount
    {
        int separators = 0;
        bool continues = false;
        bool mayJoin = false;
    };
    static BlockCount countOf(QTextBlock block);

    // The counts of all blocks, kept as the text changes; none until first asked.
    struct Totals
    {
        qsizetype separators = 0;
        qsizetype pieces = 0;
        qsizetype joining = 0;
        void add(const BlockCount &block, int sign);
    };
    mutable std::optional<Totals> m_totals;
    mutable int m_blocks = 1;
    template<typename Edit>
    void quietly(Edit &&edit);

    bool m_quiet = false;
};

} // namespace rainquill
