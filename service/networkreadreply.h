#ifndef NETWORKREADREPLY_H
#define NETWORKREADREPLY_H

#include <QCoreApplication>
#include <QVariantMap>

class QNetworkReply;

// One finished reply of the service, read once: its HTTP status, its JSON object, and the
// text to show when it failed (the service's own description when it sent one).
class NetworkReadReply
{
    Q_DECLARE_TR_FUNCTIONS(NetworkReadReply)

public:
    explicit NetworkReadReply(QNetworkReply *reply);

    bool isOk() const { return m_ok; }
    int status() const { return m_status; }
    QVariant value(const QString &key) const { return m_data.value(key); }
    QVariantMap data() const { return m_data; }
    QString errorText() const { return m_error; }

    // A server's text cut to a length a window or a log line can take.
    static QString shortText(const QString &text);

private:
    bool m_ok = false;
    int m_status = 0;
    QVariantMap m_data;
    QString m_error;
};

#endif // NETWORKREADREPLY_H
