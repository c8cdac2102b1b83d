#include "ui/aboutwindow.h"
#include "ui/frmmain.h"
#include "ui/openaddress.h"
#include "uitest.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

using namespace rainquill;
using uitest::control;

class TestWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void links_data();
    void links();
    void aboutReturnsToTheMainWindow_data();
    void aboutReturnsToTheMainWindow();
    void closingShowsThanks_data();
    void closingShowsThanks();
    void thanksEndsTheProgram_data();
    void thanksEndsTheProgram();

private:
    static QWidget *topLevel(const QString &name);
    QPointer<frmMain> m_window;
};

QWidget *TestWindows::topLevel(const QString &name)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name && widget->isVisible())
            return widget;
    }
    return nullptr;
}

void TestWindows::initTestCase()
{
    OpenAddress::setRecording(true);
    EndProgram::setRecording(true);
}

void TestWindows::init()
{
    m_window = new frmMain;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestWindows::cleanup()
{
    delete m_window;
    for (QWidget *widget : QApplication::topLevelWidgets())
        delete qobject_cast<AboutWindow *>(widget);
    EndProgram::takeRequests();
    OpenAddress::takeOpened();
}

void TestWindows::links_data()
{
    QTest::addColumn<bool>("thanks");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QUrl>("target");
    QTest::newRow("blog") << false << "Label1" << QUrl("http://www.qingfeng.example");
    QTest::newRow("product") << false << "Label2" << QUrl("http://www.qingfeng.example/rainquill/");
    QTest::newRow("mail") << false << "Label3" << QUrl("mailto:author@qingfeng.example");
    QTest::newRow("logo") << false << "PicLogo" << QUrl("http://www.qingfeng.example");
    QTest::newRow("thank-you window, main window gone") << true << "Label3" << QUrl("mailto:author@qingfeng.example");
}

void TestWindows::links()
{
    QFETCH(bool, thanks);
    QFETCH(QString, name);
    QFETCH(QUrl, target);
    if (thanks)
        m_window->close(); // the links work with the main window gone
    else
        control<QAction>(m_window, "MenuAbout")->trigger();
    QWidget *about = topLevel(thanks ? "frmAbout2" : "frmAbout1");
    QVERIFY(about);
    QTest::mouseClick(control<QLabel>(about, name), Qt::LeftButton);
    QCOMPARE(OpenAddress::takeOpened(), QList<QUrl>{target});
    QVERIFY(about->isVisible());
    QCOMPARE(EndProgram::takeRequests(), 0);
}

void TestWindows::aboutReturnsToTheMainWindow_data()
{
    QTest::addColumn<bool>("byOk");
    QTest::newRow("OK") << true;
    QTest::newRow("close box") << false;
}

void TestWindows::aboutReturnsToTheMainWindow()
{
    QFETCH(bool, byOk);
    control<QAction>(m_window, "MenuAbout")->trigger();
    QPointer<QWidget> about = topLevel("frmAbout1");
    QVERIFY(about);
    QVERIFY(!m_window->isEnabled());
    if (byOk)
        QTest::mouseClick(control<QPushButton>(about, "CmdOK"), Qt::LeftButton);
    else
        about->close();
    QVERIFY(m_window->isEnabled());
    QTRY_VERIFY(!about); // unloaded
    QCOMPARE(EndProgram::takeRequests(), 0);
    // Opened again: loaded afresh.
    control<QAction>(m_window, "MenuAbout")->trigger();
    QVERIFY(topLevel("frmAbout1"));
}

void TestWindows::closingShowsThanks_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("close box") << "close";
    QTest::newRow("menu 退出") << "MenuExit";
}

void TestWindows::closingShowsThanks()
{
    QFETCH(QString, how);
    if (how == u"close")
        m_window->close();
    else
        control<QAction>(m_window, how)->trigger();
    QTRY_VERIFY(!m_window); // unloaded
    int thanks = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        thanks += widget->objectName() == u"frmAbout2" && widget->isVisible();
    QCOMPARE(thanks, 1);
    QCOMPARE(EndProgram::takeRequests(), 0);
}

void TestWindows::thanksEndsTheProgram_data()
{
    QTest::addColumn<bool>("byOk");
    QTest::newRow("OK") << true;
    QTest::newRow("closed otherwise") << false;
}

void TestWindows::thanksEndsTheProgram()
{
    QFETCH(bool, byOk);
    m_window->close();
    QWidget *thanks = topLevel("frmAbout2");
    QVERIFY(thanks);
    if (byOk)
        QTest::mouseClick(control<QPushButton>(thanks, "CmdOK"), Qt::LeftButton);
    else
        thanks->close();
    QCOMPARE(EndProgram::takeRequests(), 1);
}

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
