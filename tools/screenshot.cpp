// Draws the main window after a conversion in the mixed view and saves it as a PNG: the
// picture in the README, made from the program's own code (run under Xvfb by
// `make screenshot`).

#include "ui/frmmain.h"
#include "ui/widgets/inputpane.h"

#include <QApplication>
#include <QPushButton>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    if (argc < 2) {
        qWarning("usage: rainquill-screenshot OUTPUT.png");
        return 2;
    }
    auto *window = new rainquill::frmMain;
    window->show();
    window->findChild<rainquill::InputPane *>(QStringLiteral("RTInput"))
        ->replaceText(QStringLiteral("渐变文字代码生成器 Rainquill\r\n把文字变成彩虹般的渐变色代码，"
                                     "贴到论坛、网页和博客里。\r\nEvery character in its own colour."));
    window->findChild<QPushButton *>(QStringLiteral("OptAll"))->click();
    window->findChild<QPushButton *>(QStringLiteral("CmdGo"))->click();
    QApplication::processEvents();
    const bool saved = window->grab().save(QString::fromLocal8Bit(argv[1]));
    delete window;
    return saved ? 0 : 1;
}
