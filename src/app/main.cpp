#include "commandline.h"
#include "display.h"
#include "ui/base/controls.h"
#include "ui/frmmain.h"
#include "ui/platform/designpalette.h"
#include "ui/platform/translations.h"

#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <memory>

int main(int argc, char *argv[])
{
    if (const std::optional<int> status = rainquill::HandleCommandLine(argc, argv))
        return *status;
    if (const std::optional<std::string> missing = rainquill::MissingDisplay(argc, argv)) {
        std::fprintf(stderr, "%s\n", missing->c_str());
        return 1;
    }
    auto startup = std::make_unique<rainquill::StartupMessages>();
    QApplication app(argc, argv);
    startup.reset();
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
