#pragma once

#include "engine/gradient.h"
#include "schemes/colorstrip.h"

#include <QColor>
#include <QWidget>

namespace rainquill {

// The window's colours, each named once; nothing else in the windows writes a colour.
namespace DesignColor {
inline const QColor Black(0, 0, 0);
inline const QColor White(255, 255, 255);
inline const QColor Blue(0, 0, 255);       // captions, links
inline const QColor Red(255, 0, 0);        // warnings
inline const QColor Purple(128, 0, 128);   // the version check's "up to date", visited links
inline const QColor Navy(0, 0, 128);       // the about window's text
inline const QColor WindowBackground(244, 244, 244);
inline const QColor ButtonBackground(240, 240, 255);
inline const QColor FormatLabelText(64, 0, 0);
inline const QColor AutoCopyText(192, 64, 0);    // "自动复制"
inline const QColor CodeText(192, 192, 192);     // the code pane's text on black
// The step arrows: face and edge, at rest and pressed, and the arrow itself.
inline const QColor ArrowFace = ButtonBackground;
inline const QColor ArrowPressedFace(200, 200, 225);
inline const QColor ArrowEdge(160, 160, 190);
inline const QColor ArrowPressedEdge(90, 90, 120);
inline const QColor ArrowMark(0, 0, 160);
// A frame's etched line: the groove and its light edge.
inline const QColor FrameEtchDark(160, 160, 160);
inline const QColor FrameEtchLight = White;
// The logo's gradient, from its left end to its right.
inline const QColor LogoStart(0, 121, 255);
inline const QColor LogoEnd(255, 0, 255);
// The application palette's own shades beside the colours above.
inline const QColor ButtonFace(240, 240, 240);
inline const QColor ToolTipBackground(255, 255, 225);
inline const QColor DisabledText(120, 120, 120);
inline const QColor SelectionBackground(0, 120, 215);
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
