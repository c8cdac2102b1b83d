#pragma once

#include "schemes/colorstrip.h"
#include "ui/base/twips.h"

#include <QObject>
#include <array>

class QPushButton;

namespace rainquill {

class GradientBox;

// A key-colour strip with its box and its four buttons, placed in a frame: the main
// window's and the scheme editor's, each with a strip of its own.
class KeyColorStrip : public QObject
{
    Q_OBJECT

public:
    struct Layout
    {
        TwipsRect PicColor;
        TwipsRect CmdLeft;
        TwipsRect CmdRight;
        TwipsRect CmdRnd;
        TwipsRect CmdContrary;
    };

    KeyColorStrip(QWidget *frame, const Layout &layout);

    // The pair, held once: by the box that shows it.
    const ColorStrip &strip() const;
    // Takes the pair and redraws the box.
    void setStrip(const ColorStrip &strip);
    GradientBox *box() const { return PicColor; }
    // CmdLeft, CmdRight, CmdRnd and CmdContrary, in the order Tab walks them.
    const std::array<QPushButton *, 4> &buttons() const { return m_buttons; }

signals:
    // The pair is another one, or drawn again.
    void changed();

private:
    void CmdLeft_Click();
    void CmdRight_Click();
    void CmdContrary_Click();
    void CmdRnd_Click();

    GradientBox *PicColor = nullptr;
    std::array<QPushButton *, 4> m_buttons{};
};

} // namespace rainquill
