#include "ui/frmcustomcolor.h"

#include "schemes/customschemefile.h"
#include "ui/base/controls.h"
#include "ui/platform/accessibility.h"
#include "ui/schemefilemessages.h"
#include "ui/widgets/captionframe.h"
#include "ui/widgets/keycolorstrip.h"

#include <QCloseEvent>
#include <QPushButton>

namespace rainquill {

namespace CustomColorLayout {

inline constexpr int ClientWidth = 3555;
inline constexpr int ClientHeight = 2550;
inline constexpr TwipsRect Frame1{62, 90, 3430, 1725};
// In Frame1.
inline constexpr KeyColorStrip::Layout Strip{{210, 480, 1100, 330},
                                             {1530, 473, 765, 345},
                                             {2445, 473, 765, 345},
                                             {210, 1020, 1100, 345},
                                             {1530, 1020, 1675, 345}};
inline constexpr TwipsRect CmdSave{570, 1980, 885, 405};
inline constexpr TwipsRect CmdCancel{2100, 1980, 885, 400};

} // namespace CustomColorLayout

frmCustomColor::frmCustomColor(int number, CustomSchemeFile &schemes) : m_schemes(schemes)
{
    using namespace CustomColorLayout;
    InstallAccessibility(); // read as a dialog
    SetUpWindow(this, QStringLiteral("frmCustomColor"), QStringLiteral("自定义方案"), ClientWidth, ClientHeight,
                Qt::WindowCloseButtonHint);

    CaptionFrame *frame = MakeFrame(this, QStringLiteral("Frame1"), QStringLiteral("选好颜色后按【保存】按钮保存"),
                                    CustomColorLayout::Frame1);
    m_strip = new KeyColorStrip(frame, Strip);
    QPushButton *save = MakeButton(this, QStringLiteral("CmdSave"), QStringLiteral("保存"), CustomColorLayout::CmdSave);
    connect(save, &QPushButton::clicked, this, &frmCustomColor::CmdSave_Click);
    connect(MakeButton(this, QStringLiteral("CmdCancel"), QStringLiteral("取消"), CustomColorLayout::CmdCancel),
            &QPushButton::clicked, this, &frmCustomColor::CmdCancel_Click);

    CustomNumber(number);
    Form_Load();
    MakeDefaultButton(save);
}

void frmCustomColor::CustomNumber(int getNumber)
{
    SchemeNumber = getNumber;
}

void frmCustomColor::Form_Load()
{
    setWindowTitle(QStringLiteral("自定义方案 方案%1").arg(SchemeNumber));
    LoadCustomSchemes(this, m_schemes);
    m_strip->setStrip(m_schemes.schemes()[size_t(SchemeNumber - 1)]);
}

void frmCustomColor::CmdSave_Click()
{
    // A failed save leaves the editor open, to try again or cancel.
    if (!SaveCustomScheme(this, m_schemes, SchemeNumber, m_strip->strip()))
        return;
    emit saved();
    close();
}

void frmCustomColor::CmdCancel_Click()
{
    close();
}

void frmCustomColor::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit closed();
}

} // namespace rainquill
