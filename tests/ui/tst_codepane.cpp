#include "engine/markup.h"
#include "uitest.h"

#include <QAccessible>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QScrollBar>

using namespace rainquill;
using uitest::textReader;
using uitest::selectionOf;

namespace {

// The code of a text, as the window writes it in UBB.
QString ubbCode(const QString &text)
{
    return *GenerateCode({text, {0, 121, 255}, {255, 0, 255}, 1, OutputFormat::Ubb, TemplateFor(OutputFormat::Ubb)});
}

// Every piece a screen reader may ask for at an offset: the text at, before and after it,
// by character, word, sentence, line and paragraph.
QStringList piecesAt(QWidget *widget, int offset)
{
    using Read = QString (QAccessibleTextInterface::*)(int, QAccessible::TextBoundaryType, int *, int *) const;
    QStringList pieces;
    for (const Read read : {&QAccessibleTextInterface::textAtOffset, &QAccessibleTextInterface::textBeforeOffset,
                            &QAccessibleTextInterface::textAfterOffset}) {
        for (const auto type : {QAccessible::CharBoundary, QAccessible::WordBoundary, QAccessible::SentenceBoundary,
                                QAccessible::LineBoundary, QAccessible::ParagraphBoundary}) {
            int start = 0, end = 0;
            const QString got = (textReader(widget)->*read)(offset, type, &start, &end);
            pieces.append(QStringLiteral("at %1 by %2: %3-%4 %5").arg(offset).arg(type).arg(start).arg(end).arg(got));
        }
    }
    return pieces;
}

// A rectangle on the screen, in the widget's coordinates.
QRect onWidget(QWidget *widget, const QRect &rect)
{
    return rect.translated(widget->mapFromGlobal(QPoint(0, 0)));
}

// The centre of a character, in the viewport's coordinates.
QPoint centreOf(QAbstractScrollArea *widget, int offset)
{
    const QRect rect = textReader(widget)->characterRect(offset);
    return widget->viewport()->mapFromGlobal(rect.center());
}

void sendMouse(QWidget *area, QEvent::Type type, QPoint at, Qt::MouseButtons held)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), area->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(area, &event);
}

void sendMove(QWidget *area, QPoint at)
{
    sendMouse(area, QEvent::MouseMove, at, Qt::LeftButton);
}

// A double click whose second press is held and dragged, event by event as a hand makes it.
void doubleClickDrag(QAbstractScrollArea *widget, QPoint from, QPoint to)
{
    QWidget *area = widget->viewport();
    sendMouse(area, QEvent::MouseButtonPress, from, Qt::LeftButton);
    sendMouse(area, QEvent::MouseButtonRelease, from, Qt::NoButton);
    sendMouse(area, QEvent::MouseButtonDblClick, from, Qt::LeftButton);
    sendMove(area, to);
    sendMouse(area, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

} // namespace

// The code pane on its own, held against a stock QPlainTextEdit holding the same code at
// the same size and font: rows, scrolling, selections by mouse and keys, the primary
// selection, and what a screen reader reads.
class TestCodePane : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_pane = new CodePane;
        m_pane->resize(335, 190);
        m_pane->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_pane));
        m_stock = uitest::stockBeside(m_pane).release();
        QVERIFY(m_stock);
        m_stock->setReadOnly(true);
        m_stock->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        m_stock->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        QCOMPARE(m_pane->viewport()->width(), m_stock->viewport()->width());
    }
    void cleanup()
    {
        delete m_pane;
        delete m_stock;
    }

    // Dragging the scroll bar to its bottom shows the last rows filling the pane; to its
    // top, the first ones.
    void scrollBarReachesBothEnds_data()
    {
        QTest::addColumn<QString>("code");
        QTest::newRow("UBB code of short lines")
            << ubbCode(QStringLiteral("渐变文字 Gradient text, 彩虹般的颜色 runs.\r\n").repeated(3000));
        QTest::newRow("one long line") << ubbCode(QStringLiteral("渐变文字 Gradient text, 彩虹般的颜色 runs. ").repeated(3000));
        QTest::newRow("code ending in a line break") << QStringLiteral("[color=#0079FF]a[/color]\r\n").repeated(500);
    }

    void scrollBarReachesBothEnds()
    {
        QFETCH(QString, code);
        m_pane->setCode(code);
        QScrollBar *bar = m_pane->verticalScrollBar();
        const auto drag = [&](int to) {
            QStyleOptionSlider option;
            option.initFrom(bar);
            option.orientation = Qt::Vertical;
            option.subControls = QStyle::SC_All;
            option.minimum = bar->minimum();
            option.maximum = bar->maximum();
            option.sliderPosition = option.sliderValue = bar->value();
            option.singleStep = bar->singleStep();
            option.pageStep = bar->pageStep();
            const QRect handle =
                bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar);
            QTest::mousePress(bar, Qt::LeftButton, {}, handle.center());
            sendMove(bar, QPoint(handle.center().x(), to));
            QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(handle.center().x(), to));
        };
        QWidget *area = m_pane->viewport();
        QAccessibleTextInterface *text = textReader(m_pane);
        const int count = text->characterCount();
        drag(bar->height() + 50);
        // The end of the code: where the caret would stand after it.
        const QRect end = onWidget(area, text->characterRect(count));
        const int rowHeight = end.height();
        QVERIFY2(area->rect().contains(end) && area->height() - end.bottom() <= rowHeight,
                 qPrintable(QStringLiteral("%1 %2").arg(end.bottom()).arg(area->height())));
        // The top row is a full row of the pane's rows from the end.
        const int top = text->offsetAtPoint(area->mapToGlobal(QPoint(1, 1)));
        int start = 0, stop = 0;
        text->textAtOffset(top, QAccessible::LineBoundary, &start, &stop);
        QCOMPARE(start, top);
        QCOMPARE(onWidget(area, text->characterRect(top)).top(), 0);
        QVERIFY(uitest::paintsNear(area, QColor(192, 192, 192), 60, QRect(0, 0, area->width(), rowHeight)));
        QVERIFY(uitest::paintsNear(area, QColor(192, 192, 192), 60,
                                   QRect(0, end.top() - rowHeight, area->width(), rowHeight)));
        drag(-50);
        QCOMPARE(text->offsetAtPoint(area->mapToGlobal(QPoint(1, 1))), 0);
        QCOMPARE(onWidget(area, text->characterRect(0)).topLeft().y(), 0);
        // A click below the handle scrolls a page: the rows the pane shows whole.
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() / 2));
        QCOMPARE(m_pane->topRow(), area->height() / rowHeight);
    }

    // Double click, triple click, and a double click dragged on by words: the same
    // selection as the stock text box.
    void clicksSelectAsAStockTextBox_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<int>("dragTo"); // -1: no drag
        for (const int offset : {3, 10, 15, 17, 30})
            for (const int clicks : {2, 3})
                QTest::addRow("%d clicks at %d", clicks, offset) << offset << clicks << -1;
        for (const int to : {2, 9, 12, 21, 26, 30, 44, 80})
            QTest::addRow("double click at 17 dragged to %d", to) << 17 << 2 << to;
    }

    void clicksSelectAsAStockTextBox()
    {
        QFETCH(int, offset);
        QFETCH(int, clicks);
        QFETCH(int, dragTo);
        const QString code = ubbCode(QStringLiteral("渐变 a\r\nbc"));
        m_pane->setCode(code);
        m_stock->setPlainText(code);
        const auto selection = [&](QAbstractScrollArea *widget) {
            if (dragTo < 0) // the rows are the same: the same places on both
                uitest::multiClick(widget, centreOf(m_pane, offset), clicks);
            else
                doubleClickDrag(widget, centreOf(m_pane, offset), centreOf(m_pane, dragTo));
            return selectionOf(widget);
        };
        const QString stock = selection(m_stock);
        QCOMPARE(textReader(m_stock)->selectionCount(), 1);
        QCOMPARE(selection(m_pane), stock);
    }

    // Keys that move and select: the same caret and selection as the stock text box.
    void keysAsAStockTextBox_data()
    {
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<int>("presses");
        QTest::newRow("Ctrl+Right") << (Qt::ControlModifier | Qt::Key_Right) << 30;
        QTest::newRow("Ctrl+Shift+Right") << (Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Right) << 30;
        QTest::newRow("Shift+Right") << (Qt::ShiftModifier | Qt::Key_Right) << 60;
        QTest::newRow("Ctrl+Left from the end") << (Qt::ControlModifier | Qt::Key_Left) << 30;
        QTest::newRow("Shift+Left from the end") << (Qt::ShiftModifier | Qt::Key_Left) << 60;
        QTest::newRow("Down") << QKeyCombination(Qt::Key_Down) << 12;
        QTest::newRow("Shift+Down") << (Qt::ShiftModifier | Qt::Key_Down) << 12;
        QTest::newRow("PageDown") << QKeyCombination(Qt::Key_PageDown) << 3;
        QTest::newRow("Up from the end") << QKeyCombination(Qt::Key_Up) << 12;
        QTest::newRow("Shift+Up from the end") << (Qt::ShiftModifier | Qt::Key_Up) << 12;
        QTest::newRow("End") << QKeyCombination(Qt::Key_End) << 1;
    }

    void keysAsAStockTextBox()
    {
        QFETCH(QKeyCombination, key);
        QFETCH(int, presses);
        const QString code = ubbCode(QStringLiteral("a👍🏽b\r\n e\u0301"))
                             + QStringLiteral("\r\n\r\n🇨🇳 and a row that wraps at a space ") + QString(60, u'x');
        m_pane->setCode(code);
        m_stock->setPlainText(code);
        for (QAbstractScrollArea *widget : both()) {
            widget->activateWindow();
            widget->setFocus();
            if (key.key() == Qt::Key_Left || key.key() == Qt::Key_Up)
                QTest::keyClick(widget, Qt::Key_End, Qt::ControlModifier);
        }
        QStringList pane, stock;
        for (int n = 0; n < presses; ++n) {
            QTest::keyClick(m_pane, key.key(), key.keyboardModifiers());
            QTest::keyClick(m_stock, key.key(), key.keyboardModifiers());
            pane.append(selectionOf(m_pane));
            stock.append(selectionOf(m_stock));
        }
        QCOMPARE(pane, stock);
    }

    // A selection a screen reader makes moves the caret: the pane scrolls to it, its
    // scroll bar follows, and Down goes on from its column, not from the one the keys kept
    // before.
    void downAfterAReadersSelection()
    {
        const QString code = ubbCode(QStringLiteral("渐变文字 Gradient text\r\n").repeated(40));
        m_pane->setCode(code);
        m_stock->setPlainText(code);
        const int far = int(code.size()) - 300;
        for (QAbstractScrollArea *widget : both()) {
            widget->setFocus();
            QTest::keyClick(widget, Qt::Key_End);
            QTest::keyClick(widget, Qt::Key_Down);
            textReader(widget)->setSelection(0, far, far + 2);
        }
        const QRect caret = onWidget(m_pane->viewport(), textReader(m_pane)->characterRect(far + 2));
        QVERIFY(m_pane->viewport()->rect().contains(caret));
        QCOMPARE(m_pane->verticalScrollBar()->value(), m_pane->topRow());
        QVERIFY(m_pane->topRow() > 0);
        for (QAbstractScrollArea *widget : both())
            QTest::keyClick(widget, Qt::Key_Down);
        QCOMPARE(selectionOf(m_pane), selectionOf(m_stock));
    }

    // A drag past the pane's edge goes on scrolling while the button is held, and stops
    // when it is let go.
    void dragPastTheEdgeScrolls()
    {
        m_pane->setCode(ubbCode(QStringLiteral("渐变文字 Gradient text\r\n").repeated(300)));
        QWidget *area = m_pane->viewport();
        QTest::mousePress(area, Qt::LeftButton, {}, QPoint(5, 5));
        sendMove(area, QPoint(20, area->height() + 30));
        QTRY_VERIFY(m_pane->topRow() >= 5);
        QVERIFY(m_pane->caret() > m_pane->model().rowStart(m_pane->topRow()));
        QCOMPARE(m_pane->anchor(), 0);
        QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(20, area->height() + 30));
        const qsizetype top = m_pane->topRow();
        QTest::qWait(300);
        QCOMPARE(m_pane->topRow(), top);
        // And upwards.
        QTest::mousePress(area, Qt::LeftButton, {}, QPoint(5, 5));
        sendMove(area, QPoint(20, -30));
        QTRY_VERIFY(m_pane->topRow() < top - 3);
        QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(20, -30));
    }

    // The X11 primary selection holds the selection however it was made (the run under
    // an X server checks it; the offscreen platform has none).
    void primarySelection_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("selected");
        QTest::newRow("mouse drag") << "drag" << "[color=#0079FF]";
        QTest::newRow("Shift+Right") << "keys" << "[colo";
        QTest::newRow("Ctrl+A") << "all" << "[color=#0079FF]渐[/color]\r\n[color=#FF00FF]x[/color]";
        QTest::newRow("Shift+click") << "shift click" << "[color=#0079FF]";
        QTest::newRow("double click") << "double click" << "color";
        QTest::newRow("triple click") << "triple click" << "[color=#0079FF]渐[/color]\r\n";
        QTest::newRow("a click selects nothing") << "click" << "before";
    }

    void primarySelection()
    {
        QFETCH(QString, how);
        QFETCH(QString, selected);
        QClipboard *clipboard = QApplication::clipboard();
        if (!clipboard->supportsSelection())
            QSKIP("no primary selection on this platform");
        clipboard->setText(QStringLiteral("before"), QClipboard::Selection);
        m_pane->setCode(QStringLiteral("[color=#0079FF]渐[/color]\r\n[color=#FF00FF]x[/color]"));
        m_pane->activateWindow();
        m_pane->setFocus();
        QWidget *area = m_pane->viewport();
        const QPoint start = centreOf(m_pane, 0) - QPoint(3, 0), end = centreOf(m_pane, 15) - QPoint(3, 0);
        if (how == u"drag") {
            QTest::mousePress(area, Qt::LeftButton, {}, start);
            sendMove(area, end);
            QTest::mouseRelease(area, Qt::LeftButton, {}, end);
        } else if (how == u"keys") {
            for (int n = 0; n < 5; ++n)
                QTest::keyClick(m_pane, Qt::Key_Right, Qt::ShiftModifier);
        } else if (how == u"all") {
            QTest::keyClick(m_pane, Qt::Key_A, Qt::ControlModifier);
        } else if (how == u"click") {
            QTest::mouseClick(area, Qt::LeftButton, {}, end);
        } else if (how == u"shift click") {
            QTest::mouseClick(area, Qt::LeftButton, Qt::ShiftModifier, end);
        } else {
            uitest::multiClick(m_pane, centreOf(m_pane, 3), how == u"triple click" ? 3 : 2);
        }
        QTRY_COMPARE(clipboard->text(QClipboard::Selection), selected);
    }

    // A screen reader reads the text, rows, offsets and pieces a stock text box gives, and
    // the selection of Ctrl+A; the rows also of long codes in any script or format.
    void readsAsAStockTextBox_data()
    {
        QTest::addColumn<QString>("code");
        QTest::newRow("UBB code") << ubbCode(QStringLiteral("渐变 ab\r\ncd"));
        QTest::newRow("every line break") << "one two\r\nthree\rfour\nfive\u2029six. Seven!\r\n";
        QTest::newRow("clusters") << "a👍🏽b 🇨🇳 e\u0301\r\n";
        QTest::newRow("empty") << "";
        QTest::newRow("words") << QStringLiteral("The quick brown fox jumps over the lazy dog. ").repeated(40);
        QTest::newRow("long and short words")
            << ("a bb ccc " + QString(22, u'd') + u' ' + QString(58, u'e') + u' ').repeated(10);
        QTest::newRow("CJK") << QStringLiteral("渐变文字彩虹般的颜色从头到尾").repeated(30);
        QTest::newRow("pairs a font may kern") << QStringLiteral("AVAVAV To Ty Wa Yo LT AWAY ").repeated(30);
        QTest::newRow("lines") << QStringLiteral("short line\r\nand another one\r\n\r\n").repeated(20);
        QTest::newRow("UBB code of a long text")
            << ubbCode(QStringLiteral("渐变文字 Gradient text, 彩虹般的颜色 runs from start to end. ").repeated(8));
        QTest::newRow("html code")
            << *GenerateCode({QStringLiteral("Gradient 渐变 text\r\n  runs, 彩虹! ").repeated(8), {0, 121, 255},
                              {255, 0, 255}, 2, OutputFormat::Html, TemplateFor(OutputFormat::Html)});
    }

    void readsAsAStockTextBox()
    {
        QFETCH(QString, code);
        m_pane->setCode(code);
        m_stock->setPlainText(code);
        QCOMPARE(uitest::readerText(m_pane), uitest::readerText(m_stock));
        QCOMPARE(uitest::textStates(m_pane), uitest::textStates(m_stock));
        const QStringList rows = uitest::rowsOf(m_stock);
        QVERIFY(rows.size() > code.size() / 100);
        QCOMPARE(uitest::rowsOf(m_pane), rows);
        for (QAbstractScrollArea *widget : both()) {
            widget->setFocus();
            QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
        }
        QCOMPARE(selectionOf(m_pane), selectionOf(m_stock));
        if (code.size() > 2000)
            return; // a longer sentence is read from the stretch of code around the place
        for (int offset = 0; offset <= textReader(m_stock)->characterCount(); ++offset)
            QCOMPARE(piecesAt(m_pane, offset), piecesAt(m_stock, offset));
    }

    // Each character's rectangle is where it is painted: on its row, also after a page
    // down, and the glyph is inside it.
    void characterRectsWherePainted()
    {
        m_pane->setCode(QStringLiteral("WWW W\r\n").repeated(100));
        QAccessibleTextInterface *text = textReader(m_pane);
        QWidget *area = m_pane->viewport();
        const auto check = [&](int offset, int row) { // its row, its glyph, and found again at its middle
            const QRect rect = onWidget(area, text->characterRect(offset));
            QVERIFY2(rect.width() > 2 && rect.top() == row * rect.height(), qPrintable(QString::number(offset)));
            QVERIFY(uitest::paintsNear(area, QColor(192, 192, 192), 60, rect));
            QCOMPARE(text->offsetAtPoint(area->mapToGlobal(rect.center() - QPoint(rect.width() / 4, 0))), offset);
        };
        check(0, 0);
        check(4, 0);
        check(6, 1);
        check(20, 3);
        m_pane->setFocus();
        QTest::keyClick(m_pane, Qt::Key_PageDown);
        const int top = int(m_pane->topRow());
        QVERIFY(top > 3);
        check(6 * top + 2, 0);
        check(6 * (top + 2), 2);
        // The gap between two words is painted empty.
        QVERIFY(!uitest::paintsNear(area, QColor(192, 192, 192), 60,
                                    onWidget(area, text->characterRect(6 * top + 3)).adjusted(2, 0, -2, 0)));
    }

private:
    QList<QAbstractScrollArea *> both() const { return {m_pane, m_stock}; }

    CodePane *m_pane = nullptr;
    QPlainTextEdit *m_stock = nullptr;
};

QTEST_MAIN(TestCodePane)
#include "tst_codepane.moc"
