#pragma once

#include <QPushButton>

namespace rainquill {

// An option button drawn in the graphical style: a push button that stays down, one of a
// group of which exactly one is chosen. The arrow keys move the choice within the group;
// a screen reader reads it as a radio button, and its action chooses it as a click does.
class OptionButton : public QPushButton
{
    Q_OBJECT

public:
    OptionButton(const QString &caption, QWidget *parent);
};

} // namespace rainquill
