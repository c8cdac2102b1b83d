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

// The product page; its caption writes the path "/Rainquill/", its address in lower case.
inline QString ProductPageCaption()
{
    return MakerBlogAddress() + QStringLiteral("/Rainquill/");
}

inline QString ProductPageAddress()
{
    return MakerBlogAddress() + QStringLiteral("/rainquill/");
}

} // namespace rainquill
