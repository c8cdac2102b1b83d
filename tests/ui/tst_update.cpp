#include "ui/frmupdate.h"
#include "update/pageloader.h"
#include "uitest.h"

#include <QImage>
#include <QLabel>
#include <QTextDocument>
#include <QNetworkProxy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QToolTip>

using namespace rainquill;
using uitest::control;

namespace {

// A web server on 127.0.0.1 that answers its requests with the pages given in turn, the
// last one again and again; or, when it dribbles, every later one with the start of a long
// page, one byte every 10 ms. It counts its requests and the connections opened and closed.
class PageServer : public QObject
{
public:
    explicit PageServer(QList<QByteArray> pages, bool dribble = false) : m_pages(std::move(pages))
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this, dribble] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                ++opened;
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket, dribble] {
                    socket->readAll(); // a request, whole on loopback
                    if (++requests > m_pages.size() && dribble) {
                        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 1000000\r\n\r\n");
                        auto *drip = new QTimer(socket);
                        connect(drip, &QTimer::timeout, socket, [socket] { socket->write("x"); });
                        drip->start(10);
                        return;
                    }
                    const QByteArray &page = m_pages[qMin<qsizetype>(requests, m_pages.size()) - 1];
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: "
                                  + QByteArray::number(page.size()) + "\r\nConnection: close\r\n\r\n" + page);
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
                    ++closed;
                    socket->deleteLater();
                });
            }
        });
        m_server.listen(QHostAddress::LocalHost);
    }
    QUrl address() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/v.html").arg(m_server.serverPort())); }
    int requests = 0, opened = 0, closed = 0;

private:
    QTcpServer m_server;
    QList<QByteArray> m_pages;
};

// The version check window over that address, shown, with ticks of `tick` ms.
QPointer<frmUpdate> showCheck(const QUrl &address, int tick)
{
    QPointer<frmUpdate> window = new frmUpdate(address, tick);
    window->show();
    return window;
}

// The tool tip a label shows when the pointer rests on it, as plain text; empty when none.
QString shownToolTip(QWidget *label)
{
    QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), label->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(label, &hover);
    QString shown;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->inherits("QTipLabel") && top->isVisible()) {
            QTextDocument tip;
            tip.setHtml(static_cast<QLabel *>(top)->text());
            shown = tip.toPlainText();
        }
    }
    QToolTip::hideText();
    (void)QTest::qWaitFor([] { return !QToolTip::isVisible(); });
    return shown;
}

QString message(QWidget *window)
{
    return control<QLabel>(window, "LabMsg")->text();
}

} // namespace

// The version check window: its outcomes, page text shown as text, polling and time-out.
class TestUpdate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        OpenAddress::setRecording(true);
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy); // the server is on this machine
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
        PageServer server({page});
        QPointer<frmUpdate> window = showCheck(server.address(), 20);
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
                 info->toolTip() == Qt::convertFromPlainText("当前版本：V2.2.0\r\n最新版本：" + QString(256, u'V') + "…"));
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

    // The longest page the check reads, its version or its address as long as it can be:
    // a label and its tool tip show 256 characters of it and "…", and a web address is
    // opened whole.
    void longestPage_data()
    {
        QTest::addColumn<QByteArray>("longPart");
        QTest::addColumn<QString>("infoTip"); // its second line
        QTest::addColumn<QString>("linkLine");
        QTest::addColumn<QString>("linkTip");
        QTest::newRow("a long version") << QByteArray("version") << "最新版本：V2.3.0 " + QString(249, u'V') + u'…'
                                        << "点此下载最新版本" << QString();
        QTest::newRow("a long web address") << QByteArray("web") << QString() << "点此下载最新版本" << QString();
        QTest::newRow("a long address of another kind")
            << QByteArray("file") << QString() << QString() << "file:///" + QString(248, u'a') + u'…';
    }
    void longestPage()
    {
        QFETCH(QByteArray, longPart);
        QFETCH(QString, infoTip);
        QFETCH(QString, linkLine);
        QFETCH(QString, linkTip);
        QByteArray version = "V2.3.0 ", url = longPart == "file" ? "file:///" : "http://x.example/";
        const qsizetype fill = PageLoader::MaxPageBytes - QByteArray("build:2300 version: url:").size() - version.size()
                               - url.size();
        (longPart == "version" ? version : url) += QByteArray(fill, longPart == "version" ? 'V' : 'a');
        const QByteArray page = "build:2300 version:" + version + " url:" + url;
        QCOMPARE(page.size(), PageLoader::MaxPageBytes);
        PageServer server({page});
        QPointer<frmUpdate> window = showCheck(server.address(), 20);
        QTRY_COMPARE(message(window), QStringLiteral("发现新版本！"));
        auto *info = control<QLabel>(window, "LabInfo");
        auto *link = control<QLabel>(window, "LabURL");
        const QString tip = shownToolTip(info);
        QCOMPARE(tip.split(QRegularExpression(QStringLiteral("\\s*\n"))).value(1), infoTip);
        QCOMPARE(shownToolTip(link), linkTip);
        if (linkLine.isEmpty())
            QVERIFY(link->text().endsWith(u'…') && link->text().size() < 256);
        else
            QCOMPARE(link->text(), linkLine);
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(OpenAddress::takeOpened(),
                 longPart == "file" ? QList<QUrl>{} : QList<QUrl>{QUrl(QString::fromLatin1(url.constData()))});
        delete window;
    }

    // After the time-out the page still on its way is not waited for: its connection is
    // closed. A link found by an earlier check stays, and still opens its address.
    void timeOutClosesTheConnection()
    {
        PageServer server({"build:2300 version:V2.3.0 url:http://x.example/r.zip"}, true);
        QPointer<frmUpdate> window = showCheck(server.address(), 10);
        QTRY_COMPARE(message(window), QStringLiteral("发现新版本！"));
        QTest::mouseClick(control<QPushButton>(window, "CmdUpdate"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(message(window), QStringLiteral("连接超时，请稍后再试。"), 10000);
        // The first check's connection, then those of the start and of ticks 20, 40 and 60
        // (the last may be given up before it is made).
        QVERIFY(server.opened >= 4);
        QTRY_COMPARE(server.closed, server.opened);
        auto *link = control<QLabel>(window, "LabURL");
        QVERIFY(link->isVisible());
        QCOMPARE(link->text(), QStringLiteral("点此下载最新版本"));
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(OpenAddress::takeOpened(), QList<QUrl>{QUrl("http://x.example/r.zip")});
        delete window;
    }

    // The page asked for at tick 60 arrives before tick 61: the time-out gives up on no
    // load, and the page shows its outcome over the time-out message.
    void pageInTheLastTick()
    {
        const QByteArray other("<body>Not found</body>");
        PageServer server({other, other, other, "build:2300 version:V2.3.0 url:http://x.example/r.zip"}, true);
        QPointer<frmUpdate> window = showCheck(server.address(), 100);
        QTRY_VERIFY_WITH_TIMEOUT(!control<QTimer>(window, "Timer1")->isActive(), 20000);
        QCOMPARE(server.requests, 4);
        QCOMPARE(message(window), QStringLiteral("发现新版本！"));
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
        PageServer server({("<pre>build:2300 version:" + img.toHtmlEscaped() + QString(300, u'V') + " url:"
                           + img.toHtmlEscaped() + "</pre>").toUtf8()});
        QPointer<frmUpdate> window = showCheck(server.address(), 20);
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

    // The window as the program opens it: the maker's page, asked once a second.
    void designedCheck()
    {
        QCOMPARE(VersionPageAddress(), QUrl("http://www.qingfeng.example/tlsoft/rainquillver.html"));
        QPointer<frmUpdate> window = new frmUpdate(QUrl("http://127.0.0.1:1/"));
        QCOMPARE(control<QTimer>(window, "Timer1")->interval(), 1000);
        QCOMPARE(window->windowTitle(), QStringLiteral("检查新版本"));
        delete window;
    }

    void timesOut_data()
    {
        QTest::addColumn<bool>("serverUp");
        QTest::addColumn<QByteArray>("page");
        QTest::newRow("not the version page") << true << QByteArray("<body>Not found</body>");
        QTest::newRow("closed port") << false << QByteArray();
        // Past the most that is read, a page is not read at all, whatever it says.
        QTest::newRow("a page over 1 MiB") << true
                                           << "<p>build:2300 version:V url:http://x/</p>" + QByteArray(1 << 20, ' ');
    }
    void timesOut()
    {
        QFETCH(bool, serverUp);
        QFETCH(QByteArray, page);
        PageServer server({page});
        // Ticks long enough for the request of tick 60 to reach the server before tick 61
        // gives up on it.
        QPointer<frmUpdate> window = new frmUpdate(serverUp ? server.address() : QUrl("http://127.0.0.1:1/"), 40);
        QStringList ticks; // the status line after every tick
        bool blackWhileConnecting = false;
        connect(control<QTimer>(window, "Timer1"), &QTimer::timeout, window, [&] {
            ticks << message(window);
            if (ticks.size() == 2) // the first tick's line, as painted
                blackWhileConnecting = uitest::paintsNear(control<QLabel>(window, "LabMsg"), Qt::black, 40);
        });
        window->show();
        QTRY_COMPARE_WITH_TIMEOUT(message(window), QStringLiteral("连接超时，请稍后再试。"), 20000);
        QCOMPARE(ticks.size(), 61);
        QCOMPARE(ticks.at(59), QStringLiteral("正在连接中... 60秒"));
        QVERIFY(blackWhileConnecting);
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
