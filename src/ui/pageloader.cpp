#include "ui/pageloader.h"

#include <QNetworkReply>
#include <QStringDecoder>
#include <QTextDocument>

namespace rainquill {

PageLoader::PageLoader(QObject *parent) : QObject(parent) {}

PageLoader::~PageLoader()
{
    abort();
}

void PageLoader::start(const QUrl &address)
{
    abort();
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
    const bool plain = reply->header(QNetworkRequest::ContentTypeHeader).toString().startsWith(u"text/plain");
    m_text = plain ? QString::fromUtf8(body) : DisplayedText(body);
}

QString DisplayedText(const QByteArray &html)
{
    QStringDecoder decoder = QStringDecoder::decoderForHtml(html);
    const QString source = decoder.isValid() ? decoder.decode(html) : QString::fromUtf8(html);
    QTextDocument document;
    document.setHtml(source);
    QString text = document.toPlainText();
    text.replace(QChar::Nbsp, u' ');
    return text;
}

} // namespace rainquill
