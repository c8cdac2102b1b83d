#include "ui/widgets/inputpaneaccessible.h"

#include "ui/widgets/inputpane.h"
#include "ui/widgets/panedocument.h"
#include "ui/widgets/paneoffsets.h"

#include <QTextBlock>

namespace rainquill {

namespace {

QAccessibleInterface *accessibleFor(const QString &, QObject *object)
{
    if (auto *pane = qobject_cast<InputPane *>(object))
        return new InputPaneAccessible(pane);
    return nullptr;
}

} // namespace

void InputPaneAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFor);
        return true;
    }();
    Q_UNUSED(installed);
}

InputPaneAccessible::InputPaneAccessible(InputPane *pane) : QAccessibleWidget(pane, QAccessible::EditableText) {}

InputPane *InputPaneAccessible::pane() const
{
    return static_cast<InputPane *>(widget());
}

int InputPaneAccessible::position(int offset) const
{
    return pane()->offsets().positionOf(offset);
}

int InputPaneAccessible::offset(int position) const
{
    return int(pane()->offsets().offsetOf(position));
}

void *InputPaneAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State InputPaneAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = true;
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

QString InputPaneAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return PaneDocument::text(pane()->document(), 0, -1, u"\n");
    return QAccessibleWidget::text(t);
}

void InputPaneAccessible::selection(int index, int *start, int *end) const
{
    *start = *end = 0;
    const QTextCursor cursor = pane()->textCursor();
    if (index == 0 && cursor.hasSelection()) {
        *start = offset(cursor.selectionStart());
        *end = offset(cursor.selectionEnd());
    }
}

int InputPaneAccessible::selectionCount() const
{
    return pane()->textCursor().hasSelection() ? 1 : 0;
}

void InputPaneAccessible::addSelection(int start, int end)
{
    setSelection(0, start, end);
}

void InputPaneAccessible::removeSelection(int index)
{
    if (index != 0)
        return;
    QTextCursor cursor = pane()->textCursor();
    cursor.clearSelection();
    pane()->setTextCursor(cursor);
}

void InputPaneAccessible::setSelection(int index, int start, int end)
{
    if (index != 0)
        return;
    QTextCursor cursor = pane()->textCursor();
    cursor.setPosition(position(start));
    cursor.setPosition(position(end), QTextCursor::KeepAnchor);
    pane()->setTextCursor(cursor);
}

int InputPaneAccessible::cursorPosition() const
{
    return offset(pane()->textCursor().position());
}

void InputPaneAccessible::setCursorPosition(int at)
{
    QTextCursor cursor = pane()->textCursor();
    cursor.setPosition(position(at));
    pane()->setTextCursor(cursor);
}

QString InputPaneAccessible::text(int start, int end) const
{
    if (start >= end)
        return {};
    return PaneDocument::text(pane()->document(), position(start), position(end), u"\n");
}

int InputPaneAccessible::characterCount() const
{
    return int(pane()->offsets().size());
}

QRect InputPaneAccessible::characterRect(int at) const
{
    if (at < 0 || at >= characterCount())
        return {};
    const QRect rect = pane()->characterRect(position(at));
    return QRect(pane()->viewport()->mapToGlobal(rect.topLeft()), rect.size());
}

int InputPaneAccessible::offsetAtPoint(const QPoint &point) const
{
    const QPoint local = pane()->viewport()->mapFromGlobal(point);
    if (!pane()->viewport()->rect().contains(local))
        return -1;
    return offset(pane()->cursorForPosition(local).position());
}

void InputPaneAccessible::scrollToSubstring(int start, int)
{
    setCursorPosition(start);
    pane()->ensureCursorVisible();
}

QString InputPaneAccessible::attributes(int at, int *start, int *end) const
{
    *start = *end = at;
    return {};
}

std::pair<int, int> InputPaneAccessible::row(int at) const
{
    // The document's cursor knows the rows as the layout cut them, the block laid out
    // first when it is not yet.
    QTextCursor cursor(pane()->document());
    cursor.setPosition(at);
    cursor.movePosition(QTextCursor::StartOfLine);
    const int start = cursor.position();
    cursor.movePosition(QTextCursor::EndOfLine);
    return {start, qMax(start, cursor.position())};
}

QString InputPaneAccessible::rowText(std::pair<int, int> row, int *start, int *end) const
{
    *start = offset(row.first);
    *end = offset(row.second);
    return text(*start, *end);
}

QString InputPaneAccessible::textAtOffset(int at, QAccessible::TextBoundaryType type, int *start, int *end) const
{
    if (type != QAccessible::LineBoundary)
        return QAccessibleTextInterface::textAtOffset(at, type, start, end);
    if (at < 0 || at > characterCount()) {
        *start = *end = -1;
        return {};
    }
    return rowText(row(position(at)), start, end);
}

QString InputPaneAccessible::textBeforeOffset(int at, QAccessible::TextBoundaryType type, int *start, int *end) const
{
    if (type != QAccessible::LineBoundary)
        return QAccessibleTextInterface::textBeforeOffset(at, type, start, end);
    const std::pair<int, int> here = row(position(at));
    if (here.first == 0) {
        *start = *end = -1;
        return {};
    }
    return rowText(row(here.first - 1), start, end);
}

QString InputPaneAccessible::textAfterOffset(int at, QAccessible::TextBoundaryType type, int *start, int *end) const
{
    if (type != QAccessible::LineBoundary)
        return QAccessibleTextInterface::textAfterOffset(at, type, start, end);
    const std::pair<int, int> here = row(position(at));
    const int last = pane()->document()->characterCount() - 1;
    std::pair<int, int> next = row(here.second);
    // The end of a row wrapped at a space still stands in that row.
    if (next.first == here.first && here.second < last)
        next = row(here.second + 1);
    if (next.first == here.first) {
        *start = *end = -1;
        return {};
    }
    return rowText(next, start, end);
}

void InputPaneAccessible::deleteText(int start, int end)
{
    replaceText(start, end, QString());
}

void InputPaneAccessible::insertText(int at, const QString &text)
{
    replaceText(at, at, text);
}

void InputPaneAccessible::replaceText(int start, int end, const QString &text)
{
    QTextCursor cursor = pane()->textCursor();
    cursor.setPosition(position(start));
    cursor.setPosition(position(end), QTextCursor::KeepAnchor);
    pane()->setTextCursor(cursor);
    pane()->insertAtCaret(text);
}

} // namespace rainquill
