#include "ui/widgets/captionframe.h"

#include "ui/base/widgetcolors.h"

#include <QPainter>

namespace rainquill {

namespace {

// The caption stands this far from the frame's left edge, with a little room either side.
constexpr int CaptionLeft = 6;
constexpr int CaptionPadding = 2;

constexpr char Unlisted[] = "rainquillUnlisted";

// Frames of a kind of their own (the swatch frames) answer for themselves first.
QAccessibleInterface *accessibleFor(const QString &className, QObject *object)
{
    auto *frame = qobject_cast<CaptionFrame *>(object);
    if (frame && className == QLatin1String(CaptionFrame::staticMetaObject.className()))
        return new CaptionFrameAccessible(frame);
    return nullptr;
}

} // namespace

CaptionFrame::CaptionFrame(const QString &caption, QWidget *parent)
    : QGroupBox(caption, parent), m_captionColor(0, 0, 255)
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFor);
        return true;
    }();
    Q_UNUSED(installed);
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
    painter.setPen(DesignColor::FrameEtchDark);
    painter.drawRect(border.adjusted(0, 0, -1, -1));
    painter.setPen(DesignColor::FrameEtchLight);
    painter.drawRect(border.adjusted(1, 1, 0, 0));

    if (title().isEmpty())
        return;
    const QRect caption(CaptionLeft, 0, metrics.horizontalAdvance(title()) + 2 * CaptionPadding,
                        metrics.height());
    painter.fillRect(caption, palette().color(QPalette::Window));
    painter.setPen(m_captionColor);
    painter.drawText(caption, Qt::AlignCenter | Qt::TextSingleLine, title());
}

void LeaveOutOfAccessibleTree(QWidget *widget)
{
    widget->setProperty(Unlisted, true);
}

void RenewAccessibleInterface(QObject *object)
{
    if (QAccessibleInterface *made = QAccessible::queryAccessibleInterface(object))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

CaptionFrameAccessible::CaptionFrameAccessible(QWidget *frame, QAccessible::Role role)
    : QAccessibleWidget(frame, role)
{
}

QString CaptionFrameAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
        return static_cast<const QGroupBox *>(widget())->title();
    return QAccessibleWidget::text(t);
}

QWidgetList CaptionFrameAccessible::listedChildren() const
{
    QWidgetList listed;
    for (QObject *object : widget()->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (child && !child->isWindow() && !child->property(Unlisted).toBool())
            listed.append(child);
    }
    return listed;
}

int CaptionFrameAccessible::childCount() const
{
    return int(listedChildren().size());
}

QAccessibleInterface *CaptionFrameAccessible::child(int index) const
{
    const QWidgetList listed = listedChildren();
    return index >= 0 && index < listed.size() ? QAccessible::queryAccessibleInterface(listed[index])
                                               : nullptr;
}

int CaptionFrameAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child)
        return -1;
    return int(listedChildren().indexOf(qobject_cast<QWidget *>(child->object())));
}

CaptionFrame *MakeFrame(QWidget *parent, const QString &name, const QString &caption, const TwipsRect &place)
{
    auto *frame = new CaptionFrame(caption, parent);
    frame->setObjectName(name);
    frame->setGeometry(place.toPixels());
    return frame;
}

} // namespace rainquill
