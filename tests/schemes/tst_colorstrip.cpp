#include "schemes/builtinschemes.h"
#include "schemes/colorstrip.h"

#include <QRandomGenerator>
#include <QTest>

using namespace rainquill;

// The strip's drawing and its random pairs.
class TestColorStrip : public QObject
{
    Q_OBJECT

private slots:
    // The drawing of the swapped strip is the exact mirror at every width a box may have,
    // ends in the key colours, rounds a half to even, and at 256 pixels is the gradient's
    // 256 columns.
    void drawing()
    {
        QCOMPARE(StripPixel({0, 0, 0, 5, 5, 5}, 1, 3), (Rgb{2, 2, 2}));
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

    void randomStrip()
    {
        QRandomGenerator first(42), second(42);
        int low = 0, high = 0;
        for (int n = 0; n < 2000; ++n) {
            const ColorStrip strip = RandomStrip(first);
            QCOMPARE(RandomStrip(second), strip);
            for (const int v : {strip.StartRed, strip.StartGreen, strip.StartBlue, strip.EndRed, strip.EndGreen,
                                strip.EndBlue}) {
                QVERIFY(v >= 0 && v <= 255);
                low += v < 8;
                high += v > 247;
            }
        }
        QVERIFY(low && high);
    }
};

QTEST_APPLESS_MAIN(TestColorStrip)
#include "tst_colorstrip.moc"
