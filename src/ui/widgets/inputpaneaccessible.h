#pragma once

#include <QAccessibleWidget>

namespace rainquill {

class InputPane;

// What a screen reader reads of the input pane: the text as a stock plain-text edit holding
// it gives (every line break one "\n", no character where a paragraph is held in pieces),
// its rows as painted, each character's rectangle where it is painted, the caret and the
// selection, and the text edited through the same offsets.
class InputPaneAccessible : public QAccessibleWidget,
                            public QAccessibleTextInterface,
                            public QAccessibleEditableTextInterface
{
public:
    explicit InputPaneAccessible(InputPane *pane);

    // Makes every input pane read through this interface; once, by the first pane made.
    static void install();

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
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int start, int end) override;
    QString attributes(int offset, int *start, int *end) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int *start, int *end) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int *start, int *end) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int *start, int *end) const override;

    void deleteText(int start, int end) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int start, int end, const QString &text) override;

private:
    InputPane *pane() const;
    int position(int offset) const;
    int offset(int position) const;
    // The row on screen that holds the document position, as document positions.
    std::pair<int, int> row(int position) const;
    QString rowText(std::pair<int, int> row, int *start, int *end) const;
};

} // namespace rainquill
