#include "ui/frmmain.h"

#include "engine/outputformat.h"
#include "ui/base/controls.h"
#include "ui/frmmainlayout.h"
#include "ui/base/widgetcolors.h"
#include "ui/widgets/backcolorframe.h"
#include "ui/widgets/captionframe.h"
#include "ui/widgets/codepane.h"
#include "ui/widgets/gradientbox.h"
#include "ui/widgets/inputpane.h"
#include "ui/widgets/keycolorstrip.h"
#include "ui/widgets/menubarkeys.h"
#include "ui/widgets/optionbutton.h"
#include "ui/widgets/steparrow.h"
#include "ui/widgets/stepspinbox.h"
#include "ui/widgets/swatchframe.h"
#include "update/maker.h"
#include "version.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

// The main window's control tree in its fixed layout; the handlers are in frmmain.cpp.

namespace rainquill {

namespace {


} // namespace

frmMain::frmMain(QWidget *parent) : QMainWindow(parent)
{
    // The colour dialog and the rich text pane are part of Qt: nothing has to be
    // registered or started before the window is built.
    setObjectName(QStringLiteral("frmMain"));
    setAttribute(Qt::WA_DeleteOnClose); // closing unloads the window
    setWindowTitle(QStringLiteral("渐变文字代码生成器 %1  『青枫博客』%2")
                       .arg(QLatin1String(CurrentVersion), MakerBlogAddress()));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setFont(SongTi(9));
    buildControls();
    buildMenus();
    Form_Load();
    // The window opens ready for typing, whatever comes first in the Tab order.
    RTInput->setFocus();
    // Where the focus goes back to when a child window closes: the last control that had
    // it, the menu bar aside.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && now->window() == this && now != menuBar())
            m_lastFocus = now;
    });
}

void frmMain::buildControls()
{
    using namespace FrmMainLayout;
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(fromTwips(ClientWidth), fromTwips(ClientHeight));
    SetBackgroundColor(client, DesignColor::WindowBackground);
    setCentralWidget(client);

    Frame5 = new BackColorFrame(FrmMainLayout::Frame5, client);
    connect(Frame5, &BackColorFrame::clicked, this, &frmMain::labBackColor_Click);
    Frame1 = MakeFrame(client, QStringLiteral("Frame1"), InputCaption(0), FrmMainLayout::Frame1);
    Frame2 = MakeFrame(client, QStringLiteral("Frame2"), QString(), FrmMainLayout::Frame2);
    RTInput = new InputPane(Frame1);
    RTInput->setGeometry(FrmMainLayout::RTInput.toPixels());
    TxtCode = new CodePane(Frame2);
    TxtCode->setGeometry(FrmMainLayout::TxtCode.toPixels());
    setCodeCaption(0);

    Frame3[0] = new SwatchFrame(0, 0, QStringLiteral("默认方案(点击下列色块快速选色)"), FrmMainLayout::Frame3, client);
    Frame3[1] = new SwatchFrame(1, 10, QStringLiteral("自定义方案(鼠标右键单击改变方案)"), FrmMainLayout::Frame3, client);
    for (SwatchFrame *frame : Frame3) {
        for (int n = 0; n < 10; ++n)
            PicColorBox[size_t(frame == Frame3[0] ? n : 10 + n)] = frame->swatch(n);
        connect(frame, &SwatchFrame::swatchPressed, this, &frmMain::PicColorBox_MouseDown);
        connect(frame, &SwatchFrame::swatchClicked, this, &frmMain::PicColorBox_Click);
    }

    buildFrame4(client);
    buildFormatRow(client);
    buildViewButtons(client);

    connect(RTInput, &InputPane::changed, this, &frmMain::RTInput_Change);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    nameForScreenReaders();
    walkInReadingOrder();
}

void frmMain::buildViewButtons(QWidget *client)
{
    const auto option = [client](const char *name, const QString &caption, const TwipsRect &place) {
        auto *button = new OptionButton(caption, client);
        button->setObjectName(QLatin1String(name));
        button->setGeometry(place.toPixels());
        SetButtonColor(button, DesignColor::ButtonBackground);
        return button;
    };
    OptView = option("OptView", QStringLiteral("预览"), FrmMainLayout::OptView);
    OptAll = option("OptAll", QStringLiteral("混合"), FrmMainLayout::OptAll);
    OptCode = option("OptCode", QStringLiteral("代码"), FrmMainLayout::OptCode);
    auto *views = new QButtonGroup(this);
    for (QPushButton *button : {OptView, OptAll, OptCode})
        views->addButton(button);
    OptView->setChecked(true);
    connect(OptView, &QPushButton::clicked, this, &frmMain::OptView_Click);
    connect(OptAll, &QPushButton::clicked, this, &frmMain::OptAll_Click);
    connect(OptCode, &QPushButton::clicked, this, &frmMain::OptCode_Click);
}

void frmMain::nameForScreenReaders()
{
    RTInput->setAccessibleName(QStringLiteral("要转换的文字"));
    TxtCode->setAccessibleName(QStringLiteral("生成的代码"));
    TxtStep->setAccessibleName(QStringLiteral("每几个字递进一次颜色"));
    Combo1->setAccessibleName(QStringLiteral("格式"));
    const QString parts[3] = {QStringLiteral("格式前段"), QStringLiteral("格式中段"),
                              QStringLiteral("格式后段")};
    for (int n = 0; n < 3; ++n)
        TxtStyle[size_t(n)]->setAccessibleName(parts[n]);
    for (StepArrow *arrow : PicUp)
        arrow->setAccessibleName(QStringLiteral("步长加一"));
    for (StepArrow *arrow : PicDown)
        arrow->setAccessibleName(QStringLiteral("步长减一"));
}

void frmMain::walkInReadingOrder()
{
    // Tab walks the window in reading order, frame by frame: the background swatches, the
    // input and the code, the scheme swatches, the strip and its commands, the step, then
    // the row of views and formats.
    const std::array<QPushButton *, 4> &strip = m_keyStrip->buttons();
    QWidget *order[] = {Frame5,
                        RTInput,
                        TxtCode,
                        Frame3[0],
                        Frame3[1],
                        strip[0],
                        strip[1],
                        strip[2],
                        strip[3],
                        CmdGo,
                        CmdBack,
                        CmdClear,
                        ChkAuto,
                        CmdClipCode,
                        TxtStep,
                        OptView,
                        OptAll,
                        OptCode,
                        Combo1,
                        TxtStyle[0],
                        TxtStyle[1],
                        TxtStyle[2]};
    for (size_t n = 1; n < std::size(order); ++n)
        setTabOrder(order[n - 1], order[n]);
}

void frmMain::buildFrame4(QWidget *client)
{
    using namespace FrmMainLayout;
    Frame4 = MakeFrame(client, QStringLiteral("Frame4"), QStringLiteral("选择好颜色后，按【转换】按钮即可"),
                       FrmMainLayout::Frame4);
    m_keyStrip = new KeyColorStrip(Frame4, {FrmMainLayout::PicColor, FrmMainLayout::CmdLeft, FrmMainLayout::CmdRight,
                                            FrmMainLayout::CmdRnd, FrmMainLayout::CmdContrary});
    connect(m_keyStrip, &KeyColorStrip::changed, this, &frmMain::markAppliedScheme);
    CmdGo = MakeButton(Frame4, QStringLiteral("CmdGo"), QStringLiteral("转换"), FrmMainLayout::CmdGo);
    CmdGo->setDefault(true);
    CmdBack = MakeButton(Frame4, QStringLiteral("CmdBack"), QStringLiteral("还原"), FrmMainLayout::CmdBack);
    CmdClear = MakeButton(Frame4, QStringLiteral("CmdClear"), QStringLiteral("清除"), FrmMainLayout::CmdClear);
    CmdClipCode = MakeButton(Frame4, QStringLiteral("CmdClipCode"), QStringLiteral("手动复制"),
                             FrmMainLayout::CmdClipCode);
    connect(CmdGo, &QPushButton::clicked, this, &frmMain::CmdGo_Click);
    connect(CmdBack, &QPushButton::clicked, this, &frmMain::CmdBack_Click);
    connect(CmdClear, &QPushButton::clicked, this, &frmMain::CmdClear_Click);
    connect(CmdClipCode, &QPushButton::clicked, this, &frmMain::CmdClipCode_Click);

    ChkAuto = new QCheckBox(QStringLiteral("自动复制代码到剪贴板"), Frame4);
    ChkAuto->setObjectName(QStringLiteral("ChkAuto"));
    ChkAuto->setGeometry(FrmMainLayout::ChkAuto.toPixels());
    ChkAuto->setChecked(true);
    SetTextColor(ChkAuto, DesignColor::AutoCopyText);

    buildStepRow();
}

void frmMain::buildStepRow()
{
    MakeLabel(Frame4, QStringLiteral("Label2"), QStringLiteral("每"), FrmMainLayout::Label2, DesignColor::Blue);
    TxtStep = new StepSpinBox(QStringLiteral("1"), Frame4);
    TxtStep->setObjectName(QStringLiteral("TxtStep"));
    TxtStep->setGeometry(FrmMainLayout::TxtStep.toPixels());
    QPalette stepColors = TxtStep->palette();
    stepColors.setColor(QPalette::Base, DesignColor::White);
    stepColors.setColor(QPalette::Text, DesignColor::Black);
    TxtStep->setPalette(stepColors);
    connect(TxtStep, &QLineEdit::textChanged, this, &frmMain::TxtStep_Change);
    TxtStep->installEventFilter(this);

    for (int element = 0; element < 2; ++element) {
        PicUp[size_t(element)] = new StepArrow(StepArrow::Direction::Up, element == 1, Frame4);
        PicDown[size_t(element)] = new StepArrow(StepArrow::Direction::Down, element == 1, Frame4);
        PicUp[size_t(element)]->setObjectName(QStringLiteral("PicUp_%1").arg(element));
        PicDown[size_t(element)]->setObjectName(QStringLiteral("PicDown_%1").arg(element));
        PicUp[size_t(element)]->setGeometry(FrmMainLayout::PicUp.toPixels());
        PicDown[size_t(element)]->setGeometry(FrmMainLayout::PicDown.toPixels());
        connect(PicUp[size_t(element)], &StepArrow::pressed, this, [this] { stepArrowPressed(PicUp, +1); });
        connect(PicDown[size_t(element)], &StepArrow::pressed, this, [this] { stepArrowPressed(PicDown, -1); });
        connect(PicUp[size_t(element)], &StepArrow::released, this, [this] { stepArrowReleased(PicUp); });
        connect(PicDown[size_t(element)], &StepArrow::released, this, [this] { stepArrowReleased(PicDown); });
    }
    PicUp[1]->hide();
    PicDown[1]->hide();
    // The pressed pictures are the same arrows, not controls of their own.
    LeaveOutOfAccessibleTree(PicUp[1]);
    LeaveOutOfAccessibleTree(PicDown[1]);

    MakeLabel(Frame4, QStringLiteral("Label3"), QStringLiteral("个字递进一次颜色"), FrmMainLayout::Label3, DesignColor::Blue);
    QLabel *note = MakeLabel(Frame4, QStringLiteral("LabStep"),
                             QStringLiteral("注：当文字较多时，增大此数字可以明显减少代码长度(范围：1-100)"),
                             FrmMainLayout::LabStep, DesignColor::Red);
    note->setWordWrap(true);
}

void frmMain::buildFormatRow(QWidget *client)
{
    MakeLabel(client, QStringLiteral("Label4"), QStringLiteral("格式："), FrmMainLayout::Label4, DesignColor::FormatLabelText);
    Combo1 = new QComboBox(client);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setGeometry(FrmMainLayout::Combo1.toPixels());
    Combo1->addItems(FormatNames());
    connect(Combo1, &QComboBox::activated, this, &frmMain::Combo1_Click);
    for (int n = 0; n < 3; ++n) {
        TxtStyle[size_t(n)] = new QLineEdit(client);
        TxtStyle[size_t(n)]->setObjectName(QStringLiteral("TxtStyle_%1").arg(n));
        TxtStyle[size_t(n)]->setGeometry(FrmMainLayout::TxtStyle[n].toPixels());
    }
    QLabel *colour = MakeLabel(client, QStringLiteral("Label5"), QStringLiteral("#0022FF"), FrmMainLayout::Label5,
                               DesignColor::FormatLabelText);
    // The free CJK font's digits are wider than 宋体's: a point smaller, "#0022FF" fits.
    colour->setFont(SongTi(8));
    MakeLabel(client, QStringLiteral("Label6"), QStringLiteral("文字"), FrmMainLayout::Label6, DesignColor::FormatLabelText);
}

void frmMain::buildMenus()
{
    MenuColor = menuBar()->addMenu(QStringLiteral("配色方案"));
    MenuColor->setObjectName(QStringLiteral("MenuColor"));
    MenuDefault = MenuColor->addAction(QStringLiteral("默认方案"), this, &frmMain::MenuDefault_Click);
    MenuCustom = MenuColor->addAction(QStringLiteral("自定义方案"), this, &frmMain::MenuCustom_Click);
    MenuUpdate = menuBar()->addAction(QStringLiteral("检查新版本"), this, &frmMain::MenuUpdate_Click);
    MenuAbout = menuBar()->addAction(QStringLiteral("关于 Rainquill"), this, &frmMain::MenuAbout_Click);
    MenuExit = menuBar()->addAction(QStringLiteral("退出"), this, &frmMain::MenuExit_Click);
    const std::pair<QAction *, const char *> names[] = {{MenuDefault, "MenuDefault"},
                                                         {MenuCustom, "MenuCustom"},
                                                         {MenuUpdate, "MenuUpdate"},
                                                         {MenuAbout, "MenuAbout"},
                                                         {MenuExit, "MenuExit"}};
    for (const auto &[action, name] : names)
        action->setObjectName(QLatin1String(name));
    MenuDefault->setCheckable(true);
    MenuCustom->setCheckable(true);
    new MenuBarKeys(menuBar());
}

} // namespace rainquill
