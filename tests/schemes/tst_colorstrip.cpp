#include "schemes/builtinschemes.h"
#include "schemes/colorstrip.h"

#include <QRandomGenerator>
#include <QTest>

using namespace rainquill;

class TestColorStrip : public QObject
{
    Q_OBJECT

private slots:
    void colorToRgbRoundTrip()
    {
        for (int blue = 0; blue < 256; ++blue) {
            for (int green = 0; green < 256; ++green) {
                for (int red = 0; red < 256; red += 15) {
                    const Rgb c{red, green, blue};
                    if (ColorToRGB(KeyColor(red + 256 * green + 65536 * blue)) != c)
                        QFAIL(qPrintable(QStringLiteral("%1 %2 %3").arg(red).arg(green).arg(blue)));
                }
            }
        }
    }

    // The drawing of the swapped strip is the exact mirror, at every width a box may have;
    // at 256 pixels it is the 256 columns themselves.
    void swapMirrorsTheDrawing()
    {
        for (const ColorStrip &strip : BuiltInSchemes) {
            const ColorStrip swapped = Swapped(strip);
            QCOMPARE(Swapped(swapped), strip);
            QCOMPARE(StripPixel({0, 0, 0, 5, 5, 5}, 1, 3), (Rgb{2, 2, 2})); // 2.5, a half to even
        for (const int width : {2, 73, 74, 256, 511}) {
                QCOMPARE(StripPixel(strip, 0, width), strip.start());
                QCOMPARE(StripPixel(strip, width - 1, width), strip.end());
                for (int x = 0; x < width; ++x) {
                    QCOMPARE(StripPixel(swapped, x, width), StripPixel(strip, width - 1 - x, width));
                    if (width == 256)
                        QCOMPARE(StripPixel(strip, x, width), GroupColor(strip.start(), strip.end(), x, 255));
                }
            }
        }
    }

    void randomStrip()
    {
        QRandomGenerator first(42), second(42);
        bool sawLow = false, sawHigh = false;
        for (int n = 0; n < 2000; ++n) {
            const ColorStrip strip = RandomStrip(first);
            QCOMPARE(RandomStrip(second), strip);
            for (const int v : {strip.StartRed, strip.StartGreen, strip.StartBlue, strip.EndRed, strip.EndGreen,
                                strip.EndBlue}) {
                QVERIFY(v >= 0 && v <= 255);
                sawLow = sawLow || v < 8;
                sawHigh = sawHigh || v > 247;
            }
        }
        QVERIFY(sawLow && sawHigh);
    }
};

QTEST_APPLESS_MAIN(TestColorStrip)
#include "tst_colorstrip.moc"
