#include "engine/markup.h"
#include "engine/preview.h"
#include "engine/textgroups.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

using namespace rainquill;

namespace {

Rgb rgb(uint value)
{
    return {int(value >> 16), int((value >> 8) & 0xff), int(value & 0xff)};
}

CodeRequest request(const QString &text, uint from, uint to, double step, OutputFormat format,
                    const Template &tpl = {})
{
    return {text, rgb(from), rgb(to), step, format,
            format == OutputFormat::Custom ? tpl : TemplateFor(format)};
}

// The rules written out plainly, one group at a time, to check the fast writer against.
QString referenceCode(const CodeRequest &r)
{
    QString code;
    const qsizetype L = CharacterCount(r.text);
    const bool html = r.format == OutputFormat::Html;
    ForEachGroup(r.text, L, WholeStep(r.stepValue, L), [&](qsizetype i, QStringView group) {
        const QString g = group.toString();
        if (g == "\r" || g == "\n" || g == "\t" || g == QString(g.size(), u' ')) {
            if (!html)
                code += g;
            else if (g == "\r")
                code += "<br />";
            else if (g == "\t")
                code += "<br /><br />";
            else if (g != "\n")
                code += QStringLiteral("&nbsp;").repeated(g.size());
            return;
        }
        QString text = g;
        if (html) {
            text.replace(u'&', QStringLiteral("&amp;")).replace(u'<', QStringLiteral("&lt;"));
            text.replace(u'>', QStringLiteral("&gt;")).replace(u'\r', QStringLiteral("<br />")).remove(u'\n');
        }
        const Rgb c = GroupColor(r.start, r.end, i, L);
        code += r.tpl.prefix + u'#' + HexByte(c.red) + HexByte(c.green) + HexByte(c.blue) + r.tpl.middle
                + text + r.tpl.suffix;
    });
    return code;
}

} // namespace

// The code and the preview: the worked examples, a cross-check against the rules written
// out plainly on random texts, the limit, and the preview's colours against the code's.
class TestMarkup : public QObject
{
    Q_OBJECT

private slots:
    void generateCode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<uint>("from");
        QTest::addColumn<uint>("to");
        QTest::addColumn<double>("step");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("code");

        const int ubb = int(OutputFormat::Ubb), html = int(OutputFormat::Html);
        QTest::newRow("abc") << "abc" << 0x000000u << 0xFFFFFFu << 1.0 << ubb
                             << "[color=#555555]a[/color][color=#AAAAAA]b[/color][color=#FFFFFF]c[/color]";
        QTest::newRow("line break html")
            << "a b\r\nc" << 0xFF0000u << 0x0000FFu << 1.0 << html
            << "<font color=#D4002A>a</font>&nbsp;<font color=#800080>b</font><br /><font color=#0000FF>c</font>";
        QTest::newRow("step 5 resets to 1")
            << "abcde" << 0x000000u << 0xFFFFFFu << 5.0 << ubb
            << "[color=#333333]a[/color][color=#666666]b[/color][color=#999999]c[/color]"
               "[color=#CCCCCC]d[/color][color=#FFFFFF]e[/color]";
        QTest::newRow("step 4.4 to 4") << "abcde" << 0x000000u << 0xFFFFFFu << 4.4 << ubb
                                       << "[color=#333333]abcd[/color][color=#FFFFFF]e[/color]";
        QTest::newRow("one character in end colour") << "x" << 0xFF0000u << 0x0000FFu << 50.0 << ubb
                                                     << "[color=#0000FF]x[/color]";
        QTest::newRow("markup characters html")
            << "<&>" << 0u << 0xFFFFFFu << 1.0 << html
            << "<font color=#555555>&lt;</font><font color=#AAAAAA>&amp;</font><font color=#FFFFFF>&gt;</font>";
    }

    void generateCode()
    {
        QFETCH(QString, text);
        QFETCH(uint, from);
        QFETCH(uint, to);
        QFETCH(double, step);
        QFETCH(int, format);
        QFETCH(QString, code);
        const CodeRequest r = request(text, from, to, step, OutputFormat(format));
        QCOMPARE(GenerateCode(r), std::optional<QString>(code));
        QCOMPARE(CodeCharacterCount(r), CharacterCount(code));
    }

    void matchesPlainRules()
    {
        // Random texts over an alphabet rich in the characters with rules of their own.
        const QString alphabet = QStringLiteral("ab  \t\r\n<&>文😀");
        QRandomGenerator generator(2200);
        for (int round = 0; round < 400; ++round) {
            QString text;
            const int length = 1 + int(generator.bounded(60));
            while (CharacterCount(text) < length) {
                const qsizetype pos = generator.bounded(alphabet.size());
                text += alphabet[pos].isHighSurrogate() ? alphabet.mid(pos, 2)
                        : alphabet[pos].isLowSurrogate() ? alphabet.mid(pos - 1, 2)
                                                         : alphabet.mid(pos, 1);
            }
            const auto format = OutputFormat(generator.bounded(4));
            const CodeRequest r = request(text, generator.bounded(0x1000000u), generator.bounded(0x1000000u),
                                          1 + generator.bounded(8), format, {"<<", "|😀|", ">>"});
            const QString code = referenceCode(r);
            QCOMPARE(GenerateCode(r).value(), code);
            QCOMPARE(CodeCharacterCount(r), CharacterCount(code));
        }
    }

    void tooLongCodeIsRefused()
    {
        const Template huge{QString(1 << 20, u'x'), "]", "["};
        QVERIFY(!GenerateCode(request(QString(1100, u'a'), 0, 0, 1, OutputFormat::Custom, huge)));
        // The bound alone is over the limit, the code itself is not: html's worst case is far above.
        const QString spaces(MaxCodeLength / 12 + 10, u'\n');
        static_assert(MaxCodeLength / 12 + 10 <= MaxTextLength);
        QCOMPARE(GenerateCode(request(spaces, 0, 0, 1, OutputFormat::Html)), std::optional<QString>(QString()));
    }

    // Whitespace is coloured in the preview as any character, though the code writes it bare.
    void previewColoursWhitespace()
    {
        const QList<PreviewRun> runs{{0, 1, {64, 64, 64}}, {1, 1, {128, 128, 128}}, {2, 1, {191, 191, 191}},
                                     {3, 1, {255, 255, 255}}};
        QCOMPARE(PreviewPlan(u"a \r\n", {0, 0, 0}, {255, 255, 255}, 1), runs);
        QCOMPARE(PreviewPlan(u"😀a", {0, 0, 0}, {255, 255, 255}, 1).value(0).length, 2); // kept whole
    }

    // Each character shows in the preview in the colour its group has in the code, and the
    // runs cover the text exactly once, whatever the step.
    void previewHasTheCodesGroups()
    {
        const QString text = QStringLiteral("渐变文字abcdefghijklmnopqrstuvwxyz😀").repeated(3);
        const Rgb start{3, 200, 90}, end{250, 10, 91};
        static const QRegularExpression group(QStringLiteral("\\[color=#(\\w{6})\\](.*?)\\[/color\\]"));
        for (const double step : {1.0, 2.5, 4.4, 7.0, 0.4, -2.0, 99.0}) {
            QStringList shown, coded;
            qsizetype covered = 0;
            for (const PreviewRun &run : PreviewPlan(text, start, end, step)) {
                QCOMPARE(run.offset, covered);
                covered += run.length;
                const Rgb c = run.color;
                for (qsizetype n = 0; n < run.length; ++n)
                    shown.append(HexByte(c.red) + HexByte(c.green) + HexByte(c.blue));
            }
            QCOMPARE(covered, text.size());
            const QString code = GenerateCode(request(text, 0x03C85A, 0xFA0A5B, step, OutputFormat::Ubb)).value();
            for (const auto &match : group.globalMatch(code)) {
                for (qsizetype n = 0; n < match.capturedLength(2); ++n)
                    coded.append(match.captured(1));
            }
            QCOMPARE(coded, shown);
        }
    }
};

QTEST_APPLESS_MAIN(TestMarkup)
#include "tst_markup.moc"
