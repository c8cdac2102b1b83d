#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QUrl>

class QNetworkReply;

namespace rainquill {

// Loads a web page in the background and gives its body's displayed text, the way the
// version check polls it: start (over again when a load is under way), busy, text.
class PageLoader : public QObject
{
    Q_OBJECT

public:
    explicit PageLoader(QObject *parent = nullptr);
    ~PageLoader() override;

    // Starts a load, over again when one is under way; the last page's text goes.
    void start(const QUrl &address);
    bool busy() const { return !m_reply.isNull(); }
    // The text of the last page loaded; empty when it could not be loaded or had no body.
    QString bodyText() const { return m_text; }

    // Stops the load under way, if any; a page already loaded stays.
    void abort();

    // Pages larger than this are not read.
    static constexpr qint64 MaxPageBytes = 1 << 20;

private:
    void finished(QNetworkReply *reply);

    QNetworkAccessManager m_network;
    QPointer<QNetworkReply> m_reply;
    QString m_text;
};

} // namespace rainquill
