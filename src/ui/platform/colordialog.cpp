#include "ui/platform/colordialog.h"

#include "ui/base/widgetcolors.h"

#include <QColorDialog>
#include <deque>

namespace rainquill {

namespace {

std::deque<std::optional<KeyColor>> answers;

} // namespace

std::optional<KeyColor> ColorDialog::pick(QWidget *parent)
{
    if (!answers.empty()) {
        const std::optional<KeyColor> answer = answers.front();
        answers.pop_front();
        return answer;
    }
    // Never preset from the strip or a swatch.
    const QColor color = QColorDialog::getColor(DesignColor::White, parent);
    if (!color.isValid())
        return std::nullopt;
    return RGBToColor(toRgb(color));
}

void ColorDialog::queueAnswer(std::optional<KeyColor> answer)
{
    answers.push_back(answer);
}

int ColorDialog::queuedAnswers()
{
    return int(answers.size());
}

} // namespace rainquill
