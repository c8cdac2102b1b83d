#include "update/pageloader.h"

#include "update/pagetext.h"

#include <QNetworkReply>

namespace rainquill {

PageLoader::PageLoader(QObject *parent) : QObject(parent) {}

PageLoader::~PageLoader()
{
    abort();
}

void PageLoader::start(const QUrl &address)
{
    abort();
    m_text.clear(); // what an earlier load read is not this one's page
    QNetworkRequest request(address);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    m_reply = m_network.get(request);
    QNetworkReply *reply = m_reply;
    connect(reply, &QNetworkReply::finished, this, [this, reply] { finished(reply); });
    connect(reply, &QNetworkReply::downloadProgress, this, [reply](qint64 received, qint64 total) {
        if (received > MaxPageBytes || total > MaxPageBytes)
            reply->abort();
    });
}

void PageLoader::abort()
{
    if (QNetworkReply *reply = m_reply) {
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

void PageLoader::finished(QNetworkReply *reply)
{
    reply->deleteLater();
    if (reply != m_reply)
        return;
    m_reply = nullptr;
    m_text.clear();
    if (reply->error() != QNetworkReply::NoError)
        return;
    const QByteArray body = reply->read(MaxPageBytes + 1);
    if (body.size() > MaxPageBytes)
        return;
    // A plain-text page shows as it is; anything else is read as html.
    const QByteArray contentType = reply->rawHeader("Content-Type");
    const QByteArray charset = ContentTypeCharset(contentType);
    const bool plain = contentType.trimmed().toLower().startsWith("text/plain");
    m_text = plain ? PlainPageText(body, charset) : DisplayedText(body, charset);
}

} // namespace rainquill
