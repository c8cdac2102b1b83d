#include "ui/widgets/swatchkeys.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QWidget>

namespace rainquill {

namespace {

// The style's focus rectangle, drawn over the marked swatch; the mouse passes through it.
class FocusMark : public QWidget
{
public:
    explicit FocusMark(QWidget *parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(2, 2, -2, -2);
        option.backgroundColor = Qt::white;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
};

} // namespace

SwatchKeys::SwatchKeys(QWidget *frame, QList<QWidget *> swatches, QList<QPoint> places)
    : QObject(frame), m_frame(frame), m_swatches(std::move(swatches)), m_places(std::move(places))
{
    frame->setFocusPolicy(Qt::TabFocus); // the mouse clicks the swatches themselves
    frame->installEventFilter(this);
    m_mark = new FocusMark(frame);
    m_mark->hide();
}

void SwatchKeys::placeMark()
{
    QWidget *swatch = m_swatches[m_current];
    m_mark->setGeometry(swatch->geometry());
    m_mark->raise();
    m_mark->setVisible(m_frame->hasFocus());
    if (m_frame->hasFocus() && QAccessible::isActive()) {
        QAccessibleEvent focus(swatch, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}

void SwatchKeys::move(int dx, int dy)
{
    const QPoint to = m_places[m_current] + QPoint(dx, dy);
    int found = int(m_places.indexOf(to));
    if (found < 0 && dy != 0) { // a row of one swatch
        for (int n = 0; n < m_places.size() && found < 0; ++n) {
            if (m_places[n].y() == to.y())
                found = n;
        }
    }
    if (found >= 0) {
        m_current = found;
        placeMark();
    }
}

bool SwatchKeys::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        placeMark();
        return false;
    case QEvent::KeyPress:
        break;
    default:
        return false;
    }
    const auto *key = static_cast<QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Left: move(-1, 0); return true;
    case Qt::Key_Right: move(1, 0); return true;
    case Qt::Key_Up: move(0, -1); return true;
    case Qt::Key_Down: move(0, 1); return true;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter: emit activated(m_current); return true;
    case Qt::Key_Menu: emit menuRequested(m_current); return true;
    case Qt::Key_F10:
        if (key->modifiers() == Qt::ShiftModifier) {
            emit menuRequested(m_current);
            return true;
        }
        return false;
    default:
        return false;
    }
}

} // namespace rainquill
