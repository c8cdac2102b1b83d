#include "ui/widgets/codepaneaccessible.h"

#include "ui/widgets/codepane.h"

#include <QTextCursor>

namespace rainquill {

CodePaneAccessible::CodePaneAccessible(CodePane *pane) : QAccessibleWidget(pane, QAccessible::EditableText) {}

CodePane *CodePaneAccessible::pane() const
{
    return static_cast<CodePane *>(widget());
}

void *CodePaneAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State CodePaneAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

QString CodePaneAccessible::text(QAccessible::Text t) const
{
    return t == QAccessible::Value ? text(0, characterCount()) : QAccessibleWidget::text(t);
}

void CodePaneAccessible::selection(int index, int *start, int *end) const
{
    *start = *end = 0;
    if (index == 0 && selectionCount() == 1) {
        const CodeText &code = pane()->model();
        *start = int(code.toReader(qMin(pane()->anchor(), pane()->caret())));
        *end = int(code.toReader(qMax(pane()->anchor(), pane()->caret())));
    }
}

int CodePaneAccessible::selectionCount() const
{
    return pane()->anchor() != pane()->caret() ? 1 : 0;
}

void CodePaneAccessible::addSelection(int start, int end)
{
    setSelection(0, start, end);
}

void CodePaneAccessible::removeSelection(int)
{
    pane()->select(pane()->caret(), pane()->caret());
}

void CodePaneAccessible::setSelection(int, int start, int end)
{
    const CodeText &code = pane()->model();
    pane()->select(code.fromReader(start), code.fromReader(end));
}

int CodePaneAccessible::cursorPosition() const
{
    return int(pane()->model().toReader(pane()->caret()));
}

void CodePaneAccessible::setCursorPosition(int position)
{
    setSelection(0, position, position);
}

QString CodePaneAccessible::text(int start, int end) const
{
    return pane()->model().readerText(start, end);
}

int CodePaneAccessible::characterCount() const
{
    return int(pane()->model().readerLength());
}

// The piece of the text around a reader position, found as a stock text box finds it:
// the row on screen for a line, the text between line breaks for a paragraph, a cluster
// for a character.
std::pair<int, int> CodePaneAccessible::boundary(int position, QAccessible::TextBoundaryType type) const
{
    const CodeText &code = pane()->model();
    const auto reader = [&](qsizetype offset) { return int(code.toReader(offset)); };
    position = int(qBound(qsizetype(0), qsizetype(position), code.readerLength()));
    const qsizetype offset = code.fromReader(position);
    switch (type) {
    case QAccessible::CharBoundary:
        return {position, reader(code.nextCharacter(offset))};
    case QAccessible::LineBoundary: {
        const qsizetype row = code.rowOf(offset);
        return {reader(code.rowStart(row)), reader(code.rowEndForCaret(row))};
    }
    case QAccessible::ParagraphBoundary: {
        const qsizetype line = code.lineOf(offset);
        return {reader(code.lineStart(line)), reader(code.lineEnd(line))};
    }
    case QAccessible::NoBoundary:
        return {0, int(code.readerLength())};
    default: { // words and sentences
        CodeText::Window window = code.window(offset);
        QTextCursor cursor(&window.document());
        cursor.setPosition(window.toDocument(offset));
        const auto found = QAccessible::qAccessibleTextBoundaryHelper(cursor, type);
        return {reader(window.fromDocument(found.first)), reader(window.fromDocument(found.second))};
    }
    }
}

QString CodePaneAccessible::piece(std::pair<int, int> found, int *start, int *end) const
{
    *start = found.first;
    *end = found.second;
    return text(found.first, found.second);
}

QString CodePaneAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType type, int *start, int *end) const
{
    return piece(boundary(offset, type), start, end);
}

// Before and after go one place past the piece at the offset, as a stock text box does:
// from the text's start or end that stays on the same piece.
QString CodePaneAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int *start,
                                             int *end) const
{
    const int before = boundary(offset, type).first - 1;
    return piece(boundary(before < 0 ? offset : before, type), start, end);
}

QString CodePaneAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType type, int *start,
                                            int *end) const
{
    const int after = boundary(offset, type).second;
    return piece(boundary(after > characterCount() ? offset : after, type), start, end);
}

QRect CodePaneAccessible::characterRect(int offset) const
{
    QRect rect = pane()->characterRect(pane()->model().fromReader(offset));
    rect.moveTo(pane()->viewport()->mapToGlobal(rect.topLeft()));
    return rect;
}

int CodePaneAccessible::offsetAtPoint(const QPoint &point) const
{
    const QPoint at = pane()->viewport()->mapFromGlobal(point);
    if (!pane()->viewport()->rect().contains(at))
        return -1;
    return int(pane()->model().toReader(pane()->offsetAt(at)));
}

void CodePaneAccessible::scrollToSubstring(int start, int)
{
    pane()->ensureVisible(pane()->model().fromReader(start));
}

QString CodePaneAccessible::attributes(int offset, int *start, int *end) const
{
    *start = *end = offset;
    return {};
}

namespace {

QAccessibleInterface *accessibleFor(const QString &, QObject *object)
{
    if (auto *pane = qobject_cast<CodePane *>(object))
        return new CodePaneAccessible(pane);
    return nullptr;
}

} // namespace

void InstallCodePaneAccessible()
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFor);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace rainquill
