#include "uitest.h"

#include <QLabel>
#include <QWindow>

using namespace rainquill;

// The child windows and the thank-you window: how they open, take the keyboard, stay
// above the main window, and give control back or end the program.
class TestWindows : public uitest::WindowTest
{
    Q_OBJECT

    QWidget *open(const QString &child)
    {
        if (child == u"frmCustomColor") {
            get<QAction>("MenuCustom")->trigger();
            click("PicColorBox_12", Qt::RightButton);
            MessageBox::takeShown(); // color.dat was missing and is rebuilt
        } else {
            get<QAction>(child == u"frmAbout1" ? "MenuAbout" : "MenuUpdate")->trigger();
        }
        return uitest::topLevel(child);
    }

private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void children_data()
    {
        QTest::addColumn<QString>("child");
        QTest::addColumn<QString>("defaultButton");
        QTest::addColumn<int>("key");
        QTest::newRow("about, Enter") << "frmAbout1" << "CmdOK" << int(Qt::Key_Return);
        QTest::newRow("about, Esc") << "frmAbout1" << "CmdOK" << int(Qt::Key_Escape);
        QTest::newRow("version check, Esc") << "frmUpdate" << "CmdUpdate" << int(Qt::Key_Escape);
        QTest::newRow("scheme editor, Esc") << "frmCustomColor" << "CmdSave" << int(Qt::Key_Escape);
    }
    void children()
    {
        QFETCH(QString, child);
        QFETCH(QString, defaultButton);
        QFETCH(int, key);
        QPointer<QWidget> window = open(child);
        QVERIFY(window);
        QVERIFY(!m_window->isEnabled());
        QCOMPARE(window->windowHandle()->transientParent(), m_window->windowHandle());
        QCOMPARE(window->focusWidget(), uitest::control(window, defaultButton));
        // A close request to the disabled main window is refused while the child is open.
        QVERIFY(!m_window->close());
        QVERIFY(!uitest::topLevel("frmAbout2"));
        QVERIFY(window->isVisible());
        QTest::keyClick(window->focusWidget(), Qt::Key(key));
        QTRY_VERIFY(!window); // unloaded
        QVERIFY(m_window->isEnabled());
        QCOMPARE(EndProgram::takeRequests(), 0);
        QVERIFY(open(child)); // loaded afresh
    }

    void links_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("link");
        QTest::addColumn<QUrl>("target");
        QTest::newRow("blog") << "frmAbout1" << "Label1" << QUrl("http://www.qingfeng.example");
        QTest::newRow("product") << "frmAbout1" << "Label2" << QUrl("http://www.qingfeng.example/rainquill/");
        QTest::newRow("mail") << "frmAbout1" << "Label3" << QUrl("mailto:author@qingfeng.example");
        QTest::newRow("logo") << "frmAbout1" << "PicLogo" << QUrl("http://www.qingfeng.example");
        QTest::newRow("thank-you window") << "frmAbout2" << "Label3" << QUrl("mailto:author@qingfeng.example");
    }
    void links()
    {
        QFETCH(QString, window);
        QFETCH(QString, link);
        QFETCH(QUrl, target);
        if (window == u"frmAbout2")
            m_window->close(); // the links work with the main window gone
        QWidget *about = window == u"frmAbout2" ? uitest::topLevel(window) : open(window);
        QTest::mouseClick(uitest::control(about, link), Qt::LeftButton);
        QCOMPARE(OpenAddress::takeOpened(), QList<QUrl>{target});
        QVERIFY(about->isVisible());
        QCOMPARE(EndProgram::takeRequests(), 0);
    }

    void thanksEndsTheProgram_data()
    {
        QTest::addColumn<QString>("closing");
        QTest::addColumn<bool>("byEnter");
        QTest::newRow("close box, Enter") << "close" << true;
        QTest::newRow("退出, closed otherwise") << "MenuExit" << false;
    }
    void thanksEndsTheProgram()
    {
        QFETCH(QString, closing);
        QFETCH(bool, byEnter);
        if (closing == u"close")
            m_window->close();
        else
            get<QAction>(closing)->trigger();
        QTRY_VERIFY(!m_window); // unloaded
        int shown = 0;
        for (QWidget *widget : QApplication::topLevelWidgets())
            shown += widget->objectName() == u"frmAbout2" && widget->isVisible();
        QCOMPARE(shown, 1);
        QWidget *thanks = uitest::topLevel("frmAbout2");
        QCOMPARE(thanks->focusWidget(), uitest::control(thanks, "CmdOK"));
        QCOMPARE(EndProgram::takeRequests(), 0);
        if (byEnter)
            QTest::keyClick(thanks->focusWidget(), Qt::Key_Return);
        else
            thanks->close();
        QCOMPARE(EndProgram::takeRequests(), 1);
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
