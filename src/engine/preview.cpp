#include "engine/preview.h"

#include "engine/textgroups.h"

namespace rainquill {

QList<PreviewRun> PreviewPlan(QStringView text, Rgb start, Rgb end, double stepValue)
{
    QList<PreviewRun> runs;
    const qsizetype L = CharacterCount(text);
    ForEachGroup(text, L, WholeStep(stepValue, L), [&](qsizetype i, QStringView g) {
        const Rgb color = GroupColor(start, end, i, L);
        if (!runs.isEmpty() && runs.back().color == color) {
            runs.back().length += g.size();
            return;
        }
        runs.append({g.data() - text.data(), g.size(), color});
    });
    return runs;
}

} // namespace rainquill
