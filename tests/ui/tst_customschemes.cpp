#include "schemefixture.h"
#include "schemes/customschemefile.h"
#include "ui/colordialog.h"
#include "ui/frmcustomcolor.h"
#include "ui/frmmain.h"
#include "ui/gradientbox.h"
#include "ui/keycolorstrip.h"
#include "ui/messagebox.h"
#include "uitest.h"

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>

using namespace rainquill;
using uitest::control;

namespace {

const MessageBox::Shown Damaged{"【color.dat】文件损坏，将重新生成此文件！", "文件损坏", MessageBox::Icon::Warning};

} // namespace

using namespace schemefixture;

class TestCustomSchemes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void showingTheCustomSwatches_data();
    void showingTheCustomSwatches();
    void editorCancel_data();
    void editorCancel();
    void editorSave();
    void saveWithoutFile();
    void failedSaveKeepsTheEditorOpen();

private:
    frmCustomColor *openEditor(int swatch);
    GradientBox *swatch(int index) const
    {
        return control<GradientBox>(m_window, QStringLiteral("PicColorBox_%1").arg(index));
    }

    QTemporaryDir *m_dir = nullptr;
    QPointer<frmMain> m_window;
};

void TestCustomSchemes::initTestCase()
{
    MessageBox::setRecording(true);
}

void TestCustomSchemes::init()
{
    m_dir = new QTemporaryDir;
    QVERIFY(QDir::setCurrent(m_dir->path()));
    m_window = new frmMain;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    MessageBox::takeShown();
}

void TestCustomSchemes::cleanup()
{
    delete m_window;
    for (QWidget *widget : QApplication::topLevelWidgets())
        delete qobject_cast<frmCustomColor *>(widget);
    QDir::setCurrent(QDir::tempPath());
    delete m_dir;
    QCOMPARE(ColorDialog::queuedAnswers(), 0);
}

frmCustomColor *TestCustomSchemes::openEditor(int index)
{
    control<QAction>(m_window, "MenuCustom")->trigger();
    QTest::mouseClick(swatch(index), Qt::RightButton);
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *editor = qobject_cast<frmCustomColor *>(widget); editor && editor->isVisible())
            return editor;
    }
    return nullptr;
}

void TestCustomSchemes::showingTheCustomSwatches_data()
{
    QTest::addColumn<bool>("present");
    QTest::newRow("missing file") << false;
    QTest::newRow("file of counting numbers") << true;
}

void TestCustomSchemes::showingTheCustomSwatches()
{
    QFETCH(bool, present);
    if (present)
        writeFile(fileWith(counting()));
    const ColorStrip before = m_window->strip();
    control<QAction>(m_window, "MenuCustom")->trigger();

    QCOMPARE(MessageBox::takeShown(), present ? QList<MessageBox::Shown>{} : QList<MessageBox::Shown>{Damaged});
    QCOMPARE(readFile(), present ? fileWith(counting()) : QByteArray("0\r\n").repeated(60));
    QVERIFY(control<QWidget>(m_window, "Frame3_1")->isVisible());
    QVERIFY(control<QAction>(m_window, "MenuCustom")->isChecked());
    QCOMPARE(m_window->strip(), before);
    for (int n = 0; n < 10; ++n) {
        const int first = present ? 6 * n + 1 : 0;
        const ColorStrip expected = present ? ColorStrip{first, first + 1, first + 2, first + 3, first + 4, first + 5}
                                            : ColorStrip{};
        QCOMPARE(swatch(10 + n)->strip(), std::optional<ColorStrip>(expected));
    }
    // A left click takes the custom scheme into the strip.
    QTest::mouseClick(swatch(12), Qt::LeftButton);
    QCOMPARE(m_window->strip(), (present ? ColorStrip{13, 14, 15, 16, 17, 18} : ColorStrip{}));
}

void TestCustomSchemes::editorCancel_data()
{
    QTest::addColumn<bool>("byButton");
    QTest::newRow("取消") << true;
    QTest::newRow("close box") << false;
}

void TestCustomSchemes::editorCancel()
{
    QFETCH(bool, byButton);
    writeFile(fileWith(counting()));
    QPointer<frmCustomColor> editor = openEditor(15);
    QVERIFY(editor);
    ColorDialog::queueAnswer(0x0000FF);
    QTest::mouseClick(control<QPushButton>(editor, "CmdLeft"), Qt::LeftButton);
    if (byButton)
        QTest::mouseClick(control<QPushButton>(editor, "CmdCancel"), Qt::LeftButton);
    else
        editor->close();
    QTRY_VERIFY(!editor);
    QVERIFY(m_window->isEnabled());
    QCOMPARE(readFile(), fileWith(counting()));
    QCOMPARE(swatch(15)->strip(), std::optional<ColorStrip>(ColorStrip{31, 32, 33, 34, 35, 36}));
}

void TestCustomSchemes::editorSave()
{
    writeFile(fileWith(counting()));
    // Right-clicking a custom swatch opens nothing while the built-in swatches show.
    QTest::mouseClick(control<GradientBox>(m_window, "PicColorBox_2"), Qt::RightButton);
    QVERIFY(m_window->isEnabled());
    const ColorStrip mainStrip = m_window->strip();
    QPointer<frmCustomColor> editor = openEditor(12);
    QVERIFY(editor);
    QCOMPARE(editor->windowTitle(), QStringLiteral("自定义方案 方案3"));
    QCOMPARE(editor->strip().strip(), (ColorStrip{13, 14, 15, 16, 17, 18}));
    QVERIFY(!m_window->isEnabled());
    QTest::mouseClick(control<QPushButton>(editor, "CmdContrary"), Qt::LeftButton); // the editor's own strip
    QCOMPARE(editor->strip().strip(), (ColorStrip{16, 17, 18, 13, 14, 15}));
    QCOMPARE(m_window->strip(), mainStrip);
    ColorDialog::queueAnswer(0x1E140A); // red 10, green 20, blue 30
    QTest::mouseClick(control<QPushButton>(editor, "CmdLeft"), Qt::LeftButton);
    ColorDialog::queueAnswer(std::nullopt); // a cancelled pick changes nothing
    QTest::mouseClick(control<QPushButton>(editor, "CmdRight"), Qt::LeftButton);
    ColorDialog::queueAnswer(0x3C3228);
    QTest::mouseClick(control<QPushButton>(editor, "CmdRight"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>(editor, "CmdSave"), Qt::LeftButton);

    QTRY_VERIFY(!editor);
    QList<QByteArray> lines = counting();
    const QList<QByteArray> saved = {"10", "20", "30", "40", "50", "60"};
    for (int k = 0; k < 6; ++k)
        lines[12 + k] = saved[k];
    QCOMPARE(readFile(), fileWith(lines));
    QCOMPARE(swatch(12)->strip(), std::optional<ColorStrip>(ColorStrip{10, 20, 30, 40, 50, 60}));
    QVERIFY(m_window->isEnabled());
    QCOMPARE(m_window->strip(), mainStrip);
    QVERIFY(MessageBox::takeShown().isEmpty());
}

void TestCustomSchemes::saveWithoutFile()
{
    QPointer<frmCustomColor> editor = openEditor(11); // the file is rebuilt here
    QVERIFY(editor);
    QCOMPARE(MessageBox::takeShown(), QList<MessageBox::Shown>{Damaged}); // the menu rebuilt it
    QVERIFY(QFile::remove(SchemeFileName));
    QTest::mouseClick(control<QPushButton>(editor, "CmdRnd"), Qt::LeftButton);
    const ColorStrip drawn = editor->strip().strip();
    QTest::mouseClick(control<QPushButton>(editor, "CmdSave"), Qt::LeftButton);

    QCOMPARE(MessageBox::takeShown(), QList<MessageBox::Shown>{Damaged});
    QTRY_VERIFY(!editor);
    QList<QByteArray> lines(60, "0");
    const int values[6] = {drawn.StartRed, drawn.StartGreen, drawn.StartBlue, drawn.EndRed, drawn.EndGreen,
                           drawn.EndBlue};
    for (int k = 0; k < 6; ++k)
        lines[6 + k] = QByteArray::number(values[k]);
    QCOMPARE(readFile(), fileWith(lines));
}

void TestCustomSchemes::failedSaveKeepsTheEditorOpen()
{
    writeFile(fileWith(counting()));
    QPointer<frmCustomColor> editor = openEditor(10);
    QVERIFY(editor);
    // color.dat turns into a folder: it can be neither read nor replaced.
    QVERIFY(QFile::remove(SchemeFileName));
    QVERIFY(QDir().mkdir(SchemeFileName));
    QTest::mouseClick(control<QPushButton>(editor, "CmdSave"), Qt::LeftButton);

    const QList<MessageBox::Shown> shown = MessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].title, QStringLiteral("发生错误"));
    QCOMPARE(shown[0].icon, MessageBox::Icon::Critical);
    QVERIFY2(shown[0].prompt.startsWith(QStringLiteral("错误代码：75\r\n\r\n错误描述：")), qPrintable(shown[0].prompt));
    QVERIFY(editor && editor->isVisible());
    QVERIFY(!m_window->isEnabled());
    QTest::mouseClick(control<QPushButton>(editor, "CmdCancel"), Qt::LeftButton);
    QTRY_VERIFY(!editor);
    QVERIFY(m_window->isEnabled());
}

QTEST_MAIN(TestCustomSchemes)
#include "tst_customschemes.moc"
