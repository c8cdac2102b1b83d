#include "engine/numbers.h"
#include "engine/stepbox.h"

#include <QTest>
#include <cmath>
#include <limits>

using namespace rainquill;

class TestNumbers : public QObject
{
    Q_OBJECT

private slots:
    void leadingNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");

        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("letters only") << "abc" << 0.0;
        QTest::newRow("trailing letters") << "12abc" << 12.0;
        QTest::newRow("space inside") << "1 0" << 10.0;
        QTest::newRow("tabs and line feeds anywhere") << "\t5\n 2 " << 52.0;
        QTest::newRow("carriage return stops") << "1\r0" << 1.0;
        QTest::newRow("space after sign") << "- 5" << -5.0;
        QTest::newRow("fraction") << "2.5" << 2.5;
        QTest::newRow("second point stops") << "1.2.3" << 1.2;
        QTest::newRow("exponent") << "1e3" << 1000.0;
        QTest::newRow("negative D exponent") << "25D-2" << 0.25;
        QTest::newRow("exponent without digits") << "1e" << 1.0;
        QTest::newRow("hex") << "&H1F" << 31.0;
        QTest::newRow("hex lower case, stops at g") << "&hffg" << 255.0;
        QTest::newRow("hex of any length") << "&HFFFFFFFFFF" << 1099511627775.0;
        QTest::newRow("octal") << "&O17" << 15.0;
        QTest::newRow("ampersand other") << "&Z1" << 0.0;
        QTest::newRow("full-width digit") << "１" << 0.0;
        QTest::newRow("huge exponent") << "1e999" << inf;
        QTest::newRow("huge exponent digits") << "1e99999999999999999999999" << inf;
        QTest::newRow("four hundred digits") << "1" + QString(400, u'0') << inf;
        QTest::newRow("long fraction, large exponent") << "0." + QString(400, u'0') + "1e800" << inf;
        QTest::newRow("long fraction, small exponent") << "0." + QString(400, u'0') + "1e-300" << 0.0;
    }

    void leadingNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(LeadingNumber(text), expected);
    }

    void settleStepText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("settled");
        QTest::newRow("erased") << "" << "1";
        QTest::newRow("zero") << "0" << "1";
        QTest::newRow("letters") << "abc" << "1";
        QTest::newRow("150") << "150" << "100";
        QTest::newRow("100.5") << "100.5" << "100";
        QTest::newRow("100.0 stays as typed") << "100.0" << "100.0";
        QTest::newRow("1e3") << "1e3" << "100";
        QTest::newRow("trailing letters stay") << "12abc" << "12abc";
        QTest::newRow("negative stays") << "-5" << "-5";
        QTest::newRow("fraction stays") << "0.4" << "0.4";
    }

    void settleStepText()
    {
        QFETCH(QString, typed);
        QFETCH(QString, settled);
        QCOMPARE(SettleStepText(typed), settled);
        QCOMPARE(SettleStepText(SettleStepText(typed)), settled);
    }

    void stepArrows_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("delta");
        QTest::addColumn<QString>("arrowText");
        QTest::addColumn<QString>("after");
        QTest::newRow("1 down") << "1" << -1 << "0" << "1";
        QTest::newRow("5 down") << "5" << -1 << "4" << "4";
        QTest::newRow("100 up") << "100" << 1 << "101" << "100";
        QTest::newRow("2.5 down") << "2.5" << -1 << "1.5" << "1.5";
        QTest::newRow("-1 up") << "-1" << 1 << "0" << "1";
        QTest::newRow("-3 down") << "-3" << -1 << "-4" << "-4";
        QTest::newRow("7a up") << "7a" << 1 << "8" << "8";
        QTest::newRow("0.1 up, no binary noise") << "0.1" << 1 << "1.1" << "1.1";
        // A number too large for a double: a number the box reads back, never "INF".
        QTest::newRow("1e999 up") << "1e999" << 1 << "1.79769313486231E+308" << "100";
        QTest::newRow("-1e999 down") << "-1e999" << -1 << "-1.79769313486231E+308" << "-1.79769313486231E+308";
    }

    void stepArrows()
    {
        QFETCH(QString, before);
        QFETCH(int, delta);
        QFETCH(QString, arrowText);
        QFETCH(QString, after);
        QCOMPARE(StepArrowText(before, delta), arrowText);
        QCOMPARE(SettleStepText(StepArrowText(before, delta)), after);
    }
};

QTEST_APPLESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
