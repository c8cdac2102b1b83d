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

// The sample text with every third character, in turn, a thumb with a skin tone, a family
// joined by ZWJ, a flag, e with a combining accent and a keycap: `length` characters as a
// reader counts them.
inline QString EmojiText(qsizetype length)
{
    const QString sequences[] = {QStringLiteral("👍🏽"), QStringLiteral("👨‍👩‍👧"), QStringLiteral("🇨🇳"),
                                 QStringLiteral("e\u0301"), QStringLiteral("1\uFE0F\u20E3")};
    const QString plain = SampleText(length, 80);
    QString text;
    text.reserve(length * 3);
    for (qsizetype n = 0; n < length; ++n) {
        if (n % 3 == 2 && plain[n] != u'\r' && plain[n] != u'\n')
            text += sequences[(n / 3) % 5];
        else
            text += plain[n];
    }
    return text;
}

} // namespace benchtext
