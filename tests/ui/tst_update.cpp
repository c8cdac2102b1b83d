#include "ui/frmmain.h"
#include "ui/frmupdate.h"
#include "ui/openaddress.h"
#include "ui/pageloader.h"
#include "ui/pagetext.h"
#include "ui/versionpage.h"
#include "uitest.h"

#include <QApplication>
#include <QLabel>
#include <QNetworkProxy>
#include <QPointer>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
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
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: "
                                  + QByteArray::number(m_body.size()) + "\r\nConnection: close\r\n\r\n" + m_body);
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        m_server.listen(QHostAddress::LocalHost);
    }
    QUrl address() const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1/tlsoft/rainquillver.html").arg(m_server.serverPort()));
    }
    int requests = 0;

private:
    QTcpServer m_server;
    QByteArray m_body;
};

QUrl closedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(server.serverPort()));
}

} // namespace

class TestUpdate : public QObject
{
    Q_OBJECT

private:
    static QString message(QWidget *window) { return control<QLabel>(window, "LabMsg")->text(); }
    // The status line after every tick.
    static QStringList *recordTicks(QWidget *window)
    {
        auto *shown = new QStringList;
        QObject::connect(control<QTimer>(window, "Timer1"), &QTimer::timeout, window,
                         [window, shown] { shown->append(message(window)); });
        QObject::connect(window, &QObject::destroyed, [shown] { delete shown; });
        return shown;
    }
    static QColor messageColor(QWidget *window)
    {
        return control<QLabel>(window, "LabMsg")->palette().color(QPalette::WindowText);
    }

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
        QTest::newRow("capitals do not count") << "Build:2300 version:V2.3.0 URL:http://x" << false << 0.0 << ""
                                               << "";
        QTest::newRow("inside a longer word") << "builder:2300 version:V url:u" << true << 0.0 << "V " << "u";
        QTest::newRow("no build, version far enough") << "abcdefversion:V url:u" << true << 0.0 << "V " << "u";
        QTest::newRow("version right after build") << "build:version:V url:u" << false << 0.0 << "" << "";
        QTest::newRow("empty version") << "build:1 version:url:u" << true << 1.0 << "" << "u";
        QTest::newRow("empty address") << "build:1 version:V url:" << true << 1.0 << "V " << "";
        QTest::newRow("no url") << "build:1 version:V" << false << 0.0 << "" << "";
        QTest::newRow("url at the very end") << "build:1 version:V url" << false << 0.0 << "" << "";
        QTest::newRow("letters after the number") << "build:2300abc version:V url:u" << true << 2300.0 << "V " << "u";
        QTest::newRow("blank between digits") << "build:2 300 version:V url:u" << true << 2300.0 << "V " << "u";
        QTest::newRow("line breaks kept in the version")
            << "build:2201\r\nversion:V\r\nurl:u" << true << 2201.0 << "V\r\n" << "u";
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
        if (page) {
            QCOMPARE(page->build, build);
            QCOMPARE(page->version, version);
            QCOMPARE(page->url, url);
        }
    }

    void pageText_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QString>("text");
        const QByteArray html = "text/html";
        const QByteArray gbkVersion("V2.3.0\xb0\xe6");
        QTest::newRow("paragraphs and breaks end lines")
            << QByteArray("<p>build:2200</p><p>5 version:V</p>a<br>b") << html
            << "build:2200\r\n\r\n5 version:V\r\n\r\na\r\nb";
        QTest::newRow("blocks, cells and pre") << QByteArray("<div>a</div><div>b</div><table><tr><td>1<td>2</table>"
                                                             "<pre> x\n  y</pre>")
                                               << html << "a\r\nb\r\n1\t2\r\n x\r\n  y";
        QTest::newRow("white space collapses") << QByteArray("<body>\n  a \t\n b  <span> c </span>\n</body>") << html
                                               << "a b c";
        QTest::newRow("script and style are not text")
            << QByteArray("<head><title>t</title><style>p{}</style></head><p>a<script>x=1</script>b</p>") << html << "ab";
        QTest::newRow("entities") << QByteArray("&lt;a&gt; &amp; &#x41;&nbsp;&copy;") << html << "<a> & A ©";
        QTest::newRow("charset from the header") << "<p>" + gbkVersion << QByteArray("text/html; charset=GBK")
                                                 << "V2.3.0版";
        QTest::newRow("charset from meta") << "<meta charset=\"gb18030\"><p>" + gbkVersion << html << "V2.3.0版";
        QTest::newRow("meta http-equiv") << "<meta http-equiv=Content-Type content='text/html; charset=gbk'>" + gbkVersion
                                         << html << "V2.3.0版";
        QTest::newRow("header before meta") << QByteArray("<meta charset=gbk>\xe7\x89\x88") << QByteArray("text/html;charset=utf-8")
                                            << "版";
        QTest::newRow("byte-order mark") << QByteArray("\xff\xfe<\0p\0>\0a\0", 10) << html << "a";
        QTest::newRow("UTF-8 by default") << QByteArray("\xe7\x89\x88") << html << "版";
        QTest::newRow("unknown charset: UTF-8") << QByteArray("\xe7\x89\x88") << QByteArray("text/html; charset=nonsense")
                                                << "版";
        QTest::newRow("plain text as it is") << QByteArray("<p>a</p>\n") << QByteArray("text/plain") << "<p>a</p>\n";
        QTest::newRow("plain text in GBK") << gbkVersion << QByteArray("text/plain; charset=gbk") << "V2.3.0版";
    }

    void pageText()
    {
        QFETCH(QByteArray, page);
        QFETCH(QByteArray, contentType);
        QFETCH(QString, text);
        const QByteArray charset = ContentTypeCharset(contentType);
        QCOMPARE(contentType.startsWith("text/plain") ? PlainPageText(page, charset) : DisplayedText(page, charset), text);
    }

    void hostilePages_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("textStart");
        const qsizetype MiB = 1 << 20;
        const auto repeated = [MiB](const QByteArray &part) {
            QByteArray page;
            page.reserve(MiB + part.size());
            while (page.size() < MiB)
                page += part;
            return page;
        };
        // A stylesheet the page names is never loaded: a device or a named pipe would hold
        // or flood the program.
        QTest::newRow("stylesheet from a device") << QByteArray("<link rel=stylesheet href=file:///dev/zero>build:1")
                                                  << "build:1";
        QTest::newRow("stylesheet from a named pipe") << QByteArray("<link rel=stylesheet href=\"file://FIFO\">build:1")
                                                      << "build:1";
        QTest::newRow("wide table cells") << "<table><tr>" + repeated("<td colspan=100000>x</td>") << "x\tx";
        for (const char *tag : {"div", "table", "ol", "blockquote", "a", "td"})
            QTest::newRow(qPrintable(QStringLiteral("nested %1").arg(tag))) << "z" + repeated(QByteArray("<") + tag + ">")
                                                                            << "z";
        QByteArray attributes = "<p ";
        for (int n = 0; attributes.size() < MiB; ++n)
            attributes += "a" + QByteArray::number(n) + "=1 ";
        QTest::newRow("one tag's attributes") << attributes + ">build:1" << "build:1";
        QTest::newRow("unterminated attribute") << "x<p title=\"" + repeated("a") << "x";
        QTest::newRow("unterminated comment") << "a<!--" + repeated("-") << "a";
        QTest::newRow("stray markup") << "a" + repeated("</div><&#;<!<?") << "a";
    }

    void hostilePages()
    {
        QFETCH(QByteArray, page);
        QFETCH(QString, textStart);
        QTemporaryDir dir;
        const QByteArray fifo = QFile::encodeName(dir.filePath(QStringLiteral("fifo")));
        QCOMPARE(mkfifo(fifo.constData(), 0600), 0);
        page.replace("FIFO", fifo);
        QVERIFY(DisplayedText(page).startsWith(textStart));
    }

    void outcome_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<QString>("linkLine");
        QTest::addColumn<QUrl>("opened");
        const QColor red(255, 0, 0), purple(128, 0, 128);
        const QString link = QStringLiteral("点此下载最新版本");
        // Paragraphs end their lines: the build number stops at the line end ("22005" read
        // across paragraphs would be newer).
        QTest::newRow("same build, paragraphs") << QByteArray("<p>build:2200</p><p>5 version:V2.2.0</p><p>url:u</p>")
                                                << "当前已是最新版本！" << purple << QString() << QUrl();
        QTest::newRow("newer; a space in the address, a line break after it")
            << QByteArray("<body><p>build:2300</p> <p>version:V2.3.0&nbsp;</p> "
                          "url:http://www.qingfeng.example/r 2.zip<br></body>")
            << "发现新版本！" << red << link << QUrl("http://www.qingfeng.example/r%202.zip");
        QTest::newRow("newer, address not a web address: shown, not a link")
            << QByteArray("<body>build:2300 version:V2.3.0 url:file:///etc/passwd</body>") << "发现新版本！" << red
            << "file:///etc/passwd" << QUrl();
    }

    void outcome()
    {
        QFETCH(QByteArray, page);
        QFETCH(QString, shown);
        QFETCH(QColor, color);
        QFETCH(QString, linkLine);
        QFETCH(QUrl, opened);
        const bool link = !linkLine.isEmpty();
        PageServer server(page);
        QPointer<frmUpdate> window = new frmUpdate(server.address(), 20);
        window->show();
        QTRY_COMPARE(message(window), shown);
        QCOMPARE(messageColor(window), color);
        auto *url = control<QLabel>(window, "LabURL");
        QCOMPARE(url->isVisible(), link);
        QCOMPARE(url->text(), linkLine);
        QVERIFY(control<QLabel>(window, "LabInfo")->text().startsWith(QStringLiteral("当前版本：V2.2.0\n最新版本：V2.")));
        QTest::mouseClick(url, Qt::LeftButton);
        QCOMPARE(OpenAddress::takeOpened(), opened.isEmpty() ? QList<QUrl>{} : QList<QUrl>{opened});
        QVERIFY(!control<QTimer>(window, "Timer1")->isActive());

        // "开始检查" again: the page is asked for anew and found by polling; the link stays
        // until the new outcome.
        const int requests = server.requests;
        const QStringList *ticks = recordTicks(window);
        QTest::mouseClick(control<QPushButton>(window, "CmdUpdate"), Qt::LeftButton);
        QCOMPARE(url->isVisible(), link);
        QCOMPARE(control<QLabel>(window, "LabInfo")->text(), QStringLiteral("当前版本：V2.2.0"));
        QTRY_VERIFY(!control<QTimer>(window, "Timer1")->isActive());
        QVERIFY(!ticks->isEmpty());
        QCOMPARE(message(window), shown);
        QCOMPARE(server.requests, requests + 1);
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
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QStringLiteral("当前版本：V2.2.0"));
        QVERIFY(lines[1].startsWith(QStringLiteral("最新版本：VV")));
        QVERIFY(lines[1].endsWith(QStringLiteral("…")));
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
        QPointer<frmUpdate> window = new frmUpdate(serverUp ? server.address() : closedPort(), 10);
        const QStringList *ticks = recordTicks(window);
        window->show();
        QCOMPARE(messageColor(window), QColor(0, 0, 0));
        QTRY_COMPARE_WITH_TIMEOUT(message(window), QStringLiteral("连接超时，请稍后再试。"), 10000);
        QCOMPARE(ticks->size(), 61);
        QCOMPARE(ticks->first(), QStringLiteral("正在连接中... 1秒"));
        QCOMPARE(ticks->at(59), QStringLiteral("正在连接中... 60秒"));
        QCOMPARE(messageColor(window), QColor(255, 0, 0));
        QVERIFY(!control<QTimer>(window, "Timer1")->isActive());
        if (serverUp)
            QTRY_COMPARE(server.requests, 4); // at the start and after 20, 40 and 60 ticks
        delete window;
    }

    void closingStopsTheCheck()
    {
        QPointer<frmMain> main = new frmMain;
        main->show();
        control<QAction>(main, "MenuUpdate")->trigger();
        QPointer<frmUpdate> window;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (auto *check = qobject_cast<frmUpdate *>(widget))
                window = check;
        }
        QVERIFY(window);
        QVERIFY(!main->isEnabled());
        QVERIFY(control<QTimer>(window, "Timer1")->isActive());
        window->close();
        QVERIFY(main->isEnabled());
        QTRY_VERIFY(!window); // unloaded, its timer with it
        delete main;
    }
};

QTEST_MAIN(TestUpdate)
#include "tst_update.moc"
