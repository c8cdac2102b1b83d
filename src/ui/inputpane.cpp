#include "ui/inputpane.h"

#include "ui/controls.h"

#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace rainquill {

namespace {

// The document keeps a line break as one paragraph separator; the pane's text has CR LF.
// A lone CR or LF also starts a new paragraph.
QString toDocumentText(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype pos = 0; pos < text.size(); ++pos) {
        const QChar ch = text[pos];
        if (ch == u'\r') {
            if (pos + 1 < text.size() && text[pos + 1] == u'\n')
                ++pos;
            out.append(u'\n');
        } else {
            out.append(ch);
        }
    }
    return out;
}

} // namespace

InputPane::InputPane(QWidget *parent) : QTextEdit(parent)
{
    setObjectName(QStringLiteral("RTInput"));
    setAcceptRichText(false);
    setFont(SongTi(9.75));
    document()->setDefaultFont(font());
    setBackgroundColor(RGBToColor({255, 255, 255}));
    connect(this, &QTextEdit::textChanged, this, [this] {
        if (!m_quiet)
            emit changed();
    });
}

template<typename Edit>
void InputPane::quietly(Edit &&edit)
{
    m_quiet = true;
    edit();
    m_quiet = false;
    emit changed();
}

QString InputPane::text() const
{
    const QString raw = document()->toRawText();
    QString out;
    out.reserve(raw.size() + raw.size() / 16);
    for (const QChar ch : raw) {
        if (ch == QChar::ParagraphSeparator || ch == QChar::LineSeparator)
            out.append(u"\r\n");
        else
            out.append(ch);
    }
    return out;
}

void InputPane::replaceText(const QString &text)
{
    quietly([&] {
        setPlainText(toDocumentText(text));
        setCurrentCharFormat(QTextCharFormat());
    });
}

void InputPane::setSelectionColor(KeyColor color)
{
    const Rgb c = ColorToRGB(color);
    setTextColor(QColor(c.red, c.green, c.blue));
}

void InputPane::insertAtCaret(const QString &text)
{
    quietly([&] { textCursor().insertText(toDocumentText(text)); });
}

void InputPane::setBackgroundColor(KeyColor color)
{
    const Rgb c = ColorToRGB(color);
    QPalette p = palette();
    p.setColor(QPalette::Base, QColor(c.red, c.green, c.blue));
    setPalette(p);
}

void InputPane::showPreview(const QString &text, const QList<PreviewRun> &runs)
{
    auto *preview = new QTextDocument(this);
    preview->setDefaultFont(document()->defaultFont());
    preview->setUndoRedoEnabled(false); // no undo records for a million insertions
    QTextCursor cursor(preview);
    QTextCharFormat format;
    qsizetype skipLineFeedAt = -1; // a CR LF split between two runs makes one break
    for (const PreviewRun &run : runs) {
        qsizetype offset = run.offset;
        qsizetype length = run.length;
        if (offset == skipLineFeedAt) {
            ++offset;
            --length;
        }
        const qsizetype end = run.offset + run.length;
        if (end < text.size() && text[end - 1] == u'\r' && text[end] == u'\n')
            skipLineFeedAt = end;
        if (length <= 0)
            continue;
        format.setForeground(QColor(run.color.red, run.color.green, run.color.blue));
        cursor.insertText(toDocumentText(QStringView(text).mid(offset, length)), format);
    }
    preview->setUndoRedoEnabled(true);
    // The pane keeps no document it no longer shows. Its first one belongs to Qt, which
    // deletes it on the swap; an earlier preview is ours to delete.
    QTextDocument *replaced = document()->parent() == this ? document() : nullptr;
    quietly([&] { setDocument(preview); });
    delete replaced;
    // Typing on continues after the text.
    moveCursor(QTextCursor::End);
}

void InputPane::insertFromMimeData(const QMimeData *source)
{
    // Pasted text arrives plain, whatever the source offered.
    if (source->hasText())
        insertAtCaret(source->text());
}

} // namespace rainquill
