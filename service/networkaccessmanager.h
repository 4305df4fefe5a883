#ifndef NETWORKACCESSMANAGER_H
#define NETWORKACCESSMANAGER_H

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

// The network manager of every request to the service: one per request, parented to the
// object that makes it. It goes through the proxy of the settings and trusts, beside the
// system's authorities, the service certificate compiled into the program.
class NetworkAccessManager : public QNetworkAccessManager
{
    Q_OBJECT
public:
    explicit NetworkAccessManager(QObject *parent = nullptr);

    // Identifies the program and the signed-in account.
    static void getAuthRequest(QNetworkRequest &request);
    // An application/x-www-form-urlencoded body, in this order.
    static QByteArray formBody(const QList<QPair<QString, QString>> &form);

    // The most bytes a reply may bring, as a request attribute; 0 lifts the limit for a
    // download that goes to a file as it arrives.
    static constexpr QNetworkRequest::Attribute ReplyLimitAttribute = QNetworkRequest::User;
    static constexpr qint64 kReplyLimit = 4 << 20;
    // How long a reply may take after its request went out, in ms (tests shorten it).
    static void setDeadline(int msec);
    static int deadline();
    // Success is a 2xx status; a redirect nobody followed is no answer.
    static bool isSuccess(const QNetworkReply *reply);

    // The text the user sees for a failed request.
    static QString networkError(QNetworkReply::NetworkError code);
    // The same for a finished reply, with the reason when the program cut it short.
    static QString replyError(const QNetworkReply *reply);
    // True when the failure means there is no network at all, not a refusing server.
    static bool isNetworkMissing(QNetworkReply::NetworkError code);

protected:
    QNetworkReply *createRequest(
        Operation op, const QNetworkRequest &request, QIODevice *outgoingData) override;
};

#endif // NETWORKACCESSMANAGER_H
