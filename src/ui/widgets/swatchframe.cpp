#include "ui/widgets/swatchframe.h"

#include "ui/base/widgetcolors.h"
#include "ui/widgets/swatchkeys.h"

#include <QLabel>

namespace rainquill {

namespace {

// The swatches in two columns of five, each with its number label at its left, vertically
// centred on it; in twips, in the frame.
constexpr int SwatchWidth = 1100;
constexpr int SwatchHeight = 330;
constexpr int SwatchLefts[2] = {450, 2010};
constexpr int SwatchTops[5] = {450, 997, 1544, 2091, 2640};
constexpr int SwatchLabelLefts[2] = {150, 1710};
constexpr int SwatchLabelSize = 180;

} // namespace

SwatchFrame::SwatchFrame(int index, int first, const QString &caption, const TwipsRect &place, QWidget *parent)
    : CaptionFrame(caption, parent)
{
    setObjectName(QStringLiteral("Frame3_%1").arg(index));
    setGeometry(place.toPixels());
    static const QString numbers = QStringLiteral("①②③④⑤⑥⑦⑧⑨⑩");
    for (int n = 0; n < 10; ++n) {
        const int column = n / 5;
        const int top = SwatchTops[n % 5];
        auto *swatch = new GradientBox(this);
        swatch->setObjectName(QStringLiteral("PicColorBox_%1").arg(first + n));
        swatch->setAccessibleName(
            QStringLiteral("%1%2")
                .arg(index == 0 ? QStringLiteral("默认方案") : QStringLiteral("自定义方案"))
                .arg(n + 1));
        swatch->setGeometry(TwipsRect{SwatchLefts[column], top, SwatchWidth, SwatchHeight}.toPixels());
        connect(swatch, &GradientBox::pressed, this,
                [this, index = first + n](Qt::MouseButton button) { emit swatchPressed(index, button); });
        connect(swatch, &GradientBox::clicked, this, [this, index = first + n] { emit swatchClicked(index); });
        m_swatches[size_t(n)] = swatch;

        auto *label = new QLabel(numbers.mid(n, 1), this);
        label->setObjectName(QStringLiteral("Label1_%1").arg(first + n));
        label->setAlignment(Qt::AlignCenter);
        label->setGeometry(TwipsRect{SwatchLabelLefts[column], top + (SwatchHeight - SwatchLabelSize) / 2,
                                     SwatchLabelSize, SwatchLabelSize}
                               .toPixels());
        SetTextColor(label, DesignColor::Black);
    }
    // Two columns of five.
    QList<QPoint> places;
    for (int n = 0; n < 10; ++n)
        places.append(QPoint(n / 5, n % 5));
    auto *keys = m_keys = new SwatchKeys(this, {m_swatches.begin(), m_swatches.end()}, places);
    // A right click opens the editor, on the custom swatches only.
    keys->setOffersMenu(index == 1);
    const auto click = [this, first](int n, Qt::MouseButton button) {
        emit swatchPressed(first + n, button);
        emit swatchClicked(first + n);
    };
    connect(keys, &SwatchKeys::activated, this, [click](int n) { click(n, Qt::LeftButton); });
    connect(keys, &SwatchKeys::menuRequested, this, [click](int n) { click(n, Qt::RightButton); });
}

void SwatchFrame::mark(int n)
{
    m_keys->setCurrent(n);
}

void SwatchFrame::setApplied(int n)
{
    m_keys->setApplied(n);
}

} // namespace rainquill
