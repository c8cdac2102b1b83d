#include "update/versionpage.h"

#include "engine/numbers.h"
#include "update/maker.h"


namespace rainquill {

QUrl VersionPageAddress()
{
    return QUrl(MakerBlogAddress() + QStringLiteral("/tlsoft/rainquillver.html"));
}

std::optional<VersionPage> ParseVersionPage(const QString &text)
{
    // 1-based positions, 0 for a keyword that does not occur.
    const qsizetype B = text.indexOf(QLatin1String("build")) + 1;
    const qsizetype V = text.indexOf(QLatin1String("version")) + 1;
    const qsizetype U = text.indexOf(QLatin1String("url")) + 1;
    const qsizetype buildStart = B + 6;
    const qsizetype versionStart = V + 8;
    const qsizetype urlStart = U + 4;
    if (V - buildStart <= 0)
        return std::nullopt;
    // "url" missing, before the end of the version separator, or in the last three
    // characters leaves no version text or address to read.
    if (U - versionStart < 0 || text.size() - urlStart + 1 < 0)
        return std::nullopt;

    VersionPage page;
    page.build = LeadingNumber(QStringView(text).mid(buildStart - 1, V - buildStart));
    page.version = text.mid(versionStart - 1, U - versionStart);
    page.url = text.mid(urlStart - 1);
    return page;
}

QUrl DownloadAddress(const QString &url)
{
    const QUrl address(url.trimmed(), QUrl::TolerantMode);
    if (address.isValid() && !address.host().isEmpty()
        && (address.scheme() == u"http" || address.scheme() == u"https"))
        return address;
    return {};
}

} // namespace rainquill
