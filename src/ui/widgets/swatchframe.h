#pragma once

#include "ui/base/twips.h"
#include "ui/widgets/captionframe.h"
#include "ui/widgets/gradientbox.h"

#include <array>

class QLabel;

namespace rainquill {

class SwatchKeys;

// One of the two frames of scheme swatches: ten swatches numbered ① to ⑩, elements
// first..first+9 of the window's swatch array.
class SwatchFrame : public CaptionFrame
{
    Q_OBJECT

public:
    // Placed at `place` (twips) in its parent.
    SwatchFrame(int index, int first, const QString &caption, const TwipsRect &place, QWidget *parent);

    GradientBox *swatch(int n) const { return m_swatches[size_t(n)]; }
    // Puts the keyboard's mark on swatch n (0-9) of the frame.
    void mark(int n);
    // Swatch n (0-9) is the one applied; -1 for none.
    void setApplied(int n);

signals:
    // `index` is the element of the window's swatch array.
    void swatchPressed(int index, Qt::MouseButton button);
    void swatchClicked(int index);

private:
    std::array<GradientBox *, 10> m_swatches{};
    SwatchKeys *m_keys = nullptr;
};

} // namespace rainquill
