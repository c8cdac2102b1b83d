#include "ui/uitest.h"

#include <QClipboard>
#include <QLineEdit>
#include <QProcess>
#include <QRandomGenerator>

using namespace rainquill;

// The window and rainquill-cli write the same code for the same text, byte for byte: both
// read its line breaks by one rule. The window is driven as a user drives it (the text
// pasted, "转换" clicked), the converter run as a script runs it (the text on its input).
class TestSameCode : public uitest::WindowTest
{
    Q_OBJECT

    // A random text of words, Chinese, clusters and every kind of line break.
    static QString randomText(QRandomGenerator &random)
    {
        const QStringList parts = {"a",  "word ", "渐变", "👍🏽", "e\u0301", " ",      "\r\n", "\r",
                                   "\n", "\u2028", "\u2029", "\t", "\r\r\n", "\n\r", "<&>", "🇨🇳"};
        QString text;
        const int count = 1 + int(random.bounded(60));
        for (int n = 0; n < count; ++n)
            text += parts[random.bounded(int(parts.size()))];
        return text;
    }

    QByteArray converter(const QStringList &arguments, const QByteArray &input)
    {
        QProcess process;
        process.setWorkingDirectory(m_dir->path());
        process.start(QStringLiteral(RAINQUILL_CLI), arguments);
        process.write(input);
        process.closeWriteChannel();
        if (!process.waitForFinished(60000) || process.exitCode() != 0)
            return "failed: " + process.readAllStandardError();
        return process.readAllStandardOutput();
    }

private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void sameCode_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("step");
        QTest::addColumn<quint32>("seed");
        QTest::newRow("UBB, step 1") << 0 << "1" << 1u;
        QTest::newRow("html, step 1") << 1 << "1" << 2u;
        QTest::newRow("html, step 2") << 1 << "2" << 3u;
        QTest::newRow("QQ空间, step 3") << 2 << "3" << 4u;
    }

    void sameCode()
    {
        QFETCH(int, format);
        QFETCH(QString, step);
        QFETCH(quint32, seed);
        const char *const formats[] = {"ubb", "html", "qq"};
        setFormat(format);
        get<QLineEdit>(QStringLiteral("TxtStep"))->setText(step);
        QRandomGenerator random(seed);
        for (int round = 0; round < 12; ++round) {
            const QString text = randomText(random);
            click(QStringLiteral("CmdClear"));
            QApplication::clipboard()->setText(text);
            input()->setFocus();
            QTest::keyClick(input(), Qt::Key_V, Qt::ControlModifier);
            click(QStringLiteral("CmdGo"));
            const QByteArray window = code().toUtf8();
            QVERIFY(!window.isEmpty());
            const QByteArray cli = converter({QStringLiteral("--format=") + formats[format], "--step", step}, text.toUtf8());
            QCOMPARE(cli, window);
        }
    }
};

QTEST_MAIN(TestSameCode)
#include "tst_samecode.moc"
