#include "ui/codepane.h"
#include "ui/frmmain.h"
#include "ui/inputpane.h"
#include "ui/messagebox.h"
#include "uitest.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>

using namespace rainquill;
using uitest::control;

class TestConversion : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void convert_data();
    void convert();
    void refusalsChangeNothing_data();
    void refusalsChangeNothing();
    void previewColours();
    void inputPaneText_data();
    void inputPaneText();
    void pasteIsPlain();
    void codePaneCopiesExactCode();

private:
    void type(const QString &text) { input()->insertAtCaret(text); }
    InputPane *input() const { return control<InputPane>(m_window, "RTInput"); }
    CodePane *code() const { return control<CodePane>(m_window, "TxtCode"); }
    void convertNow() { QTest::mouseClick(control<QPushButton>(m_window, "CmdGo"), Qt::LeftButton); }

    QPointer<frmMain> m_window;
};

void TestConversion::initTestCase()
{
    MessageBox::setRecording(true);
}

void TestConversion::init()
{
    m_window = new frmMain;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    QApplication::clipboard()->setText(QStringLiteral("before"));
    MessageBox::takeShown();
}

void TestConversion::cleanup()
{
    delete m_window;
}

void TestConversion::convert_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("step");
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("autoCopy");
    QTest::addColumn<bool>("enterInStepBox");
    QTest::addColumn<QString>("expected");

    // The default scheme: (0, 121, 255) to (255, 0, 255).
    QTest::newRow("abc") << "abc" << "1" << 0 << true << false
                         << "[color=#5551FF]a[/color][color=#AA28FF]b[/color][color=#FF00FF]c[/color]";
    QTest::newRow("line break, Enter") << "a\r\nb" << "1" << 2 << true << true
                                       << "[ftc=#405BFF]a[/ft]\r\n[ftc=#FF00FF]b[/ft]";
    QTest::newRow("emoji, no copy") << "😀😀" << "1" << 0 << false << false
                                    << "[color=#803CFF]😀[/color][color=#FF00FF]😀[/color]";
}

void TestConversion::convert()
{
    QFETCH(QString, text);
    QFETCH(QString, step);
    QFETCH(int, format);
    QFETCH(bool, autoCopy);
    QFETCH(bool, enterInStepBox);
    QFETCH(QString, expected);
    type(text);
    auto *stepBox = control<QLineEdit>(m_window, "TxtStep");
    stepBox->setText(step);
    auto *combo = control<QComboBox>(m_window, "Combo1");
    combo->setCurrentIndex(format);
    emit combo->activated(format);
    if (!autoCopy)
        QTest::mouseClick(control<QCheckBox>(m_window, "ChkAuto"), Qt::LeftButton);
    if (enterInStepBox)
        QTest::keyClick(stepBox, Qt::Key_Return); // "转换" is the default button
    else
        convertNow();

    QCOMPARE(code()->code(), expected);
    QCOMPARE(QApplication::clipboard()->text(), autoCopy ? expected : QStringLiteral("before"));
    const auto length = expected.size() - std::count_if(expected.begin(), expected.end(),
                                                         [](QChar ch) { return ch.isHighSurrogate(); });
    QCOMPARE(control<QGroupBox>(m_window, "Frame2")->title(), QStringLiteral("生成的代码(%1个字符)").arg(length));
    QCOMPARE(input()->text(), text); // the preview keeps the characters
    QVERIFY(MessageBox::takeShown().isEmpty());

    convertNow(); // twice in a row: the same code
    QCOMPARE(code()->code(), expected);
}

void TestConversion::refusalsChangeNothing_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("tpl");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("title");
    QTest::newRow("empty text") << "" << QStringList{"<", "", ">"} << "请输入要转换的文字" << "没有找到要转换的文字";
    QTest::newRow("middle empty") << "abc" << QStringList{"<", "", ">"} << "自定义格式没有填完整"
                                  << "不完整的自定义格式";
}

void TestConversion::refusalsChangeNothing()
{
    QFETCH(QString, text);
    QFETCH(QStringList, tpl);
    QFETCH(QString, prompt);
    QFETCH(QString, title);

    // A first conversion, whose results must survive the refused one.
    type(QStringLiteral("xy"));
    convertNow();
    const QString firstCode = code()->code();
    const QString firstCaption = control<QGroupBox>(m_window, "Frame2")->title();
    QApplication::clipboard()->setText(QStringLiteral("before"));

    input()->replaceText(text);
    auto *combo = control<QComboBox>(m_window, "Combo1");
    combo->setCurrentIndex(3);
    emit combo->activated(3);
    for (int n = 0; n < 3; ++n)
        QTest::keyClicks(control<QLineEdit>(m_window, QStringLiteral("TxtStyle_%1").arg(n)), tpl[n]);
    const QList<QColor> colours = uitest::characterColors(input()->document());
    convertNow();

    QCOMPARE(MessageBox::takeShown(), (QList<MessageBox::Shown>{{prompt, title, MessageBox::Icon::Critical}}));
    QCOMPARE(code()->code(), firstCode);
    QCOMPARE(control<QGroupBox>(m_window, "Frame2")->title(), firstCaption);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));
    QCOMPARE(uitest::characterColors(input()->document()), colours);
}

void TestConversion::previewColours()
{
    type(QStringLiteral("ab\r\ncd"));
    control<QLineEdit>(m_window, "TxtStep")->setText(QStringLiteral("2"));
    convertNow();
    // Groups ab, CR LF, cd at 1, 3, 5 of 6: the preview shows the colours the code names.
    QCOMPARE(code()->code(), QStringLiteral("[color=#2A65FF]ab[/color][color=#803CFF]\r\n[/color][color=#D414FF]cd[/color]"));
    const QColor first(0x2A, 0x65, 0xFF), last(0xD4, 0x14, 0xFF);
    QCOMPARE(uitest::characterColors(input()->document()), (QList<QColor>{first, first, last, last}));
    QCOMPARE(control<QGroupBox>(m_window, "Frame1")->title(), QStringLiteral("要转换的文字(6个字符)"));
}

void TestConversion::inputPaneText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("read");
    QTest::newRow("CR LF") << "a\r\nb" << "a\r\nb";
    QTest::newRow("LF") << "a\nb" << "a\r\nb";
    QTest::newRow("no-break space kept") << "a\u00A0b" << "a\u00A0b";
}

void TestConversion::inputPaneText()
{
    QFETCH(QString, typed);
    QFETCH(QString, read);
    int changes = 0;
    connect(input(), &InputPane::changed, this, [&] { ++changes; });
    input()->replaceText(typed);
    QCOMPARE(input()->text(), read);
    QCOMPARE(changes, 1);
    input()->replaceText(QString());
    input()->setSelectionColor(0x0000FF);
    input()->insertAtCaret(typed);
    QCOMPARE(input()->text(), read);
    QCOMPARE(changes, 3);
    QCOMPARE(uitest::characterColors(input()->document()).value(0), QColor(255, 0, 0));
}

void TestConversion::pasteIsPlain()
{
    auto *data = new QMimeData;
    data->setHtml(QStringLiteral("<b style='color:red'>bold</b>"));
    data->setText(QStringLiteral("bold\r\nnext"));
    QApplication::clipboard()->setMimeData(data);
    input()->paste();
    QCOMPARE(input()->text(), QStringLiteral("bold\r\nnext"));
    const QString html = input()->document()->toHtml();
    QVERIFY(!html.contains(QStringLiteral("font-weight:700")));
    QVERIFY(!html.contains(QStringLiteral("#ff0000")));
}

void TestConversion::codePaneCopiesExactCode()
{
    // One line of code far longer than a display line, then a line break, then more.
    const QString text = QString(u'a').repeated(300) + QStringLiteral("\r\n") + QStringLiteral("bc");
    type(text);
    convertNow();
    const QString exact = code()->code();
    QVERIFY(exact.size() > 7000);
    QCOMPARE(code()->document()->blockCount(), 1); // hidden in the preview view: not yet shown
    QTest::mouseClick(control<QPushButton>(m_window, "OptAll"), Qt::LeftButton);
    QVERIFY(code()->document()->blockCount() > 3); // the display broke the long line

    code()->selectAll();
    code()->copy();
    QCOMPARE(QApplication::clipboard()->text(), exact);

    QTextCursor cursor = code()->textCursor();
    for (const auto &[from, to] : {std::pair{0, 10}, std::pair{1995, 2010}, std::pair{3990, 4100}}) {
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        code()->setTextCursor(cursor);
        code()->copy();
        const QString copied = QApplication::clipboard()->text();
        QVERIFY2(exact.contains(copied), qPrintable(copied));
        QVERIFY(!copied.contains(u'\n') || copied.contains(QStringLiteral("\r\n")));
    }
    // Across the real line break: the copy holds CR LF as the code does.
    const int breakAt = code()->document()->find(QStringLiteral("b[/color]")).block().position();
    cursor.setPosition(breakAt - 30);
    cursor.setPosition(breakAt + 10, QTextCursor::KeepAnchor);
    code()->setTextCursor(cursor);
    code()->copy();
    QVERIFY(QApplication::clipboard()->text().contains(QStringLiteral("[/color]\r\n[color=")));
    QVERIFY(exact.contains(QApplication::clipboard()->text()));
}

QTEST_MAIN(TestConversion)
#include "tst_conversion.moc"
