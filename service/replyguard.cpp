#include "replyguard.h"

#include <QNetworkReply>

const char *const ReplyGuard::kFailureProperty = "kuvoFailure";

ReplyGuard::ReplyGuard(QNetworkReply *reply, qint64 limit, int deadline)
    : QObject(reply)
    , m_reply(reply)
    , m_limit(limit)
{
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(deadline);
    connect(&m_deadline, &QTimer::timeout, this,
        [this] { stop(tr("The server took too long to answer")); });
    connect(reply, &QNetworkReply::uploadProgress, &m_deadline, qOverload<>(&QTimer::start));
    connect(reply, &QNetworkReply::downloadProgress, this, &ReplyGuard::checkSize);
    connect(reply, &QNetworkReply::finished, &m_deadline, &QTimer::stop);
    m_deadline.start();
}

void ReplyGuard::checkSize(qint64 received, qint64 total)
{
    if (m_limit > 0 && (received > m_limit || total > m_limit))
        stop(tr("The server's reply is too large"));
}

void ReplyGuard::stop(const QString &reason)
{
    if (m_reply->isFinished())
        return;
    m_reply->setProperty(kFailureProperty, reason);
    m_reply->abort();
}
