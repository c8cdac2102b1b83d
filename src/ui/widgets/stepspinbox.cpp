#include "ui/widgets/stepspinbox.h"

#include "engine/numbers.h"
#include "engine/stepbox.h"
#include "engine/textgroups.h"

#include <QAccessibleWidget>

namespace rainquill {

namespace {

class StepSpinBoxAccessible : public QAccessibleWidget,
                              public QAccessibleValueInterface,
                              public QAccessibleTextInterface
{
public:
    explicit StepSpinBoxAccessible(StepSpinBox *box) : QAccessibleWidget(box, QAccessible::SpinBox) {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        switch (type) {
        case QAccessible::ValueInterface:
            return static_cast<QAccessibleValueInterface *>(this);
        case QAccessible::TextInterface:
            return static_cast<QAccessibleTextInterface *>(this);
        default:
            return QAccessibleWidget::interface_cast(type);
        }
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        state.selectableText = true;
        return state;
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? box()->text() : QAccessibleWidget::text(t);
    }

    QVariant currentValue() const override { return box()->value(); }
    void setCurrentValue(const QVariant &value) override
    {
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (ok)
            box()->setText(QString::number(number, 'g', 15));
    }
    QVariant maximumValue() const override { return StepSpinBox::Maximum; }
    QVariant minimumValue() const override { return StepSpinBox::Minimum; }
    QVariant minimumStepSize() const override { return 1; }

    QStringList actionNames() const override { return {increaseAction(), decreaseAction()}; }
    void doAction(const QString &name) override
    {
        if (name == increaseAction() || name == decreaseAction())
            box()->setText(StepArrowText(box()->text(), name == increaseAction() ? 1 : -1));
    }

    void selection(int index, int *start, int *end) const override
    {
        *start = *end = 0;
        if (index == 0 && box()->hasSelectedText()) {
            *start = box()->selectionStart();
            *end = box()->selectionEnd();
        }
    }
    int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { box()->setSelection(start, end - start); }
    void removeSelection(int) override { box()->deselect(); }
    void setSelection(int, int start, int end) override { box()->setSelection(start, end - start); }
    int cursorPosition() const override { return box()->cursorPosition(); }
    void setCursorPosition(int position) override { box()->setCursorPosition(position); }
    QString text(int start, int end) const override { return box()->text().mid(start, end - start); }
    int characterCount() const override { return int(box()->text().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int start, int) override { box()->setCursorPosition(start); }
    QString attributes(int offset, int *start, int *end) const override
    {
        *start = *end = offset;
        return {};
    }

private:
    StepSpinBox *box() const { return static_cast<StepSpinBox *>(widget()); }
};

QAccessibleInterface *accessibleFor(const QString &, QObject *object)
{
    auto *box = qobject_cast<StepSpinBox *>(object);
    return box ? new StepSpinBoxAccessible(box) : nullptr;
}

} // namespace

StepSpinBox::StepSpinBox(const QString &text, QWidget *parent) : QLineEdit(text, parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFor);
        return true;
    }();
    Q_UNUSED(installed);
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!QAccessible::isActive())
            return;
        QAccessibleValueChangeEvent change(this, value());
        QAccessible::updateAccessibility(&change);
    });
}

int StepSpinBox::value() const
{
    // A text long enough that no step is too long for it.
    return int(WholeStep(LeadingNumber(text()), Maximum + 1));
}

} // namespace rainquill
