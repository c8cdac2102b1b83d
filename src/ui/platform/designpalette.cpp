#include "ui/platform/designpalette.h"

#include "ui/base/widgetcolors.h"

#include <QApplication>
#include <QPalette>

namespace rainquill {

void UseDesignPalette()
{
    // Light and dark shades for the style's bevels follow from the button and window colours.
    QPalette palette(DesignColor::ButtonFace, DesignColor::WindowBackground);
    palette.setColor(QPalette::WindowText, DesignColor::Black);
    palette.setColor(QPalette::Base, DesignColor::White);
    palette.setColor(QPalette::AlternateBase, DesignColor::WindowBackground);
    palette.setColor(QPalette::Text, DesignColor::Black);
    palette.setColor(QPalette::ButtonText, DesignColor::Black);
    palette.setColor(QPalette::BrightText, DesignColor::White);
    palette.setColor(QPalette::ToolTipBase, DesignColor::ToolTipBackground);
    palette.setColor(QPalette::ToolTipText, DesignColor::Black);
    palette.setColor(QPalette::PlaceholderText, DesignColor::DisabledText);
    palette.setColor(QPalette::Highlight, DesignColor::SelectionBackground);
    palette.setColor(QPalette::HighlightedText, DesignColor::White);
    palette.setColor(QPalette::Link, DesignColor::Blue);
    palette.setColor(QPalette::LinkVisited, DesignColor::Purple);
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, DesignColor::DisabledText);
    QApplication::setPalette(palette);
}

} // namespace rainquill
