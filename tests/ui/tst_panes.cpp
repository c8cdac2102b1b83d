#include "ui/codepane.h"
#include "ui/inputpane.h"
#include "uitest.h"

#include <QClipboard>
#include <QLabel>

using namespace rainquill;

// The two panes' captions, "还原", "清除", "手动复制" and the background swatches.
class TestPanes : public uitest::WindowTest
{
    Q_OBJECT

    InputPane *input() const { return get<InputPane>("RTInput"); }

private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void inputCaption_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QColor>("color");
        const QColor blue(0, 0, 255), red(255, 0, 0);
        const QString warning = QStringLiteral("要转换的文字(1001个字符【字符数较大，建议增加步进数】)");
        QTest::newRow("1000") << QString(1000, u'a') << "要转换的文字(1000个字符)" << blue;
        QTest::newRow("1001") << QString(1001, u'a') << warning << red;
        QTest::newRow("line break counts two") << QString(999, u'a') + "\n" << warning << red;
        QTest::newRow("emoji counts one") << QStringLiteral("😀").repeated(1000) << "要转换的文字(1000个字符)" << blue;
    }
    void inputCaption()
    {
        QFETCH(QString, text);
        QFETCH(QString, caption);
        QFETCH(QColor, color);
        input()->replaceText(QString(2000, u'x')); // red first: the colour must come back
        input()->replaceText(text);
        QCOMPARE(this->caption("Frame1"), caption);
        // The caption is painted in its colour, and the colour stays on the caption: the
        // text keeps its own black.
        QVERIFY(uitest::paints(get("Frame1"), color, uitest::captionArea(get("Frame1"))));
        QVERIFY(uitest::paints(input()->viewport(), Qt::black));
        QVERIFY(!uitest::paints(input()->viewport(), color));
    }

    void clearAndRestore_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("convert");
        QTest::newRow("empty panes") << "" << false;
        QTest::newRow("converted") << "渐变\r\nab" << true;
    }
    void clearAndRestore()
    {
        QFETCH(QString, text);
        QFETCH(bool, convert);
        input()->replaceText(text);
        if (convert)
            click("CmdGo");
        const QString inputCaption = caption("Frame1");
        click("CmdBack");
        QCOMPARE(input()->text(), text);
        QVERIFY(!uitest::characterColors(input()->document()).contains(QColor(0x80, 0x3C, 0xFF))); // plain again
        QCOMPARE(get<CodePane>("TxtCode")->code(), QString());
        QCOMPARE(caption("Frame2"), QStringLiteral("生成的代码(0个字符)"));
        QCOMPARE(caption("Frame1"), inputCaption);
        click("CmdGo");
        click("CmdClear");
        QCOMPARE(input()->text() + get<CodePane>("TxtCode")->code(), QString());
        QCOMPARE(caption("Frame1") + caption("Frame2"), QStringLiteral("要转换的文字(0个字符)生成的代码(0个字符)"));
        MessageBox::takeShown(); // "转换" on an empty pane
    }

    void manualCopy()
    {
        click("CmdClipCode");
        QCOMPARE(MessageBox::takeShown(),
                 (QList<MessageBox::Shown>{{"代码为空，不能复制！", "复制失败", MessageBox::Icon::Critical}}));
        input()->replaceText(QStringLiteral("  "));
        click("CmdGo");
        QApplication::clipboard()->setText(QStringLiteral("before"));
        click("CmdClipCode");
        QCOMPARE(MessageBox::takeShown(),
                 (QList<MessageBox::Shown>{{"代码已成功复制到剪贴板中！", "复制成功", MessageBox::Icon::Information}}));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("  "));
    }

    void backgroundSwatches_data()
    {
        QTest::addColumn<int>("element");
        QTest::addColumn<int>("answer"); // element 32 asks the colour dialog; -1 cancels
        QTest::addColumn<QColor>("color");
        QTest::newRow("0 black") << 0 << 0 << QColor(0, 0, 0);
        QTest::newRow("31") << 31 << 0 << QColor(255, 224, 192);
        QTest::newRow("custom") << 32 << 0x563412 << QColor(0x12, 0x34, 0x56);
        QTest::newRow("custom cancelled") << 32 << -1 << QColor(Qt::white);
    }
    void backgroundSwatches()
    {
        QFETCH(int, element);
        QFETCH(int, answer);
        QFETCH(QColor, color);
        input()->replaceText(QStringLiteral("abc"));
        click("CmdGo");
        const QList<QColor> colours = uitest::characterColors(input()->document());
        click("PicColorBox_3", Qt::RightButton); // does not stop the background swatches
        const QString swatch = QStringLiteral("labBackColor_%1").arg(element);
        click(swatch, Qt::RightButton);
        QCOMPARE(input()->palette().color(QPalette::Base), QColor(Qt::white));
        if (element == 32)
            ColorDialog::queueAnswer(uitest::dialogAnswer(answer));
        click(swatch);
        QCOMPARE(uitest::shownColor(get(swatch), {5, 5}), color);
        QCOMPARE(uitest::shownColor(input()->viewport(), {input()->viewport()->width() - 5, 5}), color);
        QCOMPARE(uitest::characterColors(input()->document()), colours);
        // The border is the plain black line, whatever colour the frame's caption has.
        if (element != 32)
            QCOMPARE(uitest::shownColor(get(swatch), {0, 0}), QColor(Qt::black));
    }
};

QTEST_MAIN(TestPanes)
#include "tst_panes.moc"
