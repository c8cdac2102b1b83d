#pragma once

#include "ui/base/twips.h"

#include <QColor>
#include <QFont>

class QLabel;
class QPushButton;
class QWidget;

namespace rainquill {

// 宋体 at the given size, with free fonts that carry the same characters after it.
QFont SongTi(double points);

// A dialog window of a fixed client size in twips, on the windows' background, in 9-point
// 宋体, with a title bar offering `buttons`; closing it, also with Esc, unloads it.
void SetUpWindow(QWidget *window, const QString &name, const QString &caption, int widthTwips, int heightTwips,
                 Qt::WindowFlags buttons);

// Moves a window to the middle of its screen.
void CentreOnScreen(QWidget *window);

// Controls placed in the window's fixed layout and named after their roles: a push button in
// the graphical style, a label in a colour. A screen reader
// reads each by its caption as it is at the moment.
QPushButton *MakeButton(QWidget *parent, const QString &name, const QString &caption, const TwipsRect &place);
// Makes the button the window's default one and gives it the focus, so that Enter works as
// soon as the window opens.
void MakeDefaultButton(QPushButton *button);

QLabel *MakeLabel(QWidget *parent, const QString &name, const QString &caption, const TwipsRect &place,
                  const QColor &color);

} // namespace rainquill
