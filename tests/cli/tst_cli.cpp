#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <utility>

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

    // Runs the converter in the folder, or, when the first argument is "sh", the second as
    // a shell command with $CLI naming the converter (for bytes a QString cannot carry, for
    // what the shell does to standard output, and for the locale, otherwise the test's C).
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

    // Every non-empty line of a message names the program first; the hint after bad
    // usage alone stands bare, last.
    static void verifyNamed(const QByteArray &err)
    {
        const QList<QByteArray> lines = err.split('\n');
        for (qsizetype n = 0; n < lines.size(); ++n) {
            const bool hint = lines[n] == "用“rainquill-cli --help”查看全部选项。" && n == lines.size() - 2;
            QVERIFY2(lines[n].isEmpty() || hint || lines[n].startsWith("rainquill-cli: "), err.constData());
        }
        QVERIFY2(err.isEmpty() || err.endsWith('\n'), err.constData());
    }

private slots:
    void initTestCase()
    {
        for (int n = 1; n <= 60; ++n)
            m_colorDat += (n == 14 ? QByteArray("300") : n == 51 ? QByteArray("12abc") : QByteArray::number(n)) + "\r\n";
        for (const auto &[name, content] : {std::pair{"color.dat", m_colorDat}, {"文字.txt", QByteArray("文字\n")},
                                            {"-f", QByteArray("-f")}, {"--form", QByteArray("--form")}}) {
            QFile file(m_dir.filePath(QString::fromUtf8(name)));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        }
    }

    void convert_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<Outcome>("expected"); // its err whole when it names the program, else a part
        const auto row = [](const char *name, const QStringList &arguments, const QByteArray &input, int exitCode,
                            const QByteArray &out, const QByteArray &err = {}) {
            QTest::newRow(name) << arguments << input << Outcome{exitCode, out, err};
        };

        const QByteArray hint("\n用“rainquill-cli --help”查看全部选项。\n"); // after bad usage
        const QStringList bw{"--from", "000000", "--to", "#ffffff"};
        const QStringList black{"--from", "000000", "--to", "000000"};
        row("scheme 1 by default, BOM ignored", {}, "\xEF\xBB\xBF" "abc", 0,
            "[color=#5551FF]a[/color][color=#AA28FF]b[/color][color=#FF00FF]c[/color]");
        row("html, CR and LF, equals form", {"--from=#FF0000", "--to=0000FF", "--format=html"}, "a b\rc\nd", 0,
            "<font color=#E3001C>a</font>&nbsp;<font color=#AA0055>b</font><br /><font color=#5500AA>c</font><br />"
            "<font color=#0000FF>d</font>");
        row("custom", {"-f", "custom", "--prefix", "<", "--middle", "|", "--suffix", ">", "--to", "0022ff"}, "x", 0,
            "<#0022FF|x>");
        // A value is taken as it stands, whatever it looks like.
        row("values that look like options",
            {"-f", "custom", "--prefix", "--s", "--middle", "-x", "--suffix", "--", "--fit", "-1"}, "a", 2, {},
            "rainquill-cli: --fit 只接受表示字符数的整数，不是“-1”" + hint);
        row("values that look like options, converted", {"-f", "custom", "--prefix", "--s", "--middle=-x", "--suffix", "--"},
            "a", 0, "--s#FF00FF-xa--");
        row("step settled to 100, then reset, and told", bw + QStringList{"--step", "1e999"}, "ab", 0,
            "[color=#808080]a[/color][color=#FFFFFF]b[/color]", "rainquill-cli: --step “1e999”按 100 读取\n");
        row("fit", bw + QStringList{"--fit", "60"}, "abcde", 0, "[color=#333333]abc[/color][color=#CCCCCC]de[/color]");
        // The text's own controls never reach the terminal raw: ESC, BEL, CSI and DEL as pictures.
        row("preview, controls as pictures", bw + QStringList{"--preview", "-s", "4"}, "\x1b]0;t\x07\xC2\x9B\t\x7f", 0,
            "\x1b[38;2;28;28;28m␛]0;\x1b[38;2;142;142;142mt␇␛[\t\x1b[38;2;255;255;255m␡\x1b[0m");
        row("preview, a line break kept", black + QStringList{"--preview"}, "a\nb", 0, "\x1b[38;2;0;0;0ma\r\nb\x1b[0m");
        // Scheme 3: (13, 0, 15) to (16, 17, 18), line 14 read as 0; line 51 told as a warning.
        row("custom scheme, another's bad line a warning", {"--custom", "3"}, "ab", 0,
            "[color=#0E0810]a[/color][color=#101112]b[/color]", "第 51 行“12abc”");
        row("the last custom scheme", {"--custom", "10"}, "ab", 0, "[color=#383A3A]a[/color][color=#3A3B3C]b[/color]",
            "第 51 行“12abc”");
        row("custom scheme's own line not a number", {"--custom", "9"}, "ab", 2, {}, "错误代码：13");
        row("no color.dat", {"sh", "cd \"$(mktemp -d)\" && $CLI --custom 3"}, "ab", 2, {},
            "rainquill-cli: 错误代码：53\n\nrainquill-cli: 错误描述：文件未找到：color.dat\n");

        row("empty text", {"-f", "custom"}, {}, 1, {}, "请输入要转换的文字");
        row("template missing a part", {"-f", "custom", "--prefix", "a", "--suffix", "c"}, "x", 1, {}, "自定义格式没有填完整");
        row("nothing fits", {"--fit", "10"}, "abcde", 1, {}, "10");
        row("text too long", {"-s", "100"}, QByteArray(10'000'001, 'a'), 1, {}, "要转换的文字太长");
        // 10,000,000 characters, one of them an emoji of two code units: converted.
        row("text of the largest length",
            {"sh", "{ head -c 9999999 /dev/zero | tr '\\0' a; printf '\\360\\237\\230\\200'; } | $CLI -s 100 | wc -c"},
            {}, 0, "12300003\n");
        // The window's order: the template is looked at before the length.
        row("template before length", {"-f", "custom", "--prefix", "a"}, QByteArray(10'000'001, 'a'), 1, {},
            "自定义格式没有填完整");
        // Endless input is refused once it is past what 10,000,000 characters can take, in
        // far less memory than the address space allowed.
        row("endless input", {"sh", "ulimit -v 1000000; $CLI /dev/zero"}, {}, 1, {}, "要转换的文字太长");
        row("out of memory", {"sh", "ulimit -v 200000; head -c 3000000 /dev/zero | tr '\\0' a | $CLI"}, {}, 1, {},
            "内存不足，请分段转换");

        row("colour with a line feed", {"--from", "ff00ff\n"}, "a", 2, {}, "”无效（请写成 #RRGGBB 或 RRGGBB）");
        // The edges of UTF-8: a surrogate, overlong forms, past U+10FFFF, cut short, a lone
        // continuation byte; and the first and last code points of four bytes, which are valid.
        for (const QByteArray &bad : {QByteArray("a\xED\xA0\x80"), QByteArray("a\xC0\x80"), QByteArray("a\xE0\x80\x80"),
                                      QByteArray("a\xF0\x8F\xBF\xBF"), QByteArray("a\xF4\x90\x80\x80"),
                                      QByteArray("a\xE6\xB8"), QByteArray("a\x80")})
            row(("input not UTF-8: " + bad.toHex(' ')).constData(), {}, bad, 2, {},
                "标准输入不是有效的 UTF-8（第 2 个字节）");
        row("U+10000 and U+10FFFF", black, "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", 0,
            "[color=#000000]\xF0\x90\x80\x80[/color][color=#000000]\xF4\x8F\xBF\xBF[/color]");
        // An argument not UTF-8, named by the option it is the value of, or else by its place.
        for (const auto &[before, name] : {std::pair{"--prefix ", "--prefix 的取值"}, {"--prefix=", "--prefix 的取值"},
                                           {"-s ", "-s 的取值"}, {"- ", "第 2 个参数"}})
            row(qPrintable(QStringLiteral("argument not UTF-8: ") + before),
                {"sh", "$CLI " + QString(before) + "\"$(printf '\\377')\""}, "a", 2, {}, "rainquill-cli: " + QByteArray(name) + "不是有效的 UTF-8" + hint);
        row("missing file", {"/nonexistent/text.txt"}, {}, 2, {},
            "rainquill-cli: 无法读取文件“/nonexistent/text.txt”：没有这个文件\n");
        row("a folder", {"/"}, {}, 2, {}, "rainquill-cli: 无法读取文件“/”：这是一个文件夹\n");
        // A file its user may not read, as an ordinary user (root reads any file).
        row("a file not readable",
            {"sh", "d=$(mktemp -d) && chmod 755 $d && cp \"$CLI\" $d/cli && : > $d/t && chmod 000 $d/t && "
                   "if [ $(id -u) = 0 ]; then setpriv --reuid=65534 --regid=65534 --clear-groups $d/cli $d/t; "
                   "else $d/cli $d/t; fi; r=$?; rm -rf $d; exit $r"},
            {}, 2, {}, "：没有读取权限\n");
        row("version", {"--version"}, {}, 0, "rainquill-cli 2.2.0（构建号 2200）\n版权所有 (C) 2026 Rainquill 的作者们\n许可证：MIT\n");

        // Where the text comes from: standard input, "-", a file, and after "--" whatever the
        // word is (the folder holds 文字.txt, -f and --form).
        const QByteArray ab("[color=#803CFF]a[/color][color=#FF00FF]b[/color]");
        const QByteArray file("[color=#405BFF]文[/color][color=#803CFF]字[/color]\r\n");
        row("-", {"-"}, "ab", 0, ab);
        row("-- -", {"--", "-"}, "ab", 0, ab);
        row("a file", {"文字.txt"}, "ab", 0, file);
        row("a file, then options", {"文字.txt", "-fhtml"}, "ab", 0,
            "<font color=#405BFF>文</font><font color=#803CFF>字</font><br />");
        row("-- a file", {"--", "文字.txt"}, "ab", 0, file);
        row("-- -f", {"--", "-f"}, "ab", 0, "[color=#803CFF]-[/color][color=#FF00FF]f[/color]");
        row("-- --form", {"-s2", "--", "--form"}, "ab", 0,
            "[color=#2A65FF]--[/color][color=#803CFF]fo[/color][color=#D414FF]rm[/color]");

        // Standard output and input as the shell hands them over.
        const QByteArray closed("rainquill-cli: 无法写入标准输出：它已关闭\n");
        const QByteArray full("rainquill-cli: 无法写入标准输出：设备已满\n");
        row("code, standard output closed", {"sh", "$CLI >&-"}, "ab", 3, {}, closed);
        row("code, standard output full", {"sh", "$CLI > /dev/full"}, "ab", 3, {}, full);
        row("preview, standard output full", {"sh", "$CLI --preview > /dev/full"}, "ab", 3, {}, full);
        row("help, standard output closed", {"sh", "$CLI --help >&-"}, {}, 3, {}, closed);
        row("help, standard output full", {"sh", "$CLI --help > /dev/full"}, {}, 3, {}, full);
        row("version, standard output full", {"sh", "$CLI -v > /dev/full"}, {}, 3, {}, full);
        // A reader that quits early: the converter ends by SIGPIPE (status 141 in the
        // shell), or, where SIGPIPE is ignored, with status 3; quietly either way.
        const QString early("head -c 1000000 /dev/zero | tr '\\0' a > big; ($CLI big; echo $? > status) | head -c 1 "
                            "> /dev/null; cat status; rm big status");
        row("reader quits early", {"sh", early}, {}, 0, "141\n");
        row("reader quits early, SIGPIPE ignored", {"sh", "trap '' PIPE; " + early}, {}, 0, "3\n");
        row("standard input closed", {"sh", "$CLI <&-"}, {}, 2, {}, "rainquill-cli: 无法读取标准输入：读取时出错\n");
        row("standard error closed", {"sh", "$CLI -f custom 2>&-"}, "ab", 1, {});

        // The locale changes nothing: arguments, text, code and messages are UTF-8 in all.
        const QString three("$CLI --to 0022ff -f custom --prefix=「 --middle=」 --suffix=。 && $CLI < /dev/null; "
                            "$CLI --format 论坛");
        for (const auto &[name, setting] : {std::pair{"C", "export LC_ALL=C"}, {"POSIX", "export LC_ALL=POSIX"},
                                            {"C.UTF-8", "export LC_ALL=C.UTF-8"},
                                            {"none set", "unset LC_ALL LANG LC_CTYPE LC_MESSAGES"},
                                            {"Latin-1", "export LC_ALL=en_US.ISO-8859-1"},
                                            {"GB18030", "unset LC_ALL; export LANG=zh_CN.GB18030"}})
            row(name, {"sh", setting + QStringLiteral("; ") + three}, "渐变\n😀", 2,
                "「#0068FF」渐。「#0056FF」变。\r\n「#0022FF」😀。",
                "rainquill-cli: 请输入要转换的文字\nrainquill-cli: 没有“论坛”这种格式（可选 ubb、html、qq 或 custom）" + hint);

        // Bad usage: the message, whole, then the hint; exit status 2.
        const auto usage = [&](const QStringList &arguments, const char *message) {
            row(qPrintable(arguments.join(u' ')), arguments, "a", 2, {}, "rainquill-cli: " + QByteArray(message) + hint);
        };
        usage({"--f", "html"}, "选项 --f 不明确：--format、--from、--fit");
        usage({"--s=3"}, "选项 --s 不明确：--suffix、--scheme、--step");
        usage({"--pre", "x"}, "选项 --pre 不明确：--prefix、--preview");
        usage({"--formt", "html"}, "未知选项 --formt\nrainquill-cli: 你是不是要用 --format？");
        usage({"--fromat=html"}, "未知选项 --fromat\nrainquill-cli: 你是不是要用 --format？"); // before --from, at 2
        usage({"--helpme"}, "未知选项 --helpme\nrainquill-cli: 你是不是要用 --help？");
        usage({"--tx"}, "未知选项 --tx\nrainquill-cli: 你是不是要用 --to？");
        usage({"--prevw"}, "未知选项 --prevw\nrainquill-cli: 你是不是要用 --preview？"); // two letters left out
        usage({"--helpmee"}, "未知选项 --helpmee"); // three edits: too far
        usage({"--x"}, "未知选项 --x");
        usage({"--zz"}, "未知选项 --zz"); // as many edits as letters (--to)
        usage({"--bogus"}, "未知选项 --bogus");
        usage({"--=x"}, "未知选项 --");
        usage({"-x"}, "未知选项 -x");
        usage({"-vxs"}, "未知选项 -x");
        usage({"-😀"}, "未知选项 -😀");
        usage({"--format"}, "选项 --format 缺少取值");
        usage({"--fo"}, "选项 --format 缺少取值");
        usage({"-f"}, "选项 -f 缺少取值");
        usage({"-vs"}, "选项 -s 缺少取值");
        usage({"--preview=yes"}, "选项 --preview 不带取值");
        usage({"--he=1"}, "选项 --help 不带取值");
        usage({"--format", "bbcode"}, "没有“bbcode”这种格式（可选 ubb、html、qq 或 custom）");
        usage({"--scheme", "11"}, "--scheme 只接受 1 到 10 的整数，不是“11”");
        usage({"--scheme", "0"}, "--scheme 只接受 1 到 10 的整数，不是“0”");
        usage({"--custom=11"}, "--custom 只接受 1 到 10 的整数，不是“11”");
        usage({"--to", "#12345"}, "--to 的颜色“#12345”无效（请写成 #RRGGBB 或 RRGGBB）");
        usage({"--fit", "x"}, "--fit 只接受表示字符数的整数，不是“x”");
        usage({"a", "b"}, "只能有一个输入文件，却有“a”和“b”");
        usage({"--scheme", "1", "--custom", "1"}, "--scheme 和 --custom 不能同时使用");
        usage({"--step", "2", "--fit", "9"}, "--step 和 --fit 不能同时使用");
        usage({"--suffix", "x"}, "--prefix、--middle 和 --suffix 只能和 --format custom 一起使用");
        usage({"-f", "qq", "--middle=x"}, "--prefix、--middle 和 --suffix 只能和 --format custom 一起使用");
    }
    void convert()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(Outcome, expected);
        const Outcome outcome = run(arguments, input);
        QCOMPARE(outcome.exitCode, expected.exitCode);
        QCOMPARE(outcome.out, expected.out);
        if (expected.err.isEmpty() || expected.err.startsWith("rainquill-cli: "))
            QCOMPARE(outcome.err, expected.err);
        else
            QVERIFY2(outcome.err.contains(expected.err), outcome.err.constData());
        verifyNamed(outcome.err);
        QFile colorDat(m_dir.filePath(QStringLiteral("color.dat")));
        QVERIFY(colorDat.open(QIODevice::ReadOnly));
        QCOMPARE(colorDat.readAll(), m_colorDat); // read only: never repaired or rewritten
    }

    // Each option in each of its forms gives what its plain long form gives.
    void optionForms_data()
    {
        QTest::addColumn<QStringList>("form");
        QTest::addColumn<QStringList>("same");

        const auto rows = [](const char *name, const QList<QStringList> &forms, const QStringList &same) {
            for (const QStringList &form : forms)
                QTest::newRow(qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(name), form.join(u' ')))) << form << same;
        };
        rows("format", {{"-fhtml"}, {"-f", "html"}, {"--format=html"}, {"--form", "html"}, {"--fo=HTML"}},
             {"--format", "html"});
        rows("template", {{"-fcustom", "--pref=<", "--mi", "|", "--su=>"}, {"-f", "custom", "--prefix=<", "--middle=|", "--suffix=>"}},
             {"--format", "custom", "--prefix", "<", "--middle", "|", "--suffix", ">"});
        rows("scheme", {{"--scheme=10"}, {"--sc", "10"}, {"--sch=10"}}, {"--scheme", "10"});
        rows("custom", {{"--custom=10"}, {"--c", "10"}, {"--cu=10"}}, {"--custom", "10"});
        rows("from, to", {{"--from=#00ff00", "--to=FF0000"}, {"--fr", "00FF00", "--t", "#ff0000"}},
             {"--from", "00ff00", "--to", "ff0000"});
        rows("step", {{"-s3"}, {"-s", "3"}, {"--step=3"}, {"--ste", "3"}, {"--st=3"}}, {"--step", "3"});
        rows("fit", {{"--fit=60"}, {"--fi", "60"}}, {"--fit", "60"});
        rows("preview", {{"--prev"}, {"--previe"}}, {"--preview"});
        rows("help", {{"-h"}, {"--he"}, {"--h"}}, {"--help"});
        rows("version", {{"-v"}, {"--vers"}, {"--v"}}, {"--version"});
    }
    void optionForms()
    {
        QFETCH(QStringList, form);
        QFETCH(QStringList, same);
        const QByteArray text("abcde");
        const Outcome expected = run(same, text);
        QCOMPARE(expected.exitCode, 0);
        QVERIFY(expected.out != run({}, text).out); // the option does something
        const Outcome outcome = run(form, text);
        QCOMPARE(outcome.exitCode, 0);
        QCOMPARE(outcome.out, expected.out);
        QCOMPARE(outcome.err, expected.err);
    }

};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
