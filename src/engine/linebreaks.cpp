#include "engine/linebreaks.h"

namespace rainquill {

QString WithCrLfBreaks(QStringView text)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    qsizetype plain = 0; // the start of the run of text not yet copied
    for (qsizetype pos = 0; pos < text.size();) {
        const qsizetype length = LineBreakLength(text, pos);
        if (length == 0) {
            ++pos;
            continue;
        }
        if (length == 2) {
            pos += 2; // already CR LF
            continue;
        }
        out.append(text.mid(plain, pos - plain)).append(u"\r\n");
        plain = ++pos;
    }
    if (plain == 0)
        return text.toString();
    return out.append(text.mid(plain));
}

} // namespace rainquill
