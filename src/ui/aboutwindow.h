#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace rainquill {

// The look both about windows share: the maker's heading, three link lines, the logo, the
// about text and "确 定". The two windows differ in what OK, and closing, do.
class AboutWindow : public QWidget
{
    Q_OBJECT

public:
    explicit AboutWindow(const QString &name);

protected:
    virtual void CmdOK_Click() = 0;

private:
    void Form_Load();

    QLabel *labAbout = nullptr;
};

// The about window, opened from the main window; closing it in any way returns there.
class frmAbout1 : public AboutWindow
{
    Q_OBJECT

public:
    frmAbout1();

signals:
    void closed();

protected:
    void CmdOK_Click() override;
    void closeEvent(QCloseEvent *event) override;
};

// The thank-you window, shown as the main window goes away; closing it in any way ends
// the program.
class frmAbout2 : public AboutWindow
{
    Q_OBJECT

public:
    frmAbout2();

protected:
    void CmdOK_Click() override;
    void closeEvent(QCloseEvent *event) override;
};

} // namespace rainquill
