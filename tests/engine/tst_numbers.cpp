#include "engine/colortext.h"
#include "engine/gradient.h"
#include "engine/numbers.h"
#include "engine/stepbox.h"
#include "engine/textgroups.h"
#include "schemes/builtinschemes.h"
#include "schemes/colorstrip.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <limits>

using namespace rainquill;

namespace {

struct GroupCase
{
    int L, a, b, i, rounded;
};

} // namespace

// The arithmetic under every conversion and drawing: how a text reads as a number, how the
// step box settles and steps, the colour and the length of a group, the strip's pixels and
// its random pairs.
class TestNumbers : public QObject
{
    Q_OBJECT

private slots:
    void leadingNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("trailing letters") << "12abc" << 12.0;
        QTest::newRow("blanks, tabs, line feeds anywhere") << "-\t5\n 2 " << -52.0;
        QTest::newRow("carriage return stops") << "1\r0" << 1.0;
        QTest::newRow("second point stops") << "1.2.3" << 1.2;
        QTest::newRow("negative D exponent") << "25D-2" << 0.25;
        QTest::newRow("hex stops at g") << "&hffg" << 255.0;
        QTest::newRow("hex of any length") << "&HFFFFFFFFFF" << 1099511627775.0;
        QTest::newRow("ampersand other") << "&Z1" << 0.0;
        QTest::newRow("full-width digit") << "１" << 0.0;
        QTest::newRow("huge exponent digits") << "1e99999999999999999999999" << inf;
        QTest::newRow("long fraction, large exponent") << "0." + QString(400, u'0') + "1e800" << inf;
        QTest::newRow("signed exponent beyond range") << "1e+999" << inf;
        QTest::newRow("long fraction below range") << "0." + QString(1100, u'0') + "1e700" << 0.0;
    }
    void leadingNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(LeadingNumber(text), expected);
    }

    // A colour typed as hexadecimal digits, and the colour written back: "" where the text
    // is not a colour.
    void hexText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("written");
        QTest::newRow("digits and both cases, #") << "#09afAF" << "#09AFAF";
        QTest::newRow("no #, leading zeros") << "00000f" << "#00000F";
        QTest::newRow("each channel in its place") << "123456" << "#123456";
        QTest::newRow("white") << "FFFFFF" << "#FFFFFF";
        QTest::newRow("# alone") << "#" << "";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("five digits") << "#12345" << "";
        QTest::newRow("seven digits") << "#1234567" << "";
        QTest::newRow("two #") << "##12345" << "";
        for (const char *edge : {"/", ":", "@", "G", "`", "g", " "}) // just outside each range of digits
            QTest::newRow(edge) << "12345" + QString::fromLatin1(edge) << "";
        QTest::newRow("a full-width digit") << "12345１" << "";
    }
    void hexText()
    {
        QFETCH(QString, text);
        QFETCH(QString, written);
        const std::optional<Rgb> color = RgbFromHexText(text);
        QCOMPARE(color ? HexText(*color) : QString(), written);
    }

    // The step box's text after it settles, typed (delta 0) or set by an arrow.
    void stepBox_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("delta");
        QTest::addColumn<QString>("after");
        QTest::newRow("erased") << "" << 0 << "1";
        QTest::newRow("100.5") << "100.5" << 0 << "100";
        QTest::newRow("100.0 stays as typed") << "100.0" << 0 << "100.0";
        QTest::newRow("12abc stays") << "12abc" << 0 << "12abc";
        QTest::newRow("0.4 stays") << "0.4" << 0 << "0.4";
        QTest::newRow("1 down") << "1" << -1 << "1";
        QTest::newRow("100 up") << "100" << 1 << "100";
        QTest::newRow("7a up") << "7a" << 1 << "8";
        QTest::newRow("0.1 up, no binary noise") << "0.1" << 1 << "1.1";
        // Too large for a double: a number the box reads back, never "INF".
        QTest::newRow("1e999 up") << "1e999" << 1 << "100";
        QTest::newRow("-1e999 down") << "-1e999" << -1 << "-1.79769313486231E+308";
    }
    void stepBox()
    {
        QFETCH(QString, before);
        QFETCH(int, delta);
        QFETCH(QString, after);
        const QString set = delta ? StepArrowText(before, delta) : before;
        QCOMPARE(SettleStepText(set), after);
        QCOMPARE(SettleStepText(after), after); // settled once for all
    }

    // One channel, the same in all three: a text of L groups from a to b, group i rounded.
    void groupColor_data()
    {
        QTest::addColumn<GroupCase>("c");
        const int most = std::numeric_limits<int>::max();
        QTest::newRow("212.5 to even") << GroupCase{6, 255, 0, 1, 212};
        QTest::newRow("127.5 to even") << GroupCase{6, 255, 0, 3, 128};
        QTest::newRow("63.75") << GroupCase{4, 0, 255, 1, 64};
        QTest::newRow("L1: the end colour") << GroupCase{1, 17, 200, 1, 200};
        QTest::newRow("long text, exact product") << GroupCase{most, 0, 255, most, 255};
    }
    void groupColor()
    {
        QFETCH(GroupCase, c);
        QCOMPARE(GroupColor({c.a, c.a, c.a}, {c.b, c.b, c.b}, c.i, c.L), (Rgb{c.rounded, c.rounded, c.rounded}));
    }

    void wholeStep()
    {
        // Rounded half to even, then 1 when it is not at least 1 or not below the length.
        const double inf = std::numeric_limits<double>::infinity();
        const std::pair<double, qsizetype> cases[] = {{2.5, 2}, {3.5, 4}, {4.4, 4}, {5, 1}, {0.5, 1}, {-3, 1}, {inf, 1}};
        for (const auto &[stepValue, step] : cases)
            QCOMPARE(WholeStep(stepValue, 5), step);
    }

    // The drawing of the swapped strip is the exact mirror at every width a box may have,
    // ends in the key colours, rounds a half to even, and at 256 pixels is the gradient's
    // 256 columns.
    void drawing()
    {
        QCOMPARE(StripPixel({0, 0, 0, 5, 7, 5}, 1, 3), (Rgb{2, 4, 2})); // 2.5 down, 3.5 up
        for (const ColorStrip &strip : BuiltInSchemes) {
            const ColorStrip swapped = Swapped(strip);
            QCOMPARE(Swapped(swapped), strip);
            for (const int width : {2, 73, 74, 256, 511}) {
                QCOMPARE(StripPixel(strip, 0, width), strip.start());
                QCOMPARE(StripPixel(strip, width - 1, width), strip.end());
                for (int x = 0; x < width; ++x)
                    QCOMPARE(StripPixel(swapped, x, width), StripPixel(strip, width - 1 - x, width));
            }
            for (int x = 0; x < 256; ++x)
                QCOMPARE(StripPixel(strip, x, 256), GroupColor(strip.start(), strip.end(), x, 255));
        }
    }

    // Six draws of floor(r * 256): never 256, never negative, and the whole range reached.
    void randomStrip()
    {
        QRandomGenerator generator(42);
        QList<int> values;
        for (int n = 0; n < 2000; ++n) {
            const ColorStrip s = RandomStrip(generator);
            values << s.StartRed << s.StartGreen << s.StartBlue << s.EndRed << s.EndGreen << s.EndBlue;
        }
        QCOMPARE(*std::min_element(values.begin(), values.end()), 0);
        QCOMPARE(*std::max_element(values.begin(), values.end()), 255);
    }
};

QTEST_APPLESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
