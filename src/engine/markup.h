#pragma once

#include "engine/gradient.h"
#include "engine/outputformat.h"

#include <QString>
#include <optional>

namespace rainquill {

// What a conversion reads: the text, the two key colours, the step value (the step
// text read as a number, not yet whole), the output format and its template.
struct CodeRequest
{
    QStringView text;
    Rgb start;
    Rgb end;
    double stepValue = 1;
    OutputFormat format = OutputFormat::Ubb;
    Template tpl;
};

// The longest code the program builds, in UTF-16 code units (2 GiB of memory).
inline constexpr qint64 MaxCodeLength = qint64(1) << 30;

// A channel value written as two upper-case hexadecimal digits after rounding half to
// even; the empty text for a value that does not fit in two digits.
QString HexByte(double value);

// The gradient code of the request; no value when the code would be longer than
// MaxCodeLength. The text and the template must not be empty.
std::optional<QString> GenerateCode(const CodeRequest &request);

// The number of characters (code points) of the code GenerateCode would write, without
// building it.
qint64 CodeCharacterCount(const CodeRequest &request);

} // namespace rainquill
