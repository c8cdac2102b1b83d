#include "uitest.h"

#include "ui/widgets/gradientbox.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAction>
#include <QLineEdit>
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
    // The child window open, once shown.
    static QWidget *child(const QString &name)
    {
        QWidget *window = nullptr;
        return QTest::qWaitFor([&] { return (window = uitest::topLevel(name)) != nullptr; }, 5000) ? window
                                                                                                   : nullptr;
    }
    static QAccessibleInterface *reader(QWidget *widget)
    {
        return QAccessible::queryAccessibleInterface(widget);
    }
    // The focus mark as painted over a swatch: white at its edge, black inside, 2 px each,
    // then the swatch's own colour.
    static bool markedAt(QWidget *frame, QWidget *swatch)
    {
        const QImage image = frame->grab().toImage();
        const QRect r = swatch->geometry();
        const auto at = [&](int x) { return image.pixelColor(x, r.center().y()); };
        return at(r.left()) == Qt::white && at(r.left() + 1) == Qt::white && at(r.left() + 2) == Qt::black
               && at(r.left() + 3) == Qt::black && at(r.right() - 1) == Qt::white && at(r.right() - 3) == Qt::black
               && at(r.left() + 4) == swatch->grab().toImage().pixelColor(4, r.height() / 2);
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
    // When a child window closes, the focus is where it was before the window opened: for a
    // menu command, before the menu bar took it; for the editor, on its swatch.
    void focusComesBack_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("childName");
        QTest::newRow("about, F10, from the step box") << "TxtStep" << "F10" << "frmAbout1";
        QTest::newRow("version check, Alt, from the format list") << "Combo1" << "Alt" << "frmUpdate";
        QTest::newRow("editor, Menu key on custom swatch 3") << "Frame3_1" << "Menu" << "frmCustomColor";
    }
    void focusComesBack()
    {
        QFETCH(QString, from);
        QFETCH(QString, way);
        QFETCH(QString, childName);
        if (way == u"Menu") {
            get<QAction>("MenuCustom")->trigger();
            MessageBox::takeShown(); // color.dat made anew
        }
        QWidget *start = get(from);
        start->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), start);
        if (way == u"Menu") {
            QTest::keyClick(start, Qt::Key_Down);
            QTest::keyClick(start, Qt::Key_Down);
            QTest::keyClick(start, Qt::Key_Menu);
        } else {
            enterMenuBar(way);
            QTRY_VERIFY(bar()->hasFocus());
            QTest::keyClick(bar(), Qt::Key_Right);
            if (childName == u"frmAbout1")
                QTest::keyClick(bar(), Qt::Key_Right);
            QTest::keyClick(bar(), Qt::Key_Return);
        }
        QWidget *window = child(childName);
        QVERIFY(window);
        QVERIFY(!m_window->isEnabled());
        QTest::keyClick(window, Qt::Key_Escape);
        QTRY_VERIFY(!uitest::topLevel(childName));
        QVERIFY(m_window->isEnabled());
        QTRY_COMPARE(QApplication::focusWidget(), start);
        if (way == u"Menu")
            QTRY_VERIFY(markedAt(start, get("PicColorBox_12")));
    }

    // The focus mark shows on every swatch colour, dark or light.
    void focusMarkTwoTones_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QList<int>>("moves");
        QTest::addColumn<QString>("swatch");
        QTest::newRow("blue scheme") << "Frame3_0" << QList<int>{Qt::Key_Down} << "PicColorBox_1";
        QTest::newRow("black background") << "Frame5" << QList<int>{} << "labBackColor_0";
        QTest::newRow("white background") << "Frame5" << QList<int>{Qt::Key_Right} << "labBackColor_1";
        QTest::newRow("自定义") << "Frame5" << QList<int>(17, Qt::Key_Down) << "labBackColor_32";
    }
    void focusMarkTwoTones()
    {
        QFETCH(QString, frame);
        QFETCH(QList<int>, moves);
        QFETCH(QString, swatch);
        get(frame)->setFocus(Qt::TabFocusReason);
        for (int key : moves)
            QTest::keyClick(get(frame), Qt::Key(key));
        QVERIFY(markedAt(get(frame), get(swatch)));
        input()->setFocus();
        QVERIFY(!markedAt(get(frame), get(swatch)));
    }

    // To a screen reader the marked swatch is the focused one and the applied swatch the
    // selected one, in either grid.
    void swatchStates_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QList<int>>("moves");
        QTest::addColumn<QString>("swatch");
        QTest::addColumn<QString>("other");
        QTest::newRow("schemes") << "Frame3_0" << QList<int>{Qt::Key_Right} << "PicColorBox_5"
                                 << "PicColorBox_0";
        QTest::newRow("background colours") << "Frame5" << QList<int>(5, Qt::Key_Down) << "labBackColor_10"
                                            << "labBackColor_0";
    }
    void swatchStates()
    {
        QFETCH(QString, frame);
        QFETCH(QList<int>, moves);
        QFETCH(QString, swatch);
        QFETCH(QString, other);
        const auto state = [&](const QString &name) { return reader(get(name))->state(); };
        QCOMPARE(reader(get(swatch))->role(), QAccessible::ListItem);
        QCOMPARE(reader(get(frame))->role(), QAccessible::List);
        get(frame)->setFocus(Qt::TabFocusReason);
        QVERIFY(state(other).focused && !state(swatch).focused && !reader(get(frame))->state().focused);
        QCOMPARE(reader(get(frame))->focusChild(), reader(get(other)));
        for (int key : moves)
            QTest::keyClick(get(frame), Qt::Key(key));
        QVERIFY(state(swatch).focused && !state(other).focused);
        QVERIFY(!state(swatch).selected);
        reader(get(swatch))->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(state(swatch).selected && !state(other).selected);
        // The first swatch pressed by a screen reader is marked and applied as well.
        reader(get(other))->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(state(other).focused && state(other).selected);
        QVERIFY(!state(swatch).focused && !state(swatch).selected);
        input()->setFocus();
        QVERIFY(!state(other).focused);
        QVERIFY(state(other).selected);
    }

    void schemeSelectedFollowsTheStrip()
    {
        QVERIFY(reader(get("PicColorBox_0"))->state().selected); // the strip starts on scheme 0
        click("CmdContrary");
        for (int n = 0; n < 10; ++n)
            QVERIFY(!reader(get(QStringLiteral("PicColorBox_%1").arg(n)))->state().selected);
        click("CmdContrary");
        QVERIFY(reader(get("PicColorBox_0"))->state().selected);
    }

    // The step box as a spin box: its value is the whole step a conversion uses.
    void stepSpinBox_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("1") << "1" << 1;
        QTest::newRow("100, the largest") << "100" << 100;
        QTest::newRow("2.5 half to even") << "2.5" << 2;
        QTest::newRow("3.5 half to even") << "3.5" << 4;
        QTest::newRow("trailing letters") << "12abc" << 12;
        QTest::newRow("negative") << "-5" << 1;
        QTest::newRow("0.4") << "0.4" << 1;
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
        QCOMPARE(spin->currentValue().toInt(), value);
        QCOMPARE(spin->minimumValue().toInt(), 1);
        QCOMPARE(spin->maximumValue().toInt(), 100);
        QCOMPARE(spin->minimumStepSize().toInt(), 1);
        QCOMPARE(box->textInterface()->text(0, box->textInterface()->characterCount()), text);
    }
    // Only a custom swatch offers a screen reader its menu, which opens the editor as a
    // right click does.
    void swatchMenus()
    {
        QCOMPARE(reader(get("PicColorBox_0"))->actionInterface()->actionNames(),
                 QStringList{QAccessibleActionInterface::pressAction()});
        get<QAction>("MenuCustom")->trigger();
        MessageBox::takeShown(); // color.dat made anew
        QAccessibleActionInterface *custom = reader(get("PicColorBox_13"))->actionInterface();
        QCOMPARE(custom->actionNames(), (QStringList{QAccessibleActionInterface::pressAction(),
                                                     QAccessibleActionInterface::showMenuAction()}));
        custom->doAction(QAccessibleActionInterface::showMenuAction());
        QWidget *editor = child(QStringLiteral("frmCustomColor"));
        QVERIFY(editor);
        QCOMPARE(editor->windowTitle(), QStringLiteral("自定义方案 方案4"));
        editor->close();
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

    // The view options: radio buttons whose arrow keys and screen reader's action move the
    // choice and the layout with it.
    void viewOptions()
    {
        auto *view = get<QPushButton>("OptView");
        QCOMPARE(reader(view)->role(), QAccessible::RadioButton);
        QVERIFY(reader(view)->state().checked && reader(view)->state().checkable);
        QCOMPARE(reader(view)->text(QAccessible::Name), QStringLiteral("预览"));
        QCOMPARE(reader(view)->text(QAccessible::Description), QString()); // the caption read once
        view->setFocus(Qt::TabFocusReason);
        QTest::keyClick(view, Qt::Key_Right);
        QVERIFY(get<QPushButton>("OptAll")->isChecked());
        QVERIFY(get("Frame1")->isVisible() && get("Frame2")->isVisible());
        reader(get("OptCode"))->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(reader(get("OptCode"))->state().checked && !reader(get("OptAll"))->state().checked);
        QVERIFY(!get("Frame1")->isVisible() && get("Frame2")->isVisible());
        get("OptCode")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(get("OptCode"), Qt::Key_Left);
        QVERIFY(get<QPushButton>("OptAll")->isChecked());
        QVERIFY(get("Frame1")->isVisible() && get("Frame2")->isVisible());
        QTest::keyClick(get("OptAll"), Qt::Key_Left);
        QVERIFY(get("Frame1")->isVisible() && !get("Frame2")->isVisible());
    }

    // What paints no text keeps its name; what paints text is read by it, at every moment.
    void namesFollowThePaintedText()
    {
        QCOMPARE(reader(get("Frame1"))->text(QAccessible::Name), QStringLiteral("要转换的文字(0个字符)"));
        QTest::keyClicks(input(), QStringLiteral("abc"));
        QCOMPARE(reader(get("Frame1"))->text(QAccessible::Name), QStringLiteral("要转换的文字(3个字符)"));
        click("CmdGo");
        QVERIFY(reader(get("Frame2"))->text(QAccessible::Name).startsWith(QStringLiteral("生成的代码(")));
        QCOMPARE(reader(get("Frame2"))->text(QAccessible::Name), get<QGroupBox>("Frame2")->title());
        QCOMPARE(reader(get("PicUp_0"))->text(QAccessible::Name), QStringLiteral("步长加一"));
        // The pressed picture of an arrow is not listed beside it.
        QAccessibleInterface *frame4 = reader(get("Frame4"));
        int arrows = 0;
        for (int n = 0; n < frame4->childCount(); ++n)
            arrows += frame4->child(n)->text(QAccessible::Name) == QStringLiteral("步长加一");
        QCOMPARE(arrows, 1);
        QCOMPARE(frame4->indexOfChild(reader(get("PicUp_0"))) >= 0, true);
        QCOMPARE(frame4->child(frame4->indexOfChild(reader(get("TxtStep")))), reader(get("TxtStep")));
    }

    // The about window's three link lines and its logo: links that Enter after Tab from
    // "确 定" (never to the logo), a click and a screen reader's action open, the window staying.
    void aboutLinks_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<int>("tabs"); // from "确 定"; 0: never reached
        QTest::addColumn<QUrl>("address");
        QTest::newRow("blog") << "Label1" << 1 << QUrl("http://www.qingfeng.example");
        QTest::newRow("product page") << "Label2" << 2 << QUrl("http://www.qingfeng.example/rainquill/");
        QTest::newRow("mailbox") << "Label3" << 3 << QUrl("mailto:author@qingfeng.example");
        QTest::newRow("logo") << "PicLogo" << 0 << QUrl("http://www.qingfeng.example");
    }
    void aboutLinks()
    {
        QFETCH(QString, link);
        QFETCH(int, tabs);
        QFETCH(QUrl, address);
        QWidget *about = openChild(QStringLiteral("frmAbout1"));
        QVERIFY(about);
        QWidget *widget = uitest::control(about, link);
        QCOMPARE(about->focusWidget()->objectName(), QStringLiteral("CmdOK"));
        for (int n = 0; n < tabs; ++n)
            QTest::keyClick(about->focusWidget(), Qt::Key_Tab);
        if (tabs) {
            QCOMPARE(about->focusWidget(), widget);
            QTest::keyClick(widget, Qt::Key_Return);
        }
        QTest::mouseClick(widget, Qt::LeftButton);
        QAccessibleInterface *line = reader(widget);
        QCOMPARE(line->role(), QAccessible::Link);
        QVERIFY(!line->text(QAccessible::Name).isEmpty());
        QCOMPARE(line->actionInterface()->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
        line->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction()); // opens nothing
        line->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(OpenAddress::takeOpened(), QList<QUrl>(tabs ? 3 : 2, address));
        QVERIFY(about->isVisible());
        about->close();
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
