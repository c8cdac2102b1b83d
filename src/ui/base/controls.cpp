#include "ui/base/controls.h"

#include "ui/base/widgetcolors.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QKeyEvent>

namespace rainquill {

namespace {

// Esc, unused by the control that has the focus, closes the window as its close box does.
class CloseOnEscape : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent *>(event)->key() != Qt::Key_Escape)
            return false;
        static_cast<QWidget *>(watched)->close();
        return true;
    }
};

} // namespace

QFont SongTi(double points)
{
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
                      QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPointSizeF(points);
    return font;
}

void SetUpWindow(QWidget *window, const QString &name, const QString &caption, int widthTwips, int heightTwips,
                 Qt::WindowFlags buttons)
{
    window->setObjectName(name);
    window->setWindowTitle(caption);
    window->setAttribute(Qt::WA_DeleteOnClose);
    // A dialog to the window manager, so that a child stays above the window it is
    // transient for.
    window->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | buttons);
    window->setFixedSize(fromTwips(widthTwips), fromTwips(heightTwips));
    SetBackgroundColor(window, DesignColor::WindowBackground);
    window->setFont(SongTi(9));
    window->installEventFilter(new CloseOnEscape(window));
    CentreOnScreen(window);
}

void CentreOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen();
    if (!screen)
        return;
    // Centred on the screen's free area; a window larger than that keeps its top-left
    // corner, with the title bar and its close box, inside it.
    const QRect area = screen->availableGeometry();
    const QRect frame = window->frameGeometry();
    QPoint topLeft = area.center() - QPoint(frame.width() / 2, frame.height() / 2);
    topLeft.setX(qMax(topLeft.x(), area.left()));
    topLeft.setY(qMax(topLeft.y(), area.top()));
    window->move(topLeft);
}

QPushButton *MakeButton(QWidget *parent, const QString &name, const QString &caption, const TwipsRect &place)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(place.toPixels());
    SetButtonColor(button, DesignColor::ButtonBackground);
    // A command button with the focus takes Enter for itself.
    button->setAutoDefault(true);
    return button;
}

void MakeDefaultButton(QPushButton *button)
{
    button->setDefault(true);
    button->setFocus();
}

QLabel *MakeLabel(QWidget *parent, const QString &name, const QString &caption, const TwipsRect &place,
                  const QColor &color)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    // Labels may show text from a page or a file: never read as markup, which could load
    // pictures from the local disk.
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(place.toPixels());
    SetTextColor(label, color);
    return label;
}

} // namespace rainquill
