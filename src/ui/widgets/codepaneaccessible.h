#pragma once

#include <QAccessibleWidget>

namespace rainquill {

class CodePane;

// What a screen reader is told of the code pane: the text a stock text box holding the
// code would give (each line break one "\n"), its caret and selection, the row on screen
// as the line at a place, and each character's rectangle where it is painted.
class CodePaneAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit CodePaneAccessible(CodePane *pane);

    void *interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;

    void selection(int index, int *start, int *end) const override;
    int selectionCount() const override;
    void addSelection(int start, int end) override;
    void removeSelection(int index) override;
    void setSelection(int index, int start, int end) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int start, int end) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int *start, int *end) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int *start, int *end) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int *start, int *end) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int start, int end) override;
    QString attributes(int offset, int *start, int *end) const override;

private:
    CodePane *pane() const;
    std::pair<int, int> boundary(int offset, QAccessible::TextBoundaryType type) const;
    QString piece(std::pair<int, int> found, int *start, int *end) const;
};

// Lets the accessibility framework make the interface for every code pane. Installed once,
// by the first code pane made.
void InstallCodePaneAccessible();

} // namespace rainquill
