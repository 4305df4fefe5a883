#ifndef NETWORKACCESSMANAGER_H
#define NETWORKACCESSMANAGER_H

#include <QNetworkAccessManager>
#include <QNetworkReply>

class QNetworkRequest;

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

    // The text the user sees for a failed request.
    static QString networkError(QNetworkReply::NetworkError code);
    // True when the failure means there is no network at all, not a refusing server.
    static bool isNetworkMissing(QNetworkReply::NetworkError code);

protected:
    QNetworkReply *createRequest(
        Operation op, const QNetworkRequest &request, QIODevice *outgoingData) override;
};

#endif // NETWORKACCESSMANAGER_H
