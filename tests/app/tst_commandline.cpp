#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <tuple>

// The desktop program's own command line, before and instead of a window: help and
// version in every form, Qt's options passed on, other arguments refused, and a missing
// display told in one line rather than by a crash.
class TestCommandLine : public QObject
{
    Q_OBJECT

    static inline const QByteArray CannotStart =
        "rainquill: 图形界面无法启动（没有能用的显示或 Qt 平台插件），窗口打不开\n";

    // The desktop program, started in an environment without a display of any kind,
    // with `variables` set ("NAME=value") or removed ("NAME").
    static void start(QProcess &process, const QStringList &arguments, const QStringList &variables)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        for (const QString &variable : variables) {
            if (variable.contains(u'='))
                environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
            else
                environment.remove(variable);
        }
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(RAINQUILL_APP), arguments);
    }

private slots:
    void run_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("variables"); // set ("NAME=value") in a display-less environment
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out"); // the start of standard output, all of it if it ends a line
        QTest::addColumn<QByteArray>("err"); // standard error, whole

        const auto row = [](const QString &name, const QStringList &arguments, const QStringList &variables,
                            int exitCode, const QByteArray &out, const QByteArray &err = {}) {
            QTest::newRow(qPrintable(name)) << arguments << variables << exitCode << out << err;
        };
        const QByteArray help("用法：rainquill [-h|--help]");
        const QByteArray version("rainquill 2.2.0（构建号 2200）\n版权所有 (C) 2026 Rainquill 的作者们\n"
                                 "许可证：MIT\n");
        const auto refused = [](const QByteArray &message) {
            return "rainquill: " + message + "\n用“rainquill --help”查看用法。\n";
        };
        const auto file = [&](const char *name) {
            return refused("不接受参数“" + QByteArray(name) + "”：程序不打开文件，请把文字粘贴到窗口里");
        };
        for (const char *form : {"-h", "--help"})
            row(form, {form}, {}, 0, help);
        for (const char *form : {"-v", "--version"})
            row(form, {form}, {}, 0, version);
        // Qt's options, with their values in both forms, before the program's own.
        row("-platform offscreen -v", {"-platform", "offscreen", "-v"}, {}, 0, version);
        row("--style=fusion -reverse -qwindowtitle -x -h", {"--style=fusion", "-reverse", "-qwindowtitle", "-x", "-h"}, {},
            0, help);
        row("--bogus", {"--bogus=1"}, {}, 2, {}, refused("未知选项 --bogus"));
        row("-x", {"-x"}, {}, 2, {}, refused("未知选项 -x"));
        row("a file", {"-platform", "offscreen", "文字.txt"}, {}, 2, {}, file("文字.txt"));
        row("a name with controls", {"\x1b]0;x\x07\n"}, {}, 2, {}, file("?]0;x??"));
        row("-", {"-"}, {}, 2, {}, file("-"));
        row("-- -h", {"--", "-h"}, {}, 2, {}, file("-h"));
        // Each of Qt's options, in its one-dash form, with a value where it takes one: passed
        // over, value and all, so that -v after it is still read.
        for (const char *option : {"platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "qwindowicon",
                                   "qwindowtitle", "session", "style", "stylesheet", "display", "geometry", "name",
                                   "title", "visual", "ncols", "qmljsdebugger", "graphicssystem"})
            row(QLatin1String("-%1 x -v").arg(option), {QStringLiteral("-") + option, "-x", "-v"}, {}, 0, version);
        for (const char *option : {"reverse", "widgetcount", "cmap", "nograb", "dograb", "sync"})
            row(QLatin1String("--%1 -v").arg(option), {QStringLiteral("--") + option, "-v"}, {}, 0, version);
        // No display: none set, or one nobody answers at; for X11 however it is chosen. "--"
        // alone takes nothing: the window is wanted.
        const auto none = [&](const char *name, const QStringList &arguments, const QStringList &variables) {
            row(name, arguments, variables, 1, {},
                "rainquill: 没有可用的显示（未设置 DISPLAY），窗口打不开；在终端里转换文字请用 rainquill-cli\n");
        };
        none("--", {"--"}, {});
        none("no display", {}, {});
        none("no display, offscreen not asked for", {"-style", "fusion"}, {});
        none("no display, xcb asked for with =", {"--platform=xcb"}, {"QT_QPA_PLATFORM=offscreen"});
        none("-platform without its value", {"-platform"}, {});
        none("no display, xcb asked for", {}, {"QT_QPA_PLATFORM=xcb"});
        none("no display, xcb on the command line", {"-platform", "xcb"}, {"QT_QPA_PLATFORM=offscreen"});
        none("Wayland session, no runtime folder", {}, {"XDG_SESSION_TYPE=wayland", "XDG_RUNTIME_DIR"});
        none("Wayland session, runtime folder empty", {}, {"XDG_SESSION_TYPE=wayland", "XDG_RUNTIME_DIR="});
        none("Wayland session, no compositor", {}, {"XDG_SESSION_TYPE=wayland", "XDG_RUNTIME_DIR=/nonexistent"});
        for (const auto &[name, arguments, display] :
             {std::tuple{"display that does not answer", QStringList{}, ":4242"},
              {"-display that does not answer", QStringList{"-display", "unix:4242.0"}, ":0"},
              {"display over TCP that does not answer", QStringList{}, "127.0.0.1:4242"},
              {"display whose host is not found", QStringList{}, "no-such-host.invalid:0"},
              {"display whose number is not one", QStringList{}, ":x"}}) {
            const QString shown = arguments.isEmpty() ? QString::fromLatin1(display) : arguments.last();
            row(name, arguments, {QStringLiteral("DISPLAY=") + display}, 1, {},
                "rainquill: 连不上显示“" + shown.toUtf8() + "”，窗口打不开；在终端里转换文字请用 rainquill-cli\n");
        }
        // A platform Qt cannot start at all: its fatal message becomes our one line.
        row("platform that does not exist", {"-platform", "nonexistent"}, {}, 1, {}, CannotStart);
    }
    void run()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, variables);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        QProcess process;
        start(process, arguments, variables);
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit); // no crash, no core
        QCOMPARE(process.exitCode(), exitCode);
        const QByteArray standardOutput = process.readAllStandardOutput();
        QVERIFY2(out.endsWith('\n') ? standardOutput == out
                                    : standardOutput.startsWith(out) && out.isEmpty() == standardOutput.isEmpty(),
                 standardOutput.constData());
        QCOMPARE(process.readAllStandardError(), err);
    }

    // A display that answers passes the check, over TCP or a local (abstract) socket, as
    // does a Wayland compositor or an X display named by its socket's path; when it then
    // hangs up at once (or the platform plugin for it is not installed), Qt's fatal message
    // becomes our one line, and no core is left.
    void displayThatHangsUp_data()
    {
        QTest::addColumn<QStringList>("variables"); // %1: the display's number, %2: the runtime folder

        QTest::newRow("TCP") << QStringList{"DISPLAY=127.0.0.1:%1"};
        QTest::newRow("TCP, protocol named") << QStringList{"DISPLAY=tcp/127.0.0.1:%1"};
        QTest::newRow("local socket") << QStringList{"DISPLAY=:%1.0"};
        QTest::newRow("local socket, named") << QStringList{"DISPLAY=unix:%1.0"};
        QTest::newRow("Wayland") << QStringList{"XDG_SESSION_TYPE=wayland", "XDG_RUNTIME_DIR=%2"};
        QTest::newRow("X, by path") << QStringList{"DISPLAY=%2/x:0"};
    }
    void displayThatHangsUp()
    {
        QFETCH(QStringList, variables);
        // A number whose TCP port and local (abstract) socket are both free, of five digits,
        // the most a display number has.
        QTcpServer server;
        QLocalServer local, wayland, x;
        local.setSocketOptions(QLocalServer::AbstractNamespaceOption);
        int number = 10000;
        for (; number < 10100; ++number) {
            if (server.listen(QHostAddress::LocalHost, quint16(6000 + number))
                && local.listen(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)))
                break;
            server.close();
        }
        QVERIFY(number < 10100);
        connect(&server, &QTcpServer::newConnection, &server, [&server] {
            while (QTcpSocket *socket = server.nextPendingConnection())
                socket->abort();
        });
        QTemporaryDir runtime;
        QVERIFY(wayland.listen(runtime.filePath(QStringLiteral("wayland-0"))));
        QVERIFY(x.listen(runtime.filePath(QStringLiteral("x"))));
        for (QLocalServer *listener : {&local, &wayland, &x}) {
            connect(listener, &QLocalServer::newConnection, listener, [listener] {
                while (QLocalSocket *socket = listener->nextPendingConnection())
                    socket->abort();
            });
        }
        for (QString &variable : variables)
            variable.replace(QStringLiteral("%1"), QString::number(number)).replace(QStringLiteral("%2"), runtime.path());
        QProcess process;
        start(process, {}, variables);
        QVERIFY(QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 60000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 1);
        QCOMPARE(process.readAllStandardError(), CannotStart);
    }

    // What Qt says while the application object starts is held back, then passed on once
    // it has started: here, the loading of the platform plugin.
    void startupMessagesPassedOn()
    {
        QProcess process;
        start(process, {}, {"QT_QPA_PLATFORM=offscreen", "QT_DEBUG_PLUGINS=1"});
        QByteArray err;
        const bool told = QTest::qWaitFor(
            [&] {
                err += process.readAllStandardError();
                return err.contains("platforms") || process.state() == QProcess::NotRunning;
            },
            60000);
        process.kill();
        process.waitForFinished();
        QVERIFY2(told && err.contains("platforms"), err.constData());
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
