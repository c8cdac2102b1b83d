#include "cli/clioptions.h"

#include "engine/colortext.h"

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
        return UsageError{QStringLiteral("--%1 只接受 1 到 10 的整数，不是“%2”").arg(option.names().last(), text)};
    return int(*number);
}

std::optional<UsageError> readColors(const QCommandLineParser &parser, const Known &known, Options &options)
{
    for (const auto &[option, target] : {std::pair{&known.from, &options.from}, {&known.to, &options.to}}) {
        if (!parser.isSet(*option))
            continue;
        *target = RgbFromHexText(parser.value(*option));
        if (!*target)
            return UsageError{QStringLiteral("--%1 的颜色“%2”无效（请写成 #RRGGBB 或 RRGGBB）")
                                  .arg(option->names().last(), parser.value(*option))};
    }
    return std::nullopt;
}

std::optional<UsageError> readValues(const QCommandLineParser &parser, const Known &known, Options &options)
{
    if (parser.isSet(known.format)) {
        const auto format = parseFormat(parser.value(known.format));
        if (!format)
            return UsageError{QStringLiteral("没有“%1”这种格式（可选 ubb、html、qq 或 custom）")
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
            return UsageError{QStringLiteral("--fit 只接受表示字符数的整数，不是“%1”")
                                  .arg(parser.value(known.fit))};
    }
    return std::nullopt;
}

} // namespace

std::variant<Options, UsageError> ParseOptions(const QStringList &arguments)
{
    const Known known;
    // In the order --help lists them, which is the order an ambiguous prefix names them in.
    const QList<QCommandLineOption> all{known.format, known.prefix, known.middle, known.suffix, known.scheme,
                                        known.custom, known.from, known.to, known.step, known.fit,
                                        known.preview, known.help, known.version};
    auto expanded = ExpandOptions(arguments, all);
    if (const auto *error = std::get_if<UsageError>(&expanded))
        return *error;
    QCommandLineParser parser;
    parser.addOptions(all);
    // Every word has been checked against the options above, so the parser has nothing
    // left to refuse; its own English words never reach the user.
    if (!parser.parse(QStringList{QStringLiteral("rainquill-cli")} + std::get<QStringList>(expanded)))
        return UsageError{QStringLiteral("无法解析命令行")};

    Options options;
    options.help = parser.isSet(known.help);
    options.version = parser.isSet(known.version);
    options.preview = parser.isSet(known.preview);
    if (auto error = readValues(parser, known, options))
        return *error;

    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return UsageError{QStringLiteral("只能有一个输入文件，却有“%1”和“%2”").arg(files[0], files[1])};
    options.file = files.value(0);
    if (parser.isSet(known.scheme) && options.custom)
        return UsageError{QStringLiteral("--scheme 和 --custom 不能同时使用")};
    if (parser.isSet(known.step) && options.fit)
        return UsageError{QStringLiteral("--step 和 --fit 不能同时使用")};
    if (options.format != OutputFormat::Custom && (options.prefix || options.middle || options.suffix))
        return UsageError{QStringLiteral("--prefix、--middle 和 --suffix 只能和 --format custom 一起使用")};
    return options;
}

QString HelpText()
{
    return QStringLiteral(
        "用法：rainquill-cli [选项] [文件]\n"
        "把 UTF-8 纯文本转换成渐变文字代码。没有文件或文件为“-”时读标准输入。\n"
        "\n"
        "  -f, --format ubb|html|qq|custom   代码格式（默认 ubb）\n"
        "  --prefix 文字 --middle 文字 --suffix 文字\n"
        "                                    自定义格式的前、中、后三段；只能和\n"
        "                                    --format custom 一起使用\n"
        "  --scheme 编号                     内置配色方案，1-10，即程序里的①-⑩（默认 1）\n"
        "  --custom 编号                     自定义配色方案，1-10，读自当前文件夹里的\n"
        "                                    color.dat（只读不写）\n"
        "  --from 颜色, --to 颜色            起始色和结束色，写成 #RRGGBB 或 RRGGBB，\n"
        "                                    大小写均可；优先于配色方案\n"
        "  -s, --step 文字                   步长（默认“1”），按程序步长框的规则整理和\n"
        "                                    读取\n"
        "  --fit 字符数                      代替 --step：选 1-100 中最小的步长，使代码\n"
        "                                    不超过这么多个字符\n"
        "  --preview                         不输出代码，而用 24 位 ANSI 颜色显示渐变文字\n"
        "  -h, --help                        显示本帮助\n"
        "  -v, --version                     显示版本\n"
        "\n"
        "选项的取值可以跟在后面（--format html、-f html），也可以连写（--format=html、\n"
        "-fhtml）；长选项可以只写不会混淆的开头（--form html）；“--”之后都是文件名。\n"
        "换行一律成为 CR LF，与程序的输入框相同；代码以 UTF-8 输出，末尾不加换行。\n"
        "\n"
        "退出状态：\n"
        "  0  转换完成\n"
        "  1  程序拒绝转换（文字为空、自定义格式不完整、文字或代码太长、没有合适的\n"
        "     步长、内存不足），原因写在标准错误\n"
        "  2  用法或输入有误（未知选项、取值无效、不是 UTF-8、文件或 color.dat 读不了）\n"
        "  3  无法写入标准输出（已关闭或已满）\n");
}

} // namespace rainquill::cli
