#include "ui/frmupdate.h"
#include "ui/pagetext.h"
#include "ui/versionpage.h"
#include "uitest.h"

#include <QImage>
#include <QLabel>
#include <QTextDocument>
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
                    socket->readAll(); // a request, whole on loopback
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

    // The page's text read as build, version and address ("" when it is not the page).
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("read");
        QTest::newRow("worked example") << "build:2300 version:V2.3.0 url:http://x/a.zip" << "2300|V2.3.0 |http://x/a.zip";
        QTest::newRow("capitals do not count") << "Build:2300 version:V URL:u" << "";
        QTest::newRow("inside a longer word") << "builder:2300 version:V url:u" << "0|V |u";
        QTest::newRow("version right after build") << "build:version:V url:u" << "";
        QTest::newRow("empty version") << "build:1 version:url:u" << "1||u";
        QTest::newRow("url at the very end") << "build:1 version:V url" << "";
        QTest::newRow("blank between digits") << "build:2 300abc version:V url:u" << "2300|V |u";
        QTest::newRow("line breaks kept") << "build:2201\r\nversion:V\r\nurl:u" << "2201|V\r\n|u";
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QString, read);
        const std::optional<VersionPage> page = ParseVersionPage(text);
        QCOMPARE(page ? QString::number(page->build) + u'|' + page->version + u'|' + page->url : QString(), read);
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
        QTest::newRow("white space, script, style, entities")
            << QByteArray("<head><title>t</title><style>p{}</style></head>\n  a \t\n b<script>x=1</script>  <i> &lt;c&gt; "
                          "&amp;&#x41;&nbsp;&copy; </i>\n")
            << html << "a b <c> &A ©";
        QTest::newRow("charset from the header") << "<p>" + gbkVersion << QByteArray("text/html; charset=GBK")
                                                 << "V2.3.0版";
        QTest::newRow("charset from meta") << "<meta charset=\"gb18030\"><p>" + gbkVersion << html << "V2.3.0版";
        QTest::newRow("header before meta") << QByteArray("<meta charset=gbk>\xe7\x89\x88")
                                            << QByteArray("text/html;charset=utf-8") << "版";
        QTest::newRow("byte-order mark") << QByteArray("\xff\xfe<\0p\0>\0a\0", 10) << html << "a";
        // As a browser reads them: a byte-order mark over the header, UTF-16 in <meta> on a
        // page of single bytes is UTF-8, gb2312 holds what GB18030 holds, and a page that
        // declares nothing is UTF-8 when it can be, else the Chinese system's GB18030.
        QTest::newRow("byte-order mark over the header") << QByteArray("\xef\xbb\xbf\xe7\x89\x88")
                                                         << QByteArray("text/html; charset=gbk") << "版";
        QTest::newRow("meta names UTF-16") << QByteArray("<meta charset=utf-16>\xe7\x89\x88") << html << "版";
        QTest::newRow("gb2312 label read as GB18030") << QByteArray("<meta charset=gb2312>\x81\x30\x84\x38") << html
                                                      << "©";
        QTest::newRow("undeclared, not UTF-8") << "<p>" + gbkVersion << html << "V2.3.0版";
        QTest::newRow("undeclared UTF-8") << QByteArray("<p>\xe7\x89\x88") << html << "版";
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
        QTest::newRow("stylesheets from a device and a named pipe")
            << QByteArray("<link rel=stylesheet href=file:///dev/zero><link rel=stylesheet href=\"file://FIFO\">build")
            << "build";
        QTest::newRow("wide table cells") << "<tr>" + mebibyteOf("<td colspan=100000>x") << "x\tx";
        for (const char *tag : {"div", "a"}) // nested to the parser's limit; flat and many
            QTest::newRow(tag) << "z" + mebibyteOf(QByteArray("<") + tag + ">") << "z";
        QByteArray attributes = "<p ";
        for (int n = 0; attributes.size() < (1 << 20); ++n)
            attributes += "a" + QByteArray::number(n) + "=1 ";
        QTest::newRow("one tag's attributes") << attributes + ">build" << "build";
        QTest::newRow("malformed, unterminated") << "a" + mebibyteOf("</div><&#;<!<?<p title='") + "<!--" << "a";
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
        QTest::addColumn<QString>("linkLine");
        QTest::addColumn<QUrl>("opened");
        // Paragraphs end lines: the build number stops there ("22005" would be newer).
        QTest::newRow("same build") << QByteArray("<p>build:2200</p><p>5 version:V2.2.0</p><p>url:u</p>")
                                    << "当前已是最新版本！" << QString() << QUrl();
        QTest::newRow("newer; a space in the address, a line break after it")
            << QByteArray("<p>build:2300</p> <p>version:V2.3.0</p> url:http://x.example/r 2.zip<br>") << "发现新版本！"
            << "点此下载最新版本" << QUrl("http://x.example/r%202.zip");
        // LabInfo keeps its own words whole, cuts the version at the right, and tells it all
        // in its tool tip.
        QTest::newRow("newer, a version of 20,000 characters")
            << "build:2300 version:" + QByteArray(20000, 'V') + " url:http://x/" << "发现新版本！" << "点此下载最新版本"
            << QUrl("http://x/");
        QTest::newRow("newer, not a web address: shown, not a link")
            << QByteArray("build:2300 version:V2.3.0 url:file:///etc/passwd") << "发现新版本！"
            << "file:///etc/passwd" << QUrl();
    }
    void outcome()
    {
        QFETCH(QByteArray, page);
        QFETCH(QString, shown);
        QFETCH(QString, linkLine);
        QFETCH(QUrl, opened);
        PageServer server(page);
        QPointer<frmUpdate> window = new frmUpdate(server.address(), 20);
        window->show();
        QTRY_COMPARE(message(window), shown);
        QVERIFY(uitest::paints(control<QLabel>(window, "LabMsg"),
                               shown == u"发现新版本！" ? QColor(255, 0, 0) : QColor(128, 0, 128)));
        auto *url = control<QLabel>(window, "LabURL");
        QCOMPARE(url->isVisible() ? url->text() : QString(), linkLine);
        auto *info = control<QLabel>(window, "LabInfo");
        const QStringList lines = info->text().split(u'\n');
        QCOMPARE(lines.value(0), QStringLiteral("当前版本：V2.2.0"));
        QVERIFY(lines.value(1).startsWith(QStringLiteral("最新版本：V")));
        QVERIFY(info->geometry().left() >= 0 && info->geometry().right() < window->width());
        QCOMPARE(lines.value(1).endsWith(u'…'),
                 info->toolTip() == Qt::convertFromPlainText("当前版本：V2.2.0\r\n最新版本：" + QString(20000, u'V') + " "));
        QTest::mouseClick(url, Qt::LeftButton);
        QCOMPARE(OpenAddress::takeOpened(), opened.isEmpty() ? QList<QUrl>{} : QList<QUrl>{opened});
        // "开始检查" again: asked anew and found by polling; the link stays until the new outcome.
        QTest::mouseClick(control<QPushButton>(window, "CmdUpdate"), Qt::LeftButton);
        QCOMPARE(url->isVisible(), !linkLine.isEmpty());
        QCOMPARE(info->text(), QStringLiteral("当前版本：V2.2.0"));
        QTRY_VERIFY(!control<QTimer>(window, "Timer1")->isActive());
        QCOMPARE(message(window), shown);
        QCOMPARE(server.requests, 2);
        delete window;
    }

    // Page text that looks like markup is shown as the text it is: no picture from the
    // local disk is loaded into a label or a tool tip.
    void markupStaysText()
    {
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()));
        QImage red(200, 40, QImage::Format_RGB32);
        red.fill(QColor(255, 0, 0));
        QVERIFY(red.save(QStringLiteral("r.png")));
        const QString img = QStringLiteral("<img src=r.png>");
        PageServer server(("<pre>build:2300 version:" + img.toHtmlEscaped() + QString(300, u'V') + " url:"
                           + img.toHtmlEscaped() + "</pre>").toUtf8());
        QPointer<frmUpdate> window = new frmUpdate(server.address(), 20);
        window->show();
        QTRY_COMPARE(message(window), QStringLiteral("发现新版本！"));
        auto *url = control<QLabel>(window, "LabURL");
        auto *info = control<QLabel>(window, "LabInfo");
        QCOMPARE(url->text(), img);
        QVERIFY(!uitest::paints(info, QColor(255, 0, 0)));
        QVERIFY(!uitest::paints(url, QColor(255, 0, 0))); // shown as black text, not as the picture
        QTextDocument tip;
        tip.setHtml(info->toolTip()); // as the tool tip shows it
        QVERIFY(tip.toPlainText().contains(img));
        delete window;
        QDir::setCurrent(QDir::tempPath());
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
        QPointer<frmUpdate> window = new frmUpdate(serverUp ? server.address() : QUrl("http://127.0.0.1:1/"), 10);
        QStringList ticks; // the status line after every tick
        connect(control<QTimer>(window, "Timer1"), &QTimer::timeout, window, [&] { ticks << message(window); });
        window->show();
        QTRY_COMPARE_WITH_TIMEOUT(message(window), QStringLiteral("连接超时，请稍后再试。"), 10000);
        QCOMPARE(ticks.size(), 61);
        QCOMPARE(ticks.at(59), QStringLiteral("正在连接中... 60秒"));
        QVERIFY(uitest::paints(control<QLabel>(window, "LabMsg"), QColor(255, 0, 0)));
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
