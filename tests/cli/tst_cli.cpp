#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// rainquill-cli: the window's conversion for scripts, its refusals and its checks of what
// it is given. Every run is in a folder whose color.dat has a line out of range (14, scheme
// 3) and a line that is not a number (51, scheme 9); the converter must never write it.
class TestCli : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QByteArray m_colorDat;

    struct Outcome
    {
        int exitCode = -1;
        QByteArray out;
        QByteArray err;
    };

    // Runs the converter, or, when the first argument is "sh", the second as a shell
    // command with $CLI naming the converter (for bytes a QString cannot carry).
    Outcome run(const QStringList &arguments, const QByteArray &input = {})
    {
        QProcess process;
        process.setWorkingDirectory(m_dir.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("CLI"), QStringLiteral(RAINQUILL_CLI));
        process.setProcessEnvironment(environment);
        if (arguments.value(0) == u"sh")
            process.start(QStringLiteral("sh"), {QStringLiteral("-c"), arguments.value(1)});
        else
            process.start(QStringLiteral(RAINQUILL_CLI), arguments);
        process.write(input);
        process.closeWriteChannel();
        if (!process.waitForFinished(60000))
            return {};
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), process.readAllStandardError()};
    }

private slots:
    void initTestCase()
    {
        for (int n = 1; n <= 60; ++n)
            m_colorDat += (n == 14 ? QByteArray("300") : n == 51 ? QByteArray("12abc") : QByteArray::number(n)) + "\r\n";
        QFile file(m_dir.filePath(QStringLiteral("color.dat")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(m_colorDat) == m_colorDat.size());
    }

    void convert_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err"); // a part of standard error

        const QStringList bw{"--from", "000000", "--to", "#ffffff"};
        QTest::newRow("scheme 1 by default, BOM ignored")
            << QStringList{} << QByteArray("\xEF\xBB\xBF" "abc") << 0
            << QByteArray("[color=#5551FF]a[/color][color=#AA28FF]b[/color][color=#FF00FF]c[/color]") << QByteArray();
        QTest::newRow("html, CR and LF, equals form")
            << QStringList{"--from=#FF0000", "--to=0000FF", "--format=html"} << QByteArray("a b\rc\nd") << 0
            << QByteArray("<font color=#E3001C>a</font>&nbsp;<font color=#AA0055>b</font><br />"
                          "<font color=#5500AA>c</font><br /><font color=#0000FF>d</font>")
            << QByteArray();
        QTest::newRow("custom")
            << QStringList{"-f", "custom", "--prefix", "<", "--middle", "|", "--suffix", ">", "--to", "0022ff"}
            << QByteArray("x") << 0 << QByteArray("<#0022FF|x>") << QByteArray();
        QTest::newRow("step settled to 100, then reset, and told")
            << bw + QStringList{"--step", "1e999"} << QByteArray("ab") << 0
            << QByteArray("[color=#808080]a[/color][color=#FFFFFF]b[/color]")
            << QByteArray("rainquill-cli: --step \"1e999\" read as 100\n");
        // The forms of an option and its value that command-line users know.
        const QByteArray htmlAb("<font color=#803CFF>a</font><font color=#FF00FF>b</font>");
        for (const QStringList &form : {QStringList{"-fhtml"}, QStringList{"-f", "html"}, QStringList{"--format=html"},
                                        QStringList{"--format", "html"}})
            QTest::newRow(qPrintable(form.join(u' '))) << form << QByteArray("ab") << 0 << htmlAb << QByteArray();
        QTest::newRow("fit") << bw + QStringList{"--fit", "60"} << QByteArray("abcde") << 0
                             << QByteArray("[color=#333333]abc[/color][color=#CCCCCC]de[/color]") << QByteArray();
        // The text's own controls never reach the terminal raw: ESC, BEL and CSI as pictures.
        QTest::newRow("preview, controls as pictures")
            << bw + QStringList{"--preview", "-s", "4"} << QByteArray("\x1b]0;t\x07\xC2\x9B\t") << 0
            << QByteArray("\x1b[38;2;32;32;32m␛]0;\x1b[38;2;159;159;159mt␇␛[\t\x1b[0m") << QByteArray();
        // Scheme 3: (13, 0, 15) to (16, 17, 18), line 14 read as 0; line 51 told as a warning.
        QTest::newRow("custom scheme, another's bad line a warning")
            << QStringList{"--custom", "3"} << QByteArray("ab") << 0
            << QByteArray("[color=#0E0810]a[/color][color=#101112]b[/color]") << QByteArray("第 51 行“12abc”");
        QTest::newRow("the last custom scheme") << QStringList{"--custom", "10"} << QByteArray("ab") << 0
                                                << QByteArray("[color=#383A3A]a[/color][color=#3A3B3C]b[/color]")
                                                << QByteArray("第 51 行“12abc”");
        QTest::newRow("custom scheme's own line not a number") << QStringList{"--custom", "9"} << QByteArray("ab")
                                                               << 2 << QByteArray() << QByteArray("错误代码：13");
        QTest::newRow("no color.dat") << QStringList{"sh", "cd \"$(mktemp -d)\" && $CLI --custom 3"}
                                      << QByteArray("ab") << 2 << QByteArray()
                                      << QByteArray("错误代码：53\n\n错误描述：文件未找到：color.dat");

        QTest::newRow("empty text") << QStringList{"-f", "custom"} << QByteArray() << 1 << QByteArray()
                                    << QByteArray("请输入要转换的文字");
        QTest::newRow("template missing a part")
            << QStringList{"-f", "custom", "--prefix", "a", "--suffix", "c"} << QByteArray("x") << 1 << QByteArray()
            << QByteArray("自定义格式没有填完整");
        QTest::newRow("nothing fits") << QStringList{"--fit", "10"} << QByteArray("abcde") << 1 << QByteArray()
                                      << QByteArray("10");
        QTest::newRow("text too long") << QStringList{"-s", "100"} << QByteArray(10'000'001, 'a') << 1
                                       << QByteArray() << QByteArray("要转换的文字太长");
        // 10,000,000 characters, one of them an emoji of two code units: converted.
        QTest::newRow("text of the largest length")
            << QStringList{"sh", "{ head -c 9999999 /dev/zero | tr '\\0' a; printf '\\360\\237\\230\\200'; } | $CLI -s 100 | wc -c"}
            << QByteArray() << 0 << QByteArray("12300003\n") << QByteArray();
        // The window's order: the template is looked at before the length.
        QTest::newRow("template before length") << QStringList{"-f", "custom", "--prefix", "a"}
                                                << QByteArray(10'000'001, 'a') << 1 << QByteArray()
                                                << QByteArray("自定义格式没有填完整");
        // Endless input is refused once it is past what 10,000,000 characters can take, in
        // far less memory than the address space allowed.
        QTest::newRow("endless input") << QStringList{"sh", "ulimit -v 1000000; $CLI /dev/zero"} << QByteArray()
                                       << 1 << QByteArray() << QByteArray("要转换的文字太长");
        QTest::newRow("out of memory") << QStringList{"sh", "ulimit -v 200000; head -c 3000000 /dev/zero | tr '\\0' a | $CLI"}
                                       << QByteArray() << 1 << QByteArray() << QByteArray("内存不足，请分段转换");

        QTest::newRow("colour with a line feed") << QStringList{"--from", "ff00ff\n"} << QByteArray("a") << 2
                                                 << QByteArray() << QByteArray("bad colour");
        // The edges of UTF-8: a surrogate, an overlong form, past U+10FFFF, cut short; and
        // the last code point, which is valid.
        for (const QByteArray &bad : {QByteArray("a\xED\xA0\x80"), QByteArray("a\xC0\x80"), QByteArray("a\xE0\x80\x80"),
                                      QByteArray("a\xF4\x90\x80\x80"), QByteArray("a\xE6\xB8")})
            QTest::newRow(("input not UTF-8: " + bad.toHex(' ')).constData())
                << QStringList{} << bad << 2 << QByteArray() << QByteArray("not valid UTF-8 (byte 1)");
        QTest::newRow("U+10FFFF") << QStringList{"--from", "000000", "--to", "000000"} << QByteArray("\xF4\x8F\xBF\xBF")
                                  << 0 << QByteArray("[color=#000000]\xF4\x8F\xBF\xBF[/color]") << QByteArray();
        QTest::newRow("argument not UTF-8") << QStringList{"sh", "$CLI --prefix \"$(printf '\\377')\""}
                                            << QByteArray("a") << 2 << QByteArray()
                                            << QByteArray("the value of --prefix is not valid UTF-8");
        QTest::newRow("missing file") << QStringList{"/nonexistent/text.txt"} << QByteArray() << 2 << QByteArray()
                                      << QByteArray("cannot read /nonexistent/text.txt");
        QTest::newRow("help, failed write") << QStringList{"sh", "$CLI --help > /dev/full"} << QByteArray() << 2
                                            << QByteArray() << QByteArray("cannot write standard output");
        QTest::newRow("version") << QStringList{"--version"} << QByteArray() << 0
                                 << QByteArray("rainquill-cli 2.2.0 (build 2200)\nCopyright (C) 2026 The Rainquill authors\n"
                                               "License: MIT\n")
                                 << QByteArray();
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
        QCOMPARE(outcome.out, out);
        QVERIFY2(err.isEmpty() ? outcome.err.isEmpty() : outcome.err.contains(err), outcome.err.constData());
        if (!outcome.err.isEmpty()) // every message names the program first
            QVERIFY2(outcome.err.startsWith("rainquill-cli: "), outcome.err.constData());
        QFile colorDat(m_dir.filePath(QStringLiteral("color.dat")));
        QVERIFY(colorDat.open(QIODevice::ReadOnly));
        QCOMPARE(colorDat.readAll(), m_colorDat); // read only: never repaired or rewritten
    }

    void readsFiles()
    {
        QFile file(m_dir.filePath(QStringLiteral("文字.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("abc") == 3);
        file.close();
        const QByteArray abc = run({"--", file.fileName()}).out;
        QVERIFY(abc.startsWith("[color="));
        QCOMPARE(run({m_dir.path()}).exitCode, 2); // a folder
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
