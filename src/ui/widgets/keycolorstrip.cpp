#include "ui/widgets/keycolorstrip.h"

#include "ui/base/controls.h"
#include "ui/platform/colordialog.h"
#include "ui/widgets/gradientbox.h"

#include <QDateTime>
#include <QPushButton>
#include <QRandomGenerator>

namespace rainquill {

KeyColorStrip::KeyColorStrip(QWidget *frame, const Layout &layout) : QObject(frame)
{
    PicColor = new GradientBox(frame);
    PicColor->setObjectName(QStringLiteral("PicColor"));
    PicColor->setAccessibleName(QStringLiteral("渐变颜色条"));
    PicColor->setGeometry(layout.PicColor.toPixels());
    DrawGradient(ColorStrip{}, PicColor); // black until its owner gives it a pair
    const auto button = [&](const char *name, const QString &caption, const TwipsRect &place, auto handler) {
        QPushButton *b = MakeButton(frame, QLatin1String(name), caption, place);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    m_buttons = {button("CmdLeft", QStringLiteral("颜色左"), layout.CmdLeft, &KeyColorStrip::CmdLeft_Click),
                 button("CmdRight", QStringLiteral("颜色右"), layout.CmdRight, &KeyColorStrip::CmdRight_Click),
                 button("CmdRnd", QStringLiteral("随机组合"), layout.CmdRnd, &KeyColorStrip::CmdRnd_Click),
                 button("CmdContrary", QStringLiteral("颜色 →← 对调"), layout.CmdContrary,
                        &KeyColorStrip::CmdContrary_Click)};
}

const ColorStrip &KeyColorStrip::strip() const
{
    return *PicColor->strip();
}

void KeyColorStrip::setStrip(const ColorStrip &strip)
{
    DrawGradient(strip, PicColor);
    emit changed();
}

void KeyColorStrip::CmdLeft_Click()
{
    // The dialog is not preset; a cancel changes nothing.
    if (const std::optional<KeyColor> color = ColorDialog::pick(PicColor->window())) {
        ColorStrip strip = this->strip();
        strip.setStart(ColorToRGB(*color));
        setStrip(strip);
    }
}

void KeyColorStrip::CmdRight_Click()
{
    if (const std::optional<KeyColor> color = ColorDialog::pick(PicColor->window())) {
        ColorStrip strip = this->strip();
        strip.setEnd(ColorToRGB(*color));
        setStrip(strip);
    }
}

void KeyColorStrip::CmdContrary_Click()
{
    setStrip(Swapped(strip()));
}

void KeyColorStrip::CmdRnd_Click()
{
    // A fresh seed from the clock on every press.
    const auto seed = quint32(QDateTime::currentMSecsSinceEpoch());
    QRandomGenerator generator(seed);
    setStrip(RandomStrip(generator));
}

} // namespace rainquill
