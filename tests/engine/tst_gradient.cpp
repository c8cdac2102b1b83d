#include "engine/gradient.h"
#include "engine/textgroups.h"

#include <QTest>
#include <limits>

using namespace rainquill;

// The colour of a group and the whole step that cuts the text into groups.
class TestGradient : public QObject
{
    Q_OBJECT

private slots:
    void channel_data()
    {
        QTest::addColumn<int>("L");
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("i");
        QTest::addColumn<double>("exact");
        QTest::addColumn<int>("rounded");
        QTest::newRow("L3 0-255 i1") << 3 << 0 << 255 << 1 << 85.0 << 85;
        QTest::newRow("L3 255-0 i1") << 3 << 255 << 0 << 1 << 170.0 << 170;
        QTest::newRow("212.5 to even") << 6 << 255 << 0 << 1 << 212.5 << 212;
        QTest::newRow("127.5 to even") << 6 << 255 << 0 << 3 << 127.5 << 128;
        QTest::newRow("42.5 to even") << 6 << 0 << 255 << 1 << 42.5 << 42;
        QTest::newRow("63.75") << 4 << 0 << 255 << 1 << 63.75 << 64;
        QTest::newRow("L1: the end colour") << 1 << 17 << 200 << 1 << 200.0 << 200;
        QTest::newRow("long text, exact product") << std::numeric_limits<int>::max() << 0 << 255
                                                  << std::numeric_limits<int>::max() << 255.0 << 255;
    }
    void channel()
    {
        QFETCH(int, L);
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(int, i);
        QFETCH(double, exact);
        QFETCH(int, rounded);
        QCOMPARE(GradientChannel(a, b, i, L), exact);
        QCOMPARE(GroupColor({a, a, a}, {b, b, b}, i, L), (Rgb{rounded, rounded, rounded}));
    }

    void wholeStep_data()
    {
        QTest::addColumn<double>("stepValue");
        QTest::addColumn<int>("L");
        QTest::addColumn<int>("step");
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("2.5 to even") << 2.5 << 10 << 2;
        QTest::newRow("3.5 to even") << 3.5 << 10 << 4;
        QTest::newRow("L-1 kept") << 4.0 << 5 << 4;
        QTest::newRow("L reset") << 5.0 << 5 << 1;
        QTest::newRow("fraction compared whole") << 4.4 << 5 << 4;
        QTest::newRow("half rounds to 0") << 0.5 << 10 << 1;
        QTest::newRow("negative") << -3.0 << 10 << 1;
        QTest::newRow("infinity") << inf << 10 << 1;
    }
    void wholeStep()
    {
        QFETCH(double, stepValue);
        QFETCH(int, L);
        QFETCH(int, step);
        QCOMPARE(WholeStep(stepValue, L), qsizetype(step));
    }
};

QTEST_APPLESS_MAIN(TestGradient)
#include "tst_gradient.moc"
