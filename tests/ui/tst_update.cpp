#include "ui/frmupdate.h"
#include "update/pageloader.h"
#include "uitest.h"

#include <QImage>
#include <QLabel>
#include <QNetworkProxy>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextDocument>
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

// What a version page makes the window show, each label as plain text: a text that ends in
// "…" stands for one cut there, that start then "…", shorter than 256 characters.
struct Seen
{
    QByteArray page;
    QString message; // the status line
    QString link;    // LabURL's text; empty: hidden
    QUrl opened;     // by a click on it
    QString info;    // LabInfo's second line (the version keeps the blank before " url:")
    QString infoTip; // the tool tip over LabInfo as shown; empty: none
    QString linkTip; // likewise over LabURL
};

} // namespace

Q_DECLARE_METATYPE(Seen)

// The version check window: its outcomes, page text shown as text, polling and time-out.
class TestUpdate : public QObject
{
    Q_OBJECT

    // Whether a label shows the expected text, or the start of it when it is cut.
    static bool shows(const QString &shown, const QString &expected)
    {
        if (!expected.endsWith(u'…'))
            return shown == expected;
        return shown.startsWith(expected.chopped(1)) && shown.endsWith(u'…') && shown.size() < 256;
    }

    // A picture beside the test, which page text that looks like markup must not load.
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        OpenAddress::setRecording(true);
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy); // the server is on this machine
        QVERIFY(QDir::setCurrent(m_dir.path()));
        QImage red(200, 40, QImage::Format_RGB32);
        red.fill(QColor(255, 0, 0));
        QVERIFY(red.save(QStringLiteral("r.png")));
    }

    void outcome_data()
    {
        QTest::addColumn<Seen>("seen");
        const QString newer = QStringLiteral("发现新版本！"), download = QStringLiteral("点此下载最新版本");
        const QString tip = QStringLiteral("当前版本：V2.2.0\n最新版本："), img = QStringLiteral("<img src=r.png>");
        // Paragraphs end lines: the build number stops there ("22005" would be newer).
        QTest::newRow("same build") << Seen{"<p>build:2200</p><p>5 version:V2.2.0</p><p>url:u</p>",
                                            "当前已是最新版本！", {}, {}, "最新版本：V2.2.0", {}, {}};
        QTest::newRow("newer; a space in the address, a line break after it")
            << Seen{"<p>build:2300</p> <p>version:V2.3.0</p> url:http://x.example/r 2.zip<br>", newer, download,
                    QUrl("http://x.example/r%202.zip"), "最新版本：V2.3.0", {}, {}};
        // LabInfo keeps its own words whole, cuts the version at the right, and tells it all
        // in its tool tip, up to 256 characters.
        QTest::newRow("newer, a version of 20,000 characters")
            << Seen{"build:2300 version:" + QByteArray(20000, 'V') + " url:http://x/", newer, download,
                    QUrl("http://x/"), "最新版本：V…", tip + QString(256, u'V') + u'…', {}};
        // Two lines at most: a version of two lines is cut after its first.
        QTest::newRow("a version of two lines")
            << Seen{"build:2300 version:V2.3.0<br>beta url:http://x/", newer, download, QUrl("http://x/"),
                    "最新版本：V2.3.0…", tip + "V2.3.0\nbeta ", {}};
        // Without the word "build" the number is read where it would stand after it.
        QTest::newRow("no word build") << Seen{"xxxxx2300 version:V2.3.0 url:http://x/", newer, download,
                                              QUrl("http://x/"), "最新版本：V2.3.0 ", {}, {}};
        QTest::newRow("newer, not a web address: shown, not a link")
            << Seen{"build:2300 version:V2.3.0 url:file:///etc/passwd", newer, "file:///etc/passwd", {},
                    "最新版本：V2.3.0 ", {}, {}};
        // The longest page the check reads, its version or its address as long as it can be;
        // a web address is opened whole.
        const auto longest = [](QByteArray version, QByteArray url, bool longVersion) {
            const qsizetype fill = PageLoader::MaxPageBytes - QByteArray("build:2300 version: url:").size()
                                   - version.size() - url.size();
            (longVersion ? version : url) += QByteArray(fill, longVersion ? 'V' : 'a');
            return "build:2300 version:" + version + " url:" + url;
        };
        const QByteArray longWeb = longest("V2.3.0 ", "http://x.example/", false);
        QTest::newRow("the longest page, a long version")
            << Seen{longest("V2.3.0 ", "http://x.example/", true), newer, download, QUrl("http://x.example/"),
                    "最新版本：V2.3.0 V…", tip + "V2.3.0 " + QString(249, u'V') + u'…', {}};
        QTest::newRow("the longest page, a long web address")
            << Seen{longWeb, newer, download, QUrl(QString::fromLatin1(longWeb.mid(longWeb.indexOf(" url:") + 5))),
                    "最新版本：V2.3.0 ", {}, {}};
        QTest::newRow("the longest page, a long address of another kind")
            << Seen{longest("V2.3.0 ", "file:///", false), newer, "file:///a…", {}, "最新版本：V2.3.0 ", {},
                    "file:///" + QString(248, u'a') + u'…'};
        QTest::newRow("markup shown as the text it is")
            << Seen{("<pre>build:2300 version:" + img.toHtmlEscaped() + QString(300, u'V') + " url:"
                     + img.toHtmlEscaped() + "</pre>")
                        .toUtf8(),
                    newer, img, {}, "最新版本：<…", tip + img + QString(241, u'V') + u'…', {}};
    }
    void outcome()
    {
        QFETCH(Seen, seen);
        PageServer server({seen.page});
        QPointer<frmUpdate> window = showCheck(server.address(), 20);
        QTRY_COMPARE(message(window), seen.message);
        auto *url = control<QLabel>(window, "LabURL");
        auto *info = control<QLabel>(window, "LabInfo");
        QVERIFY(uitest::paints(control<QLabel>(window, "LabMsg"),
                               seen.message == u"发现新版本！" ? QColor(255, 0, 0) : QColor(128, 0, 128)));
        QVERIFY2(shows(url->isVisible() ? url->text() : QString(), seen.link), qPrintable(url->text()));
        const QStringList lines = info->text().split(u'\n');
        QCOMPARE(lines.value(0), QStringLiteral("当前版本：V2.2.0"));
        QVERIFY2(shows(lines.value(1), seen.info), qPrintable(lines.value(1)));
        QVERIFY(info->geometry().left() >= 0 && info->geometry().right() < window->width());
        // Black text, not the red picture; a link's text is red.
        QVERIFY(!uitest::paints(info, QColor(255, 0, 0)));
        QCOMPARE(uitest::paints(url, QColor(255, 0, 0)), !seen.opened.isEmpty());
        static const QRegularExpression lineEnd(QStringLiteral("\\s*\n"));
        QCOMPARE(shownToolTip(info).replace(lineEnd, QStringLiteral("\n")), seen.infoTip);
        QCOMPARE(shownToolTip(url), seen.linkTip);
        QTest::mouseClick(url, Qt::LeftButton);
        QCOMPARE(OpenAddress::takeOpened(), seen.opened.isEmpty() ? QList<QUrl>{} : QList<QUrl>{seen.opened});
        // "开始检查" again: asked anew and found by polling; the link stays until the new outcome.
        QTest::mouseClick(control<QPushButton>(window, "CmdUpdate"), Qt::LeftButton);
        QCOMPARE(url->isVisible(), !seen.link.isEmpty());
        QCOMPARE(info->text(), QStringLiteral("当前版本：V2.2.0"));
        QTRY_VERIFY(!control<QTimer>(window, "Timer1")->isActive());
        QCOMPARE(message(window), seen.message);
        QCOMPARE(server.requests, 2);
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
        QTRY_COMPARE_WITH_TIMEOUT(server.closed, server.opened, 30000); // a busy machine closes late
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
        QTest::addColumn<QByteArray>("page"); // empty: no server, a closed port
        QTest::newRow("not the version page") << QByteArray("<body>Not found</body>");
        QTest::newRow("closed port") << QByteArray();
        // Past the most that is read, a page is not read at all, whatever it says.
        QTest::newRow("a page over 1 MiB") << "<p>build:2300 version:V url:http://x/</p>" + QByteArray(1 << 20, ' ');
    }
    void timesOut()
    {
        QFETCH(QByteArray, page);
        const bool serverUp = !page.isEmpty();
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
