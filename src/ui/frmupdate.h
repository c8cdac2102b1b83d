#pragma once

#include "update/versionpage.h"

#include <QUrl>
#include <QWidget>

class QLabel;
class QTimer;

namespace rainquill {

class PageLoader;

// The version check: loads the maker's version page, polls it once a tick, asks again
// every 20 ticks and gives up after 60, then tells whether a newer build exists and
// offers its download link.
class frmUpdate : public QWidget
{
    Q_OBJECT

public:
    // Tests give another page and a shorter tick; the program uses the defaults.
    explicit frmUpdate(QUrl page = VersionPageAddress(), int tickMilliseconds = 1000);

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void CmdUpdate_Click();
    void Timer1_Timer();
    void ShowCheckResult();
    void LabURL_Click();
    void setMessage(const QString &caption, const QColor &color);

    QUrl m_page;
    int SecondCount = 0;
    QString PageText;
    double NewBuild = 0;
    QString NewVersion;
    QString DownloadURL;

    QLabel *LabMsg = nullptr;
    QLabel *LabInfo = nullptr;
    QLabel *LabURL = nullptr;
    QTimer *Timer1 = nullptr;
    PageLoader *WebBrowser1 = nullptr;
};

} // namespace rainquill
