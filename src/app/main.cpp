#include "commandline.h"
#include "ui/controls.h"
#include "ui/frmmain.h"
#include "ui/platform/designpalette.h"
#include "ui/platform/translations.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    if (const std::optional<int> status = rainquill::HandleCommandLine(argc, argv))
        return *status;
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    rainquill::UseDesignPalette();
    rainquill::UseChineseEverywhere();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/rainquill.svg")));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.rainquill.Rainquill"));
    // On the heap: closing the main window unloads (deletes) it, and the thank-you window
    // ends the program.
    auto *window = new rainquill::frmMain;
    window->show();
    rainquill::CentreOnScreen(window);
    return app.exec();
}
