#include "ui/widgets/optionbutton.h"

#include <QAccessibleWidget>

namespace rainquill {

namespace {

class OptionButtonAccessible : public QAccessibleWidget
{
public:
    explicit OptionButtonAccessible(OptionButton *button)
        : QAccessibleWidget(button, QAccessible::RadioButton)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && button()->accessibleName().isEmpty())
            return button()->text();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = button()->isChecked();
        return state;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override
    {
        // A click: the button is chosen and its handler runs.
        if (name == pressAction() && button()->isEnabled())
            button()->click();
    }

private:
    QPushButton *button() const { return static_cast<QPushButton *>(widget()); }
};

QAccessibleInterface *accessibleFor(const QString &, QObject *object)
{
    auto *button = qobject_cast<OptionButton *>(object);
    return button ? new OptionButtonAccessible(button) : nullptr;
}

} // namespace

OptionButton::OptionButton(const QString &caption, QWidget *parent) : QPushButton(caption, parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFor);
        return true;
    }();
    Q_UNUSED(installed);
    setCheckable(true);
    setAutoDefault(false); // an option leaves Enter to the window's default button
}

} // namespace rainquill
