#include "ui/widgets/gradientbox.h"

#include "ui/widgetcolors.h"

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
    const auto hex = [](Rgb c) { return QStringLiteral("#%1").arg(c.red << 16 | c.green << 8 | c.blue, 6, 16, QLatin1Char('0')).toUpper(); };
    // What a screen reader says of the box: its two colours.
    box->setAccessibleDescription(QStringLiteral("从 %1 到 %2").arg(hex(strip.start()), hex(strip.end())));
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
