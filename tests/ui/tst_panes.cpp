#include "engine/textgroups.h"
#include "ui/widgets/panedocument.h"
#include "ui/widgets/paneoffsets.h"
#include "uitest.h"

#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextDocumentFragment>

using namespace rainquill;
using uitest::plain;

// The two panes: the input pane's caption, text, preview, pastes and keys at any length,
// the buttons that act on the panes, and the code pane's display, selection and copies.
class TestPanes : public uitest::WindowTest
{
    Q_OBJECT

private slots:
    void init()
    {
        openWindow();
        QApplication::clipboard()->setText(QStringLiteral("before"));
    }
    void cleanup() { closeWindow(); }

    // The input pane's caption for a count of characters, as inputCaption reads it.
    static QString captionFor(qsizetype count)
    {
        const QString warning = count > 1000 ? QStringLiteral("【字符数较大，建议增加步进数】") : QString();
        return QStringLiteral("要转换的文字(%1个字符%2)").arg(count).arg(warning);
    }

    void inputCaption_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");
        const QString warning = QStringLiteral("要转换的文字(1001个字符【字符数较大，建议增加步进数】)");
        QTest::newRow("1000") << QString(1000, u'a') << "要转换的文字(1000个字符)";
        QTest::newRow("1001") << QString(1001, u'a') << warning;
        QTest::newRow("line break counts two") << QString(999, u'a') + "\n" << warning;
        QTest::newRow("emoji counts one") << QStringLiteral("😀").repeated(1000) << "要转换的文字(1000个字符)";
        QTest::newRow("a thumb with its skin tone counts one") << QStringLiteral("a👍🏽b") << "要转换的文字(3个字符)";
    }

    void inputCaption()
    {
        QFETCH(QString, text);
        QFETCH(QString, caption);
        input()->replaceText(QString(2000, u'x')); // red first: the colour must come back
        input()->replaceText(text);
        QCOMPARE(this->caption("Frame1"), caption);
        // The caption is painted in its colour, and the colour stays on the caption: the
        // text keeps its own black.
        const QColor color = caption.contains(u'【') ? QColor(255, 0, 0) : QColor(0, 0, 255);
        QVERIFY(uitest::paints(get("Frame1"), color, uitest::captionArea(get("Frame1"))));
        QVERIFY(uitest::paints(input()->viewport(), Qt::black) && !uitest::paints(input()->viewport(), color));
    }

    // "手动复制", "还原" and "清除", on a converted text "渐变\r\n " or on none: the messages,
    // the clipboard, the panes and their captions. "清除" is one step to undo: Ctrl+Z brings
    // back what the input pane held, colours and all, and the code stays gone.
    void clearRestoreCopy_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("converted");
        QTest::addColumn<QString>("message"); // the title, "" for none
        QTest::addColumn<QString>("text");    // the input pane's afterwards
        QTest::newRow("手动复制 without code") << "CmdClipCode" << false << "复制失败" << "渐变\r\n ";
        QTest::newRow("手动复制") << "CmdClipCode" << true << "复制成功" << "渐变\r\n ";
        QTest::newRow("还原") << "CmdBack" << true << "" << "渐变\r\n ";
        QTest::newRow("清除") << "CmdClear" << true << "" << "";
    }

    void clearRestoreCopy()
    {
        QFETCH(QString, button);
        QFETCH(bool, converted);
        QFETCH(QString, message);
        QFETCH(QString, text);
        input()->replaceText(QStringLiteral("渐变\r\n "));
        if (converted)
            click("CmdGo");
        const QString converted_code = code();
        const QList<QColor> colors = uitest::characterColors(input()->document());
        QApplication::clipboard()->setText(QStringLiteral("before"));
        click(button);
        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QCOMPARE(shown.isEmpty() ? QString() : shown[0].title, message);
        if (!shown.isEmpty())
            QCOMPARE(shown[0], (converted ? MessageBox::Shown{"代码已成功复制到剪贴板中！", "复制成功", MessageBox::Icon::Information}
                                          : MessageBox::Shown{"代码为空，不能复制！", "复制失败", MessageBox::Icon::Critical}));
        QCOMPARE(QApplication::clipboard()->text(), message == u"复制成功" ? converted_code : QStringLiteral("before"));
        QCOMPARE(input()->text(), text);
        QCOMPARE(caption("Frame1"), captionFor(text.size()));
        if (button == u"CmdClipCode")
            return;
        // The code is gone and the text is plain again (渐, 变 and the space in black).
        QCOMPARE(code() + caption("Frame2"), QStringLiteral("生成的代码(0个字符)"));
        QCOMPARE(uitest::characterColors(input()->document()), QList<QColor>(text.isEmpty() ? 0 : 3, Qt::black));
        if (button != u"CmdClear")
            return;
        QVERIFY(colors.size() == 3 && colors.first() != colors.last());
        input()->setFocus();
        QTest::keyClick(input(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(input()->text(), QStringLiteral("渐变\r\n "));
        QCOMPARE(uitest::characterColors(input()->document()), colors);
        QCOMPARE(caption("Frame1"), captionFor(5));
        QCOMPARE(code() + caption("Frame2"), QStringLiteral("生成的代码(0个字符)"));
    }

    void preview()
    {
        input()->insertAtCaret(QStringLiteral("ab\r\ncd"));
        get<QLineEdit>("TxtStep")->setText(QStringLiteral("2"));
        click("CmdGo");
        QPointer<QTextDocument> before = input()->document(); // the first preview, ours
        click("CmdGo");
        // Groups ab, CR LF, cd at 1, 3, 5 of 6: the preview shows the colours the code names.
        QCOMPARE(code(),
                 QStringLiteral("[color=#2A65FF]ab[/color][color=#803CFF]\r\n[/color][color=#D414FF]cd[/color]"));
        const QColor first(0x2A, 0x65, 0xFF), last(0xD4, 0x14, 0xFF);
        QCOMPARE(uitest::characterColors(input()->document()), (QList<QColor>{first, first, last, last}));
        QCOMPARE(caption("Frame1"), QStringLiteral("要转换的文字(6个字符)"));
        QVERIFY(!before); // no document is kept once it is replaced
    }

    // With a dark desktop theme the program keeps the design's light look: typed text is
    // painted dark on the white pane.
    void darkThemeKeepsTheLook()
    {
        QPalette dark(QColor(53, 53, 53), QColor(35, 35, 35));
        dark.setColor(QPalette::Text, Qt::white);
        dark.setColor(QPalette::WindowText, Qt::white);
        dark.setColor(QPalette::Base, QColor(25, 25, 25));
        QApplication::setPalette(dark);
        UseDesignPalette();
        input()->setFocus();
        QTest::keyClicks(input(), QStringLiteral("gradient text"));
        QVERIFY(uitest::paints(input()->viewport(), Qt::black) && uitest::paints(input()->viewport(), Qt::white));
    }

    // A paste of any size arrives plain, its line breaks read as CR LF, the caret after it;
    // it is one step to undo and to redo (by Ctrl+Y or Ctrl+Shift+Z), and reads back exactly.
    void pasteUndoes_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QKeyCombination>("redo");
        const QKeyCombination ctrlY = Qt::ControlModifier | Qt::Key_Y;
        QTest::newRow("short") << QStringLiteral("x\ny") << (Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Z);
        QTest::newRow("many lines") << QStringLiteral("粗体 bold\r\n").repeated(20000) << ctrlY;
        QTest::newRow("one paragraph") << QStringLiteral("0123456789").repeated(10000) << ctrlY;
    }

    void pasteUndoes()
    {
        QFETCH(QString, pasted);
        QFETCH(QKeyCombination, redo);
        input()->replaceText(QStringLiteral("[]"));
        input()->moveCursor(QTextCursor::NextCharacter);
        auto *data = new QMimeData;
        data->setHtml(QStringLiteral("<b style='color:red'>bold</b>"));
        data->setText(pasted);
        QApplication::clipboard()->setMimeData(data);
        const QString after = "[" + QString(pasted).replace("\r\n", "\n").replace("\n", "\r\n") + "]";
        input()->setFocus();
        QTest::keyClick(input(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(input()->text(), after);
        QCOMPARE(input()->offsets().offsetOf(input()->textCursor().position()), plain(after).size() - 1);
        QVERIFY(!uitest::characterColors(input()->document()).contains(QColor(Qt::red)));
        QTest::keyClick(input(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(input()->text(), QStringLiteral("[]"));
        QCOMPARE(caption("Frame1"), QStringLiteral("要转换的文字(2个字符)"));
        QTest::keyClick(input(), redo.key(), redo.keyboardModifiers());
        QCOMPARE(input()->text(), after);
        QCOMPARE(input()->characterCount(), after.size());
        QCOMPARE(caption("Frame1"), captionFor(after.size()));
        QTest::keyClick(input(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(input(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), plain(after));
    }

    static QString paragraphOfWords(int length)
    {
        QString text;
        for (int n = 0; text.size() < length; ++n)
            text += QStringLiteral("word%1 ").arg(n) + (n % 3 ? "colour " : "abcdefg ");
        return text.left(length);
    }

    // Keys meet the text as in a stock widget holding it in one block: a paragraph longer
    // than a piece is held in pieces, yet every key acts as there from either side of the
    // place it is cut; Shift+arrows take one character a press, a cluster and a line break
    // of any kind whole. The caret is checked after each press, the selection copied.
    void keysAsTheStockWidget_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("at");   // the caret's place in the pane's document
        QTest::addColumn<int>("from"); // the same place in the text, in the stock widget
        QTest::addColumn<QList<QKeyCombination>>("keys");
        // Cut after "two ", where a line may break: "… one two |three four …".
        constexpr int piece = int(PaneDocument::PieceLength);
        const QString paragraph = QStringLiteral("abc ").repeated(piece / 4 - 2) + QStringLiteral("one two three four ")
                                  + QStringLiteral("abc ").repeated(piece / 2);
        const QList<std::pair<const char *, QKeyCombination>> keys = {
            {"Backspace", Qt::Key_Backspace}, {"Delete", Qt::Key_Delete},
            {"Ctrl+Backspace", Qt::ControlModifier | Qt::Key_Backspace},
            {"Ctrl+Delete", Qt::ControlModifier | Qt::Key_Delete},
            {"Left", Qt::Key_Left}, {"Right", Qt::Key_Right},
            {"Shift+Left", Qt::ShiftModifier | Qt::Key_Left}, {"Shift+Right", Qt::ShiftModifier | Qt::Key_Right},
            {"Ctrl+Left", Qt::ControlModifier | Qt::Key_Left}, {"Ctrl+Right", Qt::ControlModifier | Qt::Key_Right},
            {"Ctrl+Shift+Right", Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Right},
            {"Enter", Qt::Key_Return}, {"a letter", Qt::Key_X}};
        for (const auto &[name, key] : keys) {
            QTest::addRow("%s at the first piece's end", name) << paragraph << piece << piece << QList{key};
            QTest::addRow("%s at the second piece's start", name) << paragraph << piece + 1 << piece << QList{key};
        }
        // Shift+Right so often, as often Shift+Left back, and two more to the right.
        const auto shiftArrows = [](int presses) {
            const QKeyCombination right = Qt::ShiftModifier | Qt::Key_Right, left = Qt::ShiftModifier | Qt::Key_Left;
            return QList<QKeyCombination>(presses, right) + QList<QKeyCombination>(presses, left) + QList{right, right};
        };
        QTest::newRow("Shift+arrows 520 from the start") << paragraphOfWords(3089) << 0 << 0 << shiftArrows(520);
        QTest::newRow("Shift+arrows over breaks and clusters")
            << QStringLiteral("a\r\nb👍🏽e\u0301f\r\u2028\u2029🇨🇳g") << 0 << 0 << shiftArrows(12);
        QTest::newRow("Shift+arrows across a piece's end")
            << paragraphOfWords(3 * piece) << piece - 10 << piece - 10 << shiftArrows(40);
        // Typing, Enter and Backspace, then Ctrl+Z: the same step undone.
        QList<QKeyCombination> typing;
        for (const QChar ch : QStringLiteral("one two\nthree"))
            typing.append(ch == u'\n' ? Qt::Key_Return : Qt::Key(ch.toUpper().unicode()));
        typing << Qt::Key_Backspace << (Qt::ControlModifier | Qt::Key_Z);
        QTest::newRow("typing, then Ctrl+Z") << QString() << 0 << 0 << typing;
    }

    void keysAsTheStockWidget()
    {
        QFETCH(QString, text);
        QFETCH(int, at);
        QFETCH(int, from);
        QFETCH(QList<QKeyCombination>, keys);
        input()->replaceText(text);
        PaneOffsets &offsets = input()->offsets();
        QCOMPARE(offsets.offsetOf(at), from);
        uitest::setCaret(input(), at);
        QPlainTextEdit stock;
        stock.setPlainText(text);
        uitest::setCaret(&stock, from);
        for (const QKeyCombination key : keys) {
            QTest::keyClick(input(), key.key(), key.keyboardModifiers());
            QTest::keyClick(&stock, key.key(), key.keyboardModifiers());
            const QTextCursor caret = input()->textCursor();
            QCOMPARE(QList({offsets.offsetOf(caret.anchor()), offsets.offsetOf(caret.position())}),
                     QList<qsizetype>({stock.textCursor().anchor(), stock.textCursor().position()}));
        }
        QCOMPARE(input()->text(), stock.toPlainText().replace(u'\n', QStringLiteral("\r\n")));
        QCOMPARE(input()->characterCount(), CharacterCount(input()->text()));
        QCOMPARE(caption("Frame1"), captionFor(input()->characterCount()));
        input()->copy();
        const QTextCursor selected = stock.textCursor();
        QCOMPARE(QApplication::clipboard()->text(),
                 selected.hasSelection() ? selected.selection().toPlainText() : QStringLiteral("before"));
    }

    // The pane reads, to a screen reader, as a stock plain-text edit holding the same text:
    // the same text, line breaks one "\n" each, the same rows, and each character where
    // the stock widget paints it.
    void readsAsTheStockWidget_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("probe"); // a character whose place is checked
        QTest::newRow("a paragraph of 3,089 characters") << paragraphOfWords(3089) << 514;
        QTest::newRow("every kind of break")
            << "first\r\nsecond\rthird\nfourth\u2028fifth\u2029sixth " + paragraphOfWords(1500) << 40;
        QTest::newRow("Chinese without spaces") << QStringLiteral("渐变文字彩虹般的颜色").repeated(200) << 333;
        QTest::newRow("surrogate pairs at the rows' ends") << QStringLiteral("😀").repeated(300) << 102;
    }

    void readsAsTheStockWidget()
    {
        QFETCH(QString, text);
        QFETCH(int, probe);
        input()->replaceText(text);
        const std::unique_ptr<QPlainTextEdit> stock = uitest::stockBeside(input(), text);
        QVERIFY(stock);
        QCOMPARE(input()->viewport()->width(), stock->viewport()->width());
        QAccessibleTextInterface *read = uitest::textReader(input()), *stockRead = uitest::textReader(stock.get());
        QVERIFY(read && stockRead);
        QCOMPARE(uitest::textStates(input()), uitest::textStates(stock.get()));
        // The stock widget's value has every line break as "\n", its text a line separator
        // as it is: the pane gives the value in both.
        const QString expected = QAccessible::queryAccessibleInterface(stock.get())->text(QAccessible::Value);
        const QString count = QString::number(stockRead->characterCount());
        QCOMPARE(uitest::readerText(input()), QStringList({expected, count, expected}));
        const QStringList rows = uitest::rowsOf(input());
        QVERIFY(rows.size() > 3);
        QCOMPARE(rows, uitest::rowsOf(stock.get()));
        for (const QString &row : rows) // no row ends inside a surrogate pair
            QVERIFY(!row.back().isHighSurrogate());
        // The rows before and after a row's start are its neighbours.
        const auto shown = [](const QString &row, int from, int to) {
            return row.isEmpty() ? QString() : QStringLiteral("%1-%2 %3").arg(from).arg(to).arg(row);
        };
        for (qsizetype n = 0; n < rows.size(); ++n) {
            const int start = rows[n].section(u'-', 0, 0).toInt();
            int from = 0, to = 0;
            const QString after = read->textAfterOffset(start, QAccessible::LineBoundary, &from, &to);
            QCOMPARE(shown(after, from, to), rows.value(n + 1));
            const QString before = read->textBeforeOffset(start, QAccessible::LineBoundary, &from, &to);
            QCOMPARE(shown(before, from, to), rows.value(n - 1));
        }
        // The probe's place: where the stock widget paints it, and found again at its middle.
        uitest::setCaret(input(), probe);
        uitest::setCaret(stock.get(), probe);
        const QRect rect = read->characterRect(probe);
        QCOMPARE(rect.topLeft() - input()->viewport()->mapToGlobal(QPoint(0, 0)), stock->cursorRect().topLeft());
        QVERIFY(rect.width() > 0 && rect.height() > 0);
        QCOMPARE(read->offsetAtPoint(rect.center()), probe);
    }

    // A screen reader edits the pane as it edits the stock widget: a range replaced, text
    // put in and taken out, at offsets inside the text and across a line break.
    void editedByAScreenReader()
    {
        const QString text = QStringLiteral("one two\r\nthree");
        input()->replaceText(text);
        QPlainTextEdit stock;
        stock.setPlainText(text);
        for (QWidget *widget : {static_cast<QWidget *>(input()), static_cast<QWidget *>(&stock)}) {
            QAccessibleEditableTextInterface *edit =
                QAccessible::queryAccessibleInterface(widget)->editableTextInterface();
            QVERIFY(edit);
            edit->replaceText(4, 7, QStringLiteral("2"));
            edit->insertText(1, QStringLiteral("n"));
            edit->deleteText(5, 8);
        }
        QCOMPARE(input()->text(), stock.toPlainText().replace(u'\n', QStringLiteral("\r\n")));
    }

    // A paragraph held in pieces reads as one: no character where it is cut, and the
    // offsets on either side of the cut are the text's.
    void readsPiecesAsOne()
    {
        const QString paragraph = paragraphOfWords(3 * int(PaneDocument::PieceLength));
        input()->replaceText(paragraph + "\r\nend");
        QVERIFY(input()->document()->blockCount() > 2);
        QAccessibleTextInterface *read = uitest::textReader(input());
        QCOMPARE(read->characterCount(), paragraph.size() + 4);
        QCOMPARE(read->text(0, read->characterCount()), paragraph + "\nend");
        const int cut = input()->document()->findBlockByNumber(1).position() - 1;
        QCOMPARE(read->text(cut - 3, cut + 3), paragraph.mid(cut - 3, 6));
        read->setSelection(0, cut - 2, cut + 2);
        input()->copy();
        QCOMPARE(QApplication::clipboard()->text(), paragraph.mid(cut - 2, 4));
        QCOMPARE(uitest::selectionOf(input()), QStringLiteral("%1 %2-%1").arg(cut + 2).arg(cut - 2));
        // There is one selection: the second is none, and the first goes when asked.
        read->removeSelection(1);
        QCOMPARE(read->selectionCount(), 1);
        read->removeSelection(0);
        QCOMPARE(read->selectionCount(), 0);
        read->addSelection(cut - 1, cut + 1);
        QCOMPARE(uitest::selectionOf(input()), QStringLiteral("%1 %2-%1").arg(cut + 1).arg(cut - 1));
        // The first character of the second piece is painted where that piece starts, a
        // row below the end of the first; past the end there is no character.
        read->setCursorPosition(cut);
        input()->ensureCursorVisible();
        QVERIFY(read->characterRect(cut).top() > read->characterRect(cut - 1).top());
        QVERIFY(read->characterRect(read->characterCount()).isEmpty());
        read->setCursorPosition(paragraph.size() + 1);
        QCOMPARE(input()->textCursor().block().text(), QStringLiteral("end"));
        QCOMPARE(read->cursorPosition(), paragraph.size() + 1);
    }

    // Double and triple clicks select what the stock widget selects: a word, a paragraph,
    // also where a paragraph is held in pieces.
    void clicksSelect_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("at");
        QTest::addColumn<int>("clicks");
        const QString long_ = paragraphOfWords(3 * int(PaneDocument::PieceLength)) + "\nnext";
        QTest::newRow("a word") << paragraphOfWords(3089) + "\nnext" << 520 << 2;
        QTest::newRow("a paragraph") << "before\n" + paragraphOfWords(3089) + "\nnext" << 1000 << 3;
        QTest::newRow("a word in a piece") << long_ << int(PaneDocument::PieceLength) + 10 << 2;
        QTest::newRow("a paragraph in pieces") << long_ << int(PaneDocument::PieceLength) + 10 << 3;
    }

    void clicksSelect()
    {
        QFETCH(QString, text);
        QFETCH(int, at);
        QFETCH(int, clicks);
        input()->replaceText(text);
        const std::unique_ptr<QPlainTextEdit> stock = uitest::stockBeside(input(), text);
        QVERIFY(stock);
        const auto select = [&](QPlainTextEdit *edit, int position) {
            uitest::setCaret(edit, position);
            edit->ensureCursorVisible();
            uitest::multiClick(edit, edit->cursorRect().center() + QPoint(2, 0), clicks);
        };
        select(input(), int(input()->offsets().positionOf(at)));
        select(stock.get(), at);
        QVERIFY(stock->textCursor().hasSelection());
        QCOMPARE(uitest::selectionOf(input()), uitest::selectionOf(stock.get()));
    }

    // After a conversion the caret is at the text's end, so that typing goes on after it,
    // and the end is in view, also of a long text.
    void convertedEndInView()
    {
        input()->replaceText(QStringLiteral("渐变 gradient\r\n").repeated(5000) + QStringLiteral("end"));
        click("CmdGo");
        QVERIFY(input()->textCursor().atEnd());
        QVERIFY(input()->viewport()->rect().contains(input()->cursorRect()));
    }

    // The code pane shows the code and gives it back exactly, whole or any part chosen
    // with the keyboard, across display lines and a real line break; a screen
    // reader reads the same text.
    void codePaneCopiesExactCode()
    {
        // One line of code far longer than a display line, then a line break, then more.
        input()->insertAtCaret(QString(300, u'a') + QStringLiteral("\r\nbc"));
        click("OptAll");
        click("CmdGo");
        const QString exact = code();
        QVERIFY(uitest::paints(codePane()->viewport(), QColor(192, 192, 192)));
        codePane()->setFocus();
        const auto copied = [this](QKeyCombination first, QKeyCombination more, int times) {
            QTest::keyClick(codePane(), first.key(), first.keyboardModifiers());
            for (int n = 0; n < times; ++n)
                QTest::keyClick(codePane(), more.key(), more.keyboardModifiers());
            QTest::keyClick(codePane(), Qt::Key_C, Qt::ControlModifier);
            return QApplication::clipboard()->text();
        };
        QCOMPARE(copied(Qt::ControlModifier | Qt::Key_A, {}, 0), exact);
        QTest::keyClick(codePane(), Qt::Key_X); // locked against typing
        QCOMPARE(code(), exact);
        // The first row, and the last rows across the line break.
        const QString firstRow = copied(Qt::ControlModifier | Qt::Key_Home, Qt::ShiftModifier | Qt::Key_End, 1);
        QVERIFY(firstRow.size() > 2 && exact.startsWith(firstRow));
        const QString lastRows = copied(Qt::ControlModifier | Qt::Key_End, Qt::ShiftModifier | Qt::Key_Up, 2);
        QVERIFY(exact.endsWith(lastRows) && lastRows.contains(QStringLiteral("[/color]\r\n[color=")));
        // From the start of the last line, one step left is the whole line break.
        QTest::keyClick(codePane(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(copied(Qt::Key_Home, Qt::ShiftModifier | Qt::Key_Left, 1), QStringLiteral("\r\n"));
        QCOMPARE(uitest::readerText(codePane()).last(), plain(exact));
    }
};

QTEST_MAIN(TestPanes)
#include "tst_panes.moc"
