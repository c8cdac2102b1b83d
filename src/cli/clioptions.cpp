#include "cli/clioptions.h"

#include <QRegularExpression>
#include <limits>

namespace rainquill::cli {

namespace {

std::optional<OutputFormat> parseFormat(const QString &name)
{
    static const QStringList names = {QStringLiteral("ubb"), QStringLiteral("html"),
                                      QStringLiteral("qq"), QStringLiteral("custom")};
    const qsizetype index = names.indexOf(name.toLower());
    if (index < 0)
        return std::nullopt;
    return OutputFormat(index);
}

std::optional<Rgb> parseColor(const QString &text)
{
    // Anchored at the very end: "$" alone would let a final line feed through.
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(u"#?([0-9A-Fa-f]{6})"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const uint value = match.capturedView(1).toUInt(nullptr, 16);
    return Rgb{int(value >> 16), int((value >> 8) & 0xff), int(value & 0xff)};
}

std::optional<qint64> parseWhole(const QString &text, qint64 lowest, qint64 highest)
{
    static const QRegularExpression digits(QRegularExpression::anchoredPattern(u"[0-9]{1,18}"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    const qint64 value = text.toLongLong();
    if (value < lowest || value > highest)
        return std::nullopt;
    return value;
}

} // namespace

std::variant<Options, UsageError> ParseOptions(const QStringList &arguments)
{
    Options options;
    bool stepGiven = false;
    bool schemeGiven = false;
    bool onlyFiles = false;
    QStringList files;

    for (qsizetype n = 0; n < arguments.size(); ++n) {
        QString arg = arguments[n];
        if (onlyFiles || arg == u"-" || !arg.startsWith(u'-')) {
            files.append(arg);
            continue;
        }
        if (arg == u"--") {
            onlyFiles = true;
            continue;
        }
        std::optional<QString> inlineValue;
        if (arg.startsWith(u"--") && arg.contains(u'=')) {
            inlineValue = arg.mid(arg.indexOf(u'=') + 1);
            arg.truncate(arg.indexOf(u'='));
        }
        const auto value = [&]() -> std::optional<QString> {
            if (inlineValue)
                return inlineValue;
            if (n + 1 < arguments.size())
                return arguments[++n];
            return std::nullopt;
        };
        const auto flag = [&](bool &target) -> std::optional<UsageError> {
            if (inlineValue)
                return UsageError{arg + QStringLiteral(" takes no value")};
            target = true;
            return std::nullopt;
        };
        const auto missing = [&] { return UsageError{arg + QStringLiteral(" needs a value")}; };

        if (arg == u"-h" || arg == u"--help") {
            if (auto error = flag(options.help))
                return *error;
        } else if (arg == u"-v" || arg == u"--version") {
            if (auto error = flag(options.version))
                return *error;
        } else if (arg == u"--preview") {
            if (auto error = flag(options.preview))
                return *error;
        } else if (arg == u"-f" || arg == u"--format") {
            const auto v = value();
            if (!v)
                return missing();
            const auto format = parseFormat(*v);
            if (!format)
                return UsageError{QStringLiteral("unknown format \"%1\" (use ubb, html, qq or custom)").arg(*v)};
            options.format = *format;
        } else if (arg == u"--prefix" || arg == u"--middle" || arg == u"--suffix") {
            const auto v = value();
            if (!v)
                return missing();
            (arg == u"--prefix" ? options.prefix : arg == u"--middle" ? options.middle : options.suffix) = *v;
        } else if (arg == u"--scheme") {
            schemeGiven = true;
            const auto v = value();
            if (!v)
                return missing();
            const auto number = parseWhole(*v, 1, 10);
            if (!number)
                return UsageError{QStringLiteral("--scheme takes a number from 1 to 10, not \"%1\"").arg(*v)};
            options.scheme = int(*number);
        } else if (arg == u"--custom") {
            const auto v = value();
            if (!v)
                return missing();
            const auto number = parseWhole(*v, 1, 10);
            if (!number)
                return UsageError{QStringLiteral("--custom takes a number from 1 to 10, not \"%1\"").arg(*v)};
            options.custom = int(*number);
        } else if (arg == u"--from" || arg == u"--to") {
            const auto v = value();
            if (!v)
                return missing();
            const auto color = parseColor(*v);
            if (!color)
                return UsageError{QStringLiteral("bad colour \"%1\" for %2 (use #RRGGBB or RRGGBB)").arg(*v, arg)};
            (arg == u"--from" ? options.from : options.to) = color;
        } else if (arg == u"-s" || arg == u"--step") {
            const auto v = value();
            if (!v)
                return missing();
            options.stepText = *v;
            stepGiven = true;
        } else if (arg == u"--fit") {
            const auto v = value();
            if (!v)
                return missing();
            options.fit = parseWhole(*v, 0, std::numeric_limits<qint64>::max());
            if (!options.fit)
                return UsageError{QStringLiteral("--fit takes a whole number of characters, not \"%1\"").arg(*v)};
        } else {
            return UsageError{QStringLiteral("unknown option \"%1\"").arg(arg)};
        }
    }

    if (files.size() > 1)
        return UsageError{QStringLiteral("more than one input file: \"%1\", \"%2\"").arg(files[0], files[1])};
    options.file = files.value(0);
    if (schemeGiven && options.custom)
        return UsageError{QStringLiteral("--scheme and --custom cannot be used together")};
    if (stepGiven && options.fit)
        return UsageError{QStringLiteral("--step and --fit cannot be used together")};
    if (options.format != OutputFormat::Custom && (options.prefix || options.middle || options.suffix))
        return UsageError{QStringLiteral("--prefix, --middle and --suffix need --format custom")};
    return options;
}

QString HelpText()
{
    return QStringLiteral(
        "Usage: rainquill-cli [OPTIONS] [FILE]\n"
        "Turns plain UTF-8 text into gradient text code. FILE absent or \"-\": standard input.\n"
        "\n"
        "  -f, --format ubb|html|qq|custom   output format (default ubb)\n"
        "  --prefix T --middle T --suffix T  the template; only with --format custom\n"
        "  --scheme N                        built-in scheme N, 1-10 as labelled ①-⑩ (default 1)\n"
        "  --custom N                        custom scheme N, 1-10, from color.dat in the\n"
        "                                    current folder (read only)\n"
        "  --from COLOR, --to COLOR          start / end colour, #RRGGBB or RRGGBB, any case;\n"
        "                                    they override the scheme's\n"
        "  -s, --step TEXT                   the step text (default \"1\"), settled and read\n"
        "                                    as the program's step box does\n"
        "  --fit N                           instead of --step: the smallest step 1-100 whose\n"
        "                                    code has at most N characters\n"
        "  --preview                         print the text in its gradient colours with\n"
        "                                    24-bit ANSI escapes instead of the code\n"
        "  -h, --help                        show this help\n"
        "  -v, --version                     show the version\n"
        "\n"
        "Line breaks become CR LF, as in the program's input pane; the code is written in\n"
        "UTF-8 with no newline added.\n"
        "Exit status: 0 success, 1 the program refused the text (its message on standard\n"
        "error), 2 bad usage or bad input.\n");
}

} // namespace rainquill::cli
