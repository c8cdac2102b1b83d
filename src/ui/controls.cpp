#include "ui/controls.h"

#include "ui/widgetcolors.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace rainquill {

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
    window->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | buttons);
    window->setFixedSize(fromTwips(widthTwips), fromTwips(heightTwips));
    SetBackgroundColor(window, WindowBackground);
    window->setFont(SongTi(9));
    CentreOnScreen(window);
}

void CentreOnScreen(QWidget *window)
{
    if (const QScreen *screen = window->screen())
        window->move(screen->availableGeometry().center() - window->frameGeometry().center() + window->pos());
}

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
