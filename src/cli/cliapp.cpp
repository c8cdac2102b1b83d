#include "cli/cliapp.h"

#include "cli/clioptions.h"
#include "engine/engine.h"
#include "schemes/schemes.h"
#include "version.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>

namespace rainquill::cli {

namespace {

// The converter's exit statuses, as --help and the manual list them.
enum class Exit { Success = 0, Refused = 1, BadInput = 2, WriteFailed = 3 };

int status(Exit exit)
{
    return int(exit);
}

// Failures carry the exit status and the message for standard error.
struct Failure
{
    Exit status;
    QString message;
};

// The text as a terminal may show it: control characters other than TAB and the line
// break become visible pictures, so that the text cannot drive the terminal. A C0 control
// shows as its Unicode control picture (ESC as U+241B), DEL as U+2421, and a C1 control
// as ESC's picture followed by the character that stands for it after ESC (CSI as "␛[").
QString terminalSafe(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype pos = 0; pos < text.size(); ++pos) {
        const char16_t ch = text[pos].unicode();
        if (ch == u'\t' || ch == u'\n' || (ch == u'\r' && pos + 1 < text.size() && text[pos + 1] == u'\n'))
            out.append(QChar(ch));
        else if (ch < 0x20)
            out.append(QChar(char16_t(0x2400 + ch)));
        else if (ch == 0x7F)
            out.append(QChar(char16_t(0x2421)));
        else if (ch >= 0x80 && ch <= 0x9F)
            out.append(QChar(char16_t(0x241B))).append(QChar(char16_t(ch - 0x40)));
        else
            out.append(QChar(ch));
    }
    return out;
}

void writeError(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

// A message on standard error, every line of it under the program's name, so that a
// script's log tells whose it is. Messages may quote a file or an argument: they reach
// the terminal made safe.
void printError(const QString &message)
{
    QByteArray bytes;
    for (const QString &line : terminalSafe(message).split(u'\n')) {
        if (!line.isEmpty())
            bytes += "rainquill-cli: " + line.toUtf8();
        bytes += '\n';
    }
    writeError(bytes);
}

// Why a write to standard output failed, in the user's words.
QString writeFailure(int error)
{
    switch (error) {
    case EBADF:
        return QStringLiteral("无法写入标准输出：它已关闭");
    case ENOSPC:
        return QStringLiteral("无法写入标准输出：设备已满");
    default:
        return QStringLiteral("无法写入标准输出（错误号 %1）").arg(error);
    }
}

// Writes to standard output; a failure is told on standard error.
Exit writeOut(const QByteArray &bytes)
{
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size())
        && std::fflush(stdout) == 0)
        return Exit::Success;
    // A reader that has quit ends the converter quietly: by SIGPIPE, as a filter ends,
    // or here where SIGPIPE is ignored.
    if (errno != EPIPE)
        printError(writeFailure(errno));
    return Exit::WriteFailed;
}

// The offset of the first byte that is not part of well-formed UTF-8, or -1.
qsizetype invalidUtf8Offset(const QByteArray &bytes)
{
    const auto *s = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype size = bytes.size();
    qsizetype pos = 0;
    while (pos < size) {
        const unsigned char c = s[pos];
        if (c < 0x80) {
            ++pos;
            continue;
        }
        int length = 0;
        unsigned char low = 0x80, high = 0xbf; // allowed range of the second byte
        if (c >= 0xc2 && c <= 0xdf) {
            length = 2;
        } else if (c >= 0xe0 && c <= 0xef) {
            length = 3;
            if (c == 0xe0)
                low = 0xa0; // no overlong forms
            if (c == 0xed)
                high = 0x9f; // no surrogates
        } else if (c >= 0xf0 && c <= 0xf4) {
            length = 4;
            if (c == 0xf0)
                low = 0x90;
            if (c == 0xf4)
                high = 0x8f; // nothing above U+10FFFF
        } else {
            return pos;
        }
        if (pos + length > size)
            return pos;
        for (int k = 1; k < length; ++k) {
            const unsigned char lo = k == 1 ? low : 0x80;
            const unsigned char hi = k == 1 ? high : 0xbf;
            if (s[pos + k] < lo || s[pos + k] > hi)
                return pos;
        }
        pos += length;
    }
    return -1;
}

// The input, or how it failed. A text of more bytes than MaxTextLength characters can
// take is not read to its end: it is too long whatever follows.
struct Input
{
    QString text;
    bool tooLong = false;
};

// Why a named file would not open, in the user's words.
QString openFailure(const QString &file)
{
    const QFileInfo info(file);
    if (!info.exists())
        return QStringLiteral("没有这个文件");
    if (info.isDir())
        return QStringLiteral("这是一个文件夹");
    if (!info.isReadable())
        return QStringLiteral("没有读取权限");
    return QStringLiteral("打不开");
}

constexpr qint64 MaxTextBytes = 4 * MaxTextLength; // four bytes a character at most in UTF-8

std::variant<Input, Failure> readInput(const QString &file)
{
    QFile input;
    const bool standardInput = file.isEmpty() || file == u"-";
    const QString name = standardInput ? QStringLiteral("标准输入") : QStringLiteral("文件“%1”").arg(file);
    const bool opened = standardInput ? input.open(stdin, QIODevice::ReadOnly)
                                      : (input.setFileName(file), input.open(QIODevice::ReadOnly));
    if (!opened)
        return Failure{Exit::BadInput, QStringLiteral("无法读取%1：%2").arg(name, openFailure(file))};
    const qint64 most = MaxTextBytes + 3 + 1; // a byte-order mark, and one byte to tell
    QByteArray bytes;
    while (bytes.size() < most) {
        const QByteArray chunk = input.read(qMin<qint64>(1 << 20, most - bytes.size()));
        if (chunk.isEmpty())
            break;
        bytes += chunk;
    }
    if (input.error() != QFileDevice::NoError)
        return Failure{Exit::BadInput, QStringLiteral("无法读取%1：读取时出错").arg(name)};
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    if (bytes.size() > MaxTextBytes)
        return Input{{}, true};
    const qsizetype bad = invalidUtf8Offset(bytes);
    if (bad >= 0)
        return Failure{Exit::BadInput, QStringLiteral("%1不是有效的 UTF-8（第 %2 个字节）").arg(name).arg(bad + 1)};
    // The text is read by the window's line-break rule, so that both write the same code.
    return Input{WithCrLfBreaks(QString::fromUtf8(bytes))};
}

// The window's message about the scheme file, for a terminal.
QString schemeFileMessage(const SchemeFileError &error)
{
    return SchemeFileErrorText(error, u"\n");
}

// The scheme the options name: built-in, or custom from color.dat, read as the window
// reads it but never written. A line of another scheme that the window would stop at is
// told as a warning; only scheme N's own lines must read.
std::variant<ColorScheme, Failure> schemeFor(const Options &options)
{
    if (!options.custom)
        return BuiltInSchemes[size_t(options.scheme - 1)];
    auto read = ReadSchemeLines(SchemeFileName);
    if (const auto *error = std::get_if<SchemeFileError>(&read))
        return Failure{Exit::BadInput, schemeFileMessage(*error)};
    QList<QByteArray> lines = std::get<QList<QByteArray>>(std::move(read));
    RepairSchemeLines(lines);
    const auto scheme = ConvertScheme(lines, *options.custom);
    if (const auto *error = std::get_if<SchemeFileError>(&scheme))
        return Failure{Exit::BadInput, schemeFileMessage(*error)};
    CustomSchemeTable all{};
    if (const auto error = ConvertSchemeLines(lines, all))
        printError(schemeFileMessage(*error));
    return std::get<ColorScheme>(scheme);
}

CodeRequest requestFor(const Options &options, const ColorScheme &scheme, QStringView text)
{
    CodeRequest request;
    request.text = text;
    request.start = options.from.value_or(scheme.start());
    request.end = options.to.value_or(scheme.end());
    request.stepValue = LeadingNumber(SettleStepText(options.stepText));
    request.format = options.format;
    request.tpl = options.format == OutputFormat::Custom
                      ? Template{options.prefix.value_or(QString()), options.middle.value_or(QString()),
                                 options.suffix.value_or(QString())}
                      : TemplateFor(options.format);
    return request;
}

// The smallest step 1-100 whose code has at most `limit` characters.
std::optional<Failure> fitStep(CodeRequest &request, qint64 limit)
{
    for (int step = 1; step <= 100; ++step) {
        request.stepValue = step;
        if (CodeCharacterCount(request) <= limit)
            return std::nullopt;
    }
    return Failure{Exit::Refused, QStringLiteral("没有一个 1-100 的步长能让代码不超过 %1 个字符").arg(limit)};
}

QByteArray ansiPreview(const CodeRequest &request)
{
    QByteArray out;
    for (const PreviewRun &run : PreviewPlan(request.text, request.start, request.end, request.stepValue)) {
        out += "\x1b[38;2;" + QByteArray::number(run.color.red) + ';' + QByteArray::number(run.color.green)
               + ';' + QByteArray::number(run.color.blue) + 'm';
        out += terminalSafe(request.text.mid(run.offset, run.length)).toUtf8();
    }
    if (!out.isEmpty())
        out += "\x1b[0m";
    return out;
}

Failure refusal(Refusal why)
{
    return {Exit::Refused, WordsFor(why).prompt};
}

std::variant<QByteArray, Failure> convert(const Options &options)
{
    const auto input = readInput(options.file);
    if (const auto *failure = std::get_if<Failure>(&input))
        return *failure;
    const auto &[text, tooLong] = std::get<Input>(input);
    const auto scheme = schemeFor(options);
    if (const auto *failure = std::get_if<Failure>(&scheme))
        return *failure;

    CodeRequest request = requestFor(options, std::get<ColorScheme>(scheme), text);
    // The step is read as the window's step box reads it; where the box would correct it,
    // the user is told what it became.
    if (const QString settled = SettleStepText(options.stepText); settled != options.stepText)
        printError(QStringLiteral("--step “%1”按 %2 读取").arg(options.stepText, settled));
    // A text too long to read is not empty: the template comes first, as for any text.
    if (tooLong)
        return refusal(request.tpl.isComplete() ? Refusal::TextTooLong : Refusal::IncompleteTemplate);
    // The step is fitted and the preview drawn from a request that would be converted.
    if (options.fit || options.preview) {
        if (const std::optional<Refusal> refused = CheckRequest(request))
            return refusal(*refused);
    }
    if (options.fit) {
        if (auto failure = fitStep(request, *options.fit))
            return *failure;
    }
    if (options.preview)
        return ansiPreview(request);
    const std::variant<Refusal, Conversion> outcome = Convert(request);
    if (const Refusal *refused = std::get_if<Refusal>(&outcome))
        return refusal(*refused);
    return std::get<Conversion>(outcome).code.toUtf8();
}

// What an argument that is not valid UTF-8 is called in the message: the option whose
// value it is, or its place on the command line.
QString argumentName(char **argv, int n)
{
    const QByteArray arg(argv[n]);
    if (arg.startsWith("--") && arg.contains('=') && invalidUtf8Offset(arg.left(arg.indexOf('='))) < 0)
        return QString::fromUtf8(arg.left(arg.indexOf('='))) + QStringLiteral(" 的取值");
    if (n > 1 && argv[n - 1][0] == '-' && argv[n - 1][1] != 0 && invalidUtf8Offset(argv[n - 1]) < 0)
        return QString::fromUtf8(argv[n - 1]) + QStringLiteral(" 的取值");
    return QStringLiteral("第 %1 个参数").arg(n);
}

int usageFailure(const QString &message)
{
    printError(message);
    // The hint stands bare, as GNU tools print it.
    writeError(QStringLiteral("用“rainquill-cli --help”查看全部选项。\n").toUtf8());
    return status(Exit::BadInput);
}

} // namespace

int Run(int argc, char **argv)
{
    QStringList arguments;
    for (int n = 1; n < argc; ++n) {
        if (invalidUtf8Offset(argv[n]) >= 0)
            return usageFailure(argumentName(argv, n) + QStringLiteral("不是有效的 UTF-8"));
        arguments.append(QString::fromUtf8(argv[n]));
    }

    const auto parsed = ParseOptions(arguments);
    if (const auto *error = std::get_if<UsageError>(&parsed))
        return usageFailure(error->message);
    const Options &options = std::get<Options>(parsed);
    if (options.help)
        return status(writeOut(HelpText().toUtf8()));
    if (options.version) {
        return status(writeOut(QStringLiteral("rainquill-cli %1（构建号 %2）\n版权所有 (C) %3 Rainquill 的作者们\n"
                                       "许可证：MIT\n")
                            .arg(QLatin1String(ProjectVersion))
                            .arg(CurrentBuild)
                            .arg(QLatin1String(ReleaseYear))
                            .toUtf8()));
    }

    std::variant<QByteArray, Failure> result = refusal(Refusal::OutOfMemory);
    try {
        result = convert(options);
    } catch (const std::bad_alloc &) {
        // Refused as what it is, never an abort.
    }
    if (const auto *failure = std::get_if<Failure>(&result)) {
        printError(failure->message);
        return status(failure->status);
    }
    return status(writeOut(std::get<QByteArray>(result)));
}

} // namespace rainquill::cli
