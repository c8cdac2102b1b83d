#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Outcome
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the converter with the arguments, or, when the first argument is "sh", runs the rest
// as a shell command with $CLI naming the converter (for bytes a QString cannot carry).
Outcome run(QStringList arguments, const QByteArray &input = {}, const QString &folder = {})
{
    QProcess process;
    process.setWorkingDirectory(folder);
    if (arguments.value(0) == u"sh") {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("CLI"), QStringLiteral(RAINQUILL_CLI));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral("sh"), {QStringLiteral("-c"), arguments.value(1)});
    } else {
        process.start(QStringLiteral(RAINQUILL_CLI), arguments);
    }
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

} // namespace

// rainquill-cli: the window's conversion for scripts, its refusals and its checks of what
// it is given.
class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void convert_data()
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
        QTest::newRow("default scheme")
            << QStringList{} << QByteArray("abc") << 0
            << QByteArray("[color=#5551FF]a[/color][color=#AA28FF]b[/color][color=#FF00FF]c[/color]") << QByteArray();
        QTest::newRow("colours override, BOM ignored") << bw << QByteArray("\xEF\xBB\xBF" "abc") << 0 << abc
                                                       << QByteArray();
        QTest::newRow("html, LF") << QStringList{"--from", "#FF0000", "--to", "0000FF", "-f", "html"}
                                  << QByteArray("a b\nc") << 0 << html << QByteArray();
        QTest::newRow("html, CR, equals form") << QStringList{"--from=#FF0000", "--to=0000FF", "--format=html"}
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
        // The text's own controls never reach the terminal raw: ESC, BEL and CSI as pictures.
        QTest::newRow("preview shows controls") << QStringList{"--preview", "--from", "000000", "--to", "000000"}
                                                << QByteArray("\x1b]0;t\x07\xC2\x9B\t") << 0
                                                << QByteArray("\x1b[38;2;0;0;0m␛]0;t␇␛[\t\x1b[0m")
                                                << QByteArray();

        QTest::newRow("empty text") << QStringList{"-f", "custom"} << QByteArray() << 1 << QByteArray()
                                    << QByteArray("请输入要转换的文字");
        QTest::newRow("template missing a part")
            << QStringList{"-f", "custom", "--prefix", "a", "--suffix", "c"} << QByteArray("x") << 1 << QByteArray()
            << QByteArray("自定义格式没有填完整");
        QTest::newRow("nothing fits") << QStringList{"--fit", "10"} << QByteArray("abcde") << 1 << QByteArray()
                                      << QByteArray("10");
        QTest::newRow("text too long") << QStringList{"-s", "100"} << QByteArray(10'000'001, 'a') << 1
                                       << QByteArray() << QByteArray("要转换的文字太长");

        QTest::newRow("unknown option") << QStringList{"--colour"} << QByteArray("a") << 2 << QByteArray()
                                        << QByteArray("unknown option \"--colour\"");
        QTest::newRow("colour with a line feed") << QStringList{"--from", "ff00ff\n"} << QByteArray("a") << 2
                                                 << QByteArray() << QByteArray("bad colour");
        QTest::newRow("template without custom") << QStringList{"--prefix", "x"} << QByteArray("a") << 2
                                                 << QByteArray() << QByteArray("--format custom");
        QTest::newRow("step and fit") << QStringList{"-s", "2", "--fit", "9"} << QByteArray("a") << 2 << QByteArray()
                                      << QByteArray("--fit");
        QTest::newRow("invalid UTF-8") << QStringList{} << QByteArray("ab\xFF") << 2 << QByteArray()
                                       << QByteArray("not valid UTF-8 (byte 2)");
        QTest::newRow("encoded surrogate") << QStringList{} << QByteArray("a\xED\xA0\x80") << 2 << QByteArray()
                                           << QByteArray("not valid UTF-8 (byte 1)");
        QTest::newRow("argument not UTF-8") << QStringList{"sh", "$CLI --prefix \"$(printf '\\377')\""}
                                            << QByteArray("a") << 2 << QByteArray()
                                            << QByteArray("the value of --prefix is not valid UTF-8");
        QTest::newRow("missing file") << QStringList{"/nonexistent/text.txt"} << QByteArray() << 2 << QByteArray()
                                      << QByteArray("cannot read /nonexistent/text.txt");
        QTest::newRow("help") << QStringList{"-h"} << QByteArray() << 0 << QByteArray() << QByteArray();
        QTest::newRow("help, failed write") << QStringList{"sh", "$CLI --help > /dev/full"} << QByteArray() << 2
                                            << QByteArray() << QByteArray("cannot write standard output");
        QTest::newRow("version") << QStringList{"--version"} << QByteArray() << 0
                                 << QByteArray("rainquill-cli V2.2.0 (build 2200)\n") << QByteArray();
    }
    void convert()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        const Outcome outcome = run(arguments, input);
        QCOMPARE(outcome.exitCode, exitCode);
        if (arguments.value(0) == u"-h")
            QVERIFY(outcome.out.startsWith("Usage: rainquill-cli [OPTIONS] [FILE]"));
        else
            QCOMPARE(outcome.out, out);
        QVERIFY2(err.isEmpty() ? outcome.err.isEmpty() : outcome.err.contains(err), outcome.err.constData());
    }

    void readsFiles()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("文字.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("abc");
        file.close();
        const QStringList colours{"--from", "000000", "--to", "FFFFFF"};
        const QByteArray abc = "[color=#555555]a[/color][color=#AAAAAA]b[/color][color=#FFFFFF]c[/color]";
        QCOMPARE(run(colours + QStringList{file.fileName()}).out, abc);
        QCOMPARE(run(colours + QStringList{"-"}, "abc").out, abc);
        QCOMPARE(run(colours + QStringList{"--", file.fileName()}).out, abc);
        QCOMPARE(run({dir.path()}).exitCode, 2);
    }

    void customScheme_data()
    {
        QTest::addColumn<QByteArray>("file"); // empty: no color.dat
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        QByteArray counting;
        for (int n = 1; n <= 60; ++n)
            counting += QByteArray::number(n) + "\r\n";
        const QByteArray damaged = QByteArray(counting).replace("13\r\n14\r\n15\r\n", "13\r\n300\r\n15\r\n");
        const QByteArray notNumber = QByteArray(counting).replace("\r\n14\r\n", "\r\n14abc\r\n");
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
        QTest::newRow("with --scheme") << counting << QStringList{"--custom", "1", "--scheme", "2"} << 2
                                       << QByteArray() << QByteArray("--scheme and --custom");
    }
    void customScheme()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        QTemporaryDir dir;
        QFile colors(dir.filePath(QStringLiteral("color.dat")));
        if (!file.isEmpty()) {
            QVERIFY(colors.open(QIODevice::WriteOnly));
            colors.write(file);
            colors.close();
        }
        const Outcome outcome = run(arguments, "ab", dir.path());
        QCOMPARE(outcome.exitCode, exitCode);
        QCOMPARE(outcome.out, out);
        QVERIFY2(outcome.err.contains(err), outcome.err.constData());
        // Read only: never repaired, rebuilt or rewritten.
        QCOMPARE(colors.open(QIODevice::ReadOnly) ? colors.readAll() : QByteArray(), file);
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
