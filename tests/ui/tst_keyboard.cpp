#include "uitest.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

using namespace rainquill;
using uitest::reader;

// The main window from the keyboard and a screen reader: the menu bar's keyboard mode and
// what it shows, and the step box as a spin box.
class TestKeyboard : public uitest::WindowTest
{
    Q_OBJECT

    QMenuBar *bar() const { return m_window->menuBar(); }

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
        uitest::enterMenuBar(way);
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

    // The step box as a spin box: its value is the whole step a conversion uses, halves
    // rounded to even, trailing letters left out, below 1 taken as 1.
    void stepSpinBox_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        for (const auto &[text, value] : {std::pair{"1", 1}, {"100", 100}, {"2.5", 2}, {"3.5", 4}, {"12abc", 12},
                                          {"-5", 1}, {"0.4", 1}})
            QTest::newRow(text) << text << value;
    }
    void stepSpinBox()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        auto *step = get<QLineEdit>("TxtStep");
        step->setText(text);
        QAccessibleInterface *box = reader(step);
        QCOMPARE(box->role(), QAccessible::SpinBox);
        QAccessibleValueInterface *spin = box->valueInterface();
        QVERIFY(spin);
        QCOMPARE((QList<int>{spin->currentValue().toInt(), spin->minimumValue().toInt(), spin->maximumValue().toInt(),
                             spin->minimumStepSize().toInt()}),
                 (QList<int>{value, 1, 100, 1})); // value, least, most, step
        QCOMPARE(box->textInterface()->text(0, box->textInterface()->characterCount()), text);
    }

    // Its text as a screen reader reads and selects it; its value set and stepped.
    void stepSpinBoxByAScreenReader()
    {
        auto *step = get<QLineEdit>("TxtStep");
        step->setText(QStringLiteral("12abc"));
        QAccessibleTextInterface *text = reader(step)->textInterface();
        step->deselect();
        QCOMPARE(text->selectionCount(), 0);
        step->setSelection(1, 3);
        QCOMPARE(text->selectionCount(), 1);
        int start = -1, end = -1;
        text->selection(0, &start, &end);
        QCOMPARE(std::pair(start, end), std::pair(1, 4));
        text->setSelection(0, 0, 2);
        QCOMPARE(step->selectedText(), QStringLiteral("12"));
        // Set and stepped by a screen reader: the box's own rule still holds.
        QAccessibleInterface *box = reader(step);
        box->valueInterface()->setCurrentValue(7);
        QCOMPARE(step->text(), QStringLiteral("7"));
        box->valueInterface()->setCurrentValue(250);
        QCOMPARE(step->text(), QStringLiteral("100"));
        box->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
        QCOMPARE(step->text(), QStringLiteral("99"));
        box->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
        box->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
        QCOMPARE(step->text(), QStringLiteral("100"));
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
