#include "ui/widgets/backcolorframe.h"

#include "engine/colortext.h"
#include "ui/base/widgetcolors.h"
#include "ui/widgets/clicklabel.h"
#include "ui/widgets/swatchkeys.h"

#include <QLabel>

namespace rainquill {

namespace {

// The fixed colours of elements 0-31 as #RRGGBB, in element order; even elements stand
// in the left column, odd ones in the right, sixteen rows.
constexpr std::array<quint32, 32> Colors = {
    0x000000, 0xFFFFFF, 0x808080, 0xC0C0C0, 0x800000, 0xFF0000, 0x808000, 0xFFFF00,
    0x008000, 0x00FF00, 0x008080, 0x00FFFF, 0x000080, 0x0000FF, 0x800080, 0xFF00FF,
    0x808040, 0xFFFF80, 0x004040, 0x00FF80, 0x0080FF, 0x80FFFF, 0x004080, 0x8080FF,
    0x8000FF, 0xFF0080, 0x804000, 0xFF8040, 0xFFC0FF, 0xFFC0C0, 0xC0FFC0, 0xFFE0C0,
};
constexpr int RowTops[16] = {330, 720, 1110, 1500, 1905, 2295, 2685, 3075,
                             3465, 3855, 4245, 4635, 5040, 5430, 5820, 6210};
constexpr int ColumnLefts[2] = {120, 540};
constexpr int SwatchSize = 345;
constexpr TwipsRect Custom{120, 6660, 765, 255};

void setBackground(QLabel *label, KeyColor color)
{
    const Rgb c = ColorToRGB(color);
    SetBackgroundColor(label, toQColor(c));
}

} // namespace

BackColorFrame::BackColorFrame(const TwipsRect &place, QWidget *parent) : CaptionFrame(QStringLiteral("背景颜色"), parent)
{
    setObjectName(QStringLiteral("Frame5"));
    setGeometry(place.toPixels());
    for (int index = 0; index < 33; ++index) {
        auto *label = new ClickLabel(QString(), this);
        connect(label, &ClickLabel::clicked, this, [this, index] { emit clicked(index); });
        label->setObjectName(QStringLiteral("labBackColor_%1").arg(index));
        m_elements[size_t(index)] = label;
        if (index == CustomElement) {
            label->setText(QStringLiteral("自定义"));
            label->setAccessibleName(QStringLiteral("自定义背景颜色"));
            label->setAlignment(Qt::AlignCenter);
            label->setGeometry(Custom.toPixels());
            m_colors[CustomElement] = RGBToColor(toRgb(DesignColor::White));
            setBackground(label, m_colors[CustomElement]);
            SetTextColor(label, DesignColor::Blue);
            continue;
        }
        label->setFrameShape(QFrame::Box);
        label->setGeometry(TwipsRect{ColumnLefts[index % 2], RowTops[index / 2], SwatchSize, SwatchSize}.toPixels());
        const Rgb color = RgbFromValue(Colors[size_t(index)]);
        label->setAccessibleName(QStringLiteral("背景颜色 ") + HexText(color));
        m_colors[size_t(index)] = RGBToColor(color);
        setBackground(label, m_colors[size_t(index)]);
    }
    // The 2 x 16 grid, then "自定义" in a row of its own below it.
    QList<QPoint> places;
    for (int index = 0; index < CustomElement; ++index)
        places.append(QPoint(index % 2, index / 2));
    places.append(QPoint(0, CustomElement / 2));
    auto *keys = new SwatchKeys(this, {m_elements.begin(), m_elements.end()}, places);
    connect(keys, &SwatchKeys::activated, this, &BackColorFrame::clicked);
}

KeyColor BackColorFrame::color(int index) const
{
    return m_colors[size_t(index)];
}

void BackColorFrame::setCustomColor(KeyColor color)
{
    m_colors[CustomElement] = color;
    setBackground(m_elements[CustomElement], color);
}

void BackColorFrame::setApplied(int index)
{
    SwatchKeys::of(this)->setApplied(index);
}

} // namespace rainquill
