#include "ui/frmmain.h"

#include "engine/conversion.h"
#include "engine/markup.h"
#include "engine/numbers.h"
#include "engine/preview.h"
#include "engine/refusals.h"
#include "engine/stepbox.h"
#include "engine/textgroups.h"
#include "schemes/builtinschemes.h"
#include "schemes/customschemefile.h"
#include "ui/aboutwindow.h"
#include "ui/frmcustomcolor.h"
#include "ui/frmmainlayout.h"
#include "ui/frmupdate.h"
#include "ui/platform/colordialog.h"
#include "ui/platform/messagebox.h"
#include "ui/schemefilemessages.h"
#include "ui/base/widgetcolors.h"
#include "ui/widgets/backcolorframe.h"
#include "ui/widgets/captionframe.h"
#include "ui/widgets/codepane.h"
#include "ui/widgets/gradientbox.h"
#include "ui/widgets/inputpane.h"
#include "ui/widgets/keycolorstrip.h"
#include "ui/widgets/steparrow.h"
#include "ui/widgets/stepspinbox.h"
#include "ui/widgets/swatchframe.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QWindow>

#include <variant>

namespace rainquill {

namespace {

// What the preview's document holds at its peak, in bytes per character of the text;
// measured with room to spare.
constexpr qint64 PreviewMemory = 32;

} // namespace

QString frmMain::InputCaption(qsizetype count)
{
    return QStringLiteral("要转换的文字(%1个字符").arg(count)
           + (count > 1000 ? QStringLiteral("【字符数较大，建议增加步进数】)") : QStringLiteral(")"));
}

void frmMain::Form_Load()
{
    LastSwatchButton = SwatchButton::Left;
    OptView_Click();
    SetViewLayout();
    Combo1->setCurrentIndex(0);
    Combo1_Click();
    MenuDefault_Click();
    // The built-in swatches show their schemes, and the strip ends on scheme 0.
    for (int index = 9; index >= 0; --index)
        DrawGradient(BuiltInSchemes[size_t(index)], PicColorBox[size_t(index)]);
    m_keyStrip->setStrip(BuiltInSchemes[0]);
}

const ColorStrip &frmMain::strip() const
{
    return m_keyStrip->strip();
}

double frmMain::stepValue() const
{
    return LeadingNumber(TxtStep->text());
}

void frmMain::setCodeCaption(qint64 characters)
{
    Frame2->setTitle(QStringLiteral("生成的代码(%1个字符)").arg(characters));
}

void frmMain::refuse(Refusal refusal)
{
    const RefusalWords &words = WordsFor(refusal);
    MessageBox::show(this, words.prompt, words.title, MessageBox::Icon::Critical);
}

// The conversion, step by step: the engine checks the request and builds its code, the
// window builds the preview and shows both. Everything is built before anything is shown,
// so a refusal at any step leaves the panes and the clipboard as they were.
void frmMain::CmdGo_Click()
{
    // The preview gives the pane back the same characters, so the code is written from
    // the text read here.
    const QString text = RTInput->text();
    const CodeRequest request = conversionRequest(text);
    try {
        const std::variant<Refusal, Conversion> outcome = Convert(request, PreviewMemory * text.size());
        if (const Refusal *refusal = std::get_if<Refusal>(&outcome))
            return refuse(*refusal);
        const Conversion &conversion = std::get<Conversion>(outcome);
        showConversion(request, conversion.code, PreviewColors(request.stepValue, conversion.characters));
    } catch (const std::bad_alloc &) {
        refuse(Refusal::OutOfMemory);
    }
}

CodeRequest frmMain::conversionRequest(const QString &text) const
{
    return {text,
            m_keyStrip->strip().start(),
            m_keyStrip->strip().end(),
            stepValue(),
            OutputFormat(Combo1->currentIndex()),
            {TxtStyle[0]->text(), TxtStyle[1]->text(), TxtStyle[2]->text()}};
}

void frmMain::showConversion(const CodeRequest &request, const QString &code, std::unique_ptr<QTextDocument> preview)
{
    if (ChkAuto->isChecked()) {
        QClipboard *clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        clipboard->setText(code);
    }
    RTInput->showDocument(std::move(preview));
    TxtCode->setCode(code);
    setCodeCaption(CodeCharacters(request, code));
}

std::unique_ptr<QTextDocument> frmMain::PreviewColors(double stepValue, const Characters &characters) const
{
    return RTInput->buildPreview(characters.text(),
                                 PreviewPlan(characters, m_keyStrip->strip().start(), m_keyStrip->strip().end(),
                                             stepValue));
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

void frmMain::TxtStep_Change()
{
    const QString settled = SettleStepText(TxtStep->text());
    if (settled != TxtStep->text()) {
        TxtStep->setText(settled); // runs this handler once more, which leaves it
        // The corrected text is selected, so that typing on replaces it.
        TxtStep->selectAll();
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
    LastSwatchButton = button == Qt::LeftButton    ? SwatchButton::Left
                       : button == Qt::RightButton ? SwatchButton::Right
                                                   : SwatchButton::Other;
}

void frmMain::PicColorBox_Click(int index)
{
    if (LastSwatchButton == SwatchButton::Right && index >= 10 && MenuCustom->isChecked()) {
        auto *editor = new frmCustomColor(index - 9, m_schemes);
        connect(editor, &frmCustomColor::saved, this, &frmMain::MenuCustom_Click);
        connect(editor, &frmCustomColor::closed, this, &frmMain::childClosed);
        // The editor comes back to its swatch, marked in the custom grid.
        Frame3[1]->mark(index - 10);
        openChild(editor, Frame3[1]);
        return;
    }
    if (LastSwatchButton == SwatchButton::Left) {
        if (index < 10)
            m_keyStrip->setStrip(BuiltInSchemes[size_t(index)]);
        else
            m_keyStrip->setStrip(m_schemes.schemes()[size_t(index - 10)]);
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
    LastSwatchButton = SwatchButton::Left;
    MenuDefault->setChecked(false);
    MenuCustom->setChecked(true);
    Frame3[0]->hide();
    Frame3[1]->show();
    LoadCustomSchemes(this, m_schemes);
    // Each swatch a snapshot of its scheme as it is now; the strip keeps its colours.
    for (int index = 19; index >= 10; --index)
        DrawGradient(m_schemes.schemes()[size_t(index - 10)], PicColorBox[size_t(index)]);
    markAppliedScheme();
}

void frmMain::markAppliedScheme()
{
    // The swatch that shows the strip's pair is the one applied.
    for (SwatchFrame *frame : Frame3) {
        int applied = -1;
        for (int n = 0; n < 10 && applied < 0; ++n) {
            if (frame->swatch(n)->strip() == m_keyStrip->strip())
                applied = n;
        }
        frame->setApplied(applied);
    }
}

void frmMain::RTInput_Change()
{
    const qsizetype count = RTInput->characterCount();
    Frame1->setTitle(InputCaption(count));
    Frame1->setCaptionColor(count > 1000 ? DesignColor::Red : DesignColor::Blue);
}

void frmMain::OptView_Click()
{
    ViewMode = ViewModes::Preview;
    SetViewLayout();
}

void frmMain::OptAll_Click()
{
    ViewMode = ViewModes::Mixed;
    SetViewLayout();
}

void frmMain::OptCode_Click()
{
    ViewMode = ViewModes::Code;
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
    case ViewModes::Preview:
        Frame1->show();
        setTopAndHeight(Frame1, FrmMainLayout::Frame1.top, TallFrameHeight);
        setHeight(RTInput, FrmMainLayout::Frame1.top + TallFrameHeight - InputPaneMargin);
        Frame2->hide();
        break;
    case ViewModes::Mixed:
        Frame1->show();
        setTopAndHeight(Frame1, FrmMainLayout::Frame1.top, ShortFrameHeight);
        setHeight(RTInput, InputPaneMixedHeight);
        Frame2->show();
        setTopAndHeight(Frame2, LowerFrameTop, ShortFrameHeight);
        setHeight(TxtCode, CodePaneMixedHeight);
        break;
    case ViewModes::Code:
        Frame1->hide();
        Frame2->show();
        setTopAndHeight(Frame2, FrmMainLayout::Frame1.top, TallFrameHeight);
        setHeight(TxtCode, FrmMainLayout::Frame1.top + TallFrameHeight - CodePaneMargin);
        break;
    }
    // A pane made shorter still shows its caret.
    RTInput->ensureCursorVisible();
}

void frmMain::CmdClear_Click()
{
    // One step to undo: a click does not lose what was typed. The code goes for good.
    RTInput->clearText();
    TxtCode->setCode(QString());
    setCodeCaption(0);
}

void frmMain::CmdBack_Click()
{
    const QString text = RTInput->text();
    RTInput->replaceText(QString());
    RTInput->replaceText(text);
    TxtCode->setCode(QString());
    setCodeCaption(0);
}

void frmMain::CmdClipCode_Click()
{
    if (TxtCode->code().isEmpty()) {
        MessageBox::show(this, QStringLiteral("代码为空，不能复制！"), QStringLiteral("复制失败"),
                         MessageBox::Icon::Critical);
        return;
    }
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(TxtCode->code());
    MessageBox::show(this, QStringLiteral("代码已成功复制到剪贴板中！"), QStringLiteral("复制成功"),
                     MessageBox::Icon::Information);
}

void frmMain::labBackColor_Click(int index)
{
    if (index == BackColorFrame::CustomElement) {
        const std::optional<KeyColor> color = ColorDialog::pick(this);
        if (!color)
            return;
        Frame5->setCustomColor(*color);
    }
    RTInput->setBackgroundColor(Frame5->color(index));
    Frame5->setApplied(index);
}

void frmMain::MenuAbout_Click()
{
    auto *about = new frmAbout1;
    connect(about, &frmAbout1::closed, this, &frmMain::childClosed);
    openChild(about);
}

void frmMain::MenuUpdate_Click()
{
    auto *check = new frmUpdate;
    connect(check, &frmUpdate::closed, this, &frmMain::childClosed);
    openChild(check);
}

void frmMain::MenuExit_Click()
{
    close();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // While a child window is open this window is disabled and cannot be closed: the
    // request brings the child to the front instead.
    if (m_child) {
        event->ignore();
        m_child->raise();
        m_child->activateWindow();
        return;
    }
    // Form_QueryUnload: the thank-you window takes over and ends the program.
    if (!m_thanks) {
        m_thanks = new frmAbout2;
        m_thanks->show();
    }
    event->accept();
    m_thanks->activateWindow();
}

void frmMain::openChild(QWidget *child, QWidget *returnTo)
{
    m_returnFocus = returnTo ? returnTo : m_lastFocus.data();
    // Transient for this window, so the window manager keeps it above this one; not a
    // child widget, which disabling this window would disable too.
    child->winId();
    child->windowHandle()->setTransientParent(windowHandle());
    m_child = child;
    child->show();
    setEnabled(false);
    // The child has put the focus on its default button; the window takes it from here.
    child->activateWindow();
}

void frmMain::childClosed()
{
    m_child = nullptr;
    setEnabled(true);
    activateWindow();
    // Disabling the window took the focus from its control: it goes back there.
    if (m_returnFocus)
        m_returnFocus->setFocus(Qt::OtherFocusReason);
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    // The step box's Up and Down keys do what the arrows beside it do.
    if (watched == TxtStep && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            TxtStep->setText(StepArrowText(TxtStep->text(), key == Qt::Key_Up ? 1 : -1));
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::keyPressEvent(QKeyEvent *event)
{
    // "转换" is the default button: Enter in a control that does not use Enter itself
    // reaches the window and converts.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && CmdGo->isEnabled()) {
        CmdGo->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

} // namespace rainquill
