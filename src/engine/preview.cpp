#include "engine/preview.h"

#include "engine/textgroups.h"

namespace rainquill {

namespace {

// Every group a character's worth of code units: each channel runs monotonically with the
// group's position, so a colour holds over an interval of groups, found by doubling and
// halving instead of group by group.
QList<PreviewRun> unitPlan(qsizetype size, Rgb start, Rgb end, qsizetype step)
{
    const qsizetype groups = (size + step - 1) / step;
    const auto colorOf = [&](qsizetype group) { return GroupColor(start, end, 1 + group * step, size); };
    QList<PreviewRun> runs;
    for (qsizetype group = 0; group < groups;) {
        const Rgb color = colorOf(group);
        qsizetype same = group, jump = 1; // colorOf(same) == color
        while (same + jump < groups && colorOf(same + jump) == color) {
            same += jump;
            jump *= 2;
        }
        for (; jump > 0; jump /= 2) {
            if (same + jump < groups && colorOf(same + jump) == color)
                same += jump;
        }
        const qsizetype offset = group * step;
        runs.append({offset, qMin(size, (same + 1) * step) - offset, color});
        group = same + 1;
    }
    return runs;
}

} // namespace

QList<PreviewRun> PreviewPlan(QStringView text, Rgb start, Rgb end, double stepValue)
{
    return PreviewPlan(Characters(text), start, end, stepValue);
}

QList<PreviewRun> PreviewPlan(const Characters &characters, Rgb start, Rgb end, double stepValue)
{
    const QStringView text = characters.text();
    const qsizetype L = characters.count();
    const qsizetype step = WholeStep(stepValue, L);
    if (characters.single())
        return unitPlan(L, start, end, step);
    QList<PreviewRun> runs;
    ForEachGroup(characters, step, [&](qsizetype i, QStringView g) {
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
