#include "cli/clioptions.h"

#include <QCommandLineParser>
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

// The options, as the parser knows them: one that takes a value names it.
struct Known
{
    QCommandLineOption format{{"f", "format"}, {}, "format"};
    QCommandLineOption prefix{"prefix", {}, "text"};
    QCommandLineOption middle{"middle", {}, "text"};
    QCommandLineOption suffix{"suffix", {}, "text"};
    QCommandLineOption scheme{"scheme", {}, "number"};
    QCommandLineOption custom{"custom", {}, "number"};
    QCommandLineOption from{"from", {}, "colour"};
    QCommandLineOption to{"to", {}, "colour"};
    QCommandLineOption step{{"s", "step"}, {}, "text"};
    QCommandLineOption fit{"fit", {}, "characters"};
    QCommandLineOption preview{"preview"};
    QCommandLineOption help{{"h", "help"}};
    QCommandLineOption version{{"v", "version"}};
};

// A number 1-10 for --scheme and --custom.
std::variant<int, UsageError> schemeNumber(const QCommandLineParser &parser, const QCommandLineOption &option)
{
    const QString text = parser.value(option);
    const auto number = parseWhole(text, 1, 10);
    if (!number)
        return UsageError{QStringLiteral("--%1 takes a number from 1 to 10, not \"%2\"").arg(option.names().last(), text)};
    return int(*number);
}

std::optional<UsageError> readColors(const QCommandLineParser &parser, const Known &known, Options &options)
{
    for (const auto &[option, target] : {std::pair{&known.from, &options.from}, {&known.to, &options.to}}) {
        if (!parser.isSet(*option))
            continue;
        *target = parseColor(parser.value(*option));
        if (!*target)
            return UsageError{QStringLiteral("bad colour \"%1\" for --%2 (use #RRGGBB or RRGGBB)")
                                  .arg(parser.value(*option), option->names().last())};
    }
    return std::nullopt;
}

std::optional<UsageError> readValues(const QCommandLineParser &parser, const Known &known, Options &options)
{
    if (parser.isSet(known.format)) {
        const auto format = parseFormat(parser.value(known.format));
        if (!format)
            return UsageError{QStringLiteral("unknown format \"%1\" (use ubb, html, qq or custom)")
                                  .arg(parser.value(known.format))};
        options.format = *format;
    }
    for (const auto &[option, target] : {std::pair{&known.prefix, &options.prefix}, {&known.middle, &options.middle},
                                         {&known.suffix, &options.suffix}}) {
        if (parser.isSet(*option))
            *target = parser.value(*option);
    }
    if (parser.isSet(known.scheme)) {
        const auto number = schemeNumber(parser, known.scheme);
        if (const auto *error = std::get_if<UsageError>(&number))
            return *error;
        options.scheme = std::get<int>(number);
    }
    if (parser.isSet(known.custom)) {
        const auto number = schemeNumber(parser, known.custom);
        if (const auto *error = std::get_if<UsageError>(&number))
            return *error;
        options.custom = std::get<int>(number);
    }
    if (auto error = readColors(parser, known, options))
        return *error;
    if (parser.isSet(known.step))
        options.stepText = parser.value(known.step);
    if (parser.isSet(known.fit)) {
        options.fit = parseWhole(parser.value(known.fit), 0, std::numeric_limits<qint64>::max());
        if (!options.fit)
            return UsageError{QStringLiteral("--fit takes a whole number of characters, not \"%1\"")
                                  .arg(parser.value(known.fit))};
    }
    return std::nullopt;
}

} // namespace

std::variant<Options, UsageError> ParseOptions(const QStringList &arguments)
{
    const Known known;
    QCommandLineParser parser;
    parser.addOptions({known.format, known.prefix, known.middle, known.suffix, known.scheme, known.custom, known.from,
                       known.to, known.step, known.fit, known.preview, known.help, known.version});
    if (!parser.parse(QStringList{QStringLiteral("rainquill-cli")} + arguments))
        return UsageError{parser.errorText()};

    Options options;
    options.help = parser.isSet(known.help);
    options.version = parser.isSet(known.version);
    options.preview = parser.isSet(known.preview);
    if (auto error = readValues(parser, known, options))
        return *error;

    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return UsageError{QStringLiteral("more than one input file: \"%1\", \"%2\"").arg(files[0], files[1])};
    options.file = files.value(0);
    if (parser.isSet(known.scheme) && options.custom)
        return UsageError{QStringLiteral("--scheme and --custom cannot be used together")};
    if (parser.isSet(known.step) && options.fit)
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
        "An option's value may follow it (--format html, -f html), be joined to it\n"
        "(--format=html, -fhtml); \"--\" ends the options.\n"
        "Line breaks become CR LF, as in the program's input pane; the code is written in\n"
        "UTF-8 with no newline added.\n"
        "Exit status: 0 success, 1 the program refused the text (its message on standard\n"
        "error), 2 bad usage or bad input.\n");
}

} // namespace rainquill::cli
