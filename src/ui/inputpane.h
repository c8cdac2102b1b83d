#pragma once

#include "engine/preview.h"
#include "schemes/colorstrip.h"

#include <QTextEdit>
#include <memory>

namespace rainquill {

// The input pane: the user's text, and the coloured preview shown in its place. Its
// text reads with every line break as CR LF; `changed` is raised once for every change,
// whether typed, pasted or set by the program.
class InputPane : public QTextEdit
{
    Q_OBJECT

public:
    explicit InputPane(QWidget *parent = nullptr);

    QString text() const;
    // Replaces the whole text by plain, uncoloured text; the caret goes to the start.
    void replaceText(const QString &text);
    // The colour of the text inserted next at the caret.
    void setSelectionColor(KeyColor color);
    void insertAtCaret(const QString &text);
    void setBackgroundColor(KeyColor color);

    // The preview of `text` (as `text()` returns it), coloured run by run, built away from
    // the widget; showDocument swaps it in whole, one change for the whole rebuild, with the
    // caret at the end.
    std::unique_ptr<QTextDocument> buildPreview(const QString &text, const QList<PreviewRun> &runs) const;
    void showDocument(std::unique_ptr<QTextDocument> document);

signals:
    void changed();

protected:
    void insertFromMimeData(const QMimeData *source) override;

private:
    // From this many characters on, a paste is built away from the widget and lines are
    // broken anywhere.
    static constexpr qsizetype LongText = 30000;

    void swapIn(QTextDocument *next);
    static QTextOption::WrapMode wrapModeFor(qsizetype length);
    void fitWrapMode(qsizetype length);
    template<typename Edit>
    void quietly(Edit &&edit);

    bool m_quiet = false;
};

} // namespace rainquill
