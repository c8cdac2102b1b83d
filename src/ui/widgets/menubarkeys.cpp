#include "ui/widgets/menubarkeys.h"

#include <QKeyEvent>
#include <QMenuBar>
#include <QProxyStyle>
#include <QShortcut>
#include <QStyleOptionMenuItem>

namespace rainquill {

namespace {

// Qt's own keyboard mode of the menu bar, with its title under the keyboard drawn as an
// open title is, so that the user sees where they are before anything opens.
class MenuBarStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_MenuBar_AltKeyNavigation)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        if (element == CE_MenuBarItem && item && (item->state & State_Selected)) {
            QStyleOptionMenuItem highlighted = *item;
            highlighted.state |= State_Sunken;
            QProxyStyle::drawControl(element, &highlighted, painter, widget);
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};

} // namespace

MenuBarKeys::MenuBarKeys(QMenuBar *bar) : QObject(bar), m_bar(bar)
{
    auto *style = new MenuBarStyle;
    style->setParent(bar);
    bar->setStyle(style);
    auto *f10 = new QShortcut(QKeySequence(Qt::Key_F10), bar->window());
    connect(f10, &QShortcut::activated, this, &MenuBarKeys::toggleKeyboardMode);
}

void MenuBarKeys::toggleKeyboardMode()
{
    // The bar enters and leaves its keyboard mode on Alt pressed and released alone, which
    // it watches for through its event filter; F10 is handed to it as that, so that both
    // ways behave alike in every respect (Esc, the focus given back).
    QObject *bar = m_bar;
    // A key event of Alt reports the Alt modifier flipped: this one reads as Alt held.
    QKeyEvent press(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::NoModifier);
    bar->eventFilter(m_bar->window(), &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    bar->eventFilter(m_bar->window(), &release);
}

} // namespace rainquill
