#pragma once

#include "schemes/colorstrip.h"

#include <QWidget>
#include <optional>

namespace rainquill {

// A box that shows a key-colour pair as a gradient scaled to its width, pixel by pixel
// (StripPixel): the strip's box and every scheme swatch. Blank until a pair is drawn into it.
class GradientBox : public QWidget
{
    Q_OBJECT

public:
    explicit GradientBox(QWidget *parent = nullptr);

    const std::optional<ColorStrip> &strip() const { return m_strip; }
    // Shows the pair, column 0 in the start colour and column 255 in the end colour.
    void setStrip(const ColorStrip &strip);

signals:
    void pressed(Qt::MouseButton button);
    // A button released over the box after a press on it.
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    std::optional<ColorStrip> m_strip;
};

// Draws the pair into the box.
void DrawGradient(const ColorStrip &strip, GradientBox *box);

} // namespace rainquill
