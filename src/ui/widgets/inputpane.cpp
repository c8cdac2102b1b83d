#include "ui/widgets/inputpane.h"

#include "engine/textgroups.h"
#include "ui/controls.h"
#include "ui/widgetcolors.h"
#include "ui/widgets/panedocument.h"

#include <QKeyEvent>
#include <QMimeData>

namespace rainquill {

InputPane::InputPane(QWidget *parent) : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("RTInput"));
    setTabChangesFocus(true); // Tab walks the window; a TAB can still be pasted
    setFont(SongTi(9.75));
    document()->setDefaultFont(font());
    setBackgroundColor(RGBToColor({255, 255, 255}));
    watch(document());
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
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
    return PaneDocument::text(document());
}

InputPane::BlockCount InputPane::countOf(QTextBlock block)
{
    if (const int state = block.userState(); state >= 0)
        return {state >> 2, (state & 2) != 0, (state & 1) != 0};
    BlockCount count{0, PaneDocument::continuesParagraph(block), false};
    for (const QChar ch : block.text()) {
        count.separators += ch == QChar::LineSeparator;
        count.mayJoin = count.mayJoin || MayJoinOthers(ch);
    }
    block.setUserState(count.separators << 2 | int(count.continues) << 1 | int(count.mayJoin));
    return count;
}

void InputPane::Totals::add(const BlockCount &block, int sign)
{
    separators += sign * block.separators;
    pieces += sign * int(block.continues);
    joining += sign * int(block.mayJoin);
}

qsizetype InputPane::characterCount() const
{
    const QTextDocument *doc = document();
    if (!m_totals) {
        m_totals = Totals{};
        m_blocks = doc->blockCount();
        for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
            m_totals->add(countOf(block), 1);
    }
    if (m_totals->joining > 0)
        return CharacterCount(text());
    // A code unit a character, but for the breaks: between paragraphs and at a line
    // separator two (CR LF), between the pieces of a paragraph none. The first block
    // continues nothing, whatever it is marked.
    const qsizetype pieces = m_totals->pieces - int(countOf(doc->begin()).continues);
    return doc->characterCount() - 1 + m_totals->separators + (m_blocks - 1) - 2 * pieces;
}

void InputPane::watch(QTextDocument *document)
{
    m_totals.reset();
    connect(document, &QTextDocument::contentsChange, this, [this, document](int position, int, int added) {
        // A change within one block (a keystroke) is counted again in that block alone;
        // any other, in the blocks it reaches, when next asked.
        QTextBlock first = document->findBlock(position);
        const QTextBlock last = document->findBlock(position + added);
        if (m_totals && first == last && document->blockCount() == m_blocks && first.userState() >= 0) {
            m_totals->add(countOf(first), -1);
            first.setUserState(-1);
            m_totals->add(countOf(first), 1);
            return;
        }
        m_totals.reset();
        for (QTextBlock block = first; block.isValid(); block = block.next()) {
            block.setUserState(-1);
            if (block == last)
                break;
        }
    });
}

void InputPane::replaceText(const QString &text)
{
    std::unique_ptr<QTextDocument> next = PaneDocument::create(font());
    PaneWriter(QTextCursor(next.get())).write(text);
    swapIn(std::move(next));
    setCurrentCharFormat(QTextCharFormat());
}

void InputPane::setSelectionColor(KeyColor color)
{
    const Rgb c = ColorToRGB(color);
    QTextCharFormat format = currentCharFormat();
    format.setForeground(toQColor(c));
    setCurrentCharFormat(format);
}

void InputPane::insertAtCaret(const QString &text)
{
    quietly([&] {
        QTextCursor cursor = textCursor();
        const QTextCharFormat format = currentCharFormat();
        cursor.beginEditBlock(); // one step to undo, with what the paste replaces
        cursor.removeSelectedText();
        QTextCursor after;
        {
            PaneWriter writer(cursor);
            writer.write(text, format);
            after = writer.cursor();
        }
        cursor.endEditBlock();
        setTextCursor(after);
    });
    ensureCursorVisible();
}

void InputPane::setBackgroundColor(KeyColor color)
{
    const Rgb c = ColorToRGB(color);
    QPalette p = palette();
    p.setColor(QPalette::Base, toQColor(c));
    setPalette(p);
}

std::unique_ptr<QTextDocument> InputPane::buildPreview(QStringView text, const QList<PreviewRun> &runs) const
{
    std::unique_ptr<QTextDocument> preview = PaneDocument::create(font());
    PaneWriter writer{QTextCursor(preview.get())};
    QTextCharFormat format;
    for (const PreviewRun &run : runs) {
        format.setForeground(toQColor(run.color));
        writer.write(text.mid(run.offset, run.length), format);
    }
    return preview;
}

void InputPane::showDocument(std::unique_ptr<QTextDocument> document)
{
    swapIn(std::move(document));
    // Typing on continues after the text; the plain-text layout brings the end into view
    // laying out only the blocks shown.
    moveCursor(QTextCursor::End);
}

void InputPane::swapIn(std::unique_ptr<QTextDocument> next)
{
    PaneDocument::attachLayout(next.get());
    // The pane's first document is Qt's, which deletes it on the swap; one of ours goes at
    // once, so that no more than two are ever held.
    QTextDocument *replaced = document()->parent() == this ? document() : nullptr;
    QTextDocument *shown = next.release();
    shown->setParent(this);
    quietly([&] {
        setDocument(shown);
        watch(shown);
    });
    delete replaced;
}

void InputPane::insertFromMimeData(const QMimeData *source)
{
    // Pasted text arrives plain, whatever the source offered, and stays one step to undo.
    if (source->hasText())
        insertAtCaret(source->text());
}

QMimeData *InputPane::createMimeDataFromSelection() const
{
    const QTextCursor cursor = textCursor();
    auto *data = new QMimeData;
    data->setText(PaneDocument::text(document(), cursor.selectionStart(), cursor.selectionEnd(), u"\n"));
    return data;
}

void InputPane::keyPressEvent(QKeyEvent *event)
{
    QTextCursor cursor = textCursor();
    const QTextBlock block = cursor.block();
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // A typed line break starts a paragraph of its own, also inside a piece.
        cursor.beginEditBlock();
        cursor.removeSelectedText();
        cursor.insertBlock(PaneDocument::blockFormat(false), currentCharFormat());
        cursor.endEditBlock();
        setTextCursor(cursor);
        ensureCursorVisible();
        return;
    }
    // The break between two pieces is not a character: Backspace and Delete take the
    // character beyond it.
    if (!cursor.hasSelection() && event->modifiers() == Qt::NoModifier) {
        if (event->key() == Qt::Key_Backspace && cursor.atBlockStart() && PaneDocument::continuesParagraph(block)) {
            cursor.movePosition(QTextCursor::PreviousCharacter);
            cursor.deletePreviousChar();
            setTextCursor(cursor);
            return;
        }
        if (event->key() == Qt::Key_Delete && cursor.atBlockEnd()
            && PaneDocument::continuesParagraph(block.next())) {
            cursor.movePosition(QTextCursor::NextCharacter);
            cursor.deleteChar();
            setTextCursor(cursor);
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

} // namespace rainquill
