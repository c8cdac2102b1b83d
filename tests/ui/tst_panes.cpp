#include "ui/codepane.h"
#include "ui/colordialog.h"
#include "ui/frmmain.h"
#include "ui/inputpane.h"
#include "ui/messagebox.h"
#include "uitest.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

using namespace rainquill;
using uitest::control;

class TestPanes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void inputCaption_data();
    void inputCaption();
    void clearAndRestore_data();
    void clearAndRestore();
    void manualCopy();
    void backgroundSwatches_data();
    void backgroundSwatches();

private:
    InputPane *input() const { return control<InputPane>(m_window, "RTInput"); }
    QString caption(const char *frame) const { return control<QGroupBox>(m_window, frame)->title(); }
    void click(const char *name) { QTest::mouseClick(control<QWidget>(m_window, name), Qt::LeftButton); }

    QPointer<frmMain> m_window;
};

void TestPanes::initTestCase()
{
    MessageBox::setRecording(true);
}

void TestPanes::init()
{
    m_window = new frmMain;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    MessageBox::takeShown();
}

void TestPanes::cleanup()
{
    delete m_window;
    QCOMPARE(ColorDialog::queuedAnswers(), 0);
}

void TestPanes::inputCaption_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QColor>("color");
    const QColor blue(0, 0, 255), red(255, 0, 0);
    QTest::newRow("1000") << QString(1000, u'a') << "要转换的文字(1000个字符)" << blue;
    QTest::newRow("1001") << QString(1001, u'a') << "要转换的文字(1001个字符【字符数较大，建议增加步进数】)" << red;
    QTest::newRow("line break counts two") << QString(998, u'a') + "\n" << "要转换的文字(1000个字符)" << blue;
    QTest::newRow("line break over") << QString(999, u'a') + "\n"
                                     << "要转换的文字(1001个字符【字符数较大，建议增加步进数】)" << red;
    QTest::newRow("emoji counts one") << QStringLiteral("😀").repeated(1000) << "要转换的文字(1000个字符)" << blue;
}

void TestPanes::inputCaption()
{
    QFETCH(QString, text);
    QFETCH(QString, caption);
    QFETCH(QColor, color);
    input()->replaceText(QString(2000, u'x')); // red first: the colour must come back
    input()->replaceText(text);
    QCOMPARE(this->caption("Frame1"), caption);
    // The caption is painted in its colour, and that colour stays on the caption: the
    // text in the pane keeps its own black.
    auto *frame = control<QWidget>(m_window, "Frame1");
    QVERIFY(uitest::paints(frame, color, uitest::captionArea(frame)));
    QVERIFY(uitest::paints(input()->viewport(), Qt::black));
    QVERIFY(!uitest::paints(input()->viewport(), color));
}

void TestPanes::clearAndRestore_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("convert");
    QTest::newRow("empty panes") << "" << false;
    QTest::newRow("typed, not converted") << "渐变\r\nab" << false;
    QTest::newRow("converted") << "渐变\r\nab" << true;
}

void TestPanes::clearAndRestore()
{
    QFETCH(QString, text);
    QFETCH(bool, convert);
    input()->replaceText(text);
    if (convert)
        click("CmdGo");
    const QString inputCaption = caption("Frame1");

    click("CmdBack");
    QCOMPARE(input()->text(), text);
    for (const QColor &c : uitest::characterColors(input()->document()))
        QCOMPARE(c, QColor(Qt::black)); // plain again
    QCOMPARE(control<CodePane>(m_window, "TxtCode")->code(), QString());
    QCOMPARE(caption("Frame2"), QStringLiteral("生成的代码(0个字符)"));
    QCOMPARE(caption("Frame1"), inputCaption);

    click("CmdGo");
    click("CmdClear");
    QCOMPARE(input()->text(), QString());
    QCOMPARE(control<CodePane>(m_window, "TxtCode")->code(), QString());
    QCOMPARE(caption("Frame1"), QStringLiteral("要转换的文字(0个字符)"));
    QCOMPARE(caption("Frame2"), QStringLiteral("生成的代码(0个字符)"));
}

void TestPanes::manualCopy()
{
    QApplication::clipboard()->setText(QStringLiteral("before"));
    click("CmdClipCode");
    QCOMPARE(MessageBox::takeShown(),
             (QList<MessageBox::Shown>{{"代码为空，不能复制！", "复制失败", MessageBox::Icon::Critical}}));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));

    input()->replaceText(QStringLiteral("  "));
    click("CmdGo");
    QApplication::clipboard()->setText(QStringLiteral("before"));
    click("CmdClipCode");
    QCOMPARE(MessageBox::takeShown(),
             (QList<MessageBox::Shown>{{"代码已成功复制到剪贴板中！", "复制成功", MessageBox::Icon::Information}}));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("  "));
}

void TestPanes::backgroundSwatches_data()
{
    QTest::addColumn<int>("element");
    QTest::addColumn<int>("answer"); // element 32 asks the colour dialog; -1 cancels
    QTest::addColumn<QColor>("color");
    QTest::newRow("0 black") << 0 << 0 << QColor(0, 0, 0);
    QTest::newRow("31") << 31 << 0 << QColor(255, 224, 192);
    QTest::newRow("custom") << 32 << 0x563412 << QColor(0x12, 0x34, 0x56);
    QTest::newRow("custom cancelled") << 32 << -1 << QColor(Qt::white);
}

void TestPanes::backgroundSwatches()
{
    QFETCH(int, element);
    QFETCH(int, answer);
    QFETCH(QColor, color);
    input()->replaceText(QStringLiteral("abc"));
    click("CmdGo");
    const QList<QColor> colours = uitest::characterColors(input()->document());
    // A right click on a scheme swatch does not stop the background swatches.
    QTest::mouseClick(control<QWidget>(m_window, "PicColorBox_3"), Qt::RightButton);

    auto *swatch = control<QLabel>(m_window, QStringLiteral("labBackColor_%1").arg(element));
    QTest::mouseClick(swatch, Qt::RightButton);
    QCOMPARE(input()->palette().color(QPalette::Base), QColor(Qt::white));
    if (element == 32)
        ColorDialog::queueAnswer(answer < 0 ? std::nullopt : std::optional<KeyColor>(KeyColor(answer)));
    QTest::mouseClick(swatch, Qt::LeftButton);
    QCOMPARE(swatch->palette().color(QPalette::Window), color);
    QCOMPARE(input()->palette().color(QPalette::Base), color);
    QCOMPARE(uitest::characterColors(input()->document()), colours);
    click("labBackColor_1");
    QCOMPARE(input()->palette().color(QPalette::Base), QColor(Qt::white));
}

QTEST_MAIN(TestPanes)
#include "tst_panes.moc"
