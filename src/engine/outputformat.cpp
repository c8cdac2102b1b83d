#include "engine/outputformat.h"

namespace rainquill {

QStringList FormatNames()
{
    return {QStringLiteral("UBB(论坛)"), QStringLiteral("html(网页)"), QStringLiteral("QQ空间"),
            QStringLiteral("自定义")};
}

Template TemplateFor(OutputFormat format)
{
    switch (format) {
    case OutputFormat::Ubb:
        return {QStringLiteral("[color="), QStringLiteral("]"), QStringLiteral("[/color]")};
    case OutputFormat::Html:
        return {QStringLiteral("<font color="), QStringLiteral(">"), QStringLiteral("</font>")};
    case OutputFormat::QQ:
        return {QStringLiteral("[ftc="), QStringLiteral("]"), QStringLiteral("[/ft]")};
    case OutputFormat::Custom:
        break;
    }
    return {};
}

} // namespace rainquill
