#include "ui/codepane.h"
#include "ui/gradientbox.h"
#include "ui/inputpane.h"
#include "uitest.h"

#include <QAccessible>
#include <QCheckBox>
#include <QColorDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>

using namespace rainquill;

// The main window as it starts, its views and formats, and the keyboard.
class TestMainWindow : public uitest::WindowTest
{
    Q_OBJECT

private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void startUpState()
    {
        QCOMPARE(m_window->windowTitle(),
                 QStringLiteral("渐变文字代码生成器 V2.2.0  『青枫博客』http://www.qingfeng.example"));
        QCOMPARE(m_window->centralWidget()->size(), QSize(677, 482));
        QCOMPARE(m_window->strip(), (ColorStrip{0, 121, 255, 255, 0, 255}));
        QVERIFY(get("Frame3_0")->isVisible() && !get("Frame3_1")->isVisible());
        QVERIFY(get<QAction>("MenuDefault")->isChecked() && !get<QAction>("MenuCustom")->isChecked());
        QVERIFY(get<QCheckBox>("ChkAuto")->isChecked());
        QCOMPARE(get<QLineEdit>("TxtStep")->text(), QStringLiteral("1"));
        QVERIFY(get("PicUp_0")->isVisible() && !get("PicUp_1")->isVisible());
        // The custom swatches stay blank until they are first shown.
        QVERIFY(!get<GradientBox>("PicColorBox_10")->strip());
        // The frame's line passes below the middle of its caption, above the controls.
        auto *frame = get("Frame4");
        QVERIFY(uitest::paints(frame, QColor(0, 0, 255), uitest::captionArea(frame)));
        QVERIFY(get("PicColor")->y() > frame->fontMetrics().height() / 2 + 1);
    }

    void viewModes_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QRect>("frame1"); // empty: hidden
        QTest::addColumn<QRect>("frame2");
        QTest::addColumn<QList<int>>("paneHeights");
        // Twips over 15: frames 5355 wide at left 1245 (83 px), tops 90 (6) and 3420 (228).
        const QRect tall(83, 6, 357, 439), upper(83, 6, 357, 217), lower(83, 228, 357, 217);
        QTest::newRow("start") << QStringList{} << tall << QRect() << QList<int>{407, 186};
        QTest::newRow("mixed") << QStringList{"OptAll"} << upper << lower << QList<int>{185, 187};
        QTest::newRow("code") << QStringList{"OptCode"} << QRect() << tall << QList<int>{407, 409};
        QTest::newRow("code, mixed") << QStringList{"OptCode", "OptAll"} << upper << lower << QList<int>{185, 187};
        QTest::newRow("mixed, preview") << QStringList{"OptAll", "OptView"} << tall << QRect() << QList<int>{407, 187};
    }
    void viewModes()
    {
        QFETCH(QStringList, clicks);
        QFETCH(QRect, frame1);
        QFETCH(QRect, frame2);
        QFETCH(QList<int>, paneHeights);
        for (const QString &name : clicks)
            click(name);
        QCOMPARE(get("Frame1")->isVisible() ? get("Frame1")->geometry() : QRect(), frame1);
        QCOMPARE(get("Frame2")->isVisible() ? get("Frame2")->geometry() : QRect(), frame2);
        QCOMPARE((QList<int>{get("RTInput")->height(), get("TxtCode")->height()}), paneHeights);
        QVERIFY(get<QPushButton>(clicks.value(clicks.size() - 1, "OptView"))->isChecked());
    }

    void formats_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("ubb") << 0 << QStringList{"[color=", "]", "[/color]"};
        QTest::newRow("html") << 1 << QStringList{"<font color=", ">", "</font>"};
        QTest::newRow("qq") << 2 << QStringList{"[ftc=", "]", "[/ft]"};
        QTest::newRow("custom") << 3 << QStringList{"", "", ""};
    }
    void formats()
    {
        QFETCH(int, index);
        QFETCH(QStringList, boxes);
        // A custom template typed first: a built-in format overwrites it, the custom one empties it.
        setFormat(3);
        QTest::keyClicks(get("TxtStyle_1"), "typed");
        setFormat(index);
        for (int n = 0; n < 3; ++n) {
            auto *box = get<QLineEdit>(QStringLiteral("TxtStyle_%1").arg(n));
            QCOMPARE(box->text(), boxes[n]);
            QCOMPARE(box->isEnabled(), index == 3);
        }
    }

    void enterConverts_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("converts");
        QTest::newRow("step box") << "TxtStep" << true;
        QTest::newRow("check box") << "ChkAuto" << true;
        QTest::newRow("closed format list") << "Combo1" << true;
        QTest::newRow("view button") << "OptCode" << true;
        QTest::newRow("input pane: a line break") << "RTInput" << false;
        QTest::newRow("a command button takes Enter") << "CmdClear" << false;
    }
    void enterConverts()
    {
        QFETCH(QString, focus);
        QFETCH(bool, converts);
        get<InputPane>("RTInput")->replaceText(QStringLiteral("ab"));
        m_window->activateWindow();
        get(focus)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(get<CodePane>("TxtCode")->code().isEmpty(), !converts);
        if (focus == u"CmdClear")
            QCOMPARE(get<InputPane>("RTInput")->text(), QString());
    }

    // The view buttons are one stop, the selected one, as option buttons are.
    void tabWalksInReadingOrder()
    {
        const QStringList order = {"RTInput", "TxtCode", "CmdLeft", "CmdRight", "CmdRnd",  "CmdContrary",
                                   "CmdGo",   "CmdBack", "CmdClear", "ChkAuto", "CmdClipCode", "TxtStep",
                                   "OptAll",  "Combo1"};
        click("OptAll"); // both panes showing
        m_window->activateWindow();
        get("RTInput")->setFocus();
        QStringList walked{QApplication::focusWidget()->objectName()};
        for (qsizetype n = 1; n < order.size(); ++n) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            walked.append(QApplication::focusWidget()->objectName());
        }
        QCOMPARE(walked, order);
    }

    // Every control and picture a screen reader reaches has a name.
    void namesForScreenReaders()
    {
        for (QWidget *widget : m_window->findChildren<QWidget *>()) {
            const bool reached = widget->focusPolicy() != Qt::NoFocus || qobject_cast<GradientBox *>(widget)
                                 || widget->objectName().startsWith(u"labBackColor")
                                 || widget->objectName().startsWith(u"Pic");
            if (!reached || widget->objectName().isEmpty() || widget->objectName().startsWith(u"qt_"))
                continue;
            QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
            QVERIFY2(accessible && !accessible->text(QAccessible::Name).isEmpty(), qPrintable(widget->objectName()));
        }
        QCOMPARE(QAccessible::queryAccessibleInterface(get("PicColorBox_12"))->text(QAccessible::Name),
                 QStringLiteral("自定义方案3"));
    }

    // Qt's own texts are Chinese too, whatever the locale (the tests run with LANG=C).
    void qtSpeaksChinese()
    {
        QMessageBox box(QMessageBox::Critical, "t", "p", QMessageBox::Ok);
        QCOMPARE(box.button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
        QCOMPARE(QColorDialog().windowTitle(), QStringLiteral("选择颜色"));
        std::unique_ptr<QMenu> menu(get<InputPane>("RTInput")->createStandardContextMenu());
        QVERIFY(menu->actions().last()->text().contains(QStringLiteral("全选")));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
