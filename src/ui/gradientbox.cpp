#include "ui/gradientbox.h"

#include <QMouseEvent>
#include <QPainter>

namespace rainquill {

GradientBox::GradientBox(QWidget *parent) : QWidget(parent)
{
    setCursor(Qt::PointingHandCursor);
}

void DrawGradient(const ColorStrip &strip, GradientBox *box)
{
    box->m_strip = strip;
    box->update();
}

void GradientBox::paintEvent(QPaintEvent *)
{
    if (!m_strip)
        return;
    QPainter painter(this);
    const int w = width();
    for (int x = 0; x < w; ++x) {
        const Rgb c = StripPixel(*m_strip, x, w);
        painter.setPen(QColor(c.red, c.green, c.blue));
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
