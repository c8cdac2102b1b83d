#pragma once

#include <QWidget>

namespace rainquill {

class CustomSchemeFile;
class KeyColorStrip;

// The custom scheme editor: the key colours of one custom scheme, with a strip of its own,
// stored in color.dat by "保存". Closing it in any way but "保存" acts as "取消".
class frmCustomColor : public QWidget
{
    Q_OBJECT

public:
    // Opens on custom scheme `number` (1-10) of the main window's scheme file.
    frmCustomColor(int number, CustomSchemeFile &schemes);

    void CustomNumber(int getNumber);
    const KeyColorStrip &strip() const { return *m_strip; }

signals:
    // The scheme was stored: the main window shows its custom swatches afresh.
    void saved();
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void CmdSave_Click();
    void CmdCancel_Click();

    int SchemeNumber = 1;
    CustomSchemeFile &m_schemes;
    KeyColorStrip *m_strip = nullptr;
};

} // namespace rainquill
