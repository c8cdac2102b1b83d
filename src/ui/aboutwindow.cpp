#include "ui/aboutwindow.h"

#include "ui/base/controls.h"
#include "ui/platform/accessibility.h"
#include "ui/platform/openaddress.h"
#include "ui/base/twips.h"
#include "ui/base/widgetcolors.h"
#include "ui/widgets/clicklabel.h"
#include "update/maker.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

namespace rainquill {

namespace AboutLayout {

inline constexpr int ClientWidth = 5805;
inline constexpr int ClientHeight = 4020;
inline constexpr TwipsRect PicLogo{30, 45, 1080, 1080};
inline constexpr TwipsRect LabHead{1260, 90, 4485, 180};
inline constexpr TwipsRect Label1{1260, 390, 3240, 180};
inline constexpr TwipsRect Label2{1260, 675, 4230, 180};
inline constexpr TwipsRect Label3{1260, 960, 2610, 180};
inline constexpr TwipsRect labAbout{145, 1340, 5515, 2055};
inline constexpr TwipsRect CmdOK{4680, 3510, 950, 398};

} // namespace AboutLayout

namespace {

const QString Paragraph1 = QStringLiteral(
    "    由于本人编程能力有限，很多更能方便大家的功能没有加上去，大家如果对此软件有更好的建议【尤其希望能提出更好看"
    "的渐变配色方案（可以提供颜色的RGB值或者截图等）】，可以到『软件页面』中的评论处发表，或者发邮件告诉我（软件页面 "
    "及 邮箱 已在上面列出），我将尽力去完善。");
const QString Paragraph2 = QStringLiteral(
    "    『青枫博客』是本人的个人博客，从2009年1月29日刚刚开始建立，希望大家多多支持本软件及博客的发展，感谢每一位"
    "使用者和访问者！");

// Our logo, 72 x 72: a drop of gradient colour with a quill stroke across it.
QPixmap logo()
{
    QPixmap picture(72, 72);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, 72, 72);
    gradient.setColorAt(0, DesignColor::LogoStart);
    gradient.setColorAt(1, DesignColor::LogoEnd);
    QPainterPath drop;
    drop.moveTo(36, 4);
    drop.cubicTo(52, 26, 62, 38, 62, 48);
    drop.cubicTo(62, 62, 50, 70, 36, 70);
    drop.cubicTo(22, 70, 10, 62, 10, 48);
    drop.cubicTo(10, 38, 20, 26, 36, 4);
    painter.fillPath(drop, gradient);
    painter.setPen(QPen(DesignColor::White, 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(24, 60), QPointF(48, 30));
    painter.setPen(QPen(DesignColor::White, 1.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(48, 30), QPointF(44, 40));
    painter.drawLine(QPointF(48, 30), QPointF(38, 34));
    return picture;
}

QFont songti(bool bold, bool underline)
{
    QFont font = SongTi(9);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

// A label that opens an address when clicked.
ClickLabel *linkLabel(const QString &caption, const QUrl &target, QWidget *parent)
{
    auto *label = new ClickLabel(caption, parent);
    label->makeLink();
    label->setFocusPolicy(Qt::TabFocus); // reached with Tab, opened with Enter
    QObject::connect(label, &ClickLabel::clicked, label, [target] { OpenAddress::open(target); });
    return label;
}

QLabel *place(QLabel *label, const QString &name, const TwipsRect &rect, const QFont &font, const QColor &color)
{
    label->setObjectName(name);
    label->move(rect.toPixels().topLeft());
    label->setFont(font);
    SetTextColor(label, color);
    label->adjustSize(); // sized to its caption
    return label;
}

// The about text: navy on white, in a box of its own.
QLabel *aboutLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QStringLiteral("labAbout"));
    label->setGeometry(AboutLayout::labAbout.toPixels());
    label->setWordWrap(true);
    // The free CJK fonts set lines further apart than 宋体 does; a little smaller, the
    // whole text fits the label.
    QFont aboutFont = SongTi(9);
    aboutFont.setPointSizeF(8.5);
    label->setFont(aboutFont);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SetBackgroundColor(label, DesignColor::White);
    SetTextColor(label, DesignColor::Navy);
    return label;
}

} // namespace

AboutWindow::AboutWindow(const QString &name)
{
    using namespace AboutLayout;
    InstallAccessibility(); // read as a dialog
    SetUpWindow(this, name, QStringLiteral("感谢使用与支持！"), ClientWidth, ClientHeight, Qt::WindowCloseButtonHint);

    const QUrl blog(MakerBlogAddress());
    auto *picture = linkLabel(QString(), blog, this);
    picture->setObjectName(QStringLiteral("PicLogo"));
    picture->setFocusPolicy(Qt::NoFocus); // the blog's link below it takes the keyboard
    picture->setAccessibleName(QStringLiteral("青枫博客标志"));
    picture->setGeometry(PicLogo.toPixels());
    picture->setPixmap(logo());
    picture->setAlignment(Qt::AlignCenter);

    const QColor blue = DesignColor::Blue;
    place(new QLabel(QStringLiteral("本程序由『青枫博客』出品，感谢您的使用与支持！"), this), QStringLiteral("LabHead"),
          LabHead, songti(true, false), DesignColor::Red);
    place(linkLabel(QStringLiteral("『青枫博客』") + MakerBlogAddress(), blog, this), QStringLiteral("Label1"),
          Label1, songti(false, true), blue);
    place(linkLabel(QStringLiteral("『软件页面』") + ProductPageCaption(), QUrl(ProductPageAddress()), this),
          QStringLiteral("Label2"), Label2, songti(false, true), blue);
    place(linkLabel(QStringLiteral("『作者邮箱』") + MakerEmail, QUrl(QStringLiteral("mailto:") + MakerEmail), this),
          QStringLiteral("Label3"), Label3, songti(false, true), blue);

    labAbout = aboutLabel(this);

    auto *ok = MakeButton(this, QStringLiteral("CmdOK"), QStringLiteral("确 定"), CmdOK);
    connect(ok, &QPushButton::clicked, this, [this] { CmdOK_Click(); });
    MakeDefaultButton(ok);

    Form_Load();
}

void AboutWindow::Form_Load()
{
    const QString text = QStringLiteral("\r\n") + Paragraph1 + QStringLiteral("\r\n\r\n") + Paragraph2;
    labAbout->setText(text);
    // A screen reader is given the line breaks as line feeds alone.
    labAbout->setAccessibleName(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

frmAbout1::frmAbout1() : AboutWindow(QStringLiteral("frmAbout1")) {}

void frmAbout1::CmdOK_Click()
{
    close();
}

void frmAbout1::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit closed();
}

frmAbout2::frmAbout2() : AboutWindow(QStringLiteral("frmAbout2")) {}

void frmAbout2::CmdOK_Click()
{
    EndProgram::now();
}

void frmAbout2::closeEvent(QCloseEvent *event)
{
    event->accept();
    EndProgram::now();
}

} // namespace rainquill
