#pragma once

#include <QColor>
#include <QWidget>

namespace rainquill {

// The colour of a control's text (captions, labels, the text of a box).
inline void SetTextColor(QWidget *widget, const QColor &color)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, color);
    p.setColor(QPalette::Text, color);
    widget->setPalette(p);
}

// The fill of a label, frame or window.
inline void SetBackgroundColor(QWidget *widget, const QColor &color)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, color);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

// The face of a push button.
inline void SetButtonColor(QWidget *widget, const QColor &color)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Button, color);
    widget->setPalette(p);
}

} // namespace rainquill
