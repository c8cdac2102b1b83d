#pragma once

#include "schemes/colorstrip.h"
#include "ui/base/twips.h"
#include "ui/widgets/captionframe.h"

#include <array>

class QLabel;

namespace rainquill {

// The frame "背景颜色": 32 swatches of fixed colours and "自定义", element 32, which shows
// the last colour picked through it.
class BackColorFrame : public CaptionFrame
{
    Q_OBJECT

public:
    // Placed at `place` (twips) in its parent.
    BackColorFrame(const TwipsRect &place, QWidget *parent);

    static constexpr int CustomElement = 32;

    // The colour element `index` stands for (its background).
    KeyColor color(int index) const;
    void setCustomColor(KeyColor color);
    // Element `index` is the colour applied.
    void setApplied(int index);

signals:
    // A left click on element 0-32.
    void clicked(int index);

private:
    std::array<QLabel *, 33> m_elements{};
    std::array<KeyColor, 33> m_colors{}; // what each element stands for
};

} // namespace rainquill
