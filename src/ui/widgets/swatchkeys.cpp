#include "ui/widgets/swatchkeys.h"

#include "ui/base/widgetcolors.h"
#include "ui/widgets/captionframe.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace rainquill {

namespace {

// Each tone of the focus mark is this wide, so that it shows on every swatch colour.
constexpr int MarkTone = 2;

// The focus mark: a white ring with a black one inside it, drawn over the marked swatch;
// one tone or the other stands out on any colour. The mouse passes through it.
class FocusMark : public QWidget
{
public:
    explicit FocusMark(QWidget *parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        LeaveOutOfAccessibleTree(this);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const auto ring = [&](const QRect &outer, const QColor &color) {
            painter.fillRect(QRect(outer.left(), outer.top(), outer.width(), MarkTone), color);
            painter.fillRect(QRect(outer.left(), outer.bottom() - MarkTone + 1, outer.width(), MarkTone),
                             color);
            painter.fillRect(QRect(outer.left(), outer.top(), MarkTone, outer.height()), color);
            painter.fillRect(QRect(outer.right() - MarkTone + 1, outer.top(), MarkTone, outer.height()),
                             color);
        };
        ring(rect(), DesignColor::White);
        ring(rect().adjusted(MarkTone, MarkTone, -MarkTone, -MarkTone), DesignColor::Black);
    }
};

// A swatch as a screen reader meets it: an item of the frame's list, with its own name and
// description, focused while it is marked and the frame has the keyboard, selected while
// it is applied; pressing it does what a left click does, its menu what a right click does.
class SwatchAccessible : public QAccessibleWidget
{
public:
    SwatchAccessible(QWidget *swatch, SwatchKeys *keys)
        : QAccessibleWidget(swatch, QAccessible::ListItem), m_keys(keys)
    {
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        const int index = this->index();
        state.focusable = true;
        state.focused = m_keys->hasFocus() && m_keys->current() == index;
        state.selectable = true;
        state.selected = m_keys->applied() == index;
        return state;
    }
    QStringList actionNames() const override
    {
        if (m_keys->offersMenu())
            return {pressAction(), showMenuAction()};
        return {pressAction()};
    }
    void doAction(const QString &name) override
    {
        const int index = this->index();
        if (index < 0)
            return;
        if (name == pressAction()) {
            m_keys->setCurrent(index);
            emit m_keys->activated(index);
        } else if (name == showMenuAction() && m_keys->offersMenu()) {
            m_keys->setCurrent(index);
            emit m_keys->menuRequested(index);
        }
    }

private:
    int index() const { return int(m_keys->swatches().indexOf(widget())); }

    QPointer<SwatchKeys> m_keys;
};

// The frame of swatches: a list named by its caption. The focus it has from the keyboard
// is the marked swatch's.
class SwatchListAccessible : public CaptionFrameAccessible
{
public:
    SwatchListAccessible(QWidget *frame) : CaptionFrameAccessible(frame, QAccessible::List) {}

    QAccessible::State state() const override
    {
        QAccessible::State state = CaptionFrameAccessible::state();
        state.focused = false;
        return state;
    }
    QAccessibleInterface *focusChild() const override
    {
        SwatchKeys *keys = SwatchKeys::of(widget());
        if (!keys || !keys->hasFocus())
            return nullptr;
        return QAccessible::queryAccessibleInterface(keys->swatches().value(keys->current()));
    }
};

QAccessibleInterface *accessibleFor(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    if (SwatchKeys::of(widget))
        return new SwatchListAccessible(widget);
    if (SwatchKeys *keys = SwatchKeys::of(widget->parentWidget()); keys && keys->swatches().contains(widget))
        return new SwatchAccessible(widget, keys);
    return nullptr;
}

} // namespace

SwatchKeys::SwatchKeys(QWidget *frame, QList<QWidget *> swatches, QList<QPoint> places)
    : QObject(frame), m_frame(frame), m_swatches(std::move(swatches)), m_places(std::move(places))
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFor);
        return true;
    }();
    Q_UNUSED(installed);
    frame->setFocusPolicy(Qt::TabFocus); // the mouse clicks the swatches themselves
    frame->installEventFilter(this);
    m_mark = new FocusMark(frame);
    m_mark->hide();
    // The frame and its swatches were told to screen readers as they were made.
    RenewAccessibleInterface(frame);
    for (QWidget *swatch : m_swatches)
        RenewAccessibleInterface(swatch);
}

SwatchKeys *SwatchKeys::of(const QWidget *frame)
{
    return frame ? frame->findChild<SwatchKeys *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

bool SwatchKeys::hasFocus() const
{
    return m_frame->hasFocus();
}

void SwatchKeys::setCurrent(int index)
{
    if (index < 0 || index >= m_swatches.size())
        return;
    m_current = index;
    placeMark();
}

void SwatchKeys::setApplied(int index)
{
    if (index == m_applied)
        return;
    const int was = m_applied;
    m_applied = index;
    if (!QAccessible::isActive())
        return;
    QAccessible::State selected;
    selected.selected = true;
    for (int n : {was, index}) {
        if (QWidget *swatch = m_swatches.value(n)) {
            QAccessibleStateChangeEvent change(swatch, selected);
            QAccessible::updateAccessibility(&change);
        }
    }
}

void SwatchKeys::placeMark()
{
    QWidget *swatch = m_swatches[m_current];
    m_mark->setGeometry(swatch->geometry());
    m_mark->raise();
    m_mark->setVisible(m_frame->hasFocus());
    tellFocus();
}

void SwatchKeys::tellFocus()
{
    if (!m_frame->hasFocus() || !QAccessible::isActive())
        return;
    QAccessibleEvent focus(m_swatches[m_current], QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
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
        placeMark();
        // The frame itself is told focused after this; the swatch is told once more after
        // it, so that a screen reader ends on the swatch.
        QTimer::singleShot(0, this, &SwatchKeys::tellFocus);
        return false;
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
