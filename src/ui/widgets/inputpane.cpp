#include "ui/widgets/inputpane.h"

#include "ui/base/controls.h"
#include "ui/base/widgetcolors.h"
#include "ui/widgets/inputpaneaccessible.h"
#include "ui/widgets/panecount.h"
#include "ui/widgets/panedocument.h"
#include "ui/widgets/paneoffsets.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QScopedValueRollback>

namespace rainquill {

InputPane::InputPane(QWidget *parent) : QPlainTextEdit(parent)
{
    InputPaneAccessible::install();
    setObjectName(QStringLiteral("RTInput"));
    setTabChangesFocus(true); // Tab walks the window; a TAB can still be pasted
    setFont(SongTi(9.75));
    document()->setDefaultFont(font());
    setBackgroundColor(RGBToColor(toRgb(DesignColor::White)));
    watch(document());
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_quiet)
            emit changed();
    });
    m_tripleClick.setSingleShot(true);
    m_selectionOffer.setSingleShot(true);
    m_selectionOffer.setInterval(0);
    connect(&m_selectionOffer, &QTimer::timeout, this, &InputPane::offerSelection);
    connect(this, &QPlainTextEdit::selectionChanged, &m_selectionOffer, qOverload<>(&QTimer::start));
}

template<typename Edit>
void InputPane::quietly(Edit &&edit)
{
    {
        // Put back as it was, also when an edit nests inside another.
        const QScopedValueRollback quiet(m_quiet, true);
        edit();
    }
    emit changed();
}

QString InputPane::text() const
{
    return PaneDocument::text(document());
}

qsizetype InputPane::characterCount() const
{
    return m_count->count();
}

PaneOffsets &InputPane::offsets() const
{
    return *m_offsets;
}

void InputPane::watch(QTextDocument *document)
{
    m_count = new PaneCount(document);
    m_offsets = new PaneOffsets(document);
}

void InputPane::replaceText(const QString &text)
{
    std::unique_ptr<QTextDocument> next = PaneDocument::create(font());
    PaneDocument::write(QTextCursor(next.get()), text);
    swapIn(std::move(next));
    setCurrentCharFormat(QTextCharFormat());
}

void InputPane::clearText()
{
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    if (cursor.hasSelection())
        cursor.removeSelectedText();
    setTextCursor(cursor);
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
        const QTextCursor after = PaneDocument::write(cursor, text, format);
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
    QList<PaneDocument::FormatRun> formats;
    formats.reserve(runs.size());
    for (const PreviewRun &run : runs) {
        QTextCharFormat format;
        format.setForeground(toQColor(run.color));
        formats.append({run.offset + run.length, format});
    }
    PaneDocument::write(QTextCursor(preview.get()), text, formats);
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

QRect InputPane::characterRect(int position) const
{
    QTextCursor at(document());
    at.setPosition(position);
    QTextCursor next = at;
    next.movePosition(QTextCursor::NextCharacter);
    QRect rect = cursorRect(at);
    const QRect after = cursorRect(next);
    if (next.position() > position && after.top() == rect.top() && after.x() > rect.x()) {
        rect.setWidth(after.x() - rect.x());
    } else {
        // The last character of a row: as wide as the font makes it.
        const QString character = PaneDocument::text(document(), position, next.position(), u"\n");
        const int width = character.isEmpty() || character == u"\n" ? fontMetrics().averageCharWidth()
                                                                      : fontMetrics().horizontalAdvance(character);
        rect.setWidth(width);
    }
    return rect;
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

void InputPane::offerSelection()
{
    // However the selection was made (mouse, keys, select all), the X11 selection holds it.
    QClipboard *clipboard = QApplication::clipboard();
    if (clipboard->supportsSelection() && textCursor().hasSelection())
        clipboard->setMimeData(createMimeDataFromSelection(), QClipboard::Selection);
}

void InputPane::stepOverJoin(const QKeyEvent *event)
{
    // Between two pieces the end of one and the start of the next are one place of the
    // text: a key that moves or deletes starts from the side it goes to, so that it never
    // spends itself on the break the document keeps there.
    const bool back = event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Left;
    const bool forth = event->key() == Qt::Key_Delete || event->key() == Qt::Key_Right;
    if (!back && !forth)
        return;
    QTextCursor cursor = textCursor();
    const QTextBlock block = cursor.block();
    const QTextCursor::MoveMode mode = cursor.hasSelection() ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor;
    if (back && cursor.atBlockStart() && PaneDocument::continuesParagraph(block) && block.previous().isValid())
        cursor.setPosition(cursor.position() - 1, mode);
    else if (forth && cursor.atBlockEnd() && PaneDocument::continuesParagraph(block.next()))
        cursor.setPosition(cursor.position() + 1, mode);
    else
        return;
    setTextCursor(cursor);
}

void InputPane::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Y && event->modifiers() == Qt::ControlModifier) {
        redo(); // beside Ctrl+Shift+Z, the redo key of other desktops
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !(event->modifiers() & Qt::ShiftModifier)) {
        // A typed line break starts a paragraph of its own, also inside a piece.
        QTextCursor cursor = textCursor();
        cursor.beginEditBlock();
        cursor.removeSelectedText();
        cursor.insertBlock(PaneDocument::blockFormat(false), currentCharFormat());
        cursor.endEditBlock();
        setTextCursor(cursor);
        ensureCursorVisible();
        return;
    }
    stepOverJoin(event);
    QPlainTextEdit::keyPressEvent(event);
}

void InputPane::mouseDoubleClickEvent(QMouseEvent *event)
{
    QPlainTextEdit::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) {
        m_doubleClickAt = event->position().toPoint();
        m_tripleClick.start(QApplication::doubleClickInterval());
    }
}

void InputPane::mousePressEvent(QMouseEvent *event)
{
    const bool triple = event->button() == Qt::LeftButton && m_tripleClick.isActive()
                        && (event->position().toPoint() - m_doubleClickAt).manhattanLength()
                               < QApplication::startDragDistance();
    m_tripleClick.stop();
    QPlainTextEdit::mousePressEvent(event);
    if (triple)
        selectParagraph();
}

void InputPane::selectParagraph()
{
    // A third click selects the paragraph, as the stock widget selects its block, with the
    // break after it: all its pieces.
    const QTextCursor selected = textCursor();
    QTextBlock first = document()->findBlock(selected.selectionStart());
    while (PaneDocument::continuesParagraph(first) && first.previous().isValid())
        first = first.previous();
    QTextBlock last = first;
    while (PaneDocument::continuesParagraph(last.next()))
        last = last.next();
    QTextCursor cursor(document());
    cursor.setPosition(first.position());
    cursor.setPosition(last.position() + last.length() - (last.next().isValid() ? 0 : 1), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

} // namespace rainquill
