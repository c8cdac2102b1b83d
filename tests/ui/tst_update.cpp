#include "ui/frmmain.h"
#include "ui/frmupdate.h"
#include "ui/openaddress.h"
#include "ui/pageloader.h"
#include "ui/versionpage.h"
#include "uitest.h"

#include <QApplication>
#include <QLabel>
#include <QNetworkProxy>
#include <QPointer>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

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

private slots:
    void initTestCase();
    void parse_data();
    void parse();
    void outcome_data();
    void outcome();
    void timesOut_data();
    void timesOut();
    void closingStopsTheCheck();

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
};

void TestUpdate::initTestCase()
{
    OpenAddress::setRecording(true);
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy); // the server is on this machine
}

void TestUpdate::parse_data()
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

void TestUpdate::parse()
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

void TestUpdate::outcome_data()
{
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QColor>("color");
    QTest::addColumn<bool>("link");
    const QColor red(255, 0, 0), purple(128, 0, 128);
    QTest::newRow("newer") << QByteArray("<html><body><p>build:2300</p> <p>version:V2.3.0&nbsp;</p> "
                                         "url:http://www.qingfeng.example/r.zip</body></html>")
                           << "发现新版本！" << red << true;
    QTest::newRow("same build") << QByteArray("<body>build:2200 version:V2.2.0 url:http://x.example/</body>")
                                << "当前已是最新版本！" << purple << false;
    QTest::newRow("newer, address not a web address")
        << QByteArray("<body>build:2300 version:V2.3.0 url:file:///etc/passwd</body>") << "发现新版本！" << red << false;
}

void TestUpdate::outcome()
{
    QFETCH(QByteArray, page);
    QFETCH(QString, shown);
    QFETCH(QColor, color);
    QFETCH(bool, link);
    PageServer server(page);
    QPointer<frmUpdate> window = new frmUpdate(server.address(), 20);
    window->show();
    QTRY_COMPARE(message(window), shown);
    QCOMPARE(messageColor(window), color);
    auto *url = control<QLabel>(window, "LabURL");
    QCOMPARE(url->isVisible(), link);
    QVERIFY(control<QLabel>(window, "LabInfo")->text().startsWith(QStringLiteral("当前版本：V2.2.0\r\n最新版本：V2.")));
    if (link) {
        QTest::mouseClick(url, Qt::LeftButton);
        QCOMPARE(OpenAddress::takeOpened(), QList<QUrl>{QUrl("http://www.qingfeng.example/r.zip")});
    }
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

void TestUpdate::timesOut_data()
{
    QTest::addColumn<bool>("serverUp");
    QTest::newRow("not the version page") << true;
    QTest::newRow("closed port") << false;
}

void TestUpdate::timesOut()
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

void TestUpdate::closingStopsTheCheck()
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

QTEST_MAIN(TestUpdate)
#include "tst_update.moc"
