#pragma once

#include <QLineEdit>

namespace rainquill {

// The step box: the step as text, kept to its rules by its owner. A screen reader reads it
// as a spin box whose value is the step a conversion makes of the text, from 1 to 100 by
// 1; a value set through it writes that number, its actions step it as the arrows do.
class StepSpinBox : public QLineEdit
{
    Q_OBJECT

public:
    static constexpr int Minimum = 1;
    static constexpr int Maximum = 100;

    StepSpinBox(const QString &text, QWidget *parent);

    // The whole step a conversion makes of the text.
    int value() const;
};

} // namespace rainquill
