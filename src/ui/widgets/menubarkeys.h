#pragma once

#include <QObject>

class QMenuBar;

namespace rainquill {

// The menu bar from the keyboard: Alt pressed and released alone, or F10, puts the focus
// on the bar with its first title highlighted but not opened; Left and Right move the
// highlight, Down or Enter opens a menu or runs a command, Esc gives the focus back to the
// control that had it. Captions keep no mnemonics, so this is the bar's only way in.
class MenuBarKeys : public QObject
{
    Q_OBJECT

public:
    explicit MenuBarKeys(QMenuBar *bar);

private:
    void toggleKeyboardMode();

    QMenuBar *m_bar;
};

} // namespace rainquill
