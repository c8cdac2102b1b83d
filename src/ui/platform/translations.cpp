#include "ui/platform/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace rainquill {

void UseChineseEverywhere()
{
    static bool done = false;
    if (std::exchange(done, true))
        return;
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    auto *qt = new QTranslator(QCoreApplication::instance());
    // "qt" is Qt's catalogue of catalogues: it brings qtbase's texts with it.
    if (qt->load(chinese, QStringLiteral("qt"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
}

} // namespace rainquill
