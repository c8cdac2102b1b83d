#include "ui/codepane.h"
#include "ui/inputpane.h"
#include "uitest.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>

#include <sys/resource.h>
#include <unistd.h>

using namespace rainquill;

// "转换" in the window: the code, the clipboard, the caption, the preview, the refusals,
// and the two panes as the conversion and the user use them.
class TestConversion : public uitest::WindowTest
{
    Q_OBJECT

    InputPane *input() const { return get<InputPane>("RTInput"); }
    CodePane *code() const { return get<CodePane>("TxtCode"); }

    // Address space the program may still take, in bytes, from now on.
    static void allowOnly(qint64 more)
    {
        QFile statm(QStringLiteral("/proc/self/statm"));
        QVERIFY(statm.open(QIODevice::ReadOnly));
        const qint64 now = statm.readAll().split(' ').value(0).toLongLong() * sysconf(_SC_PAGESIZE);
        rlimit limit{};
        getrlimit(RLIMIT_AS, &limit);
        limit.rlim_cur = more < 0 ? limit.rlim_max : rlim_t(now + more);
        QCOMPARE(setrlimit(RLIMIT_AS, &limit), 0);
    }

private slots:
    void init()
    {
        openWindow();
        QApplication::clipboard()->setText(QStringLiteral("before"));
    }
    void cleanup() { closeWindow(); }

    void convert_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("format");
        QTest::addColumn<bool>("autoCopy");
        QTest::addColumn<QString>("expected");
        // The default scheme: (0, 121, 255) to (255, 0, 255).
        QTest::newRow("abc") << "abc" << 0 << true
                             << "[color=#5551FF]a[/color][color=#AA28FF]b[/color][color=#FF00FF]c[/color]";
        QTest::newRow("line break") << "a\r\nb" << 2 << true << "[ftc=#405BFF]a[/ft]\r\n[ftc=#FF00FF]b[/ft]";
        QTest::newRow("emoji, no copy") << "😀😀" << 0 << false
                                        << "[color=#803CFF]😀[/color][color=#FF00FF]😀[/color]";
    }
    void convert()
    {
        QFETCH(QString, text);
        QFETCH(int, format);
        QFETCH(bool, autoCopy);
        QFETCH(QString, expected);
        input()->insertAtCaret(text);
        setFormat(format);
        get<QCheckBox>("ChkAuto")->setChecked(autoCopy);
        click("CmdGo");
        QCOMPARE(code()->code(), expected);
        QCOMPARE(QApplication::clipboard()->text(), autoCopy ? expected : QStringLiteral("before"));
        QCOMPARE(caption("Frame2"), QStringLiteral("生成的代码(%1个字符)").arg(expected.toUcs4().size()));
        QCOMPARE(input()->text(), text); // the preview keeps the characters
        click("CmdGo");                  // twice in a row: the same code
        QCOMPARE(code()->code(), expected);
    }

    void refusalsChangeNothing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("middle");
        QTest::addColumn<qint64>("memory"); // address space left for the conversion; -1: no limit
        QTest::addColumn<MessageBox::Shown>("message");
        QTest::newRow("empty text") << "" << "" << qint64(-1)
                                    << MessageBox::Shown{"请输入要转换的文字", "没有找到要转换的文字",
                                                         MessageBox::Icon::Critical};
        QTest::newRow("middle of the template empty")
            << "abc" << "" << qint64(-1)
            << MessageBox::Shown{"自定义格式没有填完整", "不完整的自定义格式", MessageBox::Icon::Critical};
        const MessageBox::Shown tooLong{"生成的代码太长，请增大步长后再转换", "代码太长", MessageBox::Icon::Critical};
        // 112 million characters of code: over the limit, refused before it is built.
        QTest::newRow("code over the limit") << QString(1'000'000, u'a') << QString(100, u'm') << qint64(-1) << tooLong;
        // 65 MB of code with 60 MB of address space left: the allocation fails and is refused.
        QTest::newRow("out of memory") << QString(2'500'000, u'a') << "]" << qint64(60 << 20) << tooLong;
    }
    void refusalsChangeNothing()
    {
        QFETCH(QString, text);
        QFETCH(QString, middle);
        QFETCH(qint64, memory);
        QFETCH(MessageBox::Shown, message);
        input()->replaceText(QStringLiteral("xy"));
        click("CmdGo"); // its results must survive the refused conversion
        const QString firstCode = code()->code();
        QApplication::clipboard()->setText(QStringLiteral("before"));
        input()->replaceText(text);
        setFormat(3);
        QTest::keyClicks(get("TxtStyle_0"), "[");
        QTest::keyClicks(get("TxtStyle_1"), middle);
        QTest::keyClicks(get("TxtStyle_2"), "[/]");
        const QList<QColor> colours = uitest::characterColors(input()->document());
        if (memory >= 0)
            allowOnly(memory);
        click("CmdGo");
        allowOnly(-1);
        QCOMPARE(MessageBox::takeShown(), QList<MessageBox::Shown>{message});
        QCOMPARE(code()->code(), firstCode);
        QCOMPARE(caption("Frame2"), QStringLiteral("生成的代码(%1个字符)").arg(firstCode.size()));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));
        QCOMPARE(uitest::characterColors(input()->document()), colours);
    }

    void preview()
    {
        input()->insertAtCaret(QStringLiteral("ab\r\ncd"));
        get<QLineEdit>("TxtStep")->setText(QStringLiteral("2"));
        click("CmdGo");
        QPointer<QTextDocument> before = input()->document(); // the first preview, ours
        click("CmdGo");
        // Groups ab, CR LF, cd at 1, 3, 5 of 6: the preview shows the colours the code names.
        QCOMPARE(code()->code(),
                 QStringLiteral("[color=#2A65FF]ab[/color][color=#803CFF]\r\n[/color][color=#D414FF]cd[/color]"));
        const QColor first(0x2A, 0x65, 0xFF), last(0xD4, 0x14, 0xFF);
        QCOMPARE(uitest::characterColors(input()->document()), (QList<QColor>{first, first, last, last}));
        QCOMPARE(caption("Frame1"), QStringLiteral("要转换的文字(6个字符)"));
        QVERIFY(!before); // no document is kept once it is replaced
        QVERIFY(input()->textCursor().atEnd()); // typing on continues after the text
    }

    void inputPaneText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("read");
        QTest::newRow("CR LF") << "a\r\nb" << "a\r\nb";
        QTest::newRow("LF") << "a\nb" << "a\r\nb";
        QTest::newRow("no-break space kept") << "a\u00A0b" << "a\u00A0b";
    }
    void inputPaneText()
    {
        QFETCH(QString, typed);
        QFETCH(QString, read);
        int changes = 0;
        connect(input(), &InputPane::changed, this, [&] { ++changes; });
        input()->replaceText(typed);
        QCOMPARE(input()->text(), read);
        input()->replaceText(QString());
        input()->setSelectionColor(0x0000FF);
        input()->insertAtCaret(typed);
        QCOMPARE(input()->text(), read);
        QCOMPARE(changes, 3); // one notification a change
        QCOMPARE(uitest::characterColors(input()->document()).value(0), QColor(255, 0, 0));
    }

    void pasteIsPlain_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("short") << "bold\r\nnext";
        QTest::newRow("long, built away from the pane") << QStringLiteral("粗体 bold\r\n").repeated(10000);
    }
    void pasteIsPlain()
    {
        QFETCH(QString, text);
        input()->insertAtCaret(QStringLiteral("[]"));
        input()->moveCursor(QTextCursor::PreviousCharacter);
        auto *data = new QMimeData;
        data->setHtml(QStringLiteral("<b style='color:red'>bold</b>"));
        data->setText(text);
        QApplication::clipboard()->setMimeData(data);
        input()->paste();
        QCOMPARE(input()->text(), "[" + text + "]");
        QCOMPARE(input()->textCursor().position(), 1 + QString(text).replace("\r\n", "\n").size());
        QVERIFY(!uitest::characterColors(input()->document()).contains(QColor(Qt::red)));
    }

    void codePaneCopiesExactCode()
    {
        // One line of code far longer than a display line, then a line break, then more.
        input()->insertAtCaret(QString(300, u'a') + QStringLiteral("\r\nbc"));
        click("CmdGo");
        const QString exact = code()->code();
        QCOMPARE(code()->document()->blockCount(), 1); // hidden in the preview view: not yet shown
        click("OptAll");
        QVERIFY(code()->document()->blockCount() > 3); // the display broke the long line
        // From the keyboard: the locked pane still selects and copies.
        code()->setFocus();
        QTest::keyClick(code(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(code(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), exact);
        QTest::keyClick(code(), Qt::Key_X); // locked against typing
        QCOMPARE(code()->code(), exact);
        // Any part, across display lines and the real line break, is copied from the code.
        QTextCursor cursor = code()->textCursor();
        const int breakAt = code()->document()->find(QStringLiteral("b[/color]")).block().position();
        for (const auto &[from, to] : {std::pair{0, 10}, std::pair{1995, 2010}, std::pair{breakAt - 30, breakAt + 10}}) {
            cursor.setPosition(from);
            cursor.setPosition(to, QTextCursor::KeepAnchor);
            code()->setTextCursor(cursor);
            code()->copy();
            QVERIFY(exact.contains(QApplication::clipboard()->text()));
        }
        QVERIFY(QApplication::clipboard()->text().contains(QStringLiteral("[/color]\r\n[color=")));
        code()->moveCursor(QTextCursor::Start);
        QTest::keyClick(code(), Qt::Key_End, Qt::ShiftModifier);
        QTest::keyClick(code(), Qt::Key_Right, Qt::ShiftModifier);
        code()->copy();
        const QString line = QApplication::clipboard()->text();
        QVERIFY(line.size() > 2 && exact.startsWith(line));
    }
};

QTEST_MAIN(TestConversion)
#include "tst_conversion.moc"
