#pragma once

#include <QWidget>

namespace rainquill {

// One picture of the step row's arrows: up or down, at rest or pressed.
class StepArrow : public QWidget
{
    Q_OBJECT

public:
    enum class Direction { Up, Down };

    StepArrow(Direction direction, bool pressedLook, QWidget *parent = nullptr);

signals:
    // Any mouse button.
    void pressed();
    void released();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    Direction m_direction;
    bool m_pressedLook;
};

} // namespace rainquill
