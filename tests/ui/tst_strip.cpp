#include "ui/gradientbox.h"
#include "uitest.h"

#include <QLineEdit>

using namespace rainquill;

// The key-colour strip, the built-in swatches and the step row.
class TestStrip : public uitest::WindowTest
{
    Q_OBJECT

private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void pickColours_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("answer"); // -1: the user cancels
        QTest::addColumn<ColorStrip>("strip");
        QTest::newRow("left") << "CmdLeft" << 0x563412 << ColorStrip{0x12, 0x34, 0x56, 255, 0, 255};
        QTest::newRow("right") << "CmdRight" << 0x000001 << ColorStrip{0, 121, 255, 1, 0, 0};
        QTest::newRow("cancelled") << "CmdRight" << -1 << ColorStrip{0, 121, 255, 255, 0, 255};
    }
    void pickColours()
    {
        QFETCH(QString, button);
        QFETCH(int, answer);
        QFETCH(ColorStrip, strip);
        ColorDialog::queueAnswer(uitest::dialogAnswer(answer));
        click(button);
        QCOMPARE(m_window->strip(), strip);
        QCOMPARE(get<GradientBox>("PicColor")->strip(), std::optional<ColorStrip>(strip));
    }

    // What the box paints: the start colour on the left, the end colour on the right, and
    // after "颜色 →← 对调" the exact mirror, pixel by pixel.
    void swapMirrorsTheDrawing()
    {
        auto *box = get<GradientBox>("PicColor");
        const QImage before = box->grab().toImage();
        const int y = before.height() / 2, last = before.width() - 1;
        QCOMPARE(before.pixelColor(0, y), QColor(0, 121, 255));
        QCOMPARE(before.pixelColor(last, y), QColor(255, 0, 255));
        click("CmdContrary");
        QCOMPARE(m_window->strip(), (ColorStrip{255, 0, 255, 0, 121, 255}));
        const QImage after = box->grab().toImage();
        for (int x = 0; x <= last; ++x)
            QCOMPARE(after.pixelColor(x, y), before.pixelColor(last - x, y));
        click("CmdRnd");
        QCOMPARE(box->strip(), std::optional<ColorStrip>(m_window->strip()));
    }

    void swatchClicks_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<ColorStrip>("strip");
        QTest::newRow("left") << Qt::LeftButton << ColorStrip{0, 0, 0, 0, 0, 255};
        QTest::newRow("right") << Qt::RightButton << ColorStrip{0, 121, 255, 255, 0, 255};
        QTest::newRow("middle") << Qt::MiddleButton << ColorStrip{0, 121, 255, 255, 0, 255};
    }
    void swatchClicks()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(ColorStrip, strip);
        click("PicColorBox_9", button);
        QCOMPARE(m_window->strip(), strip);
        QCOMPARE(get<GradientBox>("PicColor")->strip(), std::optional<ColorStrip>(strip));
    }

    void stepTyping_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("0") << "0" << "1";
        QTest::newRow("150") << "150" << "100";
        QTest::newRow("12abc") << "12abc" << "12abc";
    }
    void stepTyping()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        auto *step = get<QLineEdit>("TxtStep");
        step->selectAll();
        QTest::keyClick(step, Qt::Key_Backspace);
        QCOMPARE(step->text(), QStringLiteral("1")); // an empty box reads as 0
        step->selectAll();
        QTest::keyClicks(step, typed);
        QCOMPARE(step->text(), shown);
    }

    void stepArrows_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("arrow");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QString>("after");
        QTest::newRow("1 down") << "1" << "PicDown" << Qt::LeftButton << "1";
        QTest::newRow("7a up, right button") << "7a" << "PicUp" << Qt::RightButton << "8";
        QTest::newRow("too large for a double, down") << "-1e999" << "PicDown" << Qt::LeftButton
                                                      << "-1.79769313486231E+308";
    }
    void stepArrows()
    {
        QFETCH(QString, before);
        QFETCH(QString, arrow);
        QFETCH(Qt::MouseButton, button);
        QFETCH(QString, after);
        get<QLineEdit>("TxtStep")->setText(before);
        QWidget *rest = get(arrow + "_0"), *pressed = get(arrow + "_1");
        QTest::mousePress(rest, button);
        QCOMPARE(get<QLineEdit>("TxtStep")->text(), after);
        QVERIFY(!rest->isVisible() && pressed->isVisible());
        QTest::mouseRelease(pressed, button);
        QVERIFY(rest->isVisible() && !pressed->isVisible());
    }
};

QTEST_MAIN(TestStrip)
#include "tst_strip.moc"
