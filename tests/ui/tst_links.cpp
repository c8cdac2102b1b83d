#include "ui/aboutwindow.h"
#include "uitest.h"

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

using namespace rainquill;
using uitest::control;

// A click on a link goes the whole way a user's click goes: through the desktop's default
// handler (xdg-open) to the browser, here a stand-in that writes down what it was given.
// Runs under a real X server: the offscreen platform has no way to open an address.
class TestLinks : public QObject
{
    Q_OBJECT

private:
    QString opened() const;

    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString browser = m_dir.filePath(QStringLiteral("browser"));
        QFile script(browser);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nprintf '%s\\n' \"$*\" >> \"$(dirname \"$0\")/opened\"\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // No desktop environment: xdg-open hands web and mail addresses to $BROWSER.
        qputenv("BROWSER", browser.toLocal8Bit());
        qunsetenv("XDG_CURRENT_DESKTOP");
        qunsetenv("DESKTOP_SESSION");
        qunsetenv("KDE_FULL_SESSION");
        qunsetenv("GNOME_DESKTOP_SESSION_ID");
    }

    void linksReachTheBrowser_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("address");
        QTest::newRow("blog") << "Label1" << "http://www.qingfeng.example";
        QTest::newRow("mail") << "Label3" << "mailto:author@qingfeng.example";
    }

    void linksReachTheBrowser()
    {
        QFETCH(QString, link);
        QFETCH(QString, address);
        QFile::remove(m_dir.filePath(QStringLiteral("opened")));
        auto *about = new frmAbout1;
        about->show();
        QVERIFY(QTest::qWaitForWindowExposed(about));
        QTest::mouseClick(control<QLabel>(about, link), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(opened(), address, 10000);
        delete about;
    }
};

QString TestLinks::opened() const
{
    QFile file(m_dir.filePath(QStringLiteral("opened")));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
}

QTEST_MAIN(TestLinks)
#include "tst_links.moc"
