#include "ui/platform/accessibility.h"

#include "ui/widgets/codepane.h"

#include <QAccessibleWidget>
#include <QDialog>

namespace rainquill {

namespace {

class CodePaneAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit CodePaneAccessible(CodePane *pane) : QAccessibleWidget(pane, QAccessible::EditableText) {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.multiLine = true;
        state.selectableText = true;
        return state;
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? pane()->code() : QAccessibleWidget::text(t);
    }

    void selection(int index, int *start, int *end) const override
    {
        *start = *end = 0;
        if (index == 0 && selectionCount() == 1) {
            *start = int(qMin(pane()->anchor(), pane()->caret()));
            *end = int(qMax(pane()->anchor(), pane()->caret()));
        }
    }
    int selectionCount() const override { return pane()->anchor() != pane()->caret() ? 1 : 0; }
    void addSelection(int start, int end) override { pane()->select(start, end); }
    void removeSelection(int) override { pane()->select(pane()->caret(), pane()->caret()); }
    void setSelection(int, int start, int end) override { pane()->select(start, end); }
    int cursorPosition() const override { return int(pane()->caret()); }
    void setCursorPosition(int position) override { pane()->select(position, position); }
    QString text(int start, int end) const override { return pane()->code().mid(start, end - start); }
    int characterCount() const override { return int(pane()->code().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int start, int) override { pane()->select(start, start); }
    QString attributes(int offset, int *start, int *end) const override
    {
        *start = *end = offset;
        return {};
    }

private:
    CodePane *pane() const { return static_cast<CodePane *>(widget()); }
};

QAccessibleInterface *accessibleFor(const QString &, QObject *object)
{
    if (auto *pane = qobject_cast<CodePane *>(object))
        return new CodePaneAccessible(pane);
    // A window of the dialog type that is not one of Qt's dialogs: one of ours.
    auto *widget = qobject_cast<QWidget *>(object);
    if (widget && widget->isWindow() && widget->windowType() == Qt::Dialog && !qobject_cast<QDialog *>(widget))
        return new QAccessibleWidget(widget, QAccessible::Dialog);
    return nullptr;
}

} // namespace

void InstallAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFor);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace rainquill
