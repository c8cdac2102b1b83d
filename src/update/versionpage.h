#pragma once

#include <QString>
#include <QUrl>
#include <optional>

namespace rainquill {

// The version page on the maker's site.
QUrl VersionPageAddress();

// What the maker's version page announces.
struct VersionPage
{
    double build = 0;
    QString version;
    QString url;
};

// Reads the displayed text of the version page: the first "build", "version" and "url"
// (exact case, also inside longer words), each followed by one separator character; the
// build number up to "version", the version text up to "url", the address to the end. No
// value when the text does not have that shape.
std::optional<VersionPage> ParseVersionPage(const QString &text);

// The address to open for the page's download address: what the page says, without the
// white space and line breaks at its ends, spaces in it sent percent-encoded. Empty unless
// it is an absolute http or https address.
QUrl DownloadAddress(const QString &url);

} // namespace rainquill
