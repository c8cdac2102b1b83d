#include "ui/frmupdate.h"

#include "engine/textgroups.h"
#include "ui/base/controls.h"
#include "ui/platform/accessibility.h"
#include "ui/platform/openaddress.h"
#include "ui/base/widgetcolors.h"
#include "ui/widgets/clicklabel.h"
#include "update/maker.h"
#include "update/pageloader.h"
#include "update/versionpage.h"
#include "version.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextDocument>
#include <QTimer>

namespace rainquill {

namespace UpdateLayout {

inline constexpr int ClientWidth = 2400;
inline constexpr int ClientHeight = 2520;
inline constexpr TwipsRect LabMsg{1155, 240, 90, 180};
inline constexpr TwipsRect LabInfo{750, 600, 900, 180};
inline constexpr TwipsRect LabURL{360, 1260, 1680, 195};
inline constexpr TwipsRect CmdUpdate{698, 1920, 1005, 405};

} // namespace UpdateLayout

namespace {


// Room a label leaves at either side of the window.
constexpr int LabelMargin = 4;

// The three labels are designed centred on the window's middle; sized to its caption, each
// keeps that centre. The caption shows at most `maxLines` lines, and a line wider than the
// window is cut at the right, its start whole; whatever is not shown is in the tool tip.
void fitCentred(QLabel *label, const QString &caption, int maxLines = 1)
{
    const int room = label->parentWidget()->width() - 2 * LabelMargin;
    const QFontMetrics metrics(label->font());
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = caption.split(lineBreak);
    while (lines.size() > 1 && lines.last().trimmed().isEmpty())
        lines.removeLast();
    bool cut = false;
    if (lines.size() > maxLines) {
        lines.resize(maxLines);
        lines.last() += QStringLiteral("…");
        cut = true;
    }
    for (QString &line : lines) {
        const QString shown = metrics.elidedText(line, Qt::ElideRight, room);
        cut = cut || shown != line;
        line = shown;
    }
    label->setText(lines.join(u'\n'));
    // A tool tip guesses its format: the page's text goes in as plain text made markup.
    label->setToolTip(cut ? Qt::convertFromPlainText(caption) : QString());
    label->adjustSize();
    label->resize(qMin(label->width(), room), label->height());
    label->move(label->parentWidget()->width() / 2 - label->width() / 2, label->y());
}

QString currentVersionCaption()
{
    return QStringLiteral("当前版本：") + QLatin1String(CurrentVersion);
}

} // namespace

frmUpdate::frmUpdate(QUrl page, int tickMilliseconds) : m_page(std::move(page))
{
    using namespace UpdateLayout;
    InstallAccessibility(); // read as a dialog
    SetUpWindow(this, QStringLiteral("frmUpdate"), QStringLiteral("检查新版本"), ClientWidth, ClientHeight,
                Qt::WindowCloseButtonHint);

    LabMsg = MakeLabel(this, QStringLiteral("LabMsg"), QString(), UpdateLayout::LabMsg, DesignColor::Black);
    LabMsg->hide();
    LabInfo = MakeLabel(this, QStringLiteral("LabInfo"), QStringLiteral("当前版本："), UpdateLayout::LabInfo,
                        DesignColor::Blue);
    auto *link = new ClickLabel(QStringLiteral("点此下载最新版本"), this);
    link->makeLink();
    link->setObjectName(QStringLiteral("LabURL"));
    link->setGeometry(UpdateLayout::LabURL.toPixels());
    connect(link, &ClickLabel::clicked, this, &frmUpdate::LabURL_Click);
    SetTextColor(link, DesignColor::Red);
    link->hide();
    LabURL = link;
    for (QLabel *label : {LabMsg, LabInfo, LabURL})
        fitCentred(label, label->text());

    QPushButton *check = MakeButton(this, QStringLiteral("CmdUpdate"), QStringLiteral("开始检查"), CmdUpdate);
    connect(check, &QPushButton::clicked, this, &frmUpdate::CmdUpdate_Click);
    MakeDefaultButton(check);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(tickMilliseconds);
    connect(Timer1, &QTimer::timeout, this, &frmUpdate::Timer1_Timer);
    WebBrowser1 = new PageLoader(this);

    Form_Load();
}

void frmUpdate::Form_Load()
{
    CmdUpdate_Click();
}

void frmUpdate::setMessage(const QString &caption, const QColor &color)
{
    SetTextColor(LabMsg, color);
    fitCentred(LabMsg, caption);
}

void frmUpdate::CmdUpdate_Click()
{
    WebBrowser1->start(m_page);
    SecondCount = 0;
    PageText.clear();
    SetTextColor(LabMsg, DesignColor::Black);
    LabMsg->show();
    fitCentred(LabInfo, currentVersionCaption());
    Timer1->start();
}

void frmUpdate::Timer1_Timer()
{
    ++SecondCount;
    setMessage(QStringLiteral("正在连接中... %1秒").arg(SecondCount), LabMsg->palette().color(QPalette::WindowText));
    if (SecondCount % 20 == 0)
        WebBrowser1->start(m_page);
    if (SecondCount > 60) {
        setMessage(QStringLiteral("连接超时，请稍后再试。"), DesignColor::Red);
        Timer1->stop();
        // Given up: the page still on its way is not read, and its connection is closed.
        WebBrowser1->abort();
    }
    if (!WebBrowser1->busy()) {
        // Only blanks are taken off the ends; other white space stays.
        QString text = WebBrowser1->bodyText();
        qsizetype start = 0, end = text.size();
        while (start < end && text[start] == u' ')
            ++start;
        while (end > start && text[end - 1] == u' ')
            --end;
        PageText = text.mid(start, end - start);
    }
    if (const std::optional<VersionPage> page = ParseVersionPage(PageText)) {
        NewBuild = page->build;
        NewVersion = page->version;
        DownloadURL = page->url;
        ShowCheckResult();
        Timer1->stop();
    }
}

void frmUpdate::ShowCheckResult()
{
    if (NewBuild > CurrentBuild) {
        setMessage(QStringLiteral("发现新版本！"), DesignColor::Red);
        // The address comes from a page fetched over plain HTTP: only a web address is a
        // link; any other is shown as plain text, never opened.
        const bool link = !DownloadAddress(DownloadURL).isEmpty();
        fitCentred(LabURL,
                   link ? QStringLiteral("点此下载最新版本") : BoundedText(QStringView(DownloadURL).trimmed()));
        SetTextColor(LabURL, link ? DesignColor::Red : DesignColor::Black);
        LabURL->setCursor(link ? Qt::PointingHandCursor : Qt::ArrowCursor);
        LabURL->show();
    } else {
        setMessage(QStringLiteral("当前已是最新版本！"), DesignColor::Purple);
        fitCentred(LabURL, QString());
        LabURL->hide();
    }
    // The page's words are bounded before anything lays them out: a tool tip of a whole
    // page would hold the window for as long as it takes to lay it out.
    fitCentred(LabInfo, currentVersionCaption() + QStringLiteral("\r\n最新版本：") + BoundedText(NewVersion), 2);
}

void frmUpdate::LabURL_Click()
{
    if (const QUrl address = DownloadAddress(DownloadURL); !address.isEmpty())
        OpenAddress::open(address);
}

void frmUpdate::closeEvent(QCloseEvent *event)
{
    Timer1->stop();
    WebBrowser1->abort();
    event->accept();
    emit closed();
}

} // namespace rainquill
