#pragma once

#include "cli/optionwords.h"
#include "engine/gradient.h"
#include "engine/outputformat.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <variant>

namespace rainquill::cli {

struct Options
{
    OutputFormat format = OutputFormat::Ubb;
    std::optional<QString> prefix;
    std::optional<QString> middle;
    std::optional<QString> suffix;
    int scheme = 1;
    std::optional<int> custom; // a custom scheme from color.dat instead
    std::optional<Rgb> from;
    std::optional<Rgb> to;
    QString stepText = QStringLiteral("1");
    std::optional<qint64> fit;
    bool preview = false;
    bool help = false;
    bool version = false;
    QString file; // empty or "-": standard input
};

std::variant<Options, UsageError> ParseOptions(const QStringList &arguments);

QString HelpText();

} // namespace rainquill::cli
