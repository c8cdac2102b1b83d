#pragma once

#include <QString>
#include <optional>

namespace rainquill {

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

// The address may be opened: an absolute http or https address.
bool IsDownloadAddress(const QString &url);

} // namespace rainquill
