#include "ui/widgets/steparrow.h"

#include "ui/base/widgetcolors.h"

#include <QPainter>
#include <QPolygon>

namespace rainquill {

StepArrow::StepArrow(Direction direction, bool pressedLook, QWidget *parent)
    : QWidget(parent), m_direction(direction), m_pressedLook(pressedLook)
{
    setCursor(Qt::PointingHandCursor);
}

void StepArrow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(rect(), m_pressedLook ? DesignColor::ArrowPressedFace : DesignColor::ArrowFace);
    painter.setPen(m_pressedLook ? DesignColor::ArrowPressedEdge : DesignColor::ArrowEdge);
    painter.drawRect(r);

    const int cx = r.center().x() + (m_pressedLook ? 1 : 0);
    const int cy = r.center().y() + (m_pressedLook ? 1 : 0);
    const int half = qMax(2, r.height() / 3);
    const int sign = m_direction == Direction::Up ? -1 : 1;
    const QPolygon arrow({QPoint(cx - half, cy - sign * half / 2), QPoint(cx + half, cy - sign * half / 2),
                          QPoint(cx, cy + sign * half / 2 + sign)});
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(DesignColor::ArrowMark);
    painter.drawPolygon(arrow);
}

void StepArrow::mousePressEvent(QMouseEvent *)
{
    emit pressed();
}

void StepArrow::mouseReleaseEvent(QMouseEvent *)
{
    emit released();
}

} // namespace rainquill
