#include "ui/frmmain.h"
#include "ui/gradientbox.h"
#include "uitest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

using namespace rainquill;
using uitest::control;

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startUpState();
    void viewModes_data();
    void viewModes();
    void formats_data();
    void formats();

private:
    QPointer<frmMain> m_window;
};

void TestMainWindow::init()
{
    m_window = new frmMain;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestMainWindow::cleanup()
{
    delete m_window;
}

void TestMainWindow::startUpState()
{
    QCOMPARE(m_window->windowTitle(),
             QStringLiteral("渐变文字代码生成器 V2.2.0  『青枫博客』http://www.qingfeng.example"));
    QCOMPARE(m_window->centralWidget()->size(), QSize(677, 482));
    QCOMPARE(m_window->strip(), (ColorStrip{0, 121, 255, 255, 0, 255}));
    QVERIFY(control<QPushButton>(m_window, "OptView")->isChecked());
    QVERIFY(control<QGroupBox>(m_window, "Frame1")->isVisible());
    QVERIFY(!control<QGroupBox>(m_window, "Frame2")->isVisible());
    QVERIFY(control<QGroupBox>(m_window, "Frame3_0")->isVisible());
    QVERIFY(!control<QGroupBox>(m_window, "Frame3_1")->isVisible());
    QVERIFY(control<QAction>(m_window, "MenuDefault")->isChecked());
    QVERIFY(!control<QAction>(m_window, "MenuCustom")->isChecked());
    QVERIFY(control<QCheckBox>(m_window, "ChkAuto")->isChecked());
    QCOMPARE(control<QLineEdit>(m_window, "TxtStep")->text(), QStringLiteral("1"));
    QCOMPARE(control<QComboBox>(m_window, "Combo1")->currentText(), QStringLiteral("UBB(论坛)"));
    QVERIFY(control<QPushButton>(m_window, "CmdGo")->isDefault());
    QVERIFY(control<QWidget>(m_window, "PicUp_0")->isVisible());
    QVERIFY(!control<QWidget>(m_window, "PicUp_1")->isVisible());
    auto *frame = control<QWidget>(m_window, "Frame1");
    QVERIFY(uitest::paints(frame, QColor(0, 0, 255), uitest::captionArea(frame)));
    // The custom swatches stay blank until they are first shown.
    QVERIFY(!control<GradientBox>(m_window, "PicColorBox_10")->strip());
}

void TestMainWindow::viewModes_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<bool>("inputShown");
    QTest::addColumn<bool>("codeShown");
    QTest::addColumn<QRect>("frame1");
    QTest::addColumn<int>("inputHeight");
    QTest::addColumn<QRect>("frame2");
    QTest::addColumn<int>("codeHeight");

    // Twips over 15: frames 5355 wide at left 1245 (83 px), tops 90 (6) and 3420 (228).
    const QRect tall1(83, 6, 357, 439), short1(83, 6, 357, 217), short2(83, 228, 357, 217);
    const QRect tall2(83, 6, 357, 439), designed2(83, 228, 357, 217);
    QTest::newRow("start") << QStringList{} << true << false << tall1 << 407 << designed2 << 186;
    QTest::newRow("mixed") << QStringList{"OptAll"} << true << true << short1 << 185 << short2 << 187;
    QTest::newRow("code") << QStringList{"OptCode"} << false << true << tall1 << 407 << tall2 << 409;
    QTest::newRow("code then mixed") << QStringList{"OptCode", "OptAll"} << true << true << short1 << 185 << short2
                                     << 187;
    QTest::newRow("mixed then preview") << QStringList{"OptAll", "OptView"} << true << false << tall1 << 407
                                        << short2 << 187;
    QTest::newRow("mixed then code") << QStringList{"OptAll", "OptCode"} << false << true << short1 << 185 << tall2
                                     << 409;
}

void TestMainWindow::viewModes()
{
    QFETCH(QStringList, clicks);
    QFETCH(bool, inputShown);
    QFETCH(bool, codeShown);
    QFETCH(QRect, frame1);
    QFETCH(int, inputHeight);
    QFETCH(QRect, frame2);
    QFETCH(int, codeHeight);
    for (const QString &name : clicks)
        QTest::mouseClick(control<QPushButton>(m_window, name), Qt::LeftButton);
    QCOMPARE(control<QWidget>(m_window, "Frame1")->isVisible(), inputShown);
    QCOMPARE(control<QWidget>(m_window, "Frame2")->isVisible(), codeShown);
    QCOMPARE(control<QWidget>(m_window, "Frame1")->geometry(), frame1);
    QCOMPARE(control<QWidget>(m_window, "RTInput")->height(), inputHeight);
    QCOMPARE(control<QWidget>(m_window, "Frame2")->geometry(), frame2);
    QCOMPARE(control<QWidget>(m_window, "TxtCode")->height(), codeHeight);
    if (!clicks.isEmpty())
        QVERIFY(control<QPushButton>(m_window, clicks.last())->isChecked());
}

void TestMainWindow::formats_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<bool>("editable");
    QTest::newRow("ubb") << 0 << QStringList{"[color=", "]", "[/color]"} << false;
    QTest::newRow("html") << 1 << QStringList{"<font color=", ">", "</font>"} << false;
    QTest::newRow("qq") << 2 << QStringList{"[ftc=", "]", "[/ft]"} << false;
    QTest::newRow("custom") << 3 << QStringList{"", "", ""} << true;
}

void TestMainWindow::formats()
{
    QFETCH(int, index);
    QFETCH(QStringList, boxes);
    QFETCH(bool, editable);
    auto *combo = control<QComboBox>(m_window, "Combo1");
    QCOMPARE(combo->count(), 4);
    // Type a custom template first: a built-in format overwrites it, and choosing the
    // custom format again empties it.
    combo->setCurrentIndex(3);
    emit combo->activated(3);
    QTest::keyClicks(control<QLineEdit>(m_window, "TxtStyle_1"), "typed");
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    for (int n = 0; n < 3; ++n) {
        auto *box = control<QLineEdit>(m_window, QStringLiteral("TxtStyle_%1").arg(n));
        QCOMPARE(box->text(), boxes[n]);
        QCOMPARE(box->isEnabled(), editable);
    }
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
