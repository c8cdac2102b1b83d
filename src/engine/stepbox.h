#pragma once

#include <QString>

namespace rainquill {

// The step box's own rule, applied after every change of its text: a text that reads as
// 0 becomes "1", one above 100 becomes "100", anything else stays as typed.
QString SettleStepText(const QString &text);

// The text an arrow sets: the step read as a number plus delta (+1 or -1), written in its
// shortest decimal form with up to 15 significant digits ("8", "1.5", "-4").
QString StepArrowText(const QString &text, int delta);

} // namespace rainquill
