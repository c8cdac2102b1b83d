#include "ui/inputpane.h"

#include "ui/controls.h"
#include "ui/documentswap.h"

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
    setTabChangesFocus(true); // Tab walks the window; a TAB can still be pasted
    setFont(SongTi(9.75));
    document()->setDefaultFont(font());
    setBackgroundColor(RGBToColor({255, 255, 255}));
    connect(this, &QTextEdit::textChanged, this, [this] {
        fitWrapMode(document()->characterCount());
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

QTextOption::WrapMode InputPane::wrapModeFor(qsizetype length)
{
    // Breaking lines at word boundaries costs time that grows with the square of the
    // longest run without a break opportunity (a million letters took minutes); a long
    // text breaks its lines anywhere, which costs time in proportion to its length.
    return length > LongText ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
}

void InputPane::fitWrapMode(qsizetype length)
{
    if (wordWrapMode() != wrapModeFor(length))
        setWordWrapMode(wrapModeFor(length));
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
    if (text.size() < LongText) {
        fitWrapMode(text.size());
        quietly([&] {
            setPlainText(toDocumentText(text));
            setCurrentCharFormat(QTextCharFormat());
        });
        return;
    }
    // A long text is set away from the widget, as a large paste is.
    auto *next = new QTextDocument(this);
    next->setDefaultFont(document()->defaultFont());
    next->setUndoRedoEnabled(false);
    next->setPlainText(toDocumentText(text));
    next->setUndoRedoEnabled(true);
    swapIn(next);
    setCurrentCharFormat(QTextCharFormat());
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

std::unique_ptr<QTextDocument> InputPane::buildPreview(const QString &text, const QList<PreviewRun> &runs) const
{
    auto preview = std::make_unique<QTextDocument>();
    preview->setDefaultFont(document()->defaultFont());
    preview->setUndoRedoEnabled(false); // no undo records for a million insertions
    QTextCursor cursor(preview.get());
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
    return preview;
}

void InputPane::showDocument(std::unique_ptr<QTextDocument> document)
{
    swapIn(document.release());
    // Typing on continues after the text.
    moveCursor(QTextCursor::End);
}

void InputPane::swapIn(QTextDocument *next)
{
    // The pane gives every document its wrap mode, and a change of mode lays the document
    // out again: it is changed while the shorter of the two documents is shown.
    const QTextOption::WrapMode mode = wrapModeFor(next->characterCount());
    QTextOption option = next->defaultTextOption();
    option.setWrapMode(mode); // it is laid out before the pane gives it the pane's mode
    next->setDefaultTextOption(option);
    const bool longer = mode == QTextOption::WrapAnywhere;
    if (longer)
        fitWrapMode(next->characterCount());
    quietly([&] { SwapDocument(this, next); });
    if (!longer)
        fitWrapMode(next->characterCount());
}

void InputPane::insertFromMimeData(const QMimeData *source)
{
    // Pasted text arrives plain, whatever the source offered.
    if (!source->hasText())
        return;
    const QString pasted = toDocumentText(source->text());
    if (pasted.size() < LongText) {
        insertAtCaret(pasted);
        return;
    }
    // A large paste goes into a copy of the document away from the widget, which is then
    // swapped in: inserted into the document on show, it would be laid out as it goes.
    const QTextCursor caret = textCursor();
    const int start = caret.selectionStart();
    QTextDocument *next = document()->clone(this);
    next->setUndoRedoEnabled(false);
    QTextCursor cursor(next);
    cursor.setPosition(start);
    cursor.setPosition(caret.selectionEnd(), QTextCursor::KeepAnchor);
    cursor.insertText(pasted, caret.charFormat());
    next->setUndoRedoEnabled(true);
    swapIn(next);
    QTextCursor after(document());
    after.setPosition(start + int(pasted.size()));
    setTextCursor(after);
}

} // namespace rainquill
