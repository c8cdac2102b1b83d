#include "schemefixture.h"
#include "ui/base/controls.h"
#include "ui/frmcustomcolor.h"
#include "ui/schemefilemessages.h"
#include "ui/widgets/gradientbox.h"
#include "ui/widgets/keycolorstrip.h"
#include "uitest.h"

#include <QAccessible>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QWindow>

using namespace rainquill;
using namespace schemefixture;
using uitest::reader;

// The child windows and the thank-you window: how they open, take the keyboard, and give
// control and the focus back or end the program; the about window's links; the scheme
// editor and the custom swatches over color.dat in the working folder.
class TestWindows : public uitest::WindowTest
{
    Q_OBJECT

    static inline const MessageBox::Shown Damaged{"【color.dat】文件损坏，将重新生成此文件！", "文件损坏",
                                                  MessageBox::Icon::Warning};

    frmCustomColor *openEditor() { return qobject_cast<frmCustomColor *>(openChild("frmCustomColor")); }
    std::optional<ColorStrip> swatch(int index) const
    {
        return get<GradientBox>(QStringLiteral("PicColorBox_%1").arg(index))->strip();
    }

private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    // A child window opens from the menu bar by the keyboard, the editor by a key on the
    // marked custom swatch or by a screen reader's menu on it, as a right click would. It
    // takes the keyboard on its default button; the main window is disabled and refuses to
    // close. Its key unloads it, and the focus comes back where it was: for a menu command,
    // before the menu bar took it; for the editor, on its swatch. It then opens afresh.
    void children_data()
    {
        QTest::addColumn<QString>("child");
        QTest::addColumn<QString>("way");  // into the menu bar, or on the swatch: a key or "reader"
        QTest::addColumn<QString>("from"); // the focus before
        QTest::addColumn<int>("key");      // that closes it
        const int esc = Qt::Key_Escape, enter = Qt::Key_Return;
        QTest::newRow("about, F10 from the step box, Enter") << "frmAbout1" << "F10" << "TxtStep" << enter;
        QTest::newRow("version check, Alt from the format list, Esc") << "frmUpdate" << "Alt" << "Combo1" << esc;
        QTest::newRow("editor, Menu key, Esc") << "frmCustomColor" << "Menu" << "Frame3_1" << esc;
        QTest::newRow("editor, Shift+F10, Esc") << "frmCustomColor" << "Shift+F10" << "Frame3_1" << esc;
        QTest::newRow("editor, a screen reader's menu, Esc") << "frmCustomColor" << "reader" << "Frame3_1" << esc;
        QTest::newRow("editor, a right click, Esc") << "frmCustomColor" << "mouse" << "Frame3_1" << esc;
    }
    void children()
    {
        QFETCH(QString, child);
        QFETCH(QString, way);
        QFETCH(QString, from);
        QFETCH(int, key);
        const bool editor = child == u"frmCustomColor";
        const QString defaultButton = editor ? "CmdSave" : child == u"frmUpdate" ? "CmdUpdate" : "CmdOK";
        if (editor) {
            get<QAction>("MenuCustom")->trigger();
            QCOMPARE(MessageBox::takeShown(), QList<MessageBox::Shown>{Damaged}); // color.dat made anew
        }
        QWidget *start = get(from);
        start->setFocus(Qt::TabFocusReason);
        if (way == u"mouse") { // the mark is on the first swatch
            QTest::mouseClick(get("PicColorBox_17"), Qt::RightButton);
        } else if (editor) {
            for (const Qt::Key move : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Down})
                QTest::keyClick(start, move);
            QAccessibleActionInterface *swatch = reader(get("PicColorBox_17"))->actionInterface();
            QCOMPARE(swatch->actionNames(), (QStringList{QAccessibleActionInterface::pressAction(),
                                                         QAccessibleActionInterface::showMenuAction()}));
            if (way == u"reader")
                swatch->doAction(QAccessibleActionInterface::showMenuAction());
            else
                QTest::keyClick(start, way == u"Menu" ? Qt::Key_Menu : Qt::Key_F10,
                                way == u"Menu" ? Qt::NoModifier : Qt::ShiftModifier);
        } else {
            uitest::enterMenuBar(way);
            QTRY_VERIFY(m_window->menuBar()->hasFocus());
            for (int n = child == u"frmAbout1" ? 2 : 1; n > 0; --n)
                QTest::keyClick(m_window->menuBar(), Qt::Key_Right);
            QTest::keyClick(m_window->menuBar(), Qt::Key_Return);
        }
        QPointer<QWidget> window;
        QTRY_VERIFY((window = uitest::topLevel(child)));
        if (editor) // the second column's third
            QCOMPARE(window->windowTitle(), QStringLiteral("自定义方案 方案8"));
        QVERIFY(!m_window->isEnabled());
        QCOMPARE(reader(window)->role(), QAccessible::Dialog);
        QCOMPARE(window->focusWidget(), uitest::control(window, defaultButton));
        // A close request to the disabled main window is refused while the child is open.
        QVERIFY(!m_window->close());
        QVERIFY(!uitest::topLevel("frmAbout2"));
        QVERIFY(window->isVisible());
        QTest::keyClick(window->focusWidget(), Qt::Key(key));
        QTRY_VERIFY(!window); // unloaded
        QVERIFY(m_window->isEnabled());
        QCOMPARE(EndProgram::takeRequests(), 0);
        QTRY_COMPARE(QApplication::focusWidget(), start);
        if (editor)
            QTRY_VERIFY(uitest::markedAt(start, get("PicColorBox_17")));
        QVERIFY(openChild(child)); // loaded afresh
    }

    // The about window in the design's colours, the heading red, the links blue, the about
    // text navy, read as the text it is. Its three link lines and its logo open their
    // addresses by a click and a screen reader's press, the lines also by Enter after Tab
    // from "确 定", which never stops at the logo; the window stays.
    void aboutWindow()
    {
        QWidget *about = openChild("frmAbout1");
        for (const auto &[name, color] : {std::pair{"LabHead", QColor(255, 0, 0)}, {"Label1", QColor(0, 0, 255)},
                                          {"labAbout", QColor(0, 0, 128)}})
            QVERIFY2(uitest::paintsNear(uitest::control(about, name), color, 40), name);
        QVERIFY(reader(uitest::control(about, "labAbout"))->text(QAccessible::Name).contains(QStringLiteral("青枫")));
        const QUrl blog("http://www.qingfeng.example"), mail("mailto:author@qingfeng.example");
        const QUrl product("http://www.qingfeng.example/rainquill/");
        QStringList stops{about->focusWidget()->objectName()};
        for (int n = 0; n < 4; ++n) {
            QTest::keyClick(about->focusWidget(), Qt::Key_Tab);
            stops << about->focusWidget()->objectName();
            if (n < 3) // a link line
                QTest::keyClick(about->focusWidget(), Qt::Key_Return);
        }
        QCOMPARE(stops, (QStringList{"CmdOK", "Label1", "Label2", "Label3", "CmdOK"}));
        QCOMPARE(OpenAddress::takeOpened(), (QList<QUrl>{blog, product, mail}));
        for (const auto &[name, address] : {std::pair{"Label1", blog}, {"Label2", product}, {"Label3", mail},
                                            {"PicLogo", blog}}) {
            QWidget *link = uitest::control(about, name);
            QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor); // the pointer over it a hand
            QTest::mouseClick(link, Qt::LeftButton);
            QCOMPARE(reader(link)->role(), QAccessible::Link);
            QVERIFY(!reader(link)->text(QAccessible::Name).isEmpty());
            QAccessibleActionInterface *actions = reader(link)->actionInterface();
            QCOMPARE(actions->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
            actions->doAction(QAccessibleActionInterface::showMenuAction()); // opens nothing
            actions->doAction(QAccessibleActionInterface::pressAction());
            QCOMPARE(OpenAddress::takeOpened(), QList<QUrl>(2, address));
        }
        QVERIFY(about->isVisible());
    }

    // A window opens centred on the free area of its screen; one larger than that keeps
    // its top-left corner, with the title bar, inside it.
    void opensWhereUsable()
    {
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        for (const QSize size : {QSize(300, 200), area.size() * 2}) {
            QWidget window;
            window.resize(size);
            CentreOnScreen(&window);
            if (size.width() < area.width())
                QVERIFY((window.frameGeometry().center() - area.center()).manhattanLength() <= 2);
            else
                QCOMPARE(window.frameGeometry().topLeft(), area.topLeft());
        }
    }

    void thanksEndsTheProgram_data()
    {
        QTest::addColumn<QString>("closing");
        QTest::addColumn<bool>("byEnter");
        QTest::newRow("close box, Enter") << "close" << true;
        QTest::newRow("退出, closed otherwise") << "MenuExit" << false;
    }
    void thanksEndsTheProgram()
    {
        QFETCH(QString, closing);
        QFETCH(bool, byEnter);
        if (closing == u"close")
            m_window->close();
        else
            get<QAction>(closing)->trigger();
        QTRY_VERIFY(!m_window); // unloaded
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(windows.begin(), windows.end(), [](QWidget *w) { return w->isVisible(); }), 1);
        QWidget *thanks = uitest::topLevel("frmAbout2");
        QCOMPARE(thanks->focusWidget(), uitest::control(thanks, "CmdOK"));
        QTest::mouseClick(uitest::control(thanks, "Label3"), Qt::LeftButton); // links work with the main window gone
        QCOMPARE(OpenAddress::takeOpened(), QList<QUrl>{QUrl("mailto:author@qingfeng.example")});
        QCOMPARE(EndProgram::takeRequests(), 0);
        if (byEnter)
            QTest::keyClick(thanks->focusWidget(), Qt::Key_Return);
        else
            thanks->close();
        QCOMPARE(EndProgram::takeRequests(), 1);
    }

    // "自定义方案" reads color.dat, rebuilding a missing one, and paints the ten custom
    // swatches; a left click takes a custom scheme into the strip.
    void showingTheCustomSwatches()
    {
        for (const bool present : {false, true}) {
            if (present)
                writeFile(fileWith(counting()));
            get<QAction>("MenuCustom")->trigger();
            QCOMPARE(MessageBox::takeShown(), present ? QList<MessageBox::Shown>{} : QList<MessageBox::Shown>{Damaged});
            QCOMPARE(readFile(), present ? fileWith(counting()) : QByteArray("0\r\n").repeated(60));
            QVERIFY(get("Frame3_1")->isVisible());
            QCOMPARE(swatch(19),
                     std::optional<ColorStrip>(present ? ColorStrip{55, 56, 57, 58, 59, 60} : ColorStrip{}));
            click("PicColorBox_12");
            QCOMPARE(m_window->strip(), (present ? ColorStrip{13, 14, 15, 16, 17, 18} : ColorStrip{}));
        }
    }

    // The editor edits a strip of its own; "取消" writes nothing, "保存" changes exactly its
    // scheme's lines and the main window shows the saved scheme at once.
    void editor()
    {
        writeFile(fileWith(counting()));
        click("PicColorBox_2", Qt::RightButton); // opens nothing while the built-in swatches show
        QVERIFY(m_window->isEnabled());
        const ColorStrip mainStrip = m_window->strip();
        QPointer<frmCustomColor> editor = openEditor();
        QTest::mouseClick(uitest::control(editor, "CmdRnd"), Qt::LeftButton);
        QTest::mouseClick(uitest::control(editor, "CmdCancel"), Qt::LeftButton);
        QTRY_VERIFY(!editor);
        QCOMPARE(readFile(), fileWith(counting()));
        editor = openEditor();
        QCOMPARE(editor->windowTitle(), QStringLiteral("自定义方案 方案3"));
        QTest::mouseClick(uitest::control(editor, "CmdContrary"), Qt::LeftButton); // the editor's own strip
        QCOMPARE(editor->strip().strip(), (ColorStrip{16, 17, 18, 13, 14, 15}));
        ColorDialog::queueAnswer(0x1E140A); // red 10, green 20, blue 30
        QTest::mouseClick(uitest::control(editor, "CmdLeft"), Qt::LeftButton);
        ColorDialog::queueAnswer(0x3C3228);
        QTest::mouseClick(uitest::control(editor, "CmdRight"), Qt::LeftButton);
        QTest::mouseClick(uitest::control(editor, "CmdSave"), Qt::LeftButton);
        QTRY_VERIFY(!editor);
        QList<QByteArray> lines = counting();
        const QList<QByteArray> saved = {"10", "20", "30", "40", "50", "60"};
        for (int k = 0; k < 6; ++k)
            lines[12 + k] = saved[k];
        QCOMPARE(readFile(), fileWith(lines));
        QCOMPARE(swatch(12), std::optional<ColorStrip>(ColorStrip{10, 20, 30, 40, 50, 60}));
        QVERIFY(m_window->isEnabled());
        QCOMPARE(m_window->strip(), mainStrip);
    }

    void saveWithoutFile()
    {
        QPointer<frmCustomColor> editor = openEditor();
        QCOMPARE(MessageBox::takeShown(), QList<MessageBox::Shown>{Damaged}); // the menu rebuilt it
        QVERIFY(QFile::remove(SchemeFileName));
        QTest::mouseClick(uitest::control(editor, "CmdSave"), Qt::LeftButton);
        QCOMPARE(MessageBox::takeShown(), QList<MessageBox::Shown>{Damaged});
        QTRY_VERIFY(!editor);
        QCOMPARE(readFile(), fileWith(QList<QByteArray>(60, "0"))); // scheme 3 saved black to black
    }

    void failedSaveKeepsTheEditorOpen()
    {
        writeFile(fileWith(counting()));
        QPointer<frmCustomColor> editor = openEditor();
        QVERIFY(QFile::remove(SchemeFileName));
        QVERIFY(QDir().mkdir(SchemeFileName)); // a folder: neither read nor replaced
        QTest::mouseClick(uitest::control(editor, "CmdSave"), Qt::LeftButton);
        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].prompt.startsWith(QStringLiteral("错误代码：75\r\n\r\n错误描述：")));
        QVERIFY(editor && editor->isVisible() && !m_window->isEnabled());
        QTest::mouseClick(uitest::control(editor, "CmdCancel"), Qt::LeftButton);
        QTRY_VERIFY(!editor);
    }

    // In a folder that takes no file, a save shows the warning and then one error that
    // says why, not one message for every step that could not be taken.
    void oneFailureOneMessage()
    {
        QVERIFY(QFile::setPermissions(".", QFileDevice::Permissions(0x7755)));
        QVERIFY(QDir().mkdir(QStringLiteral("locked")));
        const int outcome = asOrdinaryUser({QDir().absoluteFilePath(QStringLiteral("locked"))}, [] {
            if (!QDir::setCurrent(QStringLiteral("locked"))
                || !QFile::setPermissions(".", QFileDevice::ReadOwner | QFileDevice::ExeOwner))
                return 1;
            CustomSchemeFile file;
            const bool saved = SaveCustomScheme(nullptr, file, 1, {1, 2, 3, 4, 5, 6});
            const QList<MessageBox::Shown> shown = MessageBox::takeShown();
            return !saved && shown.size() == 2 && shown[0] == Damaged
                           && shown[1].prompt == QStringLiteral("错误代码：70\r\n\r\n错误描述：没有权限（写入 color.dat 时）")
                       ? 0
                       : 2;
        });
        QFile::setPermissions(QStringLiteral("locked"), QFileDevice::Permissions(0x7700));
        QCOMPARE(outcome, 0);
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
