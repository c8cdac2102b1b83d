#include "schemes/builtinschemes.h"
#include "ui/widgets/codepane.h"
#include "ui/widgets/gradientbox.h"
#include "ui/widgets/inputpane.h"
#include "uitest.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>

#include <sys/resource.h>
#include <unistd.h>

using namespace rainquill;
using uitest::reader;

// The background swatches' colours, two to a row.
const quint32 BackColors[32] = {0x000000, 0xFFFFFF, 0x808080, 0xC0C0C0, 0x800000, 0xFF0000, 0x808000, 0xFFFF00,
                                0x008000, 0x00FF00, 0x008080, 0x00FFFF, 0x000080, 0x0000FF, 0x800080, 0xFF00FF,
                                0x808040, 0xFFFF80, 0x004040, 0x00FF80, 0x0080FF, 0x80FFFF, 0x004080, 0x8080FF,
                                0x8000FF, 0xFF0080, 0x804000, 0xFF8040, 0xFFC0FF, 0xFFC0C0, 0xC0FFC0, 0xFFE0C0};

// The main window: as it starts, its views, formats and keyboard, the menu bar's keyboard
// mode, the swatch grids, the key-colour strip, the step row and the step box as a screen
// reader's spin box, the design's colours and tables, and "转换": the code, the clipboard
// and the refusals.
class TestMainWindow : public uitest::WindowTest
{
    Q_OBJECT

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

    // What a screen reader hears of a swatch grid: the swatches it is told are focused and
    // those it is told are selected.
    static QString heard(QWidget *grid)
    {
        QAccessibleInterface *list = reader(grid);
        QStringList focused, selected;
        for (int n = 0; n < list->childCount(); ++n) {
            const QString name = list->child(n)->object()->objectName();
            if (list->child(n)->state().focused)
                focused << name;
            if (list->child(n)->state().selected)
                selected << name;
        }
        return QStringLiteral("focused %1, selected %2").arg(focused.join(u' '), selected.join(u' '));
    }

    QMenuBar *bar() const { return m_window->menuBar(); }

    // Whether title n of the bar is painted highlighted, in the palette's highlight.
    bool highlighted(int n)
    {
        const QRect title = bar()->actionGeometry(bar()->actions().at(n)).adjusted(2, 2, -2, -2);
        return uitest::paintsNear(bar(), QApplication::palette().color(QPalette::Highlight), 8, title);
    }

private slots:
    void init()
    {
        openWindow();
        QApplication::clipboard()->setText(QStringLiteral("before"));
    }

    void cleanup() { closeWindow(); }

    void startUpState()
    {
        QCOMPARE(m_window->windowTitle(),
                 QStringLiteral("渐变文字代码生成器 V2.2.0  『青枫博客』http://www.qingfeng.example"));
        QCOMPARE(m_window->centralWidget()->size(), QSize(677, 482));
        QCOMPARE(m_window->strip(), (ColorStrip{0, 121, 255, 255, 0, 255}));
        QCOMPARE(m_window->focusWidget(), input()); // ready for typing
        QVERIFY(get("Frame3_0")->isVisible() && !get("Frame3_1")->isVisible());
        QVERIFY(get<QAction>("MenuDefault")->isChecked() && !get<QAction>("MenuCustom")->isChecked());
        QVERIFY(get<QCheckBox>("ChkAuto")->isChecked());
        QVERIFY(!get<GradientBox>("PicColorBox_10")->strip()); // blank until first shown
        QAccessibleInterface *view = reader(get("OptView")); // a radio button, its caption read once
        QCOMPARE(view->role(), QAccessible::RadioButton);
        QVERIFY(view->state().checkable);
        QCOMPARE((QStringList{view->text(QAccessible::Name), view->text(QAccessible::Description)}),
                 (QStringList{"预览", ""}));
        // The frame's line passes through the middle of its caption, above the controls.
        auto *frame = get("Frame4");
        QVERIFY(uitest::paints(frame, QColor(0, 0, 255), uitest::captionArea(frame)));
        QVERIFY(get("PicColor")->y() > frame->fontMetrics().height() / 2 + 1);
    }

    // The views, chosen by a click or an arrow key on the view options; to a screen reader
    // the options are radio buttons, the chosen one checked.
    void viewModes_data()
    {
        QTest::addColumn<QStringList>("steps"); // an option clicked, or "Left" or "Right" on it
        QTest::addColumn<QRect>("frame1");      // empty: hidden
        QTest::addColumn<QRect>("frame2");
        QTest::addColumn<QList<int>>("paneHeights");
        // Twips over 15: frames 5355 wide at left 1245 (83 px), tops 90 (6) and 3420 (228).
        const QRect tall(83, 6, 357, 439), upper(83, 6, 357, 217), lower(83, 228, 357, 217);
        const QList<int> mixed{185, 187}, code{407, 409};
        QTest::newRow("start") << QStringList{} << tall << QRect() << QList<int>{407, 186};
        QTest::newRow("mixed") << QStringList{"OptAll"} << upper << lower << mixed;
        QTest::newRow("code") << QStringList{"OptCode"} << QRect() << tall << code;
        QTest::newRow("mixed, Right from the preview") << QStringList{"Right OptView"} << upper << lower << mixed;
        QTest::newRow("mixed, Left from the code") << QStringList{"OptCode", "Left OptCode"} << upper << lower << mixed;
        QTest::newRow("preview after the code") << QStringList{"OptCode", "OptView"} << tall << QRect() << code;
        QTest::newRow("preview, Left from mixed") << QStringList{"OptAll", "Left OptAll"} << tall << QRect()
                                                  << QList<int>{407, 187};
    }

    void viewModes()
    {
        QFETCH(QStringList, steps);
        QFETCH(QRect, frame1);
        QFETCH(QRect, frame2);
        QFETCH(QList<int>, paneHeights);
        for (const QString &step : steps) {
            const QString way = step.section(u' ', 0, -2), option = step.section(u' ', -1);
            if (way.isEmpty()) {
                click(option);
            } else {
                get(option)->setFocus(Qt::TabFocusReason);
                QTest::keyClick(get(option), way == u"Left" ? Qt::Key_Left : Qt::Key_Right);
            }
        }
        QCOMPARE(get("Frame1")->isVisible() ? get("Frame1")->geometry() : QRect(), frame1);
        QCOMPARE(get("Frame2")->isVisible() ? get("Frame2")->geometry() : QRect(), frame2);
        QCOMPARE((QList<int>{get("RTInput")->height(), get("TxtCode")->height()}), paneHeights);
        const QString chosen = frame1.isEmpty() ? "OptCode" : frame2.isEmpty() ? "OptView" : "OptAll";
        for (const QString option : {"OptView", "OptAll", "OptCode"})
            QCOMPARE(reader(get(option))->state().checked, option == chosen);
    }

    // A built-in format fills and locks the template boxes over what was typed; the custom
    // format empties and opens them.
    void formats()
    {
        const QStringList templates[4] = {{"[color=", "]", "[/color]"}, {"<font color=", ">", "</font>"},
                                          {"[ftc=", "]", "[/ft]"}, {"", "", ""}};
        for (int index = 0; index < 4; ++index) {
            setFormat(3);
            QTest::keyClicks(get("TxtStyle_1"), "typed");
            setFormat(index);
            for (int n = 0; n < 3; ++n) {
                auto *box = get<QLineEdit>(QStringLiteral("TxtStyle_%1").arg(n));
                QCOMPARE(box->text(), templates[index][n]);
                QCOMPARE(box->isEnabled(), index == 3);
            }
        }
    }

    void enterConverts_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("converts");
        for (const char *focus : {"TxtStep", "ChkAuto", "Combo1", "OptCode"}) // the format list closed
            QTest::newRow(focus) << focus << true;
        QTest::newRow("input pane: a line break") << "RTInput" << false;
        QTest::newRow("a command button takes Enter") << "CmdClear" << false;
    }

    void enterConverts()
    {
        QFETCH(QString, focus);
        QFETCH(bool, converts);
        input()->replaceText(QStringLiteral("ab"));
        m_window->activateWindow();
        get(focus)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(code().isEmpty(), !converts);
    }

    // The view buttons are one stop, the selected one, as option buttons are.
    void tabWalksInReadingOrder()
    {
        const QStringList order = {"RTInput", "TxtCode", "Frame3_0",    "CmdLeft", "CmdRight", "CmdRnd",
                                   "CmdContrary", "CmdGo", "CmdBack",    "CmdClear", "ChkAuto",  "CmdClipCode",
                                   "TxtStep", "OptAll",  "Combo1",      "Frame5"};
        click("OptAll"); // both panes showing
        m_window->activateWindow();
        get("RTInput")->setFocus();
        QStringList walked{QApplication::focusWidget()->objectName()};
        while (walked.size() < order.size()) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            walked.append(QApplication::focusWidget()->objectName());
        }
        QCOMPARE(walked, order);
    }

    // Every control and picture a screen reader reaches has a name; a frame is read by the
    // caption it paints, and holds the controls inside it.
    void namesForScreenReaders()
    {
        for (QWidget *widget : m_window->findChildren<QWidget *>()) {
            const QString name = widget->objectName();
            const bool reached = widget->focusPolicy() != Qt::NoFocus || name.startsWith(u"labBackColor")
                                 || name.startsWith(u"Pic");
            if (reached && !name.isEmpty() && !name.startsWith(u"qt_"))
                QVERIFY2(!reader(widget)->text(QAccessible::Name).isEmpty(), qPrintable(name));
        }
        QCOMPARE(reader(get("PicColorBox_12"))->text(QAccessible::Name), QStringLiteral("自定义方案3"));
        QCOMPARE(reader(get("PicColor"))->text(QAccessible::Name), QStringLiteral("渐变颜色条"));
        input()->replaceText(QStringLiteral("abc"));
        click("CmdGo");
        QCOMPARE(reader(get("Frame2"))->text(QAccessible::Name), QStringLiteral("生成的代码(72个字符)"));
        QAccessibleInterface *frame4 = reader(get("Frame4"));
        QVERIFY(frame4->indexOfChild(reader(get("PicUp_0"))) >= 0);
        QCOMPARE(frame4->child(frame4->indexOfChild(reader(get("TxtStep")))), reader(get("TxtStep")));
        QCOMPARE(frame4->child(frame4->childCount()), nullptr); // one past the last: none
        QCOMPARE(frame4->child(-1), nullptr);
    }

    // Qt's own texts are Chinese too, whatever the locale (the tests run with LANG=C).
    void qtSpeaksChinese()
    {
        QMessageBox box(QMessageBox::Critical, "t", "p", QMessageBox::Ok);
        QCOMPARE(box.button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
        QCOMPARE(QColorDialog().windowTitle(), QStringLiteral("选择颜色"));
        std::unique_ptr<QMenu> menu(input()->createStandardContextMenu());
        QVERIFY(menu->actions().last()->text().contains(QStringLiteral("全选")));
    }

    // A background swatch (a right click does nothing, nor does a right click on a scheme
    // swatch before it) colours the pane's background and leaves the text's colours; "自定义"
    // asks the colour dialog, and a cancel changes nothing.
    void backgroundSwatches()
    {
        input()->replaceText(QStringLiteral("abc"));
        click("CmdGo");
        const QList<QColor> colours = uitest::characterColors(input()->document());
        const QColor custom(0x12, 0x34, 0x56);
        const std::tuple<int, std::optional<KeyColor>, QColor> cases[] = {
            {0, {}, QColor(0, 0, 0)}, {32, 0x563412, custom}, {32, std::nullopt, custom}};
        for (const auto &[element, answer, color] : cases) {
            click("PicColorBox_3", Qt::RightButton);
            const QString swatch = QStringLiteral("labBackColor_%1").arg(element);
            click(swatch, Qt::RightButton);
            if (element == 32)
                ColorDialog::queueAnswer(answer);
            click(swatch);
            const QImage painted = get(swatch)->grab().toImage();
            QCOMPARE(painted.pixelColor(5, 5), color);
            // The border is the plain black line, whatever colour the frame's caption has.
            QCOMPARE(painted.pixelColor(0, 0), element == 32 ? color : QColor(Qt::black));
            QVERIFY(uitest::paints(input()->viewport(), color));
            QCOMPARE(uitest::characterColors(input()->document()), colours);
        }
    }

    // From the start strip (0079FF to FF00FF): the colour dialog, a cancel, the built-in
    // swatches by mouse button, the swap as the box paints it, and the random pair, each
    // drawn into the box; the scheme swatch that shows the strip is the selected one.
    void strip_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("answer"); // the colour dialog's: -1 a cancel, -2 not asked
        QTest::addColumn<QString>("description"); // the box's, to a screen reader; empty: at random
        const int left = Qt::LeftButton;
        const QString start = QStringLiteral("从 #0079FF 到 #FF00FF");
        QTest::newRow("start colour picked") << "CmdLeft" << left << 0x563412 << "从 #123456 到 #FF00FF";
        QTest::newRow("end colour picked") << "CmdRight" << left << 0x000001 << "从 #0079FF 到 #010000";
        QTest::newRow("dialog cancelled") << "CmdRight" << left << -1 << start;
        QTest::newRow("swatch, right button") << "PicColorBox_9" << int(Qt::RightButton) << -2 << start;
        QTest::newRow("swatch, middle button") << "PicColorBox_9" << int(Qt::MiddleButton) << -2 << start;
        QTest::newRow("swatch, left button") << "PicColorBox_9" << left << -2 << "从 #000000 到 #0000FF";
        QTest::newRow("swapped") << "CmdContrary" << left << -2 << "从 #FF00FF 到 #0079FF";
        QTest::newRow("at random") << "CmdRnd" << left << -2 << QString();
    }

    void strip()
    {
        QFETCH(QString, control);
        QFETCH(int, button);
        QFETCH(int, answer);
        QFETCH(QString, description);
        auto *box = get<GradientBox>("PicColor");
        if (answer != -2)
            ColorDialog::queueAnswer(answer >= 0 ? std::optional<KeyColor>(answer) : std::nullopt);
        const QImage before = box->grab().toImage();
        click(control, Qt::MouseButton(button));
        QCOMPARE(box->strip(), std::optional<ColorStrip>(m_window->strip()));
        if (description.isEmpty()) {
            QVERIFY(box->grab().toImage() != before); // a new strip at random, painted
        } else {
            QCOMPARE(reader(box)->text(QAccessible::Description), description);
            const auto scheme = std::find(std::begin(BuiltInSchemes), std::end(BuiltInSchemes), m_window->strip());
            QCOMPARE(heard(get("Frame3_0")).section(QStringLiteral("selected "), 1),
                     scheme == std::end(BuiltInSchemes)
                         ? QString()
                         : QStringLiteral("PicColorBox_%1").arg(scheme - std::begin(BuiltInSchemes)));
        }
        if (control == u"CmdContrary") { // the box painted as its mirror
            const QImage after = box->grab().toImage();
            const int y = before.height() / 2, last = before.width() - 1;
            for (int x = 0; x <= last; ++x)
                QCOMPARE(after.pixelColor(x, y), before.pixelColor(last - x, y));
        }
    }

    // The step box settles what is typed; an arrow, any button, steps it and shows pressed;
    // Up and Down step as the arrows do; a corrected text is selected, so typing replaces it.
    // A screen reader reads and selects its text, and sets and steps its value.
    void stepRow()
    {
        auto *step = get<QLineEdit>("TxtStep");
        step->selectAll();
        QTest::keyClicks(step, "150"); // "1", "15", then "150", which settles to "100"
        QCOMPARE(step->text(), QStringLiteral("100"));
        step->setText(QStringLiteral("7a"));
        QWidget *rest = get("PicUp_0"), *pressed = get("PicUp_1");
        QTest::mousePress(rest, Qt::RightButton);
        QCOMPARE(step->text(), QStringLiteral("8"));
        QVERIFY(!rest->isVisible() && pressed->isVisible());
        QTest::mouseRelease(pressed, Qt::RightButton);
        QVERIFY(rest->isVisible() && !pressed->isVisible());
        step->setFocus();
        QTest::keyClick(step, Qt::Key_Up);
        QTest::keyClick(step, Qt::Key_Up);
        QCOMPARE(step->text(), QStringLiteral("10"));
        QTest::keyClick(step, Qt::Key_Down);
        QCOMPARE(step->text(), QStringLiteral("9"));
        step->selectAll();
        QTest::keyClick(step, Qt::Key_Backspace); // empty: corrected to "1"
        QTest::keyClicks(step, QStringLiteral("5"));
        QCOMPARE(step->text(), QStringLiteral("5"));
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
        box->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
        QCOMPARE(step->text(), QStringLiteral("8"));
        box->valueInterface()->setCurrentValue(250);
        QCOMPARE(step->text(), QStringLiteral("100"));
        box->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
        QCOMPARE(step->text(), QStringLiteral("99"));
        box->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
        box->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
        QCOMPARE(step->text(), QStringLiteral("100"));
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
        QCOMPARE(code(), expected);
        QCOMPARE(QApplication::clipboard()->text(), autoCopy ? expected : QStringLiteral("before"));
        QCOMPARE(caption("Frame2"), QStringLiteral("生成的代码(%1个字符)").arg(expected.toUcs4().size()));
        QCOMPARE(input()->text(), text); // the preview keeps the characters
        click("CmdGo");                  // twice in a row: the same code
        QCOMPARE(code(), expected);
    }

    void refusalsChangeNothing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("middle");
        QTest::addColumn<qint64>("memory"); // address space left for the conversion; -1: no limit
        QTest::addColumn<MessageBox::Shown>("message");
        const auto critical = [](const char *prompt, const char *title) {
            return MessageBox::Shown{prompt, title, MessageBox::Icon::Critical};
        };
        QTest::newRow("empty text") << "" << "" << qint64(-1) << critical("请输入要转换的文字", "没有找到要转换的文字");
        QTest::newRow("middle of the template empty")
            << "abc" << "" << qint64(-1) << critical("自定义格式没有填完整", "不完整的自定义格式");
        // 112 million characters of code: over the limit, refused before it is built.
        QTest::newRow("code over the limit") << QString(1'000'000, u'a') << QString(100, u'm') << qint64(-1)
                                             << critical("生成的代码太长，请增大步长后再转换", "代码太长");
        // 65 MB of code with 60 MB of address space left: the allocation fails and is refused.
        QTest::newRow("out of memory") << QString(2'500'000, u'a') << "]" << qint64(60 << 20)
                                       << critical("内存不足，请分段转换", "内存不足");
    }

    void refusalsChangeNothing()
    {
        QFETCH(QString, text);
        QFETCH(QString, middle);
        QFETCH(qint64, memory);
        QFETCH(MessageBox::Shown, message);
        input()->replaceText(QStringLiteral("xy"));
        click("CmdGo"); // its results must survive the refused conversion
        const QString firstCode = code();
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
        QCOMPARE(code(), firstCode);
        QCOMPARE(caption("Frame2"), QStringLiteral("生成的代码(%1个字符)").arg(firstCode.size()));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));
        QCOMPARE(uitest::characterColors(input()->document()), colours);
    }

    // The design's colours, each read once from what is painted.
    void designColours_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QColor>("color");
        // The frames' captions, "每", "个字递进一次颜色" and the text of the "自定义" swatch.
        for (const char *control : {"Frame1", "Frame3_0", "Frame4", "Frame5", "Label2", "Label3", "labBackColor_32"})
            QTest::newRow(control) << control << QColor(0, 0, 255);
        for (const char *control : {"Label4", "Label5", "Label6"}) // "格式：", "#0022FF", "文字"
            QTest::newRow(control) << control << QColor(64, 0, 0);
        for (const char *control : {"CmdGo", "OptAll"}) // a command's face, a view option's
            QTest::newRow(control) << control << QColor(240, 240, 255);
        QTest::newRow("the step's note") << "LabStep" << QColor(255, 0, 0);
        QTest::newRow("自动复制") << "ChkAuto" << QColor(192, 64, 0);
        QTest::newRow("window") << "client" << QColor(244, 244, 244);
    }

    void designColours()
    {
        QFETCH(QString, control);
        QFETCH(QColor, color);
        QWidget *widget = get(control);
        QVERIFY(uitest::paintsNear(widget, color, 40,
                                   qobject_cast<QGroupBox *>(widget) ? uitest::captionArea(widget) : QRect()));
    }

    // The background swatches' table and the built-in schemes, as the user sees them.
    void designTables()
    {
        for (int n = 0; n < 32; ++n) {
            QWidget *swatch = get(QStringLiteral("labBackColor_%1").arg(n));
            QCOMPARE(swatch->grab().toImage().pixelColor(swatch->width() / 2, swatch->height() / 2),
                     QColor(QRgb(BackColors[n])));
        }
        const char *schemes[10] = {"#0079FF 到 #FF00FF", "#0000FF 到 #00F0FF", "#FF0000 到 #FFE600",
                                   "#000040 到 #B0B0FF", "#008040 到 #0080FF", "#FF0000 到 #0000FF",
                                   "#FF0000 到 #FF00FF", "#000000 到 #FF0000", "#000000 到 #00FF00",
                                   "#000000 到 #0000FF"};
        for (int n = 0; n < 10; ++n) {
            QWidget *swatch = get(QStringLiteral("PicColorBox_%1").arg(n));
            QCOMPARE(reader(swatch)->text(QAccessible::Description),
                     QStringLiteral("从 ") + QString::fromUtf8(schemes[n]));
        }
    }

    // The swatch grids from the keyboard: one Tab stop each, entered on the first swatch;
    // arrows over the schemes' two columns of five and the backgrounds' 2 x 16 with "自定义"
    // below, never wrapping; Space on a scheme and Enter on a background as a left click.
    // The mark shows white and black on any colour; a screen reader hears the marked swatch
    // as the focused one and the applied one as the selected one, and its press does both.
    void swatchGridsFromTheKeyboard_data()
    {
        QTest::addColumn<QString>("grid");
        QTest::addColumn<QString>("moves"); // l, r, u, d
        QTest::addColumn<int>("swatch");    // marked by the moves, then applied
        QTest::newRow("first scheme") << "Frame3_0" << "" << 0;
        QTest::newRow("blue scheme below it") << "Frame3_0" << "d" << 1;
        QTest::newRow("second column, second row") << "Frame3_0" << "rd" << 6;
        QTest::newRow("no wrap at the bottom") << "Frame3_0" << "dddddd" << 4;
        QTest::newRow("no wrap at the right") << "Frame3_0" << "rrr" << 5;
        QTest::newRow("last scheme") << "Frame3_0" << "rdddd" << 9;
        QTest::newRow("black background") << "Frame5" << "" << 0;
        QTest::newRow("white background") << "Frame5" << "r" << 1;
        QTest::newRow("#C0C0C0") << "Frame5" << "rd" << 3;
        QTest::newRow("last row, right") << "Frame5" << "r" + QString(15, u'd') << 31;
        QTest::newRow("自定义 from the left column") << "Frame5" << QString(17, u'd') << 32;
        QTest::newRow("自定义 from the right column") << "Frame5" << "r" + QString(20, u'd') << 32;
    }

    void swatchGridsFromTheKeyboard()
    {
        QFETCH(QString, grid);
        QFETCH(QString, moves);
        QFETCH(int, swatch);
        const bool schemes = grid == u"Frame3_0";
        const QString names = schemes ? QStringLiteral("PicColorBox_%1") : QStringLiteral("labBackColor_%1");
        QWidget *frame = get(grid), *first = get(names.arg(0)), *marked = get(names.arg(swatch));
        QCOMPARE(reader(frame)->role(), QAccessible::List);
        QCOMPARE(reader(marked)->role(), QAccessible::ListItem);
        // Only a custom swatch offers a menu.
        QCOMPARE(reader(marked)->actionInterface()->actionNames(),
                 QStringList{QAccessibleActionInterface::pressAction()});
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        input()->setFocus();
        const QImage unfocused = frame->grab().toImage(); // no mark before the grid has the focus
        // The code pane is hidden: the schemes are the next stop, the backgrounds the last.
        QTest::keyClick(input(), schemes ? Qt::Key_Tab : Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), frame);
        QVERIFY(uitest::markedAt(frame, first));
        QVERIFY(!reader(frame)->state().focused);
        const QHash<QChar, Qt::Key> keys{{u'l', Qt::Key_Left}, {u'r', Qt::Key_Right}, {u'u', Qt::Key_Up},
                                         {u'd', Qt::Key_Down}};
        for (const QChar move : moves)
            QTest::keyClick(frame, keys[move]);
        QVERIFY(uitest::markedAt(frame, marked));
        QCOMPARE(reader(frame)->focusChild(), reader(marked));
        const QString hears = QStringLiteral("focused %1, selected %2"), name = marked->objectName();
        QCOMPARE(heard(frame), hears.arg(name, schemes ? QStringLiteral("PicColorBox_0") : QString())); // the start's
        if (swatch == 32)
            ColorDialog::queueAnswer(0x563412);
        QTest::keyClick(frame, schemes ? Qt::Key_Space : Qt::Key_Return);
        QCOMPARE(heard(frame), hears.arg(name, name));
        if (schemes)
            QCOMPARE(m_window->strip(), BuiltInSchemes[size_t(swatch)]);
        else
            QVERIFY(uitest::paints(input()->viewport(),
                                   swatch < 32 ? QColor(QRgb(BackColors[swatch])) : QColor(0x12, 0x34, 0x56)));
        QVERIFY(code().isEmpty()); // Enter stayed with the swatches
        reader(first)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(heard(frame), hears.arg(first->objectName(), first->objectName()));
        input()->setFocus();
        QVERIFY(!uitest::markedAt(frame, first));
        if (swatch != 32) // else the custom swatch shows the colour picked
            QCOMPARE(frame->grab().toImage(), unfocused);
        QCOMPARE(heard(frame), hears.arg(QString(), first->objectName()));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
