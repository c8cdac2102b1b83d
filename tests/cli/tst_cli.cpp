#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void convert_data();
    void convert();
    void readsFiles();
    void helpAndVersion();
    void customScheme_data();
    void customScheme();
};

struct Outcome
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

static Outcome run(const QStringList &arguments, const QByteArray &input = {}, const QString &folder = {})
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(RAINQUILL_CLI), arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

void TestCli::convert_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err"); // a part of standard error

    const QStringList bw{"--from", "000000", "--to", "#ffffff"};
    const QByteArray abc = "[color=#555555]a[/color][color=#AAAAAA]b[/color][color=#FFFFFF]c[/color]";
    const QByteArray html = "<font color=#D4002A>a</font>&nbsp;<font color=#800080>b</font><br />"
                            "<font color=#0000FF>c</font>";
    const QStringList redBlueHtml{"--from", "#FF0000", "--to", "0000FF", "-f", "html"};

    QTest::newRow("default scheme")
        << QStringList{} << QByteArray("abc") << 0
        << QByteArray("[color=#5551FF]a[/color][color=#AA28FF]b[/color][color=#FF00FF]c[/color]") << QByteArray();
    QTest::newRow("colours override") << bw << QByteArray("abc") << 0 << abc << QByteArray();
    QTest::newRow("BOM ignored") << bw << QByteArray("\xEF\xBB\xBF" "abc") << 0 << abc << QByteArray();
    QTest::newRow("html CR LF") << redBlueHtml << QByteArray("a b\r\nc") << 0 << html << QByteArray();
    QTest::newRow("html LF") << redBlueHtml << QByteArray("a b\nc") << 0 << html << QByteArray();
    QTest::newRow("html CR, equals form") << QStringList{"--from=#FF0000", "--to=0000FF", "--format=html"}
                                          << QByteArray("a b\rc") << 0 << html << QByteArray();
    QTest::newRow("custom")
        << QStringList{"-f", "custom", "--prefix", "<", "--middle", "|", "--suffix", ">", "--to", "0022ff"}
        << QByteArray("x") << 0 << QByteArray("<#0022FF|x>") << QByteArray();
    QTest::newRow("step settled to 100, then reset")
        << bw + QStringList{"--step", "1e999"} << QByteArray("ab") << 0
        << QByteArray("[color=#808080]a[/color][color=#FFFFFF]b[/color]") << QByteArray();
    QTest::newRow("fit") << bw + QStringList{"--fit", "60"} << QByteArray("abcde") << 0
                         << QByteArray("[color=#333333]abc[/color][color=#CCCCCC]de[/color]") << QByteArray();
    QTest::newRow("preview") << bw + QStringList{"--preview"} << QByteArray("ab") << 0
                             << QByteArray("\x1b[38;2;128;128;128ma\x1b[38;2;255;255;255mb\x1b[0m") << QByteArray();

    QTest::newRow("empty text") << QStringList{} << QByteArray() << 1 << QByteArray()
                                << QByteArray("请输入要转换的文字");
    QTest::newRow("empty text before template")
        << QStringList{"-f", "custom"} << QByteArray() << 1 << QByteArray() << QByteArray("请输入要转换的文字");
    QTest::newRow("template missing a part")
        << QStringList{"-f", "custom", "--prefix", "a", "--suffix", "c"} << QByteArray("x") << 1 << QByteArray()
        << QByteArray("自定义格式没有填完整");
    QTest::newRow("nothing fits") << QStringList{"--fit", "10"} << QByteArray("abcde") << 1 << QByteArray()
                                  << QByteArray("10");

    QTest::newRow("unknown option") << QStringList{"--colour"} << QByteArray("a") << 2 << QByteArray()
                                    << QByteArray("unknown option \"--colour\"");
    QTest::newRow("bad colour") << QStringList{"--from", "#12345"} << QByteArray("a") << 2 << QByteArray()
                                << QByteArray("bad colour \"#12345\"");
    QTest::newRow("scheme 11") << QStringList{"--scheme", "11"} << QByteArray("a") << 2 << QByteArray()
                               << QByteArray("--scheme");
    QTest::newRow("template without custom") << QStringList{"--prefix", "x"} << QByteArray("a") << 2
                                             << QByteArray() << QByteArray("--format custom");
    QTest::newRow("step and fit") << QStringList{"-s", "2", "--fit", "9"} << QByteArray("a") << 2 << QByteArray()
                                  << QByteArray("--fit");
    QTest::newRow("invalid UTF-8") << QStringList{} << QByteArray("ab\xFF") << 2 << QByteArray()
                                   << QByteArray("not valid UTF-8 (byte 2)");
    QTest::newRow("encoded surrogate") << QStringList{} << QByteArray("a\xED\xA0\x80") << 2 << QByteArray()
                                       << QByteArray("not valid UTF-8 (byte 1)");
    QTest::newRow("missing file") << QStringList{"/nonexistent/text.txt"} << QByteArray() << 2 << QByteArray()
                                  << QByteArray("cannot read /nonexistent/text.txt");
}

void TestCli::convert()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    const Outcome outcome = run(arguments, input);
    QCOMPARE(outcome.exitCode, exitCode);
    QCOMPARE(outcome.out, out);
    if (err.isEmpty())
        QCOMPARE(outcome.err, QByteArray());
    else
        QVERIFY2(outcome.err.contains(err), outcome.err.constData());
}

void TestCli::readsFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile file(dir.filePath(QStringLiteral("文字.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("abc");
    file.close();
    const QStringList colours{"--from", "000000", "--to", "FFFFFF"};
    const QByteArray abc = "[color=#555555]a[/color][color=#AAAAAA]b[/color][color=#FFFFFF]c[/color]";
    QCOMPARE(run(colours + QStringList{file.fileName()}).out, abc);
    QCOMPARE(run(colours + QStringList{"-"}, "abc").out, abc);
    QCOMPARE(run(colours + QStringList{"--", file.fileName()}).out, abc);

    const Outcome directory = run({dir.path()});
    QCOMPARE(directory.exitCode, 2);
    QVERIFY(directory.err.contains("cannot read"));
}

void TestCli::helpAndVersion()
{
    const Outcome version = run({"--version"});
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.out, QByteArray("rainquill-cli V2.2.0 (build 2200)\n"));
    const Outcome help = run({"-h"});
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.out.startsWith("Usage: rainquill-cli [OPTIONS] [FILE]"));
    QVERIFY(help.out.contains("--fit N"));
}

void TestCli::customScheme_data()
{
    QTest::addColumn<QByteArray>("file"); // empty: no color.dat
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");

    QByteArray counting;
    for (int n = 1; n <= 60; ++n)
        counting += QByteArray::number(n) + "\r\n";
    QByteArray damaged = counting;
    damaged.replace("13\r\n14\r\n15\r\n", "13\r\n300\r\n15\r\n");
    QByteArray notNumber = counting;
    notNumber.replace("\r\n14\r\n", "\r\n14abc\r\n");

    // Scheme 3 of the counting file: (13, 14, 15) to (16, 17, 18).
    QTest::newRow("scheme 3") << counting << QStringList{"--custom", "3"} << 0
                              << QByteArray("[color=#0E1010]a[/color][color=#101112]b[/color]") << QByteArray();
    QTest::newRow("a line out of range reads 0")
        << damaged << QStringList{"--custom", "3"} << 0
        << QByteArray("[color=#0E0810]a[/color][color=#101112]b[/color]") << QByteArray();
    QTest::newRow("missing file") << QByteArray() << QStringList{"--custom", "3"} << 2 << QByteArray()
                                  << QByteArray("错误代码：53\n\n错误描述：文件未找到：color.dat");
    QTest::newRow("not a number in the scheme used")
        << notNumber << QStringList{"--custom", "3"} << 2 << QByteArray() << QByteArray("错误代码：13");
    QTest::newRow("not a number in another scheme: a warning")
        << notNumber << QStringList{"--custom", "1"} << 0
        << QByteArray("[color=#020404]a[/color][color=#040506]b[/color]") << QByteArray("第 14 行“14abc”");
    QTest::newRow("with --scheme") << counting << QStringList{"--custom", "1", "--scheme", "2"} << 2 << QByteArray()
                                   << QByteArray("--scheme and --custom");
}

void TestCli::customScheme()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("color.dat"));
    if (!file.isEmpty()) {
        QFile colors(path);
        QVERIFY(colors.open(QIODevice::WriteOnly));
        colors.write(file);
    }
    const Outcome outcome = run(arguments, "ab", dir.path());
    QCOMPARE(outcome.exitCode, exitCode);
    QCOMPARE(outcome.out, out);
    QVERIFY2(outcome.err.contains(err), outcome.err.constData());
    // Read only: never repaired, rebuilt or rewritten.
    QFile colors(path);
    if (file.isEmpty()) {
        QVERIFY(!colors.exists());
    } else {
        QVERIFY(colors.open(QIODevice::ReadOnly));
        QCOMPARE(colors.readAll(), file);
    }
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
