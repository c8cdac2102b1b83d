#pragma once

#include "engine/gradient.h"
#include "schemes/colorstrip.h"

#include <QColor>
#include <QWidget>

namespace rainquill {

// The colours of the design, each named once.
namespace DesignColor {
inline const QColor Black(0, 0, 0);
inline const QColor White(255, 255, 255);
inline const QColor Blue(0, 0, 255);       // captions, links
inline const QColor Red(255, 0, 0);        // warnings
inline const QColor Purple(128, 0, 128);   // the version check's "up to date"
inline const QColor WindowBackground(244, 244, 244);
inline const QColor ButtonBackground(240, 240, 255);
inline const QColor FormatLabelText(64, 0, 0);
} // namespace DesignColor

// One colour vocabulary: channels, the platform's colour value and Qt's colour.
inline QColor toQColor(Rgb c)
{
    return QColor(c.red, c.green, c.blue);
}
inline QColor toQColor(KeyColor color)
{
    return toQColor(ColorToRGB(color));
}
inline Rgb toRgb(const QColor &color)
{
    return {color.red(), color.green(), color.blue()};
}

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
