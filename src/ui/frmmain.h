#pragma once

#include "engine/refusals.h"
#include "schemes/colorstrip.h"
#include "schemes/customschemefile.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTextDocument;

namespace rainquill {

class BackColorFrame;
class CaptionFrame;
class CodePane;
class frmAbout2;
class GradientBox;
class InputPane;
class KeyColorStrip;
class StepArrow;
class StepSpinBox;
class SwatchFrame;

// The main window: the panes, the key-colour strip, the scheme swatches, the step row,
// the format row and the conversion.
// What the window shows: the input pane alone, both panes, or the code pane alone.
enum class ViewModes { Preview = 1, Mixed = 2, Code = 3 };

// The mouse button that went down on a swatch last: the left one applies it, the right
// one opens the editor on a custom swatch, any other does nothing.
enum class SwatchButton { Other = 0, Left = 1, Right = 2 };

class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmMain(QWidget *parent = nullptr);

    const ColorStrip &strip() const;

    // Shows the custom swatches; the scheme editor calls it after saving.
    void MenuCustom_Click();

    // Opens a child window: shows it, disables this window and gives the child the focus.
    // The child calls childClosed() when it closes, and the focus goes back to `returnTo`,
    // by default the control that had it before (before the menu bar, for a menu command).
    void openChild(QWidget *child, QWidget *returnTo = nullptr);
    void childClosed();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildFrame4(QWidget *client);
    void buildStepRow();
    void buildFormatRow(QWidget *client);
    void buildViewButtons(QWidget *client);
    void buildMenus();
    void nameForScreenReaders();
    void walkInReadingOrder();
    void Form_Load();

    void CmdGo_Click();
    CodeRequest conversionRequest(const QString &text) const;
    void showConversion(const CodeRequest &request, const QString &code, std::unique_ptr<QTextDocument> preview);
    void refuse(Refusal refusal);
    std::unique_ptr<QTextDocument> PreviewColors(double stepValue, const Characters &characters) const;
    void Combo1_Click();
    void TxtStep_Change();
    void stepArrowPressed(std::array<StepArrow *, 2> &arrow, int delta);
    void stepArrowReleased(std::array<StepArrow *, 2> &arrow);
    void PicColorBox_MouseDown(int index, Qt::MouseButton button);
    void PicColorBox_Click(int index);
    void MenuDefault_Click();
    void RTInput_Change();
    void CmdClear_Click();
    void CmdBack_Click();
    void CmdClipCode_Click();
    void labBackColor_Click(int index);
    void MenuAbout_Click();
    void MenuUpdate_Click();
    void MenuExit_Click();
    void OptView_Click();
    void OptAll_Click();
    void OptCode_Click();
    void SetViewLayout();
    void markAppliedScheme();

    static QString InputCaption(qsizetype count);
    void setCodeCaption(qint64 characters);
    double stepValue() const;

    KeyColorStrip *m_keyStrip = nullptr;
    // color.dat and the ten custom schemes, from the first time they are shown on; the
    // editor is handed it.
    CustomSchemeFile m_schemes;
    ViewModes ViewMode = ViewModes::Preview;
    SwatchButton LastSwatchButton = SwatchButton::Left;

    // Controls, named after their roles in the window.
    CaptionFrame *Frame1 = nullptr;
    CaptionFrame *Frame2 = nullptr;
    std::array<SwatchFrame *, 2> Frame3{};
    CaptionFrame *Frame4 = nullptr;
    BackColorFrame *Frame5 = nullptr;
    InputPane *RTInput = nullptr;
    CodePane *TxtCode = nullptr;
    std::array<GradientBox *, 20> PicColorBox{};
    QPushButton *CmdGo = nullptr;
    QPushButton *CmdBack = nullptr;
    QPushButton *CmdClear = nullptr;
    QPushButton *CmdClipCode = nullptr;
    QCheckBox *ChkAuto = nullptr;
    StepSpinBox *TxtStep = nullptr;
    std::array<StepArrow *, 2> PicUp{};
    std::array<StepArrow *, 2> PicDown{};
    QPushButton *OptView = nullptr;
    QPushButton *OptAll = nullptr;
    QPushButton *OptCode = nullptr;
    QComboBox *Combo1 = nullptr;
    std::array<QLineEdit *, 3> TxtStyle{};
    QMenu *MenuColor = nullptr;
    QAction *MenuDefault = nullptr;
    QAction *MenuCustom = nullptr;
    QAction *MenuUpdate = nullptr;
    QAction *MenuAbout = nullptr;
    QAction *MenuExit = nullptr;

    QPointer<QWidget> m_child; // the child window open, if any
    QPointer<QWidget> m_lastFocus; // the last control of this window with the focus
    QPointer<QWidget> m_returnFocus; // where the focus goes when the child closes
    QPointer<frmAbout2> m_thanks;
};

} // namespace rainquill
