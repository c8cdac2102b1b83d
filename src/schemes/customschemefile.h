#pragma once

#include "schemes/colorstrip.h"
#include "schemes/schemefileerror.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <optional>
#include <variant>

namespace rainquill {

// color.dat: 60 lines ending in CR LF, one number 0-255 per line, six lines per custom
// scheme in strip order. Found by its bare name in the current working directory.
inline const QString SchemeFileName = QStringLiteral("color.dat");
inline constexpr int SchemeFileLines = 60;

using CustomSchemeTable = std::array<ColorScheme, 10>;

// The longest line read: a number fits many times over, and memory stays bounded
// whatever the file holds.
inline constexpr qsizetype MaxSchemeLineBytes = 1 << 20;

// The first 60 lines of the file, without their line ends (CR LF, CR or LF); nothing after
// them is read. Only a plain file is read, and a line of more than MaxSchemeLineBytes is
// refused.
std::variant<QList<QByteArray>, SchemeFileError> ReadSchemeLines(const QString &path);

// Replaces every line whose number is not above 0 and at most 255 by "0"; true when a
// line was replaced (a line "0" counts, and stays "0").
bool RepairSchemeLines(QList<QByteArray> &lines);

// Converts the 60 lines into the ten schemes in order, each line read whole and rounded
// half to even. Stops at the first line that is not entirely a number; the schemes
// converted before it keep their new values.
std::optional<SchemeFileError> ConvertSchemeLines(const QList<QByteArray> &lines, CustomSchemeTable &schemes);

// Converts the six lines of scheme `number` (1-10) alone.
std::variant<ColorScheme, SchemeFileError> ConvertScheme(const QList<QByteArray> &lines, int number);

// The scheme file as the program keeps it: the lines last read and the ten custom
// schemes, which live from the first load to the end of the program.
class CustomSchemeFile
{
public:
    explicit CustomSchemeFile(QString path = SchemeFileName);

    // Reads, repairs (writing the file back) and converts. FileNotFound leaves the schemes
    // as they were.
    std::optional<SchemeFileError> load();
    // True when the last successful load had to repair the file.
    bool repaired() const { return m_repaired; }

    // Writes a new file of 60 lines "0".
    std::optional<SchemeFileError> rebuild();

    // Stores scheme `number` (1-10) in the file; the other 54 lines go back as they were
    // read.
    std::optional<SchemeFileError> save(int number, const ColorScheme &scheme);

    const CustomSchemeTable &schemes() const { return m_schemes; }
    const QList<QByteArray> &lines() const { return m_lines; }

private:
    QString m_path;
    QList<QByteArray> m_lines;
    CustomSchemeTable m_schemes{};
    bool m_repaired = false;
};

} // namespace rainquill
