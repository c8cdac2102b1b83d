#include "ui/frmmain.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/rainquill.svg")));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.rainquill.Rainquill"));
    rainquill::frmMain window;
    window.show();
    // Opens centred on the screen.
    if (const QScreen *screen = window.screen())
        window.move(screen->availableGeometry().center() - window.rect().center());
    return app.exec();
}
