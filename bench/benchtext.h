#pragma once

#include <QString>

namespace benchtext {

// Chinese and ASCII, with a line break (CR LF) after every `lineLength` characters, or
// none when it is 0.
inline QString SampleText(qsizetype length, qsizetype lineLength)
{
    const QString pattern = QStringLiteral("渐变文字 Gradient text, 彩虹般的颜色 runs from start to end. ");
    QString text;
    text.reserve(length);
    qsizetype column = 0;
    while (text.size() < length) {
        if (lineLength > 0 && column == lineLength) {
            text += QStringLiteral("\r\n");
            column = 0;
            continue;
        }
        text += pattern[text.size() % pattern.size()];
        ++column;
    }
    text.truncate(length);
    return text;
}

} // namespace benchtext
