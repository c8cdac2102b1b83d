#include "schemes/customschemefile.h"
#include "schemes/filefaults.h"
#include "ui/frmupdate.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QLabel>
#include <QNetworkProxy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QToolTip>
#include <benchmark/benchmark.h>

#include <cerrno>

using namespace rainquill;

namespace {

// A web server on 127.0.0.1 that answers every request with one page.
class PageServer : public QObject
{
public:
    explicit PageServer(QByteArray body) : m_body(std::move(body))
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    socket->readAll();
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

private:
    QTcpServer m_server;
    QByteArray m_body;
};

// The pointer resting on the version line after a page with a version of 600,000
// characters: from the hover until the tool tip has painted.
void BM_ShowVersionToolTip(benchmark::State &state)
{
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    PageServer server("build:2300 version:" + QByteArray(600000, 'V') + " url:http://x.example/");
    frmUpdate window(server.address(), 10);
    window.show();
    auto *info = window.findChild<QLabel *>(QStringLiteral("LabInfo"));
    QElapsedTimer waited;
    waited.start();
    while (!info->text().contains(QStringLiteral("最新版本")) && waited.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    if (!info->text().contains(QStringLiteral("最新版本"))) {
        state.SkipWithError("the page was not read");
        return;
    }
    for (auto _ : state) {
        QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), info->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(info, &hover);
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top->inherits("QTipLabel"))
                top->repaint();
        }
        state.PauseTiming();
        QToolTip::hideText();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ShowVersionToolTip)->Unit(benchmark::kMillisecond)->Iterations(10);

// One save of a custom scheme into a color.dat of 60 lines: through a new file beside it
// (0), or in place (1), where the whole old file is kept to put back.
void BM_SaveCustomScheme(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    CustomSchemeFile file;
    if (file.rebuild()) {
        state.SkipWithError("no color.dat");
        return;
    }
    int value = 0;
    for (auto _ : state) {
        if (state.range(0) == 1)
            FileFaults::failNext(FileCall::NewFile, EACCES);
        value = (value + 1) % 256;
        benchmark::DoNotOptimize(file.save(10, {value, value, value, value, value, value}));
    }
    FileFaults::clear();
    QDir::setCurrent(before);
}
BENCHMARK(BM_SaveCustomScheme)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
