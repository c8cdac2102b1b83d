#include "uitest.h"

#include <QMenu>
#include <QMenuBar>

using namespace rainquill;

// The main window from the keyboard alone: the menu bar's keyboard mode and what it shows,
// the focus given back when a child window closes, the swatch grids' focus mark and the
// view options' arrow keys.
class TestKeyboard : public uitest::WindowTest
{
    Q_OBJECT

    QMenuBar *bar() const { return m_window->menuBar(); }

    // Alt pressed and released alone, as a keyboard sends it.
    void altAlone(QWidget *to)
    {
        QTest::keyPress(to, Qt::Key_Alt, Qt::AltModifier);
        QTest::keyRelease(to, Qt::Key_Alt, Qt::NoModifier);
    }
    void enterMenuBar(const QString &way)
    {
        QWidget *focus = QApplication::focusWidget();
        if (way == u"F10")
            QTest::keyClick(focus, Qt::Key_F10);
        else
            altAlone(focus);
    }
    // Whether title n of the bar is painted highlighted, in the palette's highlight.
    bool highlighted(int n)
    {
        const QRect title = bar()->actionGeometry(bar()->actions().at(n)).adjusted(2, 2, -2, -2);
        return uitest::paintsNear(bar(), QApplication::palette().color(QPalette::Highlight), 8, title);
    }

private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void menuBarTitleHighlighted_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("F10") << "F10";
        QTest::newRow("Alt alone") << "Alt";
    }
    void menuBarTitleHighlighted()
    {
        QFETCH(QString, way);
        QVERIFY(!highlighted(0));
        enterMenuBar(way);
        QTRY_VERIFY(bar()->hasFocus());
        QVERIFY(highlighted(0));
        QVERIFY(!bar()->activeAction()->menu()->isVisible()); // highlighted, not opened
        QTest::keyClick(bar(), Qt::Key_Right);
        QVERIFY(!highlighted(0));
        QVERIFY(highlighted(1));
        QTest::keyClick(bar(), Qt::Key_Left);
        QVERIFY(highlighted(0));
        QTest::keyClick(bar(), Qt::Key_Escape);
        QVERIFY(!highlighted(0));
        QCOMPARE(QApplication::focusWidget(), input());
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
