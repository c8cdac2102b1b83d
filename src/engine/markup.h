#pragma once

#include "engine/gradient.h"
#include "engine/outputformat.h"
#include "engine/textgroups.h"

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

// The longest code the program builds, in UTF-16 code units, and the longest text it
// converts, in characters. With both, the largest conversion the window accepts peaks
// well under 1 GB of memory (measured in the benchmarks).
inline constexpr qint64 MaxCodeLength = 100'000'000;
inline constexpr qint64 MaxTextLength = 10'000'000;

// The gradient code of the request; no value when the code would be longer than
// MaxCodeLength. The text and the template must not be empty.
std::optional<QString> GenerateCode(const CodeRequest &request);

// At least the length of the code in UTF-16 code units, and exactly it when that is over
// MaxCodeLength; found without building the code. `characters` are the request's text's.
qint64 CodeLengthBound(const CodeRequest &request, const Characters &characters);

// GenerateCode for a caller that has already found the text's characters and taken the
// request's CodeLengthBound: the characters are found once for a whole conversion.
std::optional<QString> GenerateCode(const CodeRequest &request, const Characters &characters, qint64 bound);

// The number of characters of a code GenerateCode wrote for the request, the code counted
// as one text; found without reading the code when neither the text nor the template has
// a unit that may join another.
qint64 CodeCharacters(const CodeRequest &request, QStringView code);

// The number of characters of the code GenerateCode would write for the request, built
// only when the text or the template has a unit that may join another. A code longer than
// MaxCodeLength is counted in code units.
qint64 CodeCharacterCount(const CodeRequest &request);

} // namespace rainquill
