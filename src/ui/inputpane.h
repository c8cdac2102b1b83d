#pragma once

#include "engine/preview.h"
#include "schemes/colorstrip.h"

#include <QTextEdit>

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

    // Shows `text` (as `text()` returns it) coloured run by run. The preview is built away
    // from the widget and swapped in whole, one change for the whole rebuild.
    void showPreview(const QString &text, const QList<PreviewRun> &runs);

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
