#include "ui/widgets/captionframe.h"

#include <QPainter>

namespace rainquill {

namespace {

// The caption stands this far from the frame's left edge, with a little room either side.
constexpr int CaptionLeft = 6;
constexpr int CaptionPadding = 2;
const QColor EtchDark(160, 160, 160);
const QColor EtchLight(255, 255, 255);

} // namespace

CaptionFrame::CaptionFrame(const QString &caption, QWidget *parent)
    : QGroupBox(caption, parent), m_captionColor(0, 0, 255)
{
}

void CaptionFrame::setCaptionColor(const QColor &color)
{
    if (color == m_captionColor)
        return;
    m_captionColor = color;
    update();
}

void CaptionFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int lineY = metrics.height() / 2;

    // An etched border: a dark line with a light one just inside it.
    const QRect border = rect().adjusted(0, lineY, -1, -1);
    painter.setPen(EtchDark);
    painter.drawRect(border.adjusted(0, 0, -1, -1));
    painter.setPen(EtchLight);
    painter.drawRect(border.adjusted(1, 1, 0, 0));

    if (title().isEmpty())
        return;
    const QRect caption(CaptionLeft, 0, metrics.horizontalAdvance(title()) + 2 * CaptionPadding,
                        metrics.height());
    painter.fillRect(caption, palette().color(QPalette::Window));
    painter.setPen(m_captionColor);
    painter.drawText(caption, Qt::AlignCenter | Qt::TextSingleLine, title());
}

} // namespace rainquill
