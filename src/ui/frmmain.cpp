#include "ui/frmmain.h"

#include "engine/markup.h"
#include "engine/numbers.h"
#include "engine/preview.h"
#include "engine/stepbox.h"
#include "engine/textgroups.h"
#include "schemes/builtinschemes.h"
#include "ui/codepane.h"
#include "ui/colordialog.h"
#include "ui/frmmainlayout.h"
#include "ui/gradientbox.h"
#include "ui/inputpane.h"
#include "ui/maker.h"
#include "ui/messagebox.h"
#include "ui/steparrow.h"
#include "ui/swatchframe.h"
#include "version.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRandomGenerator>

namespace rainquill {

namespace {

const QColor WindowBackground(244, 244, 244);
const QColor ButtonBackground(240, 240, 255);
const QColor Blue(0, 0, 255);
const QColor Red(255, 0, 0);
const QColor FormatLabelText(64, 0, 0);

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, color);
    p.setColor(QPalette::Text, color);
    widget->setPalette(p);
}

QGroupBox *makeFrame(QWidget *parent, const QString &name, const QString &caption, const TwipsRect &place)
{
    auto *frame = new QGroupBox(caption, parent);
    frame->setObjectName(name);
    frame->setGeometry(place.toPixels());
    setTextColor(frame, Blue);
    return frame;
}

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &caption, const TwipsRect &place)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(place.toPixels());
    QPalette p = button->palette();
    p.setColor(QPalette::Button, ButtonBackground);
    button->setPalette(p);
    return button;
}

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &caption, const TwipsRect &place,
                  const QColor &color)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setGeometry(place.toPixels());
    setTextColor(label, color);
    return label;
}

QString inputCaption(qsizetype count)
{
    return QStringLiteral("要转换的文字(%1个字符").arg(count)
           + (count > 1000 ? QStringLiteral("【字符数较大，建议增加步进数】)") : QStringLiteral(")"));
}

} // namespace

frmMain::frmMain(QWidget *parent) : QMainWindow(parent)
{
    // The colour dialog and the rich text pane are part of Qt: nothing has to be
    // registered or started before the window is built.
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("渐变文字代码生成器 %1  『青枫博客』%2")
                       .arg(QLatin1String(CurrentVersion), MakerBlogAddress()));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    QFont font;
    font.setFamilies(CjkFontFamilies());
    font.setPointSize(9);
    setFont(font);
    buildControls();
    buildMenus();
    Form_Load();
}

void frmMain::buildControls()
{
    using namespace FrmMainLayout;
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(fromTwips(ClientWidth), fromTwips(ClientHeight));
    QPalette p = client->palette();
    p.setColor(QPalette::Window, WindowBackground);
    client->setPalette(p);
    client->setAutoFillBackground(true);
    setCentralWidget(client);

    Frame5 = makeFrame(client, QStringLiteral("Frame5"), QStringLiteral("背景颜色"), FrmMainLayout::Frame5);
    Frame1 = makeFrame(client, QStringLiteral("Frame1"), inputCaption(0), FrmMainLayout::Frame1);
    Frame2 = makeFrame(client, QStringLiteral("Frame2"), QString(), FrmMainLayout::Frame2);
    RTInput = new InputPane(Frame1);
    RTInput->setGeometry(FrmMainLayout::RTInput.toPixels());
    TxtCode = new CodePane(Frame2);
    TxtCode->setGeometry(FrmMainLayout::TxtCode.toPixels());
    setCodeCaption();

    Frame3[0] = new SwatchFrame(0, 0, QStringLiteral("默认方案(点击下列色块快速选色)"), client);
    Frame3[1] = new SwatchFrame(1, 10, QStringLiteral("自定义方案(鼠标右键单击改变方案)"), client);
    for (SwatchFrame *frame : Frame3) {
        setTextColor(frame, Blue);
        for (int n = 0; n < 10; ++n)
            PicColorBox[size_t(frame == Frame3[0] ? n : 10 + n)] = frame->swatch(n);
        connect(frame, &SwatchFrame::swatchPressed, this, &frmMain::PicColorBox_MouseDown);
        connect(frame, &SwatchFrame::swatchClicked, this, &frmMain::PicColorBox_Click);
    }

    buildFrame4(client);
    buildFormatRow(client);

    OptView = makeButton(client, QStringLiteral("OptView"), QStringLiteral("预览"), FrmMainLayout::OptView);
    OptAll = makeButton(client, QStringLiteral("OptAll"), QStringLiteral("混合"), FrmMainLayout::OptAll);
    OptCode = makeButton(client, QStringLiteral("OptCode"), QStringLiteral("代码"), FrmMainLayout::OptCode);
    auto *views = new QButtonGroup(this);
    for (QPushButton *option : {OptView, OptAll, OptCode}) {
        option->setCheckable(true);
        views->addButton(option);
    }
    OptView->setChecked(true);
    connect(OptView, &QPushButton::clicked, this, &frmMain::OptView_Click);
    connect(OptAll, &QPushButton::clicked, this, &frmMain::OptAll_Click);
    connect(OptCode, &QPushButton::clicked, this, &frmMain::OptCode_Click);

    connect(RTInput, &InputPane::changed, this, &frmMain::RTInput_Change);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void frmMain::buildFrame4(QWidget *client)
{
    using namespace FrmMainLayout;
    Frame4 = makeFrame(client, QStringLiteral("Frame4"), QStringLiteral("选择好颜色后，按【转换】按钮即可"),
                       FrmMainLayout::Frame4);
    PicColor = new GradientBox(Frame4);
    PicColor->setObjectName(QStringLiteral("PicColor"));
    PicColor->setGeometry(FrmMainLayout::PicColor.toPixels());

    CmdLeft = makeButton(Frame4, QStringLiteral("CmdLeft"), QStringLiteral("颜色左"), FrmMainLayout::CmdLeft);
    CmdRight = makeButton(Frame4, QStringLiteral("CmdRight"), QStringLiteral("颜色右"), FrmMainLayout::CmdRight);
    CmdRnd = makeButton(Frame4, QStringLiteral("CmdRnd"), QStringLiteral("随机组合"), FrmMainLayout::CmdRnd);
    CmdContrary = makeButton(Frame4, QStringLiteral("CmdContrary"), QStringLiteral("颜色 →← 对调"),
                             FrmMainLayout::CmdContrary);
    CmdGo = makeButton(Frame4, QStringLiteral("CmdGo"), QStringLiteral("转换"), FrmMainLayout::CmdGo);
    CmdGo->setDefault(true);
    CmdBack = makeButton(Frame4, QStringLiteral("CmdBack"), QStringLiteral("还原"), FrmMainLayout::CmdBack);
    CmdClear = makeButton(Frame4, QStringLiteral("CmdClear"), QStringLiteral("清除"), FrmMainLayout::CmdClear);
    CmdClipCode = makeButton(Frame4, QStringLiteral("CmdClipCode"), QStringLiteral("手动复制"),
                             FrmMainLayout::CmdClipCode);
    connect(CmdLeft, &QPushButton::clicked, this, &frmMain::CmdLeft_Click);
    connect(CmdRight, &QPushButton::clicked, this, &frmMain::CmdRight_Click);
    connect(CmdRnd, &QPushButton::clicked, this, &frmMain::CmdRnd_Click);
    connect(CmdContrary, &QPushButton::clicked, this, &frmMain::CmdContrary_Click);
    connect(CmdGo, &QPushButton::clicked, this, &frmMain::CmdGo_Click);

    ChkAuto = new QCheckBox(QStringLiteral("自动复制代码到剪贴板"), Frame4);
    ChkAuto->setObjectName(QStringLiteral("ChkAuto"));
    ChkAuto->setGeometry(FrmMainLayout::ChkAuto.toPixels());
    ChkAuto->setChecked(true);
    setTextColor(ChkAuto, QColor(192, 64, 0));

    makeLabel(Frame4, QStringLiteral("Label2"), QStringLiteral("每"), FrmMainLayout::Label2, Blue);
    TxtStep = new QLineEdit(QStringLiteral("1"), Frame4);
    TxtStep->setObjectName(QStringLiteral("TxtStep"));
    TxtStep->setGeometry(FrmMainLayout::TxtStep.toPixels());
    QPalette stepColors = TxtStep->palette();
    stepColors.setColor(QPalette::Base, Qt::white);
    stepColors.setColor(QPalette::Text, Qt::black);
    TxtStep->setPalette(stepColors);
    connect(TxtStep, &QLineEdit::textChanged, this, &frmMain::TxtStep_Change);
    connect(TxtStep, &QLineEdit::returnPressed, CmdGo, &QPushButton::click);

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

    makeLabel(Frame4, QStringLiteral("Label3"), QStringLiteral("个字递进一次颜色"), FrmMainLayout::Label3, Blue);
    QLabel *note = makeLabel(Frame4, QStringLiteral("LabStep"),
                             QStringLiteral("注：当文字较多时，增大此数字可以明显减少代码长度(范围：1-100)"),
                             FrmMainLayout::LabStep, Red);
    note->setWordWrap(true);
}

void frmMain::buildFormatRow(QWidget *client)
{
    makeLabel(client, QStringLiteral("Label4"), QStringLiteral("格式："), FrmMainLayout::Label4, FormatLabelText);
    Combo1 = new QComboBox(client);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setGeometry(FrmMainLayout::Combo1.toPixels());
    Combo1->addItems(FormatNames());
    connect(Combo1, &QComboBox::activated, this, &frmMain::Combo1_Click);
    for (int n = 0; n < 3; ++n) {
        TxtStyle[size_t(n)] = new QLineEdit(client);
        TxtStyle[size_t(n)]->setObjectName(QStringLiteral("TxtStyle_%1").arg(n));
        TxtStyle[size_t(n)]->setGeometry(FrmMainLayout::TxtStyle[n].toPixels());
        connect(TxtStyle[size_t(n)], &QLineEdit::returnPressed, CmdGo, &QPushButton::click);
    }
    makeLabel(client, QStringLiteral("Label5"), QStringLiteral("#0022FF"), FrmMainLayout::Label5, FormatLabelText);
    makeLabel(client, QStringLiteral("Label6"), QStringLiteral("文字"), FrmMainLayout::Label6, FormatLabelText);
}

void frmMain::buildMenus()
{
    MenuColor = menuBar()->addMenu(QStringLiteral("配色方案"));
    MenuColor->setObjectName(QStringLiteral("MenuColor"));
    MenuDefault = MenuColor->addAction(QStringLiteral("默认方案"), this, &frmMain::MenuDefault_Click);
    MenuCustom = MenuColor->addAction(QStringLiteral("自定义方案"), this, &frmMain::MenuCustom_Click);
    MenuUpdate = menuBar()->addAction(QStringLiteral("检查新版本"));
    MenuAbout = menuBar()->addAction(QStringLiteral("关于 Rainquill"));
    MenuExit = menuBar()->addAction(QStringLiteral("退出"));
    const std::pair<QAction *, const char *> names[] = {{MenuDefault, "MenuDefault"},
                                                         {MenuCustom, "MenuCustom"},
                                                         {MenuUpdate, "MenuUpdate"},
                                                         {MenuAbout, "MenuAbout"},
                                                         {MenuExit, "MenuExit"}};
    for (const auto &[action, name] : names)
        action->setObjectName(QLatin1String(name));
    MenuDefault->setCheckable(true);
    MenuCustom->setCheckable(true);
}

void frmMain::Form_Load()
{
    LastSwatchButton = 1;
    OptView_Click();
    SetViewLayout();
    Combo1->setCurrentIndex(0);
    Combo1_Click();
    MenuDefault_Click();
    for (int index = 9; index >= 0; --index) {
        PicColorBox_Click(index);
        DrawGradient(m_strip, PicColorBox[size_t(index)]);
    }
    DrawGradient(m_strip, PicColor);
}

double frmMain::stepValue() const
{
    return LeadingNumber(TxtStep->text());
}

void frmMain::setCodeCaption()
{
    Frame2->setTitle(QStringLiteral("生成的代码(%1个字符)").arg(CharacterCount(TxtCode->code())));
}

void frmMain::CmdGo_Click()
{
    const QString text = RTInput->text();
    if (text.isEmpty()) {
        MessageBox::show(this, QStringLiteral("请输入要转换的文字"), QStringLiteral("没有找到要转换的文字"),
                         MessageBox::Icon::Critical);
        return;
    }
    for (const QLineEdit *box : TxtStyle) {
        if (box->text().isEmpty()) {
            MessageBox::show(this, QStringLiteral("自定义格式没有填完整"), QStringLiteral("不完整的自定义格式"),
                             MessageBox::Icon::Critical);
            return;
        }
    }

    // The preview gives the pane back the same characters, so the code is written from
    // the text read above.
    const CodeRequest request{text,
                              m_strip.start(),
                              m_strip.end(),
                              stepValue(),
                              OutputFormat(Combo1->currentIndex()),
                              {TxtStyle[0]->text(), TxtStyle[1]->text(), TxtStyle[2]->text()}};
    const std::optional<QString> code = GenerateCode(request);
    if (!code) {
        MessageBox::show(this, QStringLiteral("生成的代码太长，请增大步长后再转换"), QStringLiteral("代码太长"),
                         MessageBox::Icon::Critical);
        return;
    }
    PreviewColors(request.stepValue, text);
    TxtCode->setCode(*code);

    if (ChkAuto->isChecked()) {
        QClipboard *clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        clipboard->setText(TxtCode->code());
    }
    setCodeCaption();
}

void frmMain::PreviewColors(double stepValue, const QString &text)
{
    RTInput->showPreview(text, PreviewPlan(text, m_strip.start(), m_strip.end(), stepValue));
}

void frmMain::Combo1_Click()
{
    const int index = Combo1->currentIndex();
    if (index < 0)
        return;
    const Template tpl = TemplateFor(OutputFormat(index));
    const QString texts[3] = {tpl.prefix, tpl.middle, tpl.suffix};
    for (int n = 0; n < 3; ++n)
        TxtStyle[size_t(n)]->setText(texts[n]);
    for (QLineEdit *box : TxtStyle)
        box->setEnabled(OutputFormat(index) == OutputFormat::Custom);
}

void frmMain::CmdLeft_Click()
{
    if (const std::optional<KeyColor> color = ColorDialog::pick(this)) {
        m_strip.setStart(ColorToRGB(*color));
        DrawGradient(m_strip, PicColor);
    }
}

void frmMain::CmdRight_Click()
{
    if (const std::optional<KeyColor> color = ColorDialog::pick(this)) {
        m_strip.setEnd(ColorToRGB(*color));
        DrawGradient(m_strip, PicColor);
    }
}

void frmMain::CmdContrary_Click()
{
    m_strip = Swapped(m_strip);
    DrawGradient(m_strip, PicColor);
}

void frmMain::CmdRnd_Click()
{
    // A fresh seed from the clock on every press.
    QRandomGenerator generator(quint32(QDateTime::currentMSecsSinceEpoch()));
    m_strip = RandomStrip(generator);
    DrawGradient(m_strip, PicColor);
}

void frmMain::TxtStep_Change()
{
    const QString settled = SettleStepText(TxtStep->text());
    if (settled != TxtStep->text()) {
        TxtStep->setText(settled); // runs this handler once more, which leaves it
        // The caret goes to the start, so that typing on ("abc") replaces the digit.
        TxtStep->setCursorPosition(0);
    }
}

void frmMain::stepArrowPressed(std::array<StepArrow *, 2> &arrow, int delta)
{
    arrow[0]->hide();
    arrow[1]->show();
    // The release may come while the pressed picture is showing; it goes to that one.
    arrow[1]->grabMouse();
    TxtStep->setText(StepArrowText(TxtStep->text(), delta));
}

void frmMain::stepArrowReleased(std::array<StepArrow *, 2> &arrow)
{
    arrow[1]->releaseMouse();
    arrow[1]->hide();
    arrow[0]->show();
}

void frmMain::PicColorBox_MouseDown(int, Qt::MouseButton button)
{
    LastSwatchButton = button == Qt::LeftButton ? 1 : button == Qt::RightButton ? 2 : 0;
}

void frmMain::PicColorBox_Click(int index)
{
    if (LastSwatchButton == 1) {
        if (index < 10)
            m_strip = BuiltInSchemes[size_t(index)];
        DrawGradient(m_strip, PicColor);
    }
}

void frmMain::MenuDefault_Click()
{
    MenuCustom->setChecked(false);
    MenuDefault->setChecked(true);
    Frame3[1]->hide();
    Frame3[0]->show();
}

void frmMain::MenuCustom_Click()
{
    LastSwatchButton = 1;
    MenuDefault->setChecked(false);
    MenuCustom->setChecked(true);
    Frame3[0]->hide();
    Frame3[1]->show();
}

void frmMain::RTInput_Change()
{
    const qsizetype count = CharacterCount(RTInput->text());
    Frame1->setTitle(inputCaption(count));
    setTextColor(Frame1, count > 1000 ? Red : Blue);
}

void frmMain::OptView_Click()
{
    ViewMode = 1;
    SetViewLayout();
}

void frmMain::OptAll_Click()
{
    ViewMode = 2;
    SetViewLayout();
}

void frmMain::OptCode_Click()
{
    ViewMode = 3;
    SetViewLayout();
}

void frmMain::SetViewLayout()
{
    using namespace FrmMainLayout;
    const auto setTopAndHeight = [](QWidget *widget, int topTwips, int heightTwips) {
        widget->setGeometry(widget->x(), fromTwips(topTwips), widget->width(), fromTwips(heightTwips));
    };
    const auto setHeight = [](QWidget *widget, int heightTwips) {
        widget->resize(widget->width(), fromTwips(heightTwips));
    };
    switch (ViewMode) {
    case 1:
        Frame1->show();
        setTopAndHeight(Frame1, FrmMainLayout::Frame1.top, TallFrameHeight);
        setHeight(RTInput, FrmMainLayout::Frame1.top + TallFrameHeight - InputPaneMargin);
        Frame2->hide();
        break;
    case 2:
        Frame1->show();
        setTopAndHeight(Frame1, FrmMainLayout::Frame1.top, ShortFrameHeight);
        setHeight(RTInput, InputPaneMixedHeight);
        Frame2->show();
        setTopAndHeight(Frame2, LowerFrameTop, ShortFrameHeight);
        setHeight(TxtCode, CodePaneMixedHeight);
        break;
    case 3:
        Frame1->hide();
        Frame2->show();
        setTopAndHeight(Frame2, FrmMainLayout::Frame1.top, TallFrameHeight);
        setHeight(TxtCode, FrmMainLayout::Frame1.top + TallFrameHeight - CodePaneMargin);
        break;
    }
}

void frmMain::openChild(QWidget *child)
{
    child->show();
    setEnabled(false);
    child->activateWindow();
    child->setFocus();
}

void frmMain::childClosed()
{
    setEnabled(true);
    activateWindow();
    setFocus();
}

} // namespace rainquill
