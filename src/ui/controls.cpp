#include "ui/controls.h"

#include "ui/widgetcolors.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace rainquill {

QGroupBox *MakeFrame(QWidget *parent, const QString &name, const QString &caption, const TwipsRect &place)
{
    auto *frame = new QGroupBox(caption, parent);
    frame->setObjectName(name);
    frame->setGeometry(place.toPixels());
    SetTextColor(frame, CaptionBlue);
    return frame;
}

QPushButton *MakeButton(QWidget *parent, const QString &name, const QString &caption, const TwipsRect &place)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(place.toPixels());
    SetButtonColor(button, ButtonBackground);
    return button;
}

QLabel *MakeLabel(QWidget *parent, const QString &name, const QString &caption, const TwipsRect &place,
                  const QColor &color)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setGeometry(place.toPixels());
    SetTextColor(label, color);
    return label;
}

} // namespace rainquill
