#pragma once

#include "engine/gradient.h"
#include "engine/textgroups.h"

#include <QList>
#include <QStringView>

namespace rainquill {

// A stretch of the text shown in one colour: offset and length in UTF-16 code units.
struct PreviewRun
{
    qsizetype offset = 0;
    qsizetype length = 0;
    Rgb color;

    friend bool operator==(const PreviewRun &, const PreviewRun &) = default;
};

// The colours of the preview: the text cut into the same groups as the code, every
// group coloured (whitespace too), consecutive groups of one colour joined into one run.
QList<PreviewRun> PreviewPlan(QStringView text, Rgb start, Rgb end, double stepValue);
// The same for a text whose characters are already found.
QList<PreviewRun> PreviewPlan(const Characters &characters, Rgb start, Rgb end, double stepValue);

} // namespace rainquill
