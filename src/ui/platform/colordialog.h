#pragma once

#include "schemes/colorstrip.h"

#include <optional>

class QWidget;

namespace rainquill {

// The colour dialog: a modal colour picker that returns the chosen colour, or nothing
// when the user cancels. Tests queue the answers, so that the dialog is never shown.
class ColorDialog
{
public:
    static std::optional<KeyColor> pick(QWidget *parent);

    // The next pick returns this answer (a colour, or nothing for a cancel) at once.
    static void queueAnswer(std::optional<KeyColor> answer);
    // How many queued answers have not been taken yet.
    static int queuedAnswers();
};

} // namespace rainquill
