#include "schemes/customschemefile.h"

#include "engine/numbers.h"
#include "engine/textgroups.h"

#include <QFileInfo>

namespace rainquill {

namespace {

SchemeFileError fileError(const FileFailure &failure)
{
    return SchemeFileErrorFor(failure, SchemeFileName);
}

QByteArray componentText(int value)
{
    return QByteArray::number(value);
}

std::optional<SchemeFileError> writeLines(const QString &path, const QList<QByteArray> &lines)
{
    QByteArray bytes;
    for (const QByteArray &line : lines)
        bytes += line + "\r\n";
    const auto written = ReplaceFile(path, bytes);
    if (const auto *failure = std::get_if<FileFailure>(&written))
        return fileError(*failure);
    return std::nullopt;
}

std::optional<SchemeFileError> makeWritable(const QString &path)
{
    const auto made = MakeOwnerWritable(path);
    if (const auto *failure = std::get_if<FileFailure>(&made))
        return fileError(*failure);
    return std::nullopt;
}

} // namespace

std::variant<QList<QByteArray>, SchemeFileError> ReadSchemeLines(const QString &path)
{
    auto read = ReadPlainFileLines(path, SchemeFileLines, MaxSchemeLineBytes);
    if (const auto *failure = std::get_if<FileFailure>(&read))
        return fileError(*failure);
    QList<QByteArray> lines = std::get<QList<QByteArray>>(std::move(read));
    if (lines.size() < SchemeFileLines) {
        return SchemeFileError{SchemeFileError::TooFewLines,
                               QStringLiteral("输入超出文件尾，文件 %1 只有 %2 行，应有 %3 行")
                                   .arg(QFileInfo(path).fileName())
                                   .arg(lines.size())
                                   .arg(SchemeFileLines)};
    }
    return lines;
}

bool RepairSchemeLines(QList<QByteArray> &lines)
{
    bool repaired = false;
    for (QByteArray &line : lines) {
        const double v = LeadingNumber(QString::fromLatin1(line));
        if (!(v > 0 && v <= 255)) {
            line = "0";
            repaired = true;
        }
    }
    return repaired;
}

std::variant<ColorScheme, SchemeFileError> ConvertScheme(const QList<QByteArray> &lines, int number)
{
    int components[6];
    for (int k = 0; k < 6; ++k) {
        const int lineNumber = 6 * (number - 1) + k + 1;
        const QByteArray &line = lines[lineNumber - 1];
        const std::optional<double> value = EntireNumber(QString::fromLatin1(line));
        if (!value || !(*value > -0.5 && *value < 255.5)) {
            return SchemeFileError{SchemeFileError::NotANumber,
                                   QStringLiteral("类型不匹配，文件 %1 第 %2 行“%3”不是 0-255 的数字")
                                       .arg(SchemeFileName)
                                       .arg(lineNumber)
                                       .arg(BoundedText(QString::fromLatin1(line)))};
        }
        components[k] = int(RoundHalfEven(*value));
    }
    return ColorScheme{components[0], components[1], components[2], components[3], components[4], components[5]};
}

std::optional<SchemeFileError> ConvertSchemeLines(const QList<QByteArray> &lines, CustomSchemeTable &schemes)
{
    for (int n = 1; n <= 10; ++n) {
        const auto scheme = ConvertScheme(lines, n);
        if (const auto *error = std::get_if<SchemeFileError>(&scheme))
            return *error;
        schemes[size_t(n - 1)] = std::get<ColorScheme>(scheme);
    }
    return std::nullopt;
}

CustomSchemeFile::CustomSchemeFile(QString path) : m_path(std::move(path)) {}

std::optional<SchemeFileError> CustomSchemeFile::load()
{
    m_repaired = false;
    if (auto error = makeWritable(m_path))
        return error;
    auto read = ReadSchemeLines(m_path);
    if (auto *error = std::get_if<SchemeFileError>(&read))
        return *error;
    m_lines = std::get<QList<QByteArray>>(std::move(read));
    if (RepairSchemeLines(m_lines)) {
        if (auto error = writeLines(m_path, m_lines))
            return error;
        m_repaired = true;
    }
    return ConvertSchemeLines(m_lines, m_schemes);
}

std::optional<SchemeFileError> CustomSchemeFile::rebuild()
{
    return writeLines(m_path, QList<QByteArray>(SchemeFileLines, "0"));
}

std::optional<SchemeFileError> CustomSchemeFile::save(int number, const ColorScheme &scheme)
{
    if (auto error = makeWritable(m_path))
        return error;
    auto read = ReadSchemeLines(m_path);
    if (auto *error = std::get_if<SchemeFileError>(&read))
        return *error;
    QList<QByteArray> lines = std::get<QList<QByteArray>>(std::move(read));
    const int first = 6 * (number - 1);
    const int values[6] = {scheme.StartRed, scheme.StartGreen, scheme.StartBlue,
                           scheme.EndRed,   scheme.EndGreen,   scheme.EndBlue};
    for (int k = 0; k < 6; ++k)
        lines[first + k] = componentText(values[k]);
    return writeLines(m_path, lines);
}

} // namespace rainquill
