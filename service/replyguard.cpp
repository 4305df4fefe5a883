#include "replyguard.h"

#include <QNetworkReply>

const char *const ReplyGuard::kFailureProperty = "kuvoFailure";

namespace {

constexpr qint64 kStreamBuffer = 1 << 20;

} // namespace

ReplyGuard::ReplyGuard(QNetworkReply *reply, qint64 limit, int deadline)
    : QObject(reply)
    , m_reply(reply)
    , m_limit(limit)
{
    // Qt's network thread reads ahead of the program as fast as the server sends; a bounded
    // buffer holds it back, so the program sees an oversized reply before it fills the memory.
    // Downloads without a limit are read as they come and need only a little room.
    // A request with a body reaches that thread only later, and a size set before then is lost
    // on the way: it is set again once the headers are in, when the thread surely has it.
    const qint64 buffer = limit > 0 ? limit + 1 : kStreamBuffer;
    reply->setReadBufferSize(buffer);
    connect(reply, &QNetworkReply::metaDataChanged, this,
        [this, buffer] { m_reply->setReadBufferSize(buffer); });
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(deadline);
    connect(&m_deadline, &QTimer::timeout, this,
        [this] { stop(tr("The server took too long to answer")); });
    connect(reply, &QNetworkReply::uploadProgress, &m_deadline, qOverload<>(&QTimer::start));
    // A download without a bound goes to disk as it arrives and may be large on a slow line:
    // only silence ends it. A bounded reply is small, and one that drips stays cut off.
    if (limit <= 0)
        connect(reply, &QNetworkReply::downloadProgress, &m_deadline, qOverload<>(&QTimer::start));
    // Qt tells download progress ten times a second at most, while a local server sends
    // gigabytes in that time: the size is checked on every piece that arrives instead, and
    // the announced one as soon as the headers are in.
    connect(reply, &QNetworkReply::readyRead, this, &ReplyGuard::checkSize);
    connect(reply, &QNetworkReply::metaDataChanged, this, &ReplyGuard::checkSize);
    connect(reply, &QNetworkReply::finished, &m_deadline, &QTimer::stop);
    m_deadline.start();
}

void ReplyGuard::checkSize()
{
    if (m_limit <= 0)
        return;
    const qint64 announced = m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    if (announced > m_limit || m_reply->bytesAvailable() > m_limit)
        stop(tr("The server's reply is too large"));
}

void ReplyGuard::stop(const QString &reason)
{
    if (m_reply->isFinished())
        return;
    m_reply->setProperty(kFailureProperty, reason);
    m_reply->abort();
}
