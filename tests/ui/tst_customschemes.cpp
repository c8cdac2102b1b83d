#include "schemefixture.h"
#include "ui/frmcustomcolor.h"
#include "ui/gradientbox.h"
#include "ui/keycolorstrip.h"
#include "ui/schemefilemessages.h"
#include "uitest.h"

using namespace rainquill;
using namespace schemefixture;

namespace {

const MessageBox::Shown Damaged{"【color.dat】文件损坏，将重新生成此文件！", "文件损坏", MessageBox::Icon::Warning};

} // namespace

// The custom swatches and the scheme editor, over color.dat in the working folder.
class TestCustomSchemes : public uitest::WindowTest
{
    Q_OBJECT

    frmCustomColor *openEditor(int swatch)
    {
        get<QAction>("MenuCustom")->trigger();
        click(QStringLiteral("PicColorBox_%1").arg(swatch), Qt::RightButton);
        return qobject_cast<frmCustomColor *>(uitest::topLevel("frmCustomColor"));
    }
    std::optional<ColorStrip> swatch(int index) const
    {
        return get<GradientBox>(QStringLiteral("PicColorBox_%1").arg(index))->strip();
    }

private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void showingTheCustomSwatches_data()
    {
        QTest::addColumn<bool>("present");
        QTest::newRow("missing file") << false;
        QTest::newRow("file of counting numbers") << true;
    }
    void showingTheCustomSwatches()
    {
        QFETCH(bool, present);
        if (present)
            writeFile(fileWith(counting()));
        const ColorStrip before = m_window->strip();
        get<QAction>("MenuCustom")->trigger();
        QCOMPARE(MessageBox::takeShown(), present ? QList<MessageBox::Shown>{} : QList<MessageBox::Shown>{Damaged});
        QCOMPARE(readFile(), present ? fileWith(counting()) : QByteArray("0\r\n").repeated(60));
        QVERIFY(get("Frame3_1")->isVisible());
        QCOMPARE(m_window->strip(), before);
        QCOMPARE(swatch(19), std::optional<ColorStrip>(present ? ColorStrip{55, 56, 57, 58, 59, 60} : ColorStrip{}));
        click("PicColorBox_12"); // a left click takes the custom scheme into the strip
        QCOMPARE(m_window->strip(), (present ? ColorStrip{13, 14, 15, 16, 17, 18} : ColorStrip{}));
    }

    void editorSave()
    {
        writeFile(fileWith(counting()));
        click("PicColorBox_2", Qt::RightButton); // opens nothing while the built-in swatches show
        QVERIFY(m_window->isEnabled());
        const ColorStrip mainStrip = m_window->strip();
        QPointer<frmCustomColor> editor = openEditor(12);
        QVERIFY(editor);
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

    void editorCancelWritesNothing()
    {
        writeFile(fileWith(counting()));
        QPointer<frmCustomColor> editor = openEditor(15);
        QTest::mouseClick(uitest::control(editor, "CmdRnd"), Qt::LeftButton);
        QTest::mouseClick(uitest::control(editor, "CmdCancel"), Qt::LeftButton);
        QTRY_VERIFY(!editor);
        QVERIFY(m_window->isEnabled());
        QCOMPARE(readFile(), fileWith(counting()));
    }

    void saveWithoutFile()
    {
        QPointer<frmCustomColor> editor = openEditor(11);
        QCOMPARE(MessageBox::takeShown(), QList<MessageBox::Shown>{Damaged}); // the menu rebuilt it
        QVERIFY(QFile::remove(SchemeFileName));
        QTest::mouseClick(uitest::control(editor, "CmdSave"), Qt::LeftButton);
        QCOMPARE(MessageBox::takeShown(), QList<MessageBox::Shown>{Damaged});
        QTRY_VERIFY(!editor);
        QCOMPARE(readFile(), fileWith(QList<QByteArray>(60, "0"))); // scheme 2 saved black to black
    }

    void failedSaveKeepsTheEditorOpen()
    {
        writeFile(fileWith(counting()));
        QPointer<frmCustomColor> editor = openEditor(10);
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
            const bool saved = SaveCustomScheme(nullptr, 1, {1, 2, 3, 4, 5, 6});
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

QTEST_MAIN(TestCustomSchemes)
#include "tst_customschemes.moc"
