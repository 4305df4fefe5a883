#ifndef REPLYGUARD_H
#define REPLYGUARD_H

#include <QObject>
#include <QTimer>

class QNetworkReply;

// Keeps one reply within bounds: it brings at most `limit` bytes (a server could otherwise
// fill the memory with an endless body) and ends at most `deadline` ms after its request was
// sent, however slowly the server drips (a transfer timeout only sees silence). While the
// request body is still going up, each piece sent starts the deadline again; so does each
// piece of a download without a limit (0), which thus ends only when it stalls. A reply cut
// short carries the reason, read by NetworkAccessManager::replyError().
class ReplyGuard : public QObject
{
    Q_OBJECT

public:
    ReplyGuard(QNetworkReply *reply, qint64 limit, int deadline);

    static const char *const kFailureProperty;

private:
    void checkSize();
    void stop(const QString &reason);

    QNetworkReply *m_reply;
    qint64 m_limit;
    QTimer m_deadline;
};

#endif // REPLYGUARD_H
