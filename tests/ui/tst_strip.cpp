#include "ui/colordialog.h"
#include "ui/frmmain.h"
#include "ui/gradientbox.h"
#include "ui/messagebox.h"
#include "uitest.h"

#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QPushButton>

using namespace rainquill;
using uitest::control;

class TestStrip : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void pickColours_data();
    void pickColours();
    void stripIsDrawn();
    void swatchClicks_data();
    void swatchClicks();
    void stepTyping_data();
    void stepTyping();
    void stepArrows_data();
    void stepArrows();

private:
    QTemporaryDir m_dir;
    QPointer<frmMain> m_window;
};

void TestStrip::initTestCase()
{
    // Showing the custom swatches reads color.dat in the working directory.
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir::setCurrent(m_dir.path()));
    MessageBox::setRecording(true);
}

void TestStrip::init()
{
    m_window = new frmMain;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestStrip::cleanup()
{
    delete m_window;
    QCOMPARE(ColorDialog::queuedAnswers(), 0);
}

void TestStrip::pickColours_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("answer"); // -1: the user cancels
    QTest::addColumn<ColorStrip>("strip");
    const ColorStrip initial{0, 121, 255, 255, 0, 255};
    QTest::newRow("left") << "CmdLeft" << 0x563412 << ColorStrip{0x12, 0x34, 0x56, 255, 0, 255};
    QTest::newRow("right") << "CmdRight" << 0x000001 << ColorStrip{0, 121, 255, 1, 0, 0};
    QTest::newRow("left cancelled") << "CmdLeft" << -1 << initial;
    QTest::newRow("right cancelled") << "CmdRight" << -1 << initial;
}

void TestStrip::pickColours()
{
    QFETCH(QString, button);
    QFETCH(int, answer);
    QFETCH(ColorStrip, strip);
    ColorDialog::queueAnswer(answer < 0 ? std::nullopt : std::optional<KeyColor>(KeyColor(answer)));
    QTest::mouseClick(control<QPushButton>(m_window, button), Qt::LeftButton);
    QCOMPARE(m_window->strip(), strip);
    QCOMPARE(control<GradientBox>(m_window, "PicColor")->strip(), std::optional<ColorStrip>(strip));
}

void TestStrip::stripIsDrawn()
{
    auto *box = control<GradientBox>(m_window, "PicColor");
    const int middle = box->height() / 2;
    QCOMPARE(uitest::shownColor(box, {0, middle}), QColor(0, 121, 255));
    QCOMPARE(uitest::shownColor(box, {box->width() - 1, middle}), QColor(255, 0, 255));
    auto *swap = control<QPushButton>(m_window, "CmdContrary");
    QTest::mouseClick(swap, Qt::LeftButton);
    QCOMPARE(m_window->strip(), (ColorStrip{255, 0, 255, 0, 121, 255}));
    QCOMPARE(uitest::shownColor(box, {0, middle}), QColor(255, 0, 255));
    QTest::mouseClick(control<QPushButton>(m_window, "CmdRnd"), Qt::LeftButton);
    QCOMPARE(box->strip(), std::optional<ColorStrip>(m_window->strip()));
}

void TestStrip::swatchClicks_data()
{
    QTest::addColumn<int>("swatch");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<ColorStrip>("strip");
    const ColorStrip initial{0, 121, 255, 255, 0, 255};
    QTest::newRow("left on 9") << 9 << Qt::LeftButton << ColorStrip{0, 0, 0, 0, 0, 255};
    QTest::newRow("left on 2") << 2 << Qt::LeftButton << ColorStrip{255, 0, 0, 255, 230, 0};
    QTest::newRow("right on built-in") << 9 << Qt::RightButton << initial;
    QTest::newRow("middle") << 9 << Qt::MiddleButton << initial;
}

void TestStrip::swatchClicks()
{
    QFETCH(int, swatch);
    QFETCH(Qt::MouseButton, button);
    QFETCH(ColorStrip, strip);
    QTest::mouseClick(control<GradientBox>(m_window, QStringLiteral("PicColorBox_%1").arg(swatch)), button);
    QCOMPARE(m_window->strip(), strip);
    QCOMPARE(control<GradientBox>(m_window, "PicColor")->strip(), std::optional<ColorStrip>(strip));
}

void TestStrip::stepTyping_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("pasted");
    QTest::addColumn<QString>("shown");
    QTest::newRow("0") << "0" << false << "1";
    QTest::newRow("abc") << "abc" << false << "1";
    QTest::newRow("-5 pasted") << "-5" << true << "-5";
}

void TestStrip::stepTyping()
{
    QFETCH(QString, typed);
    QFETCH(bool, pasted);
    QFETCH(QString, shown);
    auto *step = control<QLineEdit>(m_window, "TxtStep");
    step->selectAll();
    QTest::keyClick(step, Qt::Key_Backspace);
    QCOMPARE(step->text(), QStringLiteral("1")); // an empty box reads as 0
    step->selectAll();
    if (pasted)
        step->insert(typed);
    else
        QTest::keyClicks(step, typed);
    QCOMPARE(step->text(), shown);
}

void TestStrip::stepArrows_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("arrow");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QString>("after");
    QTest::newRow("1 down") << "1" << "PicDown" << Qt::LeftButton << "1";
    QTest::newRow("7a up, right button") << "7a" << "PicUp" << Qt::RightButton << "8";
}

void TestStrip::stepArrows()
{
    QFETCH(QString, before);
    QFETCH(QString, arrow);
    QFETCH(Qt::MouseButton, button);
    QFETCH(QString, after);
    control<QLineEdit>(m_window, "TxtStep")->setText(before);
    auto *rest = control<QWidget>(m_window, arrow + "_0");
    auto *pressed = control<QWidget>(m_window, arrow + "_1");
    QTest::mousePress(rest, button);
    QCOMPARE(control<QLineEdit>(m_window, "TxtStep")->text(), after);
    QVERIFY(!rest->isVisible());
    QVERIFY(pressed->isVisible());
    QTest::mouseRelease(pressed, button);
    QVERIFY(rest->isVisible());
    QVERIFY(!pressed->isVisible());
}

QTEST_MAIN(TestStrip)
#include "tst_strip.moc"
