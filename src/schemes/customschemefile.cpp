#include "schemes/customschemefile.h"

#include "engine/numbers.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace rainquill {

namespace {

SchemeFileError accessError(const QFileDevice &file, const QString &doing)
{
    const bool permission = file.error() == QFileDevice::PermissionsError;
    return {permission ? SchemeFileError::PermissionDenied : SchemeFileError::AccessError,
            QStringLiteral("%1 %2 时出错：%3").arg(doing, QFileInfo(file.fileName()).fileName(), file.errorString())};
}

SchemeFileError notFound(const QString &path)
{
    return {SchemeFileError::FileNotFound, QStringLiteral("找不到文件 %1").arg(QFileInfo(path).fileName())};
}

QByteArray componentText(int value)
{
    return QByteArray::number(value);
}

} // namespace

std::variant<QList<QByteArray>, SchemeFileError> ReadSchemeLines(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return notFound(path);
    if (!file.open(QIODevice::ReadOnly))
        return accessError(file, QStringLiteral("读取"));

    // Read until the 60th line has ended; whatever follows is never looked at.
    QList<QByteArray> lines;
    QByteArray line;
    bool afterCarriageReturn = false;
    char block[65536];
    while (lines.size() < SchemeFileLines) {
        const qint64 got = file.read(block, sizeof block);
        if (got < 0)
            return accessError(file, QStringLiteral("读取"));
        if (got == 0)
            break;
        for (qint64 n = 0; n < got && lines.size() < SchemeFileLines; ++n) {
            const char c = block[n];
            if (c == '\n' && afterCarriageReturn) {
                afterCarriageReturn = false;
                continue;
            }
            afterCarriageReturn = c == '\r';
            if (c == '\r' || c == '\n')
                lines.append(std::exchange(line, {}));
            else
                line.append(c);
        }
    }
    if (lines.size() < SchemeFileLines && !line.isEmpty())
        lines.append(line); // the last line may lack its line end
    if (lines.size() < SchemeFileLines) {
        return SchemeFileError{SchemeFileError::TooFewLines,
                               QStringLiteral("文件 %1 只有 %2 行，应有 %3 行")
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

std::optional<SchemeFileError> ConvertSchemeLines(const QList<QByteArray> &lines, CustomSchemeTable &schemes)
{
    for (int n = 0; n < 10; ++n) {
        int components[6];
        for (int k = 0; k < 6; ++k) {
            const int lineNumber = 6 * n + k + 1;
            const QByteArray &line = lines[lineNumber - 1];
            const std::optional<double> value = EntireNumber(QString::fromLatin1(line));
            if (!value || !(*value > -0.5 && *value < 255.5)) {
                return SchemeFileError{SchemeFileError::NotANumber,
                                       QStringLiteral("文件 %1 第 %2 行“%3”不是 0-255 的数字")
                                           .arg(SchemeFileName)
                                           .arg(lineNumber)
                                           .arg(QString::fromLatin1(line.left(40)))};
            }
            components[k] = int(RoundHalfEven(*value));
        }
        schemes[size_t(n)] = {components[0], components[1], components[2],
                              components[3], components[4], components[5]};
    }
    return std::nullopt;
}

CustomSchemeFile::CustomSchemeFile(QString path) : m_path(std::move(path)) {}

std::optional<SchemeFileError> CustomSchemeFile::makeWritable()
{
    // The file must be a plain file its owner can rewrite.
    QFile file(m_path);
    if (!file.exists())
        return notFound(m_path);
    const QFileDevice::Permissions wanted = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if ((file.permissions() & wanted) != wanted && !file.setPermissions(file.permissions() | wanted))
        return accessError(file, QStringLiteral("修改属性"));
    return std::nullopt;
}

std::optional<SchemeFileError> CustomSchemeFile::load()
{
    m_repaired = false;
    if (auto error = makeWritable())
        return error;
    auto read = ReadSchemeLines(m_path);
    if (auto *error = std::get_if<SchemeFileError>(&read))
        return *error;
    m_lines = std::get<QList<QByteArray>>(std::move(read));
    if (RepairSchemeLines(m_lines)) {
        if (auto error = write(m_lines))
            return error;
        m_repaired = true;
    }
    return ConvertSchemeLines(m_lines, m_schemes);
}

std::optional<SchemeFileError> CustomSchemeFile::rebuild()
{
    return write(QList<QByteArray>(SchemeFileLines, "0"));
}

std::optional<SchemeFileError> CustomSchemeFile::save(int number, const ColorScheme &scheme)
{
    if (auto error = makeWritable())
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
    return write(lines);
}

std::optional<SchemeFileError> CustomSchemeFile::write(const QList<QByteArray> &lines)
{
    // Replaced whole or not at all: a failed write leaves the previous file as it was.
    // Unbuffered, so that a failed write shows in write() itself: a failure while the
    // buffer is flushed inside commit() would go unnoticed and the short file replace
    // the old one.
    QSaveFile file(m_path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return accessError(file, QStringLiteral("写入"));
    QByteArray bytes;
    for (const QByteArray &line : lines)
        bytes += line + "\r\n";
    if (file.write(bytes) != bytes.size() || !file.commit())
        return accessError(file, QStringLiteral("写入"));
    return std::nullopt;
}

CustomSchemeFile &CustomSchemes()
{
    static CustomSchemeFile file;
    return file;
}

} // namespace rainquill
