#include "ui/widgets/gradientbox.h"

#include "engine/colortext.h"
#include "ui/base/widgetcolors.h"

#include <QMouseEvent>
#include <QPainter>

namespace rainquill {

GradientBox::GradientBox(QWidget *parent) : QWidget(parent)
{
    setCursor(Qt::PointingHandCursor);
}

void GradientBox::setStrip(const ColorStrip &strip)
{
    m_strip = strip;
    // What a screen reader says of the box: its two colours.
    setAccessibleDescription(QStringLiteral("从 %1 到 %2").arg(HexText(strip.start()), HexText(strip.end())));
    update();
}

void DrawGradient(const ColorStrip &strip, GradientBox *box)
{
    box->setStrip(strip);
}

void GradientBox::paintEvent(QPaintEvent *)
{
    if (!m_strip)
        return;
    QPainter painter(this);
    const int w = width();
    for (int x = 0; x < w; ++x) {
        const Rgb c = StripPixel(*m_strip, x, w);
        painter.setPen(toQColor(c));
        painter.drawLine(x, 0, x, height() - 1);
    }
}

void GradientBox::mousePressEvent(QMouseEvent *event)
{
    emit pressed(event->button());
}

void GradientBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace rainquill
