#include "ui/frmupdate.h"
#include "ui/pagetext.h"
#include "ui/versionpage.h"
#include "uitest.h"

#include <QLabel>
#include <QNetworkProxy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <sys/stat.h>

using namespace rainquill;
using uitest::control;

namespace {

// A web server on 127.0.0.1 that answers every request with one page and counts them.
class PageServer : public QObject
{
public:
    explicit PageServer(QByteArray body) : m_body(std::move(body))
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    if (!socket->readAll().contains("\r\n\r\n"))
                        return;
                    ++requests;
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: "
                                  + QByteArray::number(m_body.size()) + "\r\nConnection: close\r\n\r\n" + m_body);
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        m_server.listen(QHostAddress::LocalHost);
    }
    QUrl address() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/v.html").arg(m_server.serverPort())); }
    int requests = 0;

private:
    QTcpServer m_server;
    QByteArray m_body;
};

QString message(QWidget *window)
{
    return control<QLabel>(window, "LabMsg")->text();
}

bool messageIn(QWidget *window, const QColor &color)
{
    return uitest::paints(control<QLabel>(window, "LabMsg"), color);
}

// The status line after every tick.
QStringList *recordTicks(QWidget *window)
{
    auto *shown = new QStringList;
    QObject::connect(control<QTimer>(window, "Timer1"), &QTimer::timeout, window,
                     [window, shown] { shown->append(message(window)); });
    QObject::connect(window, &QObject::destroyed, [shown] { delete shown; });
    return shown;
}

} // namespace

// The version check: reading the page's text, the window's outcomes, polling and time-out.
class TestUpdate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        OpenAddress::setRecording(true);
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy); // the server is on this machine
    }

    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("parses");
        QTest::addColumn<double>("build");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("url");
        QTest::newRow("worked example") << "build:2300 version:V2.3.0 url:http://x.example/a.zip" << true << 2300.0
                                        << "V2.3.0 " << "http://x.example/a.zip";
        QTest::newRow("capitals do not count") << "Build:2300 version:V URL:u" << false << 0.0 << "" << "";
        QTest::newRow("inside a longer word") << "builder:2300 version:V url:u" << true << 0.0 << "V " << "u";
        QTest::newRow("version right after build") << "build:version:V url:u" << false << 0.0 << "" << "";
        QTest::newRow("empty version") << "build:1 version:url:u" << true << 1.0 << "" << "u";
        QTest::newRow("url at the very end") << "build:1 version:V url" << false << 0.0 << "" << "";
        QTest::newRow("blank between digits") << "build:2 300abc version:V url:u" << true << 2300.0 << "V " << "u";
        QTest::newRow("line breaks kept") << "build:2201\r\nversion:V\r\nurl:u" << true << 2201.0 << "V\r\n" << "u";
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(bool, parses);
        QFETCH(double, build);
        QFETCH(QString, version);
        QFETCH(QString, url);
        const std::optional<VersionPage> page = ParseVersionPage(text);
        QCOMPARE(page.has_value(), parses);
        QCOMPARE(page.value_or(VersionPage{}).build, build);
        QCOMPARE(page.value_or(VersionPage{}).version + "|" + page.value_or(VersionPage{}).url, version + "|" + url);
    }

    void pageText_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QString>("text");
        const QByteArray html = "text/html", gbkVersion("V2.3.0\xb0\xe6");
        QTest::newRow("paragraphs and breaks end lines")
            << QByteArray("<div>x<p>build:2200</p><p>5 version:V</p>a<br>b</div>") << html
            << "x\r\n\r\nbuild:2200\r\n\r\n5 version:V\r\n\r\na\r\nb";
        QTest::newRow("blocks, cells, pre") << QByteArray("<div>a</div>b<table><tr><td>1<td>2</table><pre> x\n y</pre>")
                                            << html << "a\r\nb\r\n1\t2\r\n x\r\n y";
        QTest::newRow("white space collapses") << QByteArray("<body>\n  a \t\n b  <i> c </i>\n</body>") << html
                                               << "a b c";
        QTest::newRow("script and style are not text")
            << QByteArray("<head><title>t</title><style>p{}</style></head><p>a<script>x=1</script>b") << html << "ab";
        QTest::newRow("entities") << QByteArray("&lt;a&gt; &amp; &#x41;&nbsp;&copy;") << html << "<a> & A ©";
        QTest::newRow("charset from the header") << "<p>" + gbkVersion << QByteArray("text/html; charset=GBK")
                                                 << "V2.3.0版";
        QTest::newRow("charset from meta") << "<meta charset=\"gb18030\"><p>" + gbkVersion << html << "V2.3.0版";
        QTest::newRow("header before meta") << QByteArray("<meta charset=gbk>\xe7\x89\x88")
                                            << QByteArray("text/html;charset=utf-8") << "版";
        QTest::newRow("byte-order mark") << QByteArray("\xff\xfe<\0p\0>\0a\0", 10) << html << "a";
        QTest::newRow("plain text as it is") << gbkVersion + "<p>\n" << QByteArray("text/plain; charset=gbk")
                                             << "V2.3.0版<p>\n";
    }
    void pageText()
    {
        QFETCH(QByteArray, page);
        QFETCH(QByteArray, contentType);
        QFETCH(QString, text);
        const QByteArray charset = ContentTypeCharset(contentType);
        QCOMPARE(contentType.startsWith("text/plain") ? PlainPageText(page, charset) : DisplayedText(page, charset), text);
    }

    // Pages made to hurt: nothing they name is opened, and every one is read to its end.
    void hostilePages_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("textStart");
        const auto mebibyteOf = [](const QByteArray &part) { return part.repeated((1 << 20) / part.size() + 1); };
        QTest::newRow("stylesheet from a device") << QByteArray("<link rel=stylesheet href=file:///dev/zero>build")
                                                  << "build";
        QTest::newRow("stylesheet from a named pipe") << QByteArray("<link rel=stylesheet href=\"file://FIFO\">build")
                                                      << "build";
        QTest::newRow("wide table cells") << "<tr>" + mebibyteOf("<td colspan=100000>x") << "x\tx";
        for (const char *tag : {"div", "table", "blockquote", "a"})
            QTest::newRow(tag) << "z" + mebibyteOf(QByteArray("<") + tag + ">") << "z";
        QByteArray attributes = "<p ";
        for (int n = 0; attributes.size() < (1 << 20); ++n)
            attributes += "a" + QByteArray::number(n) + "=1 ";
        QTest::newRow("one tag's attributes") << attributes + ">build" << "build";
        QTest::newRow("unterminated comment") << "a<!--" + mebibyteOf("-") << "a";
        QTest::newRow("stray markup") << "a" + mebibyteOf("</div><&#;<!<?<p title='") << "a";
    }
    void hostilePages()
    {
        QFETCH(QByteArray, page);
        QFETCH(QString, textStart);
        QTemporaryDir dir;
        const QByteArray fifo = QFile::encodeName(dir.filePath(QStringLiteral("fifo")));
        QCOMPARE(mkfifo(fifo.constData(), 0600), 0);
        QVERIFY(DisplayedText(page.replace("FIFO", fifo)).startsWith(textStart));
    }

    void outcome_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<QString>("linkLine");
        QTest::addColumn<QUrl>("opened");
        const QColor red(255, 0, 0);
        // Paragraphs end lines: the build number stops there ("22005" would be newer).
        QTest::newRow("same build") << QByteArray("<p>build:2200</p><p>5 version:V2.2.0</p><p>url:u</p>")
                                    << "当前已是最新版本！" << QColor(128, 0, 128) << QString() << QUrl();
        QTest::newRow("newer; a space in the address, a line break after it")
            << QByteArray("<p>build:2300</p> <p>version:V2.3.0</p> url:http://x.example/r 2.zip<br>") << "发现新版本！"
            << red << "点此下载最新版本" << QUrl("http://x.example/r%202.zip");
        QTest::newRow("newer, not a web address: shown, not a link")
            << QByteArray("build:2300 version:V2.3.0 url:file:///etc/passwd") << "发现新版本！" << red
            << "file:///etc/passwd" << QUrl();
    }
    void outcome()
    {
        QFETCH(QByteArray, page);
        QFETCH(QString, shown);
        QFETCH(QColor, color);
        QFETCH(QString, linkLine);
        QFETCH(QUrl, opened);
        PageServer server(page);
        QPointer<frmUpdate> window = new frmUpdate(server.address(), 20);
        window->show();
        QTRY_COMPARE(message(window), shown);
        QVERIFY(messageIn(window, color));
        auto *url = control<QLabel>(window, "LabURL");
        QCOMPARE(url->isVisible() ? url->text() : QString(), linkLine);
        QVERIFY(control<QLabel>(window, "LabInfo")->text().startsWith(QStringLiteral("当前版本：V2.2.0\n最新版本：V2.")));
        QTest::mouseClick(url, Qt::LeftButton);
        QCOMPARE(OpenAddress::takeOpened(), opened.isEmpty() ? QList<QUrl>{} : QList<QUrl>{opened});
        // "开始检查" again: asked anew and found by polling; the link stays until the new outcome.
        const QStringList *ticks = recordTicks(window);
        QTest::mouseClick(control<QPushButton>(window, "CmdUpdate"), Qt::LeftButton);
        QCOMPARE(url->isVisible(), !linkLine.isEmpty());
        QCOMPARE(control<QLabel>(window, "LabInfo")->text(), QStringLiteral("当前版本：V2.2.0"));
        QTRY_VERIFY(!control<QTimer>(window, "Timer1")->isActive());
        QVERIFY(!ticks->isEmpty()); // found by a tick, not at once
        QCOMPARE(message(window), shown);
        QCOMPARE(server.requests, 2);
        delete window;
    }

    void longVersionKeepsTheLabelsWords()
    {
        const QString version(20000, u'V');
        PageServer server("build:2300 version:" + version.toLatin1() + " url:http://x.example/");
        QPointer<frmUpdate> window = new frmUpdate(server.address(), 20);
        window->show();
        QTRY_COMPARE(message(window), QStringLiteral("发现新版本！"));
        auto *info = control<QLabel>(window, "LabInfo");
        const QStringList lines = info->text().split(u'\n');
        QCOMPARE(lines.value(0), QStringLiteral("当前版本：V2.2.0"));
        QVERIFY(lines.value(1).startsWith(QStringLiteral("最新版本：VV")) && lines.value(1).endsWith(u'…'));
        QVERIFY(info->geometry().left() >= 0 && info->geometry().right() < window->width());
        QCOMPARE(info->toolTip(), QStringLiteral("当前版本：V2.2.0\r\n最新版本：") + version + u' ');
        delete window;
    }

    void timesOut_data()
    {
        QTest::addColumn<bool>("serverUp");
        QTest::newRow("not the version page") << true;
        QTest::newRow("closed port") << false;
    }
    void timesOut()
    {
        QFETCH(bool, serverUp);
        PageServer server("<body>Not found</body>");
        QUrl closed(QStringLiteral("http://127.0.0.1:1/"));
        QPointer<frmUpdate> window = new frmUpdate(serverUp ? server.address() : closed, 10);
        const QStringList *ticks = recordTicks(window);
        window->show();
        QTRY_COMPARE_WITH_TIMEOUT(message(window), QStringLiteral("连接超时，请稍后再试。"), 10000);
        QCOMPARE(ticks->size(), 61);
        QCOMPARE(ticks->at(59), QStringLiteral("正在连接中... 60秒"));
        QVERIFY(messageIn(window, QColor(255, 0, 0)));
        QVERIFY(!control<QTimer>(window, "Timer1")->isActive());
        if (serverUp)
            QTRY_COMPARE(server.requests, 4); // at the start and after 20, 40 and 60 ticks
        // Closed while checking: the timer goes with the window.
        QTest::mouseClick(control<QPushButton>(window, "CmdUpdate"), Qt::LeftButton);
        QVERIFY(control<QTimer>(window, "Timer1")->isActive());
        window->close();
        QTRY_VERIFY(!window);
    }
};

QTEST_MAIN(TestUpdate)
#include "tst_update.moc"
