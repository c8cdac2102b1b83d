#pragma once

#include <QString>

namespace rainquill {

// The maker's web host and mailbox, named once for the captions, links and pages.
inline const QString MakerHost = QStringLiteral("www.qingfeng.example");
inline const QString MakerEmail = QStringLiteral("author@qingfeng.example");

// The maker's blog: an HTTP address of the host alone.
inline QString MakerBlogAddress()
{
    return QStringLiteral("http://") + MakerHost;
}

} // namespace rainquill
